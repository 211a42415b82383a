#!/usr/bin/env bash
# Builds the suites of the engine's threaded kernels (the convolution and the
# chirp source's cross-correlation, which share outputs out over threads)
# with ThreadSanitizer and runs them once. Only those two test programs and
# the libraries under them are built, without Qt (which also checks that the
# plain C++ layers configure and build where Qt is not installed).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${QUARVEL_TSAN_BUILD_DIR:-build-tsan}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARVEL_BUILD_GUI=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON -DQUARVEL_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS="-fsanitize=thread" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build "$BUILD" -j 2 --target engine_tests chirp_tests
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
for suite in engine/engine_tests chirp/chirp_tests; do
  "$BUILD/tests/$suite" --gtest_brief=1
done
echo "ThreadSanitizer: the threaded kernels' suites passed"
