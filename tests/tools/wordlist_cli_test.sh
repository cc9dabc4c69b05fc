#!/usr/bin/env bash
# Runs the command-line companion on a small working directory and checks what it
# prints, what it refuses, and that looking never writes.
set -u
wordlist=$(realpath "$1")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    printf 'FAIL %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

record() {  # record WORD TRANSLATION DELETED: one 84-byte record
  printf '%s' "$1"; head -c $((31 - ${#1})) /dev/zero
  printf '%s' "$2"; head -c $((51 - ${#2})) /dev/zero
  printf "\\x0$3\\x00"
}

mkdir -p strings wordlists lists/week1
"$wordlist" strings pack "$source_dir/res/strings/english.txt" strings/english.str || exit 1
printf '[Dictionary]\r\nLanguage=english\r\n' > language.ini
printf '# demo\n[languages]\ngerman,german,0\nlongname,greek,161,Modern Greek\n\n[selected]\neng_ger.gk\n' > languages.ini
cp languages.ini languages.before
{ record Apfel "apple" 0; record Haus "house, home" 1; record Zug train 0; } > wordlists/ger_eng.gk
: > wordlists/eng_ger.gk
record Haus "house" 0 > wordlists/"Modern Greek_english.gk"
: > wordlists/"english_Modern Greek.gk"
export DICT_WININI="$work/win.ini"

check pairs "$(printf '0\tgerman\tenglish\tger_eng.gk\tger_eng.ls\tgerman\t0\t0\t0
1\tModern Greek\tenglish\tModern Greek_english.gk\tModern Greek_english.ls\tgreek\t161\t0\t0
2\tenglish\tgerman\teng_ger.gk\teng_ger.ls\tenglish\t0\t0\t0\t*
3\tenglish\tModern Greek\tenglish_Modern Greek.gk\tenglish_Modern Greek.ls\tenglish\t0\t161\t0')" \
  "$("$wordlist" pairs)"
check count-selected "$(printf '0\t0')" "$("$wordlist" count)"
check count-pair "$(printf '3\t0')" "$("$wordlist" --pair 0 count)"
check dump "$(printf '0\tApfel\tapple\t0\n1\tHaus\thouse, home\t1\n2\tZug\ttrain\t0')" "$("$wordlist" --pair 0 dump)"
check gk-request "$(printf '0\tHaus\thouse\t0')" "$("$wordlist" --gk modern dump)"
check gk-keeps-current "$(printf '0\t0')" "$("$wordlist" --gk german count)"

# lookup: the word, else its base forms (a dictionary and a table written here), else a
# compound's final part; a deleted record is not found.
mkdir morphology
printf 'SET UTF-8\nSFX E Y 1\nSFX E 0 e .\n' > morphology/german.aff
printf '1\nZug/E\n' > morphology/german.dic
printf '\xC3\x84pfeln\tApfel\n' > morphology/german.forms
check lookup "$(printf 'Apfel\texact\tApfel\tapple\nZuge\tbase\tZug\ttrain\n\xC4pfeln\tbase\tApfel\tapple
G\xFCterzuge\tpart\tZug\ttrain\nHaus\tnone\t\t\nxyz\tnone\t\t')" \
  "$("$wordlist" --pair 0 lookup Apfel Zuge "$(printf '\xC3\x84pfeln')" "$(printf 'G\xC3\xBCterzuge')" Haus xyz)"
printf "Der Zuge, 'Apfel'.\n" > text.txt
check lookup-text "$(printf "Der\tnone\t\t\nZuge\tbase\tZug\ttrain\n'Apfel'\texact\tApfel\tapple")" \
  "$("$wordlist" --pair 0 lookup --text text.txt)"
# A damaged table: check names its file and line, and the language goes without base forms.
printf 'Zuge\tZug\nno tab\n' > morphology/german.forms
check lookup-damaged "$(printf 'Zuge\tnone\t\t')" "$("$wordlist" --pair 0 lookup Zuge 2>/dev/null)"
check check-morphology "$(printf 'found\tmorphology\\german.forms\n\tline 2: not form<TAB>base')" \
  "$("$wordlist" check | grep -A1 'german.forms')"
rm -r morphology text.txt

# Looking writes nothing: no list file, the catalogue as it was.
[ -e lists/week1/ger_eng.ls ] && { echo "FAIL count created a list file"; failures=$((failures + 1)); }
cmp -s languages.ini languages.before || { echo "FAIL the catalogue changed"; failures=$((failures + 1)); }

# load: sorted by the pair's collation, a bad line refuses the whole file.
printf 'zebra\tzebra\r\nApple\tappel, appeltje\nbanana\tbanaan\n' > words.tsv
check load-count 3 "$("$wordlist" --pair 2 load words.tsv)"
check load-dump "$(printf '0\tApple\tappel, appeltje\t0\n1\tbanana\tbanaan\t0\n2\tzebra\tzebra\t0')" "$("$wordlist" --pair 2 dump)"
printf 'good\tgoed\nbad,word\tslecht\n' > bad.tsv
"$wordlist" --pair 2 load bad.tsv 2>/dev/null && { echo "FAIL a bad line was loaded"; failures=$((failures + 1)); }
check load-refused-keeps-file 3 "$("$wordlist" --pair 2 dump | wc -l)"
check find-present "$(printf '1\tbanana\tbanaan\t0')" "$("$wordlist" --pair 2 find BANANA)"
check find-insertion "$(printf '2\tzebra\tzebra\t0')" "$("$wordlist" --pair 2 find cherry)"
check find-after-all "$(printf '3\t\t\t0')" "$("$wordlist" --pair 2 find zz)"

# sort: deleted records go, the rest in collation order.
printf 'pear\tpeer\nApple\tappel\nfig\tvijg\n' > shuffled.tsv
"$wordlist" --pair 2 load --as-is shuffled.tsv >/dev/null
check as-is "$(printf 'pear\nApple\nfig')" "$("$wordlist" --pair 2 dump | cut -f2)"
check sort-count 3 "$("$wordlist" --pair 2 sort)"
check sorted "$(printf 'Apple\nfig\npear')" "$("$wordlist" --pair 2 dump | cut -f2)"
stats=$("$wordlist" --pair 2 --stats find fig 2>&1 >/dev/null)
case "$stats" in *"record reads"*) ;; *) check find-stats "record reads ..." "$stats" ;; esac

# backups: each load kept the word file it replaced; restore puts one back, the current one kept first.
check backups-made 2 "$("$wordlist" backups | grep -c 'wordlists\\eng_ger.gk')"
newest=$("$wordlist" backups | head -n 1 | cut -f1)
check restore "restored	wordlists\\eng_ger.gk" "$("$wordlist" restore "$newest" wordlists/eng_ger.gk | tail -n 1)"
check restored-words "$(printf 'Apple\nbanana\nzebra')" "$("$wordlist" --pair 2 dump | cut -f2)"
check restore-kept-current 3 "$("$wordlist" backups | wc -l)"
check restore-nothing-left "" "$("$wordlist" restore "$newest" | grep restored)"
"$wordlist" restore 2000-01-01-000000 2>/dev/null && { echo "FAIL a missing backup restored"; failures=$((failures + 1)); }
"$wordlist" restore "$newest" languages.ini 2>/dev/null && { echo "FAIL restored a file the backup lacks"; failures=$((failures + 1)); }

mkdir -p lists/animals
check lists "$(printf '800\tanimals\t*\n801\tweek1')" "$("$wordlist" lists)"
: > wordlists/eng_ger.gk

expect_error() {  # expect_error NAME PATTERN ARGS...
  local name=$1 pattern=$2; shift 2
  local err; err=$("$wordlist" "$@" 2>&1 >/dev/null); local code=$?
  check "$name exit code" 1 "$code"
  case "$err" in *"$pattern"*) ;; *) check "$name message" "*$pattern*" "$err" ;; esac
}
expect_error no-command "usage" --pair 1
expect_error bad-pair "there is no pair 9" --pair 9 count
expect_error bad-number "--pair needs a pair number" --pair x count
# Lines end at LF only: a lone CR stays inside its line, and the line numbers count LFs.
printf 'good\tgoed\rbad,word\tslecht\n' > cr.tsv
expect_error load-lone-cr "cr.tsv: line 1: a translation has at most 50 characters and no tab" --pair 2 load cr.tsv

# import: the report first, nothing written by --dry-run, then the words in both directions.
printf 'Haus\thouse\r\nZug\ttrain, coach\r\nbad,word\tx\r\n' > deck.tsv
cp wordlists/ger_eng.gk ger_eng.before
check import-report "$(printf 'deck.tsv (tsv): 3 entries\ntext: UTF-8\nfields separated by tab\nadded 1, merged 1, already there 0, skipped 1
reverse pair: added 3, merged 0\nline 3: "bad,word": a comma in the word\nreport written to ger_eng.import.txt')" \
  "$("$wordlist" --pair 0 import --dry-run deck.tsv)"
check import-report-file "$(printf '\xEF\xBB\xBFdeck.tsv (tsv): 3 entries\r')" "$(head -n 1 ger_eng.import.txt)"
check import-report-file-problems 'line 3: "bad,word": a comma in the word' "$(tail -n 1 ger_eng.import.txt | tr -d '\r')"
cmp -s wordlists/ger_eng.gk ger_eng.before || { echo "FAIL a dry run wrote"; failures=$((failures + 1)); }
"$wordlist" --pair 0 import deck.tsv >/dev/null
check import-forward "$(printf '0\tApfel\tapple\t0\n1\tHaus\thouse\t0\n2\tZug\ttrain, coach\t0')" \
  "$("$wordlist" --pair 0 dump)"
check import-reverse "$(printf '0\tcoach\tZug\t0\n1\thouse\tHaus\t0\n2\ttrain\tZug\t0')" "$("$wordlist" --pair 2 dump)"
check export "$(printf '#columns:german\tenglish\r')" \
  "$("$wordlist" --pair 0 export --format anki deck.txt >/dev/null && sed -n 3p deck.txt)"
printf 'sep=;\r\nBaum;tree, shaft\r\n' > sheet.csv
check import-semicolons "$(printf 'fields separated by semicolon\nadded 1')" \
  "$("$wordlist" --pair 0 import --dry-run sheet.csv | sed -n '3p;4s/,.*//p')"
check import-separator-given "$(printf 'fields separated by comma\nadded 1')" \
  "$("$wordlist" --pair 0 import --dry-run --separator comma sheet.csv | sed -n '3p;4s/,.*//p')"
# A report of many problems: the first 20 on stdout, how many more and where they all are;
# --report - prints them all.
for i in $(seq 25); do printf 'w,%d\tx\n' "$i"; done > many.tsv
problems() { seq "$1" | sed 's/.*/line &: "w,&": a comma in the word/'; }
check import-first-problems "$(problems 20; printf '... and 5 more lines\nreport written to ger_eng.import.txt')" \
  "$("$wordlist" --pair 0 import --dry-run many.tsv | sed -n '/^line 1:/,$p')"
check import-report-keeps-all "$(problems 25)" "$(grep '^line ' ger_eng.import.txt | tr -d '\r')"
check import-whole-report "$(problems 25; printf 'report written to ger_eng.import.txt')" \
  "$("$wordlist" --pair 0 import --dry-run --report - many.tsv | sed -n '/^line 1:/,$p')"
expect_error report-elsewhere "--report takes -" --pair 0 import --report out.txt many.tsv
expect_error unknown-separator "unknown separator semi" --pair 0 import --separator semi sheet.csv
expect_error unknown-format "unknown format xls" --pair 0 import --format xls deck.tsv
expect_error unknown-extension "give it with --format" --pair 0 import deck.doc
# KVTML: languages that the pair's names do not find are refused with those of the file.
printf '<kvtml><identifiers><identifier id="0"><name>English</name><locale>en</locale></identifier>
<identifier id="1"><name>Deutsch</name></identifier><identifier id="2"><locale>fr</locale></identifier>
</identifiers><entries><entry><translation id="0"><text>tree</text></translation>
<translation id="1"><text>Baum</text></translation></entry></entries></kvtml>\n' > three.kvtml
expect_error kvtml-unmatched 'no language "german"; its languages are 0 (English, en), 1 (Deutsch), 2 (fr)
wordlist: choose two with --languages ID1,ID2' --pair 0 import --dry-run three.kvtml
check kvtml-chosen "$(printf 'languages: identifier 1 (Deutsch) and identifier 0 (English)\nadded 1')" \
  "$("$wordlist" --pair 0 import --dry-run --languages 1,en three.kvtml | sed -n '/^languages/p;/^added/s/,.*//p')"
printf '"open\tx\n' > damaged.tsv
expect_error damaged-import "line 1: a quoted field is not closed" --pair 0 import damaged.tsv
# review: answers logged as the word file spells the word, due dates in UTC days.
check review-good "$(printf 'Apfel\t2026-01-08T08:00:00Z\t2.3065\t2.1181\t1\t0')" \
  "$("$wordlist" --pair 0 review apfel 3 --at 2026-01-05T08:00:00Z)"
"$wordlist" --pair 0 review ZUG 1 --at 2026-01-05T09:30:00Z >/dev/null
check review-log "$(printf '1767600000000,Apfel,3,0\r\n1767605400000,Zug,1,0\r')" "$(cat wordlists/ger_eng.revlog)"
check due "$(printf 'Zug\t2026-01-06T09:30:00Z\t0.2120\t6.4133\t1\t0')" \
  "$("$wordlist" --pair 0 due --at 2026-01-07T00:00:00Z)"
check due-all "$(printf 'Zug\nApfel')" "$("$wordlist" --pair 0 due --all | cut -f1)"
check review-stats "$(printf 'new\t1\nyoung\t2\n2026-01-05\t1\t0\t1\t0\t50%%\n2026-01-05\t0\n2026-01-06\t1')" \
  "$("$wordlist" --pair 0 review-stats --at 2026-01-05T23:00:00Z | sed -n '1,2p;/^2026-01-0[56]/p')"
check review-log-export "$(printf 'card_id,review_time,review_rating,review_state,review_duration\n1,1767600000000,3,0,0\n2,1767605400000,1,0,0')" \
  "$("$wordlist" --pair 0 review-log export optimizer.csv >/dev/null && cat optimizer.csv)"
check review-optimize-too-few "$(printf 'reviews 2 words 2\ntoo few reviews to measure: the parameters stay')" \
  "$("$wordlist" --pair 0 review-optimize --apply | head -n 2)"
[ -e wordlists/ger_eng.revparams ] && { echo "FAIL too few reviews stored parameters"; failures=$((failures + 1)); }
# A simulated learner's log beside pair 0's two reviews: fitted, stored only once better, then
# scheduling the pair.
cp wordlists/ger_eng.revlog two-reviews.revlog
gunzip -c "$source_dir/tests/core/review/fitting/steady.revlog.gz" >> wordlists/ger_eng.revlog
due_before=$("$wordlist" --pair 0 due --all)
optimized=$("$wordlist" --pair 0 review-optimize --apply)
check review-optimize-lines "$(printf 'reviews 3742 words 502\ncurrent\nfitted\nstored: the fitted parameters\nparameters')" \
  "$(printf '%s\n' "$optimized" | cut -d ' ' -f 1-4 | sed 's/ log-loss.*//; s/^parameters .*/parameters/')"
check review-optimize-stored "$(printf '%s\n' "$optimized" | sed -n 's/^parameters //p')" \
  "$(cut -d ' ' -f 3 wordlists/ger_eng.revparams)"
[ "$("$wordlist" --pair 0 due --all)" != "$due_before" ] || { echo "FAIL due ignores the stored parameters"; failures=$((failures + 1)); }
check review-optimize-kept "kept: the current parameters predict as well or better" \
  "$("$wordlist" --pair 0 review-optimize --apply | sed -n 's/^kept/kept/p')"
sed -i 's/^revparams 1 [0-9.]*,/revparams 1 nan,/' wordlists/ger_eng.revparams
check review-params-refused "refused (a weight out of its bounds): the default parameters are used" \
  "$("$wordlist" check | grep -o 'refused.*')"
check review-params-refused-unused "$due_before" "$("$wordlist" --pair 0 due --all)"
mv two-reviews.revlog wordlists/ger_eng.revlog
rm wordlists/ger_eng.revparams
expect_error review-unknown-word "there is no word Birne" --pair 0 review Birne 3
expect_error review-bad-rating "RATING is 1-4" --pair 0 review Apfel 5
expect_error review-bad-time "--at needs a time" --pair 0 due --at tomorrow
# The command line's rules, each command's operands and options as the usage gives them.
expect_error find-no-operand "find needs an operand" --pair 0 find
expect_error review-one-operand "review needs two operands" --pair 0 review Apfel
expect_error review-log-import "review-log knows only export" --pair 0 review-log import out.csv
expect_error count-extra "unexpected argument extra" count extra
expect_error option-of-another "unexpected argument --all" --pair 0 review-stats --all
expect_error strings-after-option "unexpected argument pack" --pair 0 strings pack a b
expect_error strings-bad "bad arguments" strings frob a b
check usage "$(printf '%s\n' 'wordlist: no command' \
  'usage: wordlist [--pair N] [--gk NAME] [--stats] pairs | count | dump | find KEY | sort [--appended N] | lists' \
  '       wordlist [--pair N] [--gk NAME] load [--as-is] FILE' \
  '       wordlist strings pack IN OUT | wordlist strings unpack IN OUT' \
  '       wordlist check [--repair]' \
  '       wordlist [--pair N] import [--dry-run] [--report -] [--format F] [--languages A,B] [--separator S] FILE' \
  '       wordlist [--pair N] export [--format F] FILE' \
  '       wordlist [--stats] backup | wordlist backups | wordlist restore NAME [FILE...]' \
  '       wordlist [--pair N] [--stats] review WORD RATING [--at TIME] | due [--at TIME] [--all]' \
  '       wordlist [--pair N] review-stats [--at TIME] | review-log export FILE' \
  '       wordlist [--pair N] review-optimize [--apply]' \
  '       wordlist [--pair N] [--stats] lookup [--text FILE] [WORD...]' \
  '       (F: tsv, csv, anki, kvtml or freedict)')" "$("$wordlist" 2>&1)"
backup_stats=$("$wordlist" --stats backup 2>&1 >/dev/null)
[[ "$backup_stats" =~ ^backup$'\t'[0-9]+\.[0-9]\ ms$ ]] || check backup-stats "backup<TAB>n.n ms" "$backup_stats"
# A damaged line of the log is left out of the export and said so.
printf 'damaged\r\n' >> wordlists/ger_eng.revlog
check review-log-export-damaged "$(printf '2 reviews of 2 words written to optimizer.csv\n1 damaged lines left out')" \
  "$("$wordlist" --pair 0 review-log export optimizer.csv)"
: > wordlists/eng_ger.gk
rm wordlists/eng_ger.gk
expect_error missing-word-file "Can't open wordlists\\eng_ger.gk" count
mv languages.ini elsewhere.ini
expect_error no-catalogue "languages.ini" pairs
rm language.ini
expect_error no-strings "No strings file found." pairs
expect_error pack-missing "cannot read" strings pack nothing.txt out.str

[ "$failures" -eq 0 ] && echo "wordlist: all checks passed"
exit $((failures > 0))
