#!/usr/bin/env bash
# Remakes docs/screenshot-main-window.png: the main window on the demo core
# with five correlation marks, and docs/screenshot-tie.png: the Tie window's
# measurement of the demo core, and docs/screenshot-section.png: the SEG-Y
# section of the example chirp line, all drawn on Qt's offscreen platform (no
# display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${QUARVEL_BUILD_DIR:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j 2 --target quarvel end_to_end_tests survey_window_tests
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen QUARVEL_WORKDIR="$work" "$BUILD/src/app/quarvel" --demo \
  --final-plot "$work/final-plot.bmp" --screenshot docs/screenshot-main-window.png
QT_QPA_PLATFORM=offscreen QUARVEL_TIE_SCREENSHOT="$PWD/docs/screenshot-tie.png" \
  "$BUILD/tests/app/end_to_end_tests" --gtest_filter='TieDemoTest.*'
QT_QPA_PLATFORM=offscreen QUARVEL_SECTION_SCREENSHOT="$PWD/docs/screenshot-section.png" \
  "$BUILD/tests/survey/survey_window_tests" --gtest_filter='*SectionShowsTheChoice*'
echo "docs/screenshot-main-window.png, docs/screenshot-tie.png and docs/screenshot-section.png remade"
