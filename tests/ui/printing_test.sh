#!/usr/bin/env bash
# Runs the printing tests of the Windows build under Wine. They print through CUPS to its
# PDF printer; this script turns each PDF the printer finishes into text, numbered in the
# order they come (1.txt, 2.txt, ...), for the tests to read (a Windows program cannot start
# pdftotext). The PDFs and their texts stay in the given folder for people to look at.
set -u
win_tests=$1 kept=$2
top=$(cd "$(dirname "$0")/../.." && pwd)

if ! lpstat -r 2>/dev/null | grep -q 'is running' || ! lpstat -d 2>/dev/null | grep -q ': PDF$'; then
  echo "FAIL: the printing tests need CUPS running with the printer PDF as default: tools/cups.sh start"
  exit 1
fi
command -v pdftotext >/dev/null || { echo "FAIL: pdftotext missing (Debian package poppler-utils)"; exit 1; }
out=$("$top/tools/cups.sh" outdir)
rm -rf "$kept" && mkdir -p "$kept"
ls "$out"/*.pdf >"$kept/seen" 2>/dev/null

convert() {
  local n=0 pdf
  while :; do
    for pdf in "$out"/*.pdf; do
      [ -e "$pdf" ] && ! grep -qxF "$pdf" "$kept/seen" || continue
      tail -c 16 "$pdf" | grep -q '%%EOF' || continue  # not yet wholly written
      echo "$pdf" >>"$kept/seen"
      n=$((n + 1))
      cp "$pdf" "$kept/$n.pdf"
      pdftotext -layout "$pdf" "$kept/$n.part" && mv "$kept/$n.part" "$kept/$n.txt"
    done
    sleep 0.1
  done
}
convert &
converter=$!
trap 'kill $converter 2>/dev/null' EXIT

DICT_PRINTED="Z:$kept" "$top/tools/wine-run" "$win_tests" --gtest_filter='PrintingTest.*'
