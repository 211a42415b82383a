#!/usr/bin/env bash
# Builds Quarvel and runs it on the bundled demo core. With a display it opens
# the program with the demo loaded; without one it writes the demo's final
# plot and a screenshot of the main window and says where they are.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${QUARVEL_BUILD_DIR:-build}
OUT=${QUARVEL_DEMO_OUT:-$PWD/out/demo}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j 2 --target quarvel
mkdir -p "$OUT"
# The demo works in a folder of its own, so the working files of your own
# cores in ~/Quarvel stay as they are.
export QUARVEL_WORKDIR=${QUARVEL_WORKDIR:-$OUT/work}
if [ -n "${DISPLAY:-}" ]; then
  exec "$BUILD/src/app/quarvel" --demo
fi
QT_QPA_PLATFORM=offscreen "$BUILD/src/app/quarvel" --demo \
  --final-plot "$OUT/final-plot.bmp" --screenshot "$OUT/main-window.png"
echo "No display: the demo core's final plot is $OUT/final-plot.bmp"
echo "a screenshot of the main window is $OUT/main-window.png"
echo "and the working files are in $QUARVEL_WORKDIR"
