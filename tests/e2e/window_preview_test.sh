#!/usr/bin/env bash
# Opens the sorting window, the "updating" window and the new-list dialog on a copy of
# the demo working directory, checks their class and size, and keeps a picture of each.
set -u
preview=$1 data=$2 shots=$3
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$data" "$work/data"
mkdir -p "$shots"
failures=0
while read -r window expected; do
  line=$(cd "$work/data" && timeout 60 "$top/tools/wine-run" "$preview" "$window" "Z:$work/$window.bmp" 2>/dev/null | tr -d '\r')
  if [ "$line" != "$expected saved" ]; then
    echo "FAIL $window: expected '$expected saved', got '$line'"
    failures=$((failures + 1))
  else
    convert "$work/$window.bmp" "$shots/$window.png" && echo "$window: $shots/$window.png"
  fi
done <<'LIST'
sorting sorting 350x120
updating updating 350x120
newlist #32770 326x145
LIST
exit $((failures > 0))
