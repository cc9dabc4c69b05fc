#!/usr/bin/env bash
# The portable zip as a user meets it: unpacked into a folder of their choosing, it holds
# the program inside a complete working directory, and the program started there shows its
# main window. Runs under Wine on the current X display.
set -u -o pipefail
zip=$1 probe=$2 program=$3 wordlist=$4 data=$5
top=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X display (DISPLAY)"; exit 1; }
[ -f "$zip" ] || { echo "FAIL: no portable zip $zip (zip missing?)"; exit 1; }

scratch=$(mktemp -d)
program_pid=
trap '[ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null; rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

unpacked="$scratch/my programs"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip") || { echo "FAIL: the zip does not unpack"; exit 1; }
[ "$(ls "$unpacked")" = Dictionary ] || fail "the zip holds more than one folder: $(ls "$unpacked")"
folder=$unpacked/Dictionary
diff -r -x dictionary.exe -x wordlist.exe "$data" "$folder" || fail "the folder is not the demo working directory"
cmp -s "$program" "$folder/dictionary.exe" || fail "its dictionary.exe is not the one built"
cmp -s "$wordlist" "$folder/wordlist.exe" || fail "its wordlist.exe is not the one built"

# Started in its own folder, as Explorer starts a program; nothing else there tells it where
# its texts are.
(cd "$folder" && exec "$top/tools/wine-run" ./dictionary.exe) </dev/null >/dev/null 2>&1 &
program_pid=$!
"$top/tools/wine-run" "$probe" wait-window 30 </dev/null || fail "the unpacked program showed no main window"
if "$top/tools/wine-run" "$probe" close-window 30 </dev/null; then
  wait "$program_pid"
  program_pid=
else
  fail "the unpacked program did not close"
fi

[ $failures -eq 0 ] || exit 1
echo "portable: all checks passed"
