#!/usr/bin/env bash
# Builds and tests everything below the windows with -DQUARVEL_BUILD_GUI=OFF:
# Qt Widgets is not even looked for, so any use of it below the windows fails
# the build. The plain C++ libraries, quarvel-synth, the benchmarks and the
# QtCore/QtGui layers (drawing surface, renderers, photograph loader, session
# file, the Workspace document) are built and their suites run.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${QUARVEL_NO_GUI_BUILD_DIR:-build-no-gui}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARVEL_BUILD_GUI=OFF >/dev/null
cmake --build "$BUILD" -j 2
if grep -q 'QtWidgets\|libQt6Widgets' "$BUILD/build.ninja"; then
  echo "the build without the windows links Qt Widgets" >&2
  exit 1
fi
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --test-dir "$BUILD" --output-on-failure -j 2
