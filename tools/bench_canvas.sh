#!/bin/sh
# Median full repaint of the section canvas on the largest section the
# editor allows (every table full, results drawn). Not part of the tests.
# Usage: tools/bench_canvas.sh [repeats] [width height]
set -e
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
if [ -f "$BUILD/build.ninja" ]; then
    cmake -S . -B "$BUILD" -DKOVA_TOOLS=ON >/dev/null
else
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVA_TOOLS=ON >/dev/null
fi
cmake --build "$BUILD" -j3 --target kova_bench_canvas >/dev/null
QT_QPA_PLATFORM=offscreen "$BUILD/tools/bin/kova_bench_canvas" "$@"
