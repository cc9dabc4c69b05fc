#!/usr/bin/env bash
# Runs a command inside a Wine session of its own: a private Xvfb (which names its own free
# display), a fresh prefix (which also runs the 32-bit build where wine32 can), a persistent
# wineserver, and, with --print, the CUPS PDF printer. Everything ends with the command.
#
#   tools/with-wine.sh [--print] ctest --preset win32 -R win_tests
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
print=0
[ "${1:-}" = "--print" ] && { print=1; shift; }

scratch=$(mktemp -d)
export WINEPREFIX=$scratch/prefix
export HOME="${HOME:-$scratch}"  # Wine keeps a few things under the home directory
. "$top/tools/xvfb.sh"
xvfb=""
export DICT_CUPS_STATE=$scratch/cupsd.pid  # the print service stops at the end if this run started it
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  [ $print -eq 1 ] && { "$top/tools/cups.sh" stop || true; }
  rm -rf "$scratch"
}
trap cleanup EXIT
start_xvfb || { echo "with-wine: no X server came up" >&2; exit 1; }
xvfb=$XVFB_PID
# The printing tests print to a PDF printer of CUPS; Wine finds the default printer there.
[ $print -eq 1 ] && "$top/tools/cups.sh" start
"$top/tools/wine-prefix" >/dev/null
[ -f "$WINEPREFIX/system.reg" ] || { echo "with-wine: Wine could not make a prefix (try: WINEDEBUG= wineboot -i)" >&2; exit 1; }
wineserver -p
# Xvfb runs no window manager, and Wine would wait two seconds for one each time it hides a
# managed window: in the test prefix the program's windows are unmanaged.
"$top/tools/wine-run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f /reg:64 </dev/null >/dev/null 2>&1
# The first Wine process of each kind starts Wine's services, which live as long as the
# server; started here they hold /dev/null rather than CTest's output pipes (CTest would
# wait for them). The first 32-bit process of a prefix also takes its longest.
"$top/tools/wine-run" cmd /c exit </dev/null >/dev/null 2>&1
if "$top/tools/runs-32bit" --wine; then
  "$top/tools/wine-run" 'C:\windows\syswow64\cmd.exe' /c exit </dev/null >/dev/null 2>&1 || true
fi
"$@"
