#!/usr/bin/env bash
# Renders KOVACALC's window with the example section calculated by the
# engine, and the canvas in the states of its tools (rubber band, guides,
# selections), offscreen to PNG files under build/shots (or the folder given).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/shots}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVA_TOOLS=ON >/dev/null
cmake --build build -j3 --target kova_canvas_shots SETLCORE
QT_QPA_PLATFORM=offscreen build/bin/kova_canvas_shots "$out" examples
