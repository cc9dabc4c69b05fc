#!/usr/bin/env bash
# Proves what the tests catch: each deliberate fault of tools/mutations.txt is put in turn
# into a scratch copy of the tree, which is built and tested (core faults by the native unit
# tests and the wordlist command's test, window faults by the Windows unit and window tests
# under Wine). A fault is caught when a test fails or the run hangs past its time.
#
#   tools/mutate.sh [--tier core|windows] [PATTERN]   only the faults whose comment matches
#                                                    PATTERN (a Python regular expression)
#
# Prints one line per fault and the share caught; the faults no test catches are listed at
# the end. Exits 1 when the unchanged copy does not pass, or a fault's lines are not found
# exactly once (the list must follow the code).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
tier_wanted=""
if [ "${1:-}" = "--tier" ]; then
  tier_wanted=$2
  shift 2
fi
words="${1:-}"
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$top}

work=$top/build/mutate
src=$work/src
mkdir -p "$src"
# The tree as it stands, committed or not. Only files whose bytes differ are written (and so
# become newer than every object): the scratch builds stay incremental from run to run, and
# none keeps an object made from other bytes.
git ls-files -co --exclude-standard -z | python3 -c '
import os, shutil, sys
target = sys.argv[1]
for path in sys.stdin.buffer.read().decode().split("\0"):
    if not path or not os.path.isfile(path): continue
    copy = os.path.join(target, path)
    try:
        with open(path, "rb") as a, open(copy, "rb") as b:
            if a.read() == b.read(): continue
    except FileNotFoundError:
        os.makedirs(os.path.dirname(copy) or ".", exist_ok=True)
    shutil.copyfile(path, copy)
    shutil.copymode(path, copy)
' "$src"
# What tools/deps.sh puts outside git: Hunspell's unpacked source and Debian's dictionaries.
mkdir -p "$src/build" "$src/data/morphology"
ln -sfn "$top/build/sources" "$src/build/sources"
for f in "$top"/data/morphology/*; do [ -e "$src/data/morphology/${f##*/}" ] || ln -s "$f" "$src/data/morphology/"; done

# The faults as records: tier, file, description, find and replace (lines joined by \x1f).
faults=$work/faults
python3 - "$top/tools/mutations.txt" "$faults" "$tier_wanted" "$words" <<'EOF'
import re, sys
source, out, tier_wanted, words = sys.argv[1:]
faults, comment, current = [], [], None
for line in open(source, encoding="utf-8").read().split("\n"):
    if line.startswith("@ "):
        tier, path = line[2:].split(" ", 1)
        current = {"tier": tier, "file": path, "what": " ".join(comment), "find": [], "put": []}
        faults.append(current)
        comment = []
    elif line.startswith("#"):
        comment.append(line[1:].strip())
        current = None
    elif not line.strip():
        comment = []
    elif current is not None and line.startswith("-"):
        current["find"].append(line[1:])
    elif current is not None and line.startswith("+"):
        current["put"].append(line[1:])
with open(out, "w", encoding="utf-8") as f:
    for x in faults:
        if tier_wanted and x["tier"] != tier_wanted: continue
        if words and not re.search(words, x["what"]): continue
        f.write("\x1e".join([x["tier"], x["file"], x["what"], "\x1f".join(x["find"]), "\x1f".join(x["put"])]) + "\n")
EOF

# Puts a fault's lines in place of the found ones; fails unless they are found exactly once.
apply_fault() {
  python3 - "$src/$1" "$2" "$3" <<'EOF'
import sys
path, find, put = sys.argv[1], sys.argv[2].replace("\x1f", "\n") + "\n", sys.argv[3]
put = put.replace("\x1f", "\n") + "\n" if put else ""
text = open(path, encoding="latin-1").read()
if text.count(find) != 1: sys.exit(1)
open(path, "w", encoding="latin-1").write(text.replace(find, put))
EOF
}

tiers=$(cut -d$'\x1e' -f1 "$faults" | sort -u)
log=$work/log
: >"$log"
build_tier() {
  case $1 in
    core) (cd "$src" && cmake --preset native >/dev/null && cmake --build --preset native -j2 --target unit_tests wordlist) ;;
    windows) (cd "$src" && cmake --preset win64 >/dev/null && cmake --build --preset win64 -j2 --target unit_tests win_tests) ;;
  esac >>"$log" 2>&1
}
test_tier() {
  case $1 in
    core)
      timeout 300 "$src/build/native/tests/unit_tests" --gtest_brief=1 &&
        timeout 300 "$src/tests/tools/wordlist_cli_test.sh" "$src/build/native/wordlist"
      ;;
    windows)
      timeout 300 "$top/tools/wine-run" "$src/build/win64/tests/unit_tests.exe" --gtest_brief=1 &&
        GTEST_FILTER='-PrintingTest.*' timeout 300 "$top/tools/wine-run" "$src/build/win64/tests/win_tests.exe" --gtest_brief=1
      ;;
  esac >>"$log" 2>&1 </dev/null
}
export -f build_tier test_tier
export src top log

run_all() {
  for t in $tiers; do
    if ! build_tier "$t" || ! test_tier "$t"; then
      echo "mutate: the unchanged copy does not pass the $t tests; see $log" >&2
      return 1
    fi
  done
  local caught=0 total=0 stale=0 unbuilt=0 missed=()
  while IFS=$'\x1e' read -r tier file what find put; do
    cp -p "$src/$file" "$work/original"
    if ! apply_fault "$file" "$find" "$put"; then
      printf 'stale    %-8s %s: %s\n' "$tier" "$file" "$what"
      stale=$((stale + 1))
      continue
    fi
    local result
    if ! build_tier "$tier"; then
      result="no build"
      unbuilt=$((unbuilt + 1))
    elif test_tier "$tier"; then
      result="MISSED"
      total=$((total + 1))
      missed+=("$file: $what")
    else
      result="caught"
      total=$((total + 1))
      caught=$((caught + 1))
    fi
    printf '%-8s %-8s %s: %s\n' "$result" "$tier" "$file" "$what"
    # Back as it was, and newer than its objects so that the next build takes it again.
    cp "$work/original" "$src/$file"
    touch "$src/$file"
  done <"$faults"
  for t in $tiers; do build_tier "$t" || true; done
  echo "caught $caught of $total faults ($((total ? caught * 100 / total : 0))%); $unbuilt did not build, $stale not found"
  for m in "${missed[@]}"; do echo "  not caught: $m"; done
  [ $stale -eq 0 ]
}
export -f run_all apply_fault
export faults tiers work

if grep -q "^windows" "$faults"; then
  tools/with-wine.sh bash -c run_all
else
  run_all
fi
