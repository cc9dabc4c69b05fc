#!/usr/bin/env bash
# Runs the end-to-end tests under Wine on the current X display, then the pixel test
# again on a private 16-bit Xvfb; screenshots are kept as PNG files.
set -u
driver=$1 program=$2 data=$3 shots=$4
top=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$shots"
status=0
run() { "$top/tools/wine-run" "$driver" --program="Z:$program" --data="Z:$data" --shots="Z:$shots" "$@" || status=1; }
run
# A private 16-bit server; it names its own free display.
. "$top/tools/xvfb.sh"
shown=${DISPLAY-}
if start_xvfb 1024x768x16; then
  run --gtest_filter='*GradientPixels*'
  kill "$XVFB_PID" 2>/dev/null
else
  echo "FAIL no 16-bit X server"; status=1
fi
export DISPLAY=$shown
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
exit $status
