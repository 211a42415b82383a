#!/usr/bin/env bash
# Builds Quarvel and runs its test suites.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${QUARVEL_BUILD_DIR:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j 2
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --test-dir "$BUILD" --output-on-failure -j 2
