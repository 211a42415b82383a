#!/usr/bin/env bash
# Runs the threaded code under ThreadSanitizer, once each:
# - the engine's threaded kernels (the convolution and the chirp source's
#   cross-correlation, which share outputs out over threads), built without
#   Qt (which also checks that the plain C++ layers configure and build where
#   Qt is not installed);
# - the document's tasks (long work such as the tie measurement on a worker
#   thread, handing its reports and its end to the task's thread through a
#   mutex), built with QtCore and QtGui but without the windows. The
#   depth-varying tie runs through the same task; its own suite is left out
#   here because under the sanitizer it takes minutes, not seconds.
# Only those test programs and the libraries under them are built.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${QUARVEL_TSAN_BUILD_DIR:-build-tsan}
QT_BUILD=${QUARVEL_TSAN_QT_BUILD_DIR:-build-tsan-qt}
tsan=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARVEL_BUILD_GUI=OFF -DQUARVEL_BUILD_BENCH=OFF
  -DCMAKE_CXX_FLAGS="-fsanitize=thread" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread")
cmake -S . -B "$BUILD" "${tsan[@]}" -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON >/dev/null
cmake --build "$BUILD" -j 2 --target engine_tests chirp_tests
cmake -S . -B "$QT_BUILD" "${tsan[@]}" >/dev/null
cmake --build "$QT_BUILD" -j 2 --target document_tests
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for suite in engine/engine_tests chirp/chirp_tests; do
  "$BUILD/tests/$suite" --gtest_brief=1
done
"$QT_BUILD/tests/document/document_tests" --gtest_brief=1 --gtest_filter='Task*:TieTask*'
echo "ThreadSanitizer: the threaded kernels' and the document's tasks' suites passed"
