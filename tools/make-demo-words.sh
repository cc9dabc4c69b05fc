#!/usr/bin/env bash
# Rebuilds the demo word files of data/ from res/demo/*.tsv (UTF-8), sorted by the
# program's own collation: wordlist.exe under Wine loads each pair's list.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
cmake --build --preset win64 --target wordlist >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd data
# Pair numbers follow languages.ini: forward pairs, then their reverses.
position=0
while IFS=$'\t' read -r _ name1 name2 _; do
  source="$top/res/demo/${name1}_${name2}.tsv"
  if [ -f "$source" ]; then
    iconv -f utf-8 -t cp1252 "$source" > "$tmp/$position.tsv"
    printf '%s -> %s: ' "$name1" "$name2"
    "$top/tools/wine-run" "$top/build/win64/wordlist.exe" --pair "$position" load "Z:$tmp/$position.tsv" | tr -d '\r'
  fi
  position=$((position + 1))
done < <("$top/tools/wine-run" "$top/build/win64/wordlist.exe" pairs | tr -d '\r')

# The demo practice list: every 17th word of each word list, twenty of them.
mkdir -p "lists/First words"
for file in wordlists/*.gk; do
  name=$(basename "$file" .gk)
  list="lists/First words/$name.ls"
  : > "$list"
  for i in $(seq 0 19); do
    dd if="$file" bs=84 skip=$((i * 17)) count=1 status=none >> "$list"
  done
done
