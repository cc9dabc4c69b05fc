#!/usr/bin/env bash
# Imports Debian's English-German FreeDict dictionary with the Windows build of wordlist
# under Wine into a copy of the demo working directory, then checks the result the way a
# user would: the checker finds nothing wrong, and words are found in both directions.
# English-French and English-Dutch follow, for their sense numbers and their letters.
set -u
wordlist=$1 data=$2
top=$(cd "$(dirname "$0")/../.." && pwd)
index=/usr/share/dictd/freedict-eng-deu.index
[ -e "$index" ] || { echo "FAIL: $index missing (Debian package dict-freedict-eng-deu)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$data"/. "$work"
cd "$work"
failures=0
run() { "$top/tools/wine-run" "$wordlist" "$@" </dev/null 2>&1 | tr -d '\r'; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

pair=$(run pairs | awk -F'\t' '$2 == "english" && $3 == "german" { print $1 }')
reverse=$(run pairs | awk -F'\t' '$2 == "german" && $3 == "english" { print $1 }')
[ -n "$pair" ] && [ -n "$reverse" ] || { echo "FAIL: the demo catalogue has no english-german pair"; exit 1; }

report=$(run --stats --pair "$pair" import "Z:$index")
printf '%s\n' "$report" | sed -n '1,3p;/^read and plan/,$p'
entries=$(printf '%s\n' "$report" | sed -n '1s/.*: \([0-9]*\) entries$/\1/p')
[ "${entries:-0}" -gt 400000 ] || fail "the report counts ${entries:-no} entries"
printf '%s\n' "$report" | grep -q '^imported into eng_ger.gk$' || fail "the import did not end"
# The terminal gets the first 20 of the report's lines and where the rest are; the file has them all.
shown=$(printf '%s\n' "$report" | grep -c '^line [0-9]*: ')
[ "$shown" -eq 20 ] || fail "$shown problem lines printed, not 20"
printf '%s\n' "$report" | grep -q '^report written to eng_ger.import.txt$' || fail "the report file is not named"
tr -d '\r' < eng_ger.import.txt | grep -q '^line [0-9]*: "3,4-dinitrotoluene": a comma in the word$' ||
  fail "a headword with a comma is not reported"

checked=$(run check) || fail "the checker found something after the import: $(printf '%s\n' "$checked" | grep -v '^ok')"
count=$(run --pair "$pair" count | cut -f1)
[ "${count:-0}" -gt 300000 ] || fail "the pair holds ${count:-no} words"

find() {  # find PAIR WORD EXPECTED-PIECE
  local found; found=$(run --pair "$1" find "$2")
  case "$(printf '%s' "$found" | cut -f2)" in "$2") ;; *) fail "find $2: got $found" ; return ;; esac
  printf '%s' "$found" | cut -f3 | grep -qw "$3" || fail "find $2: no \"$3\" in $found"
}
find "$pair" house Haus
find "$pair" approved genehmigt
find "$reverse" Haus house
find "$reverse" Bahnhof station

# English-French numbers its senses ("1. grotte", "2. creux"): each is a translation.
fra=/usr/share/dictd/freedict-eng-fra.index
[ -e "$fra" ] || fail "$fra missing (Debian package dict-freedict-eng-fra)"
frpair=$(run pairs | awk -F'\t' '$2 == "english" && $3 == "french" { print $1 }')
frreverse=$(run pairs | awk -F'\t' '$2 == "french" && $3 == "english" { print $1 }')
if [ -e "$fra" ] && [ -n "$frpair" ]; then
  run --pair "$frpair" import "Z:$fra" | grep -q '^imported into eng_fre.gk$' || fail "eng-fra: the import did not end"
  case "$(run --pair "$frpair" find cave | cut -f3)" in *grotte*creux*) ;; *) fail "eng-fra: cave is not grotte, creux";; esac
  numbered=$(run --pair "$frreverse" dump | cut -f2 | grep -c '^[0-9]*\. ')
  [ "$numbered" -eq 0 ] || fail "eng-fra: $numbered French headwords start with a sense number"
fi

# English-Dutch writes "ĳ" and Unicode hyphens, which the code page spells "ij" and "-".
nld=/usr/share/dictd/freedict-eng-nld.index
[ -e "$nld" ] || fail "$nld missing (Debian package dict-freedict-eng-nld)"
nlpair=$(run pairs | awk -F'\t' '$2 == "english" && $3 == "dutch" { print $1 }')
if [ -e "$nld" ] && [ -n "$nlpair" ]; then
  nlreport=$(run --pair "$nlpair" import "Z:$nld")
  printf '%s\n' "$nlreport" | grep -q '^imported into eng_dut.gk$' || fail "eng-nld: the import did not end"
  refused=$(grep -c 'not in the code page' eng_dut.import.txt)
  [ "$refused" -eq 0 ] || fail "eng-nld: $refused entries not in the code page: $(grep -m3 'not in the code page' eng_dut.import.txt)"
  case "$(run --pair "$nlpair" find gruesome | cut -f3)" in *afschuwelijk*) ;; *) fail "eng-nld: gruesome is not afschuwelijk";; esac
  case "$(run --pair "$nlpair" find grown-up | cut -f2)" in grown-up) ;; *) fail "eng-nld: no grown-up";; esac

