#!/usr/bin/env bash
# bench_engine.sh [BUILD_DIR] [RUNS]: times SETLCORE end to end on a typical
# section, a maximal one, and the maximal one with drains in every clay layer
# (run on demand; not part of the tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-20}
cmake --build "$build" --target SETLCORE >/dev/null
exe=$build/bin/SETLCORE
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for kind in typical maximal drained; do
    python3 "$root/tools/gen_cal_tnk.py" "$kind" "$work/$kind"
    python3 - "$exe" "$work/$kind" "$runs" "$kind" <<'PY'
import statistics, subprocess, sys, time
exe, folder, runs, kind = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
times = []
for _ in range(runs):
    t = time.perf_counter()
    rc = subprocess.run([exe], cwd=folder).returncode
    times.append((time.perf_counter() - t) * 1000)
    if rc != 0:
        sys.exit("SETLCORE ended with exit code %d" % rc)
print("%s: median %.1f ms, min %.1f ms, max %.1f ms over %d runs" % (
    kind, statistics.median(times), min(times), max(times), runs))
PY
done
