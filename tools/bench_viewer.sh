#!/usr/bin/env bash
# bench_viewer.sh [BUILD_DIR] [RUNS]: times VIEWQEX2 --pdf end to end
# (process start to exit) on the reports of the worked example
# examples/road_embankment.kov calculated by SETLCORE, and prints the median
# of RUNS (default 11). Target: under 1 s. Not run by CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-11}
# kova_cal_input is built only with KOVA_TOOLS.
cmake -S "$root" -B "$build" -DKOVA_TOOLS=ON >/dev/null
cmake --build "$build" --target SETLCORE VIEWQEX2 kova_cal_input >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build"/bin/*.CSV "$build"/bin/*.DAT "$work"/ 2>/dev/null || true
(cd "$work" && "$build/tools/bin/kova_cal_input" "$root/examples/road_embankment.kov" .)
(cd "$work" && "$build/bin/SETLCORE" >/dev/null)
echo "page files: $(cd "$work" && ls *.PDT | tr '\n' ' ')"
times=()
for ((i = 0; i < runs; i++)); do
    t0=$(date +%s%N)
    (cd "$work" && QT_QPA_PLATFORM=offscreen "$build/bin/VIEWQEX2" --pdf out.pdf 2>/dev/null)
    t1=$(date +%s%N)
    times+=($(((t1 - t0) / 1000000)))
done
pages=$(pdfinfo "$work/out.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
echo "VIEWQEX2 --pdf: $pages pages, median $median ms of $runs runs (target 1000 ms)"
