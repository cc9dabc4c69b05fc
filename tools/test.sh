#!/usr/bin/env bash
# Runs every test: the core natively under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the 64-bit and the 32-bit Windows builds, each under Wine in a throw-away prefix on a
# private X server.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
jobs=$(nproc)

echo "== formatting"
tools/check-format.sh

echo "== native"
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs"
ctest --preset native -j"$jobs"

echo "== native under ThreadSanitizer: the tests that run threads (import, sort, unpacking, wordlist)"
cmake --preset native-tsan >/dev/null
cmake --build --preset native-tsan -j"$jobs"
ctest --preset native-tsan -j"$jobs"

echo "== fuzzing, a few seconds per target"
tools/fuzz.sh 3

# Both Windows builds are built first, then their Wine tiers run one after the other in
# one Wine session (a prefix that runs both), so the second start-up costs nothing.
for build in win64 win32; do
  echo "== $build: build"
  cmake --preset $build >/dev/null
  cmake --build --preset $build -j"$jobs"
done
# The 32-bit tier needs a kernel that runs 32-bit programs (tools/runs-32bit): where it does
# not, the 32-bit build is only built, and the run says so.
tiers=(win64)
if tools/runs-32bit --wine; then
  tiers+=(win32)
else
  echo "== win32 under Wine: not run, this machine runs no 32-bit programs or has no wine32 (built only)"
fi
# Each tier runs even when one before it failed, so one run shows what each build breaks.
wine_tiers() {
  local failed=0
  for build in "$@"; do
    echo "== $build under Wine"
    local started=$SECONDS
    ctest --preset "$build" || failed=1
    echo "$build Wine tier: $((SECONDS - started)) s"
  done
  return $failed
}
export -f wine_tiers
tools/with-wine.sh --print bash -c 'wine_tiers "$@"' wine_tiers "${tiers[@]}"
echo "All tests passed."
