#!/usr/bin/env bash
# Coverage of the base-form lookup: the share of running words (tokens with a letter) of
# German and English texts from Debian's fortunes packages that the word file holds as
# they are (exact), by a base form (base) or by a compound's final part (part), with
# Debian's FreeDict German-English and English-German dictionaries imported into the demo
# pairs; then the same without data/morphology, and the load time and memory of the
# German dictionary. The texts were tuned on; the held-out ones were not.
#   tools/measure-morphology.sh [WORDLIST]   (default: the bench preset's, built here)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
tools/deps.sh fortunes-de fortunes  # the texts, needed only here
if [ $# -gt 0 ]; then
  wordlist=$(realpath "$1")
else
  cmake --preset bench >/dev/null
  cmake --build --preset bench -j2 --target wordlist >/dev/null
  wordlist=$top/build/bench/wordlist
fi
fortunes=/usr/share/games/fortunes
work=$top/build/measure-morphology
# The imports take a minute: the working directory is made once, its morphology refreshed.
if [ ! -f "$work/imported" ]; then
  rm -rf "$work"
  cp -r data "$work"
  rm -rf "$work/morphology"
  (cd "$work" && DICT_WININI=$work/win.ini "$wordlist" --pair 1 import /usr/share/dictd/freedict-deu-eng.index >/dev/null &&
    DICT_WININI=$work/win.ini "$wordlist" --pair 6 import /usr/share/dictd/freedict-eng-deu.index >/dev/null)
  touch "$work/imported"
fi
texts=$work/texts
mkdir -p "$texts"
cat $fortunes/de/{anekdoten,kinderzitate,letzteworte,sprueche,sprichworte,fussball} >"$texts/german-tuned.txt"
cat $fortunes/de/hauptgericht >"$texts/german-held-out.txt"
cat $fortunes/{wisdom,people,literature} >"$texts/english-tuned.txt"
cat $fortunes/science >"$texts/english-held-out.txt"

coverage() {  # coverage PAIR TEXT
  (cd "$work" && DICT_WININI=$work/win.ini "$wordlist" --pair "$1" lookup --text "$2") |
    awk -F'\t' '$1 ~ /[A-Za-z\x80-\xff]/ { n++; c[$2]++ }
      END { printf "%7d words  exact %5.1f%%  base %4.1f%%  part %4.1f%%  found %5.1f%%\n", n,
            100 * c["exact"] / n, 100 * c["base"] / n, 100 * c["part"] / n, 100 * (n - c["none"]) / n }'
}
for with in without with; do
  rm -rf "$work/morphology"
  [ $with = with ] && cp -r data/morphology "$work/morphology"
  echo "== $with data/morphology"
  for text in german-tuned german-held-out; do printf '%-18s' $text; coverage 1 "$texts/$text.txt"; done
  for text in english-tuned english-held-out; do printf '%-18s' $text; coverage 6 "$texts/$text.txt"; done
done
echo "== loading (best of 5)"
for pair in 1 6 4; do
  for _ in 1 2 3 4 5; do
    (cd "$work" && DICT_WININI=$work/win.ini "$wordlist" --pair $pair --stats lookup Haus 2>&1 >/dev/null) | awk -F'\t' '/^load|^language memory/ { printf "%s %s  ", $1, $2 } END { print "" }'
  done | sort -t' ' -k2 -n | head -1 | sed "s/^/pair $pair: /"
done
