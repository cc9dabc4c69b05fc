#!/usr/bin/env bash
# Builds the program and runs it under Wine on the demo working directory data/.
# With a display it opens there; without one it runs on a private Xvfb and saves a
# screenshot of the screen.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
tools/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target dictionary wordlist

# The user's own prefix for this program, so settings in its win.ini survive runs.
export WINEPREFIX="${WINEPREFIX:-$HOME/.dictionary-wine}"
[ -f "$WINEPREFIX/system.reg" ] || tools/wine-prefix >/dev/null

cd data
if [ -n "${DISPLAY:-}" ]; then
  exec "$top/tools/wine-run" "$top/build/win64/dictionary.exe" "$@"
fi

. "$top/tools/xvfb.sh"
start_xvfb || { echo "run: no X server came up" >&2; exit 1; }
trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
display=$DISPLAY
"$top/tools/wine-run" "$top/build/win64/dictionary.exe" "$@" &
program=$!
for _ in $(seq 1 60); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Dictionary"' && break
  kill -0 $program 2>/dev/null || break
  sleep 0.5
done
sleep 1
mkdir -p "$top/build/screenshots"
shot="$top/build/screenshots/main-window.png"
import -window root "$shot"
echo "No display: the program ran on Xvfb $display; screenshot saved to $shot"
kill $program 2>/dev/null || true
wineserver -k 2>/dev/null || true
