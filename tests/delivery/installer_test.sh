#!/usr/bin/env bash
# The installer as a user meets it, under Wine in a prefix of its own on the current X
# display: a silent install into a chosen folder, the program started from its Start-menu
# shortcut, an install refused while the program runs, a second install over a working
# directory the user has changed, and the silent uninstall, which takes the program and
# leaves the user's words, lists and recordings.
set -u -o pipefail
# view: 64 or 32, the registry view the installer of this build writes its uninstall entry
# in (Windows' list of installed programs reads both).
setup=$1 probe=$2 program=$3 wordlist=$4 data=$5 shots=$6 view=$7
top=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X display (DISPLAY)"; exit 1; }
[ -f "$setup" ] || { echo "FAIL: no installer $setup (makensis missing?)"; exit 1; }

scratch=$(mktemp -d)
# Wine links the prefix's Documents to folders in the home directory: a home of the test's
# own keeps the real one out of reach.
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config XDG_DATA_HOME=$scratch/home/.local/share
export WINEPREFIX=$scratch/prefix
# No Linux desktop entries for the shortcuts the installer makes.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
mkdir -p "$HOME"
trap 'wineserver -k 2>/dev/null; rm -rf "$scratch"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# For a step the later ones build on.
fatal() { echo "FAIL: $*"; exit 1; }
# No step takes two minutes; a dialog that should not be there would otherwise hang it.
wine_run() { timeout 120 "$top/tools/wine-run" "$@" </dev/null | tr -d '\r'; }
elapsed() { echo "$1: $((SECONDS - phase)) s"; phase=$SECONDS; }

phase=$SECONDS
"$top/tools/wine-prefix" >/dev/null 2>&1
[ -f "$WINEPREFIX/system.reg" ] || fatal "no Wine prefix was made"
# Xvfb has no window manager, and Wine would wait for one whenever a managed window hides.
wine_run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f /reg:64 >/dev/null 2>&1
elapsed "fresh prefix"

mapfile -t folders < <(wine_run "$probe" folders)
[ ${#folders[@]} -eq 2 ] || fatal "the shell folders were not found"
mapfile -t folders < <(wine_run winepath -u "${folders[@]}")
workdir=${folders[0]}/Dictionary
shortcut=${folders[1]}/Dictionary.lnk
[ ! -e "$workdir" ] || fatal "the fresh prefix already has $workdir"
# A folder name with a space, as Program Files has: the shortcut and the uninstall entry
# must quote it. The installer reads /D= unquoted to the end of its command line, and Wine
# would quote an argument holding a space, so the path goes as two words.
target='C:\delivery test\Dictionary'
install_switches=(/S '/D=C:\delivery' 'test\Dictionary')
installed=$WINEPREFIX/drive_c/delivery\ test/Dictionary
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dictionary'

# Every file of the working directory with its checksum; optionally leaving some out.
contents() { (cd "$workdir" && find . -type f "$@" -print0 | sort -z | xargs -0 md5sum); }

echo "== first install"
wine_run "$setup" "${install_switches[@]}" || fatal "the installer failed (exit $?)"
elapsed "installation"
listing=$(cd "$installed" 2>/dev/null && ls | tr '\n' ' ')
[ "$listing" = "dictionary.exe uninstall.exe wordlist.exe " ] || fail "the program folder holds: $listing"
cmp -s "$program" "$installed/dictionary.exe" || fail "the installed dictionary.exe is not the one built"
cmp -s "$wordlist" "$installed/wordlist.exe" || fail "the installed wordlist.exe is not the one built"
diff -r "$data" "$workdir" || fail "the working directory in Documents is not the demo data"
[ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut"
wine_run reg query "$uninstall_key" /v QuietUninstallString /reg:$view 2>/dev/null | grep -qF "\"$target\\uninstall.exe\" /S" ||
  fail "no uninstall entry for $target"

echo "== the program, started from its shortcut"
# The shortcut has to start it in the working directory: nowhere else are its texts, and
# without them it shows no main window.
wine_run start /unix "$shortcut" >/dev/null 2>&1
wine_run "$probe" wait-window 30 || fatal "the program started from its shortcut showed no main window"
mkdir -p "$shots" && import -window root "$shots/installed-program.png" 2>/dev/null
(cd "$workdir" && wine_run "$installed/wordlist.exe" pairs >/dev/null) || fail "the installed wordlist.exe failed"
wine_run "$setup" "${install_switches[@]}"
status=$?
[ $status -eq 2 ] || fail "an install while the program runs ended with exit code $status, not 2"
wine_run "$probe" close-window 30 || fatal "the program did not close"
elapsed "program started, install refused, program closed"

echo "== second install over the user's changes"
printf '%-84s' "a word of the user's own" >>"$workdir/wordlists/eng_dut.gk"
mkdir -p "$workdir/lists/My words"
cp "$workdir/lists/First words/eng_dut.ls" "$workdir/lists/My words/"
printf 'RIFF\044\0\0\0WAVE' >"$workdir/sound/english/hello.wav"
printf '[Dictionary]\r\nLanguage=dutch\r\n' >"$workdir/language.ini"
# A damaged interface text, which an install renews: it belongs to the program.
: >"$workdir/strings/english.str"
users_files=$(contents ! -path './strings/*' ! -path './help/*')
wine_run "$setup" "${install_switches[@]}" || fatal "the second installation failed (exit $?)"
elapsed "second installation"
diff <(echo "$users_files") <(contents ! -path './strings/*' ! -path './help/*') ||
  fail "the second installation changed the user's files"
cmp -s "$data/strings/english.str" "$workdir/strings/english.str" || fail "the interface texts were not renewed"

echo "== uninstall"
before=$(contents)
wine_run "$installed/uninstall.exe" /S || fail "the uninstaller failed (exit $?)"
# It goes on as a copy of itself in the temp folder: wait until every process of the prefix
# has ended (and the registry is on disk).
timeout 120 wineserver -w || fail "the uninstaller did not end"
elapsed "uninstallation"
[ ! -e "$installed" ] || fail "the program folder is still there, holding: $(ls "$installed")"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
wine_run reg query "$uninstall_key" /reg:$view >/dev/null 2>&1 && fail "the uninstall entry is still registered"
grep -qF 'Uninstall\\Dictionary]' "$WINEPREFIX/system.reg" && fail "an uninstall entry is still in the registry"
diff <(echo "$before") <(contents) || fail "the uninstaller changed the working directory in Documents"

[ $failures -eq 0 ] || exit 1
echo "installer: all checks passed"
