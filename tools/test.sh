#!/usr/bin/env bash
# Runs every test: the core natively under AddressSanitizer and UndefinedBehaviorSanitizer,
# the Windows build under Wine in a throw-away prefix on a private X server, and the
# 32-bit Windows build.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
jobs=$(nproc)

echo "== formatting"
tools/check-format.sh

echo "== native"
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs"
ctest --preset native -j"$jobs"

echo "== fuzzing, a few seconds per target"
tools/fuzz.sh 3

echo "== win64 under Wine"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$jobs"
scratch=$(mktemp -d)
export WINEPREFIX=$scratch/prefix
export HOME="${HOME:-$scratch}"  # Wine keeps a few things under the home directory
# A private X server, which names its own free display.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
xvfb=$!
export DICT_CUPS_STATE=$scratch/cupsd.pid  # the print service stops at the end if this run started it
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; tools/cups.sh stop || true; rm -rf "$scratch"' EXIT
for _ in $(seq 1 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$scratch/display")"
# The printing tests print to a PDF printer of CUPS; Wine finds the default printer there.
tools/cups.sh start
tools/wine-prefix >/dev/null
wineserver -p
# Xvfb runs no window manager, and Wine would wait two seconds for one each time it hides a
# managed window: in the test prefix the program's windows are unmanaged.
tools/wine-run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
# The first Wine process starts Wine's services, which live as long as the server; started
# here they hold /dev/null rather than CTest's output pipes (CTest would wait for them).
tools/wine-run cmd /c exit </dev/null >/dev/null 2>&1
ctest --preset win64

echo "== win32 (build only)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$jobs"
echo "All tests passed."
