#!/usr/bin/env bash
# Builds the fuzz targets (preset fuzz: clang, libFuzzer, ASan/UBSan) and runs each for
# SECONDS (default 60) on a scratch copy of its seed corpus in fuzz/corpus/<name>, within a
# memory limit. Exits non-zero on a finding; the input that caused it is kept under
# build/fuzz/findings/ and its path printed. With --merge, the new inputs that add coverage
# go into the seed corpus (never otherwise).
#   tools/fuzz.sh [--merge] [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

merge=0
if [ "${1:-}" = "--merge" ]; then
  merge=1
  shift
fi
seconds=${1:-60}
shift || true
case $seconds in '' | *[!0-9]*)
  echo "usage: tools/fuzz.sh [--merge] [SECONDS] [TARGET...]" >&2
  exit 2
  ;;
esac

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" >/dev/null
bin=build/fuzz/fuzz
mapfile -t targets < <(if [ $# -gt 0 ]; then printf '%s\n' "$@"; else cat "$bin/targets.txt"; fi)

findings=$PWD/build/fuzz/findings
mkdir -p "$findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
printf '%-12s %8s %10s %8s  %s\n' target seconds runs corpus result
for t in "${targets[@]}"; do
  [ -x "$bin/${t}_fuzz" ] || { echo "no fuzz target $t" >&2; exit 2; }
  corpus=$scratch/corpus/$t
  mkdir -p "$corpus"
  [ -d "fuzz/corpus/$t" ] && cp -r "fuzz/corpus/$t/." "$corpus/"
  log=$scratch/$t.log
  start=$(date +%s)
  status=0
  # The targets make their scratch working directories under TMPDIR, which goes with this run.
  TMPDIR=$scratch "$bin/${t}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
    -malloc_limit_mb=512 -print_final_stats=1 -artifact_prefix="$findings/$t-" "$corpus" >"$log" 2>&1 || status=$?
  took=$(($(date +%s) - start))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ "$status" -eq 0 ]; then
    result=ok
  else
    failed=1
    artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
    result="FINDING: ${artifact:-see the log below}"
  fi
  printf '%-12s %8s %10s %8s  %s\n' "$t" "$took" "${runs:-?}" "$(ls "$corpus" | wc -l)" "$result"
  if [ "$status" -ne 0 ]; then
    cp "$log" "$findings/$t.log"
    # What failed, and the frames of the project's own code.
    awk '/property failed|^==[0-9]+==ERROR/ {p = 1} /^==[0-9]+== ERROR: libFuzzer/ && !/ERROR:/ {p = 0} p' "$log" |
      head -4 | cut -c1-300 | sed 's/^/    /'
    grep -E "$PWD/(src|fuzz)/" "$log" | grep -v -e PropertyFailed -e "property failed" | head -8 | cut -c1-200 | sed 's/^/    /'
    echo "    whole log: $findings/$t.log"
  elif [ "$merge" -eq 1 ]; then
    mkdir -p "fuzz/corpus/$t"
    TMPDIR=$scratch "$bin/${t}_fuzz" -merge=1 "fuzz/corpus/$t" "$corpus" >/dev/null 2>&1
  fi
done
exit $failed
