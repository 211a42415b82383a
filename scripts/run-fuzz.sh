#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and
# UndefinedBehaviorSanitizer on every library they use) and gives each a
# bounded smoke run from its seed files. FUZZ_RUNS sets the number of inputs
# per target (default 50000); FUZZ_SECONDS caps each run's time (default 60).
# Each target runs with an RSS limit of 512 MB, so a reader whose memory grows
# out of proportion to its input fails the run. What each run was given and
# found stays in a folder of its own under FUZZ_OUT (default
# build-fuzz/fuzz-runs): its corpus, its log,
# and any input that crashed it or ran out of memory, for CI to keep.
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
# AddressSanitizer keeps freed memory in quarantine (256 MB by default) to
# catch late uses; with the 512 MB limit that alone could end a run of
# millions of inputs at random. 16 MB still catches a use right after a free.
export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=16"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
work=${FUZZ_OUT:-$BUILD/fuzz-runs}/$(date -u +%Y%m%dT%H%M%SZ)
for target in $targets; do
  # New inputs go to a scratch copy, so the seeds in the repository stay put.
  mkdir -p "$work/$target" "$work/$target-failures"
  cp fuzz/corpus/"$target"/* "$work/$target"/
  echo "== $target: $RUNS runs"
  "$BUILD/fuzz/$target" -runs="$RUNS" -max_total_time="$SECONDS_CAP" -max_len=65536 \
    -rss_limit_mb=512 -artifact_prefix="$work/$target-failures/" \
    -print_final_stats=1 "$work/$target" 2>"$work/$target.log" ||
    {
      tail -n 60 "$work/$target.log"
      echo "fuzz target $target failed; its input is in $work/$target-failures"
      exit 1
    }
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)' "$work/$target.log" || true
done
echo "fuzz smoke runs passed"