fi

# The newer dictionaries are built from Wiktionary: each sense's translations, then lines in
# German (or Greek) that define it. Into fresh copies, so that no earlier import mixes in.
fresh() { cd "$work" && rm -rf fresh && mkdir fresh && cp -r "$data"/. fresh && cd fresh; }
dump() { run --pair "$1" dump | cut -f2-3 | iconv -f "$2" -t UTF-8; }
deufra=/usr/share/dictd/freedict-deu-fra.index
[ -e "$deufra" ] || fail "$deufra missing (Debian package dict-freedict-deu-fra)"
if [ -e "$deufra" ] && [ -n "$reverse" ]; then
  fresh
  run --pair "$reverse" import "Z:$deufra" | grep -q '^imported into ger_eng.gk$' || fail "deu-fra: the import did not end"
  german=$(dump "$reverse" CP1252)
  for expected in 'Kampfkunst	art martial' 'ausreißen	arracher, sauver' 'A-Dur	la majeur' 'Akkusativ	accusatif' \
                  'Rohmilchkäse	fromage au lait cru'; do
    printf '%s\n' "$german" | grep -qx "$expected" || fail "deu-fra: no \"$expected\": $(printf '%s\n' "$german" | grep -m1 "^${expected%%	*}	")"
  done
  french=$(dump "$pair" CP1252 | cut -f1)
  bad=$(printf '%s\n' "$french" | grep -cE '(^|[ (])[0-9]+\.$|^[0-9]+\. |[][{}]|^\(als ')
  [ "$bad" -eq 0 ] || fail "deu-fra: $bad English-side headwords are sense numbers, notes or definitions: $(printf '%s\n' "$french" | grep -m3 -E '(^|[ (])[0-9]+\.$|[][{}]')"
  case "$(run --pair "$pair" find sauver | iconv -f CP1252 -t UTF-8 | cut -f3)" in *ausreißen*) ;; *) fail "deu-fra: sauver does not lead back to ausreißen";; esac
  before=$(run backups | wc -l)
  again=$(run --pair "$reverse" import "Z:$deufra")
  printf '%s\n' "$again" | grep -q '^nothing to import: every entry is already there' || fail "deu-fra twice: $(printf '%s\n' "$again" | tail -1)"
  [ "$(run backups | wc -l)" -eq "$before" ] || fail "deu-fra twice: a backup was taken of nothing"
fi

elleng=/usr/share/dictd/freedict-ell-eng.index
[ -e "$elleng" ] || fail "$elleng missing (Debian package dict-freedict-ell-eng)"
grpair=$(run pairs | awk -F'\t' '$2 == "Modern Greek" && $3 == "english" { print $1 }')
if [ -e "$elleng" ] && [ -n "$grpair" ]; then
  fresh
  report=$(run --pair "$grpair" import "Z:$elleng")
  skipped=$(printf '%s\n' "$report" | sed -n 's/.*skipped \([0-9]*\).*/\1/p' | head -1)
  [ "${skipped:-99999}" -lt 500 ] || fail "ell-eng: ${skipped:-no count of} entries skipped"
  dump "$grpair" CP1253 | grep -qx 'άγγελος	angel' || fail "ell-eng: άγγελος is not angel"
fi

# A Russian dictionary into a pair whose second language has Western letters: refused whole.
engrus=/usr/share/dictd/freedict-eng-rus.index
[ -e "$engrus" ] || fail "$engrus missing (Debian package dict-freedict-eng-rus)"
if [ -e "$engrus" ] && [ -n "$pair" ]; then
  fresh
  before=$(run backups | wc -l)
  words=$(run --pair "$pair" count | cut -f1)
  refusal=$(set -o pipefail; run --pair "$pair" import "Z:$engrus"; echo "exit $?")
  printf '%s\n' "$refusal" | grep -q '^wordlist: german uses Western (1252) letters in this catalogue; this dictionary is written in Cyrillic letters (character set 204)' ||
    fail "eng-rus: not refused as Cyrillic: $refusal"
  printf '%s\n' "$refusal" | grep -q '^exit 0$' && fail "eng-rus: the refusal exits 0"
  [ "$(run backups | wc -l)" -eq "$before" ] || fail "eng-rus: a backup was taken"
  [ "$(run --pair "$pair" count | cut -f1)" = "$words" ] || fail "eng-rus: the pair changed"
fi

[ "$failures" -eq 0 ] && echo "FreeDict import: all checks passed"
exit $((failures > 0))
