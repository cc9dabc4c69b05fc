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
# The Windows code page of a font character set, read from the program's own table (rows
# "{charset, codePage}"), so the script keeps no copy of it; 1252 for any other set.
codepage() {
  local page
  page=$(grep -o "{$1, *[0-9]*}" "$top/src/core/text/code_page.cpp" | grep -o '[0-9]*}' | tr -d '}' || true)
  echo "cp${page:-1252}"
}
# Each interface language has its own catalogue (languages.ini, talen.ini): the pairs of
# each are loaded with language.ini naming that language, and language.ini is put back.
cp language.ini "$tmp/language.ini"
trap 'cp "$tmp/language.ini" language.ini; rm -rf "$tmp"' EXIT
for interface in english dutch; do
  printf '[Dictionary]\r\nLanguage=%s\r\n' "$interface" > language.ini
  # Pair numbers follow the catalogue: forward pairs, then their reverses. A line holds
  # both languages; the one that is not plain Western decides the code page.
  position=0
  while IFS=$'\t' read -r _ name1 name2 _ _ _ charset1 charset2 _; do
    source="$top/res/demo/${name1}_${name2}.tsv"
    if [ -f "$source" ]; then
      charset=$charset1; [ "$charset" = 0 ] && charset=$charset2
      iconv -f utf-8 -t "$(codepage "$charset")" "$source" > "$tmp/$position.tsv"
      printf '%s -> %s: ' "$name1" "$name2"
      "$top/tools/wine-run" "$top/build/win64/wordlist.exe" --pair "$position" load "Z:$tmp/$position.tsv" | tr -d '\r'
    fi
    position=$((position + 1))
  done < <("$top/tools/wine-run" "$top/build/win64/wordlist.exe" pairs | tr -d '\r')
done

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
