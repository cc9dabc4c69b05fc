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
display=":$((300 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x16 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display run --gtest_filter='*GradientPixels*'
kill $xvfb 2>/dev/null
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
exit $status
