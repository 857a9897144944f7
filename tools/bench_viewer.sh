#!/usr/bin/env bash
# bench_viewer.sh [BUILD_DIR] [BASE_VIEWER] [RUNS]: VIEWQEX2 of BUILD_DIR side
# by side with another build of it (BASE_VIEWER, default main's build at
# /work/main/build/bin/VIEWQEX2 when it exists), in one run:
#   --pdf of the worked example (examples/road_embankment.kov through
#     SETLCORE), median of RUNS (default 11) end to end; target < 300 ms;
#   --pdf of a full-capacity section (tools/gen_cal_tnk.py full, 20
#     positions), median of 3; target < 2 s;
#   the window's peak memory (/PDTOPEN, offscreen, closed after 4 s) on one
#     report of about 3,000 pages; target < 300 MB.
# Not run by CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
base=${2:-/work/main/build/bin/VIEWQEX2}
runs=${3:-11}
# kova_cal_input is built only with KOVA_TOOLS.
cmake -S "$root" -B "$build" -DKOVA_TOOLS=ON >/dev/null
cmake --build "$build" --target SETLCORE VIEWQEX2 kova_cal_input >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/example" "$work/full" "$work/long"
for d in example full; do cp "$build"/bin/*.CSV "$build"/bin/*.DAT "$work/$d"/ 2>/dev/null || true; done
(cd "$work/example" && "$build/tools/bin/kova_cal_input" "$root/examples/road_embankment.kov" . && "$build/bin/SETLCORE" >/dev/null)
python3 "$root/tools/gen_cal_tnk.py" full "$work/full" >/dev/null
(cd "$work/full" && "$build/bin/SETLCORE" >/dev/null 2>&1)
# One long report: the first position's report of the full section, its
# forms repeated until it runs to about 3,000 pages.
python3 - "$work/full" "$work/long" <<'PY'
import os, shutil, sys
src, dst = sys.argv[1], sys.argv[2]
for n in os.listdir(src):
    if n.endswith(".PZK"):
        shutil.copy(os.path.join(src, n), dst)
lines = open(os.path.join(src, "TK_DT_01.PDT"), "rb").read().split(b"\r\n")
head, body = lines[:2], [l for l in lines[2:] if l]
with open(os.path.join(dst, "TK_DT_01.PDT"), "wb") as f:
    f.write(b"\r\n".join(head + body * 95) + b"\r\n")
PY

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
pdf_ms() {  # viewer folder runs
    local times=()
    for ((i = 0; i < $3; i++)); do
        t0=$(date +%s%N)
        (cd "$2" && QT_QPA_PLATFORM=offscreen "$1" --pdf out.pdf >/dev/null 2>&1) || true
        t1=$(date +%s%N)
        times+=($(((t1 - t0) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | median
}
pages() { pdfinfo "$1/out.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}'; }
window_mb() {  # viewer folder
    local kb
    kb=$( (cd "$2" && QT_QPA_PLATFORM=offscreen /usr/bin/time -f '%M' timeout -s TERM 4 "$1" /PDTOPEN 2>&1 >/dev/null) |
        tail -1)
    echo $((kb / 1024))
}

viewers=("$build/bin/VIEWQEX2")
names=("this build")
if [ -x "$base" ]; then viewers+=("$base"); names+=("base $base"); fi
for i in "${!viewers[@]}"; do
    v=${viewers[$i]}
    ex=$(pdf_ms "$v" "$work/example" "$runs"); exp=$(pages "$work/example")
    fu=$(pdf_ms "$v" "$work/full" 3); fup=$(pages "$work/full")
    (cd "$work/long" && QT_QPA_PLATFORM=offscreen "$v" --pdf out.pdf >/dev/null 2>&1) || true
    lp=$(pages "$work/long")
    mb=$(window_mb "$v" "$work/long")
    echo "${names[$i]}:"
    echo "  --pdf example:       $exp pages, median $ex ms (target 300 ms)"
    echo "  --pdf full capacity: $fup pages, median $fu ms (target 2000 ms)"
    echo "  window on $lp pages: peak $mb MB (target 300 MB)"
done
