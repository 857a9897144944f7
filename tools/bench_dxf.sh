#!/bin/sh
# Time and peak memory of one DXF import of LINES lines (default 2,000,000,
# about 97 MB), as the editor imports it. Not part of the tests.
# Usage: tools/bench_dxf.sh [lines]
set -e
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
lines=${1:-2000000}
if [ -f "$BUILD/build.ninja" ]; then
    cmake -S . -B "$BUILD" -DKOVA_TOOLS=ON >/dev/null
else
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVA_TOOLS=ON >/dev/null
fi
cmake --build "$BUILD" -j3 --target kova_bench_dxf >/dev/null
file=$BUILD/tools/bench_dxf_$lines.dxf
if [ ! -f "$file" ]; then
    awk -v n="$lines" 'BEGIN {
        printf "  0\nSECTION\n  2\nHEADER\n  9\n$INSUNITS\n 70\n6\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n"
        for (i = 0; i < n; i++) {
            x = i % 1000; y = -int(i / 1000)
            printf "  0\nLINE\n  8\n0\n 10\n%d\n 20\n%d\n 11\n%d\n 21\n%d\n", x, y, x + 1, y - 1
        }
        printf "  0\nENDSEC\n  0\nEOF\n"
    }' >"$file"
fi
echo "$(wc -c <"$file") bytes, $lines LINEs"
/usr/bin/time -f "peak %M kB, %e s elapsed" "$BUILD/tools/bin/kova_bench_dxf" "$file" "$(pwd)/$BUILD/bin"
