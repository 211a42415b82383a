#!/usr/bin/env bash
# Builds the test suites with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs them. Any leak, memory error or undefined behaviour fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${QUARVEL_SANITIZE_BUILD_DIR:-build-sanitize}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUARVEL_SANITIZE=ON -DQUARVEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j 2
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir "$BUILD" --output-on-failure -j 2
