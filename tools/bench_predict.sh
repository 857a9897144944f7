#!/usr/bin/env bash
# bench_predict.sh [BUILD_DIR] [RUNS]: times TOLMPRED's calculation run on
# 20 stations of 500 readings: the fits alone and the whole run with its 60
# report and drawing files; and one repaint of both graphs for a curve to
# day 30001 (run on demand; not part of the tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-20}
# The benchmark programs are built only with KOVA_TOOLS.
cmake -S "$root" -B "$build" -DKOVA_TOOLS=ON >/dev/null
cmake --build "$build" --target kova_bench_predict >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$build/tools/bin/kova_bench_predict" "$runs" "$work"
