#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and
# UndefinedBehaviorSanitizer on every library they use) and gives each a
# bounded smoke run from its seed files. FUZZ_RUNS sets the number of inputs
# per target (default 50000); FUZZ_SECONDS caps each run's time (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${QUARVEL_FUZZ_BUILD_DIR:-build-fuzz}
RUNS=${FUZZ_RUNS:-50000}
SECONDS_CAP=${FUZZ_SECONDS:-60}
CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUARVEL_BUILD_FUZZ=ON -DQUARVEL_BUILD_TESTS=OFF -DQUARVEL_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" \
  >/dev/null
targets=$(sed -n 's/^quarvel_fuzzer(\([a-z_]*\).*/\1/p' fuzz/CMakeLists.txt)
# shellcheck disable=SC2086
cmake --build "$BUILD" -j 2 --target $targets
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in $targets; do
  # New inputs go to a scratch copy, so the seeds in the repository stay put.
  mkdir -p "$work/$target"
  cp fuzz/corpus/"$target"/* "$work/$target"/
  echo "== $target: $RUNS runs"
  "$BUILD/fuzz/$target" -runs="$RUNS" -max_total_time="$SECONDS_CAP" -max_len=65536 \
    -print_final_stats=1 "$work/$target" 2>"$work/$target.log" ||
    { tail -n 60 "$work/$target.log"; echo "fuzz target $target failed"; exit 1; }
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)' "$work/$target.log" || true
done
echo "fuzz smoke runs passed"
