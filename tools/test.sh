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

echo "== fuzzing, a few seconds per target"
tools/fuzz.sh 3

# Both Windows builds are built first, then their Wine tiers run one after the other in
# one Wine session (a prefix that runs both), so the second start-up costs nothing.
for build in win64 win32; do
  echo "== $build: build"
  cmake --preset $build >/dev/null
  cmake --build --preset $build -j"$jobs"
done
# Both tiers run even when the first fails, so one run shows what each build breaks.
wine_tier() {
  local failed=0
  for build in win64 win32; do
    echo "== $build under Wine"
    local started=$SECONDS
    ctest --preset $build || failed=1
    echo "$build Wine tier: $((SECONDS - started)) s"
  done
  return $failed
}
export -f wine_tier
tools/with-wine.sh --print bash -c wine_tier
echo "All tests passed."
