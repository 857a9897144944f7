#!/usr/bin/env bash
# Times SETLCORE end to end (process start to exit, every file written) on
# the sections of tools/gen_cal_tnk.py: typical, maximal, the maximal one with
# drains in every clay layer, and the editor's full capacity. Run on demand;
# not part of the tests.
#
#   bench_engine.sh [BUILD_DIR] [RUNS]
#       medians of RUNS runs (default 20) on all hardware threads and on one
#       (SETLCORE_THREADS=1, pinned to one processor).
#   bench_engine.sh compare [REV] [RUNS] [BUILD_DIR]
#       builds SETLCORE of git revision REV (default: the revision of the
#       byte-identity manifest) in a scratch worktree and times it side by
#       side with BUILD_DIR's, runs alternating, with the ratio of the
#       medians (this build / REV). The one-thread runs of both are pinned to
#       one processor (REV may not know SETLCORE_THREADS).
#
# BENCH_CPU chooses the processor of the one-thread runs (default 0).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
compare=0
if [[ "${1:-}" == "compare" ]]; then
    compare=1
    rev=${2:-$(sed -n 's/^# SETLCORE \([0-9a-f]*\):.*/\1/p' "$root/tests/data/engine_identity/manifest.txt")}
    runs=${3:-20}
    build=$(cd "${4:-$root/build}" && pwd)
else
    build=$(cd "${1:-$root/build}" && pwd)
    runs=${2:-20}
fi
cmake --build "$build" --target SETLCORE >/dev/null
exe=$build/bin/SETLCORE
work=$(mktemp -d)
base_tree=""
cleanup() {
    if [[ -n "$base_tree" ]]; then git -C "$root" worktree remove --force "$base_tree" >/dev/null 2>&1 || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
base_exe=""
if [[ $compare == 1 ]]; then
    base_tree=$work/base-src
    git -C "$root" worktree add --detach "$base_tree" "$rev" >/dev/null 2>&1
    cmake -S "$base_tree" -B "$work/base-build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$work/base-build" -j3 --target SETLCORE >/dev/null
    base_exe=$work/base-build/bin/SETLCORE
    echo "base: $rev; this build: $(git -C "$root" rev-parse --short HEAD)$(git -C "$root" diff --quiet || echo +)"
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) processors"
for kind in typical maximal drained full; do
    python3 "$root/tools/gen_cal_tnk.py" "$kind" "$work/$kind" >/dev/null
    python3 - "$exe" "$base_exe" "$work/$kind" "$runs" "$kind" "${BENCH_CPU:-0}" <<'PY'
import os, statistics, subprocess, sys, time
exe, base, folder, runs, kind, cpu = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5], sys.argv[6]

def timed(program, one):
    env = dict(os.environ)
    cmd = [program]
    if one:
        env["SETLCORE_THREADS"] = "1"
        cmd = ["taskset", "-c", cpu, program]
    else:
        env.pop("SETLCORE_THREADS", None)
    t = time.perf_counter()
    p = subprocess.Popen(cmd, cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(p.pid, 0)
    wall = (time.perf_counter() - t) * 1000
    p.returncode = os.waitstatus_to_exitcode(status)
    if p.returncode != 0:
        sys.exit("%s ended with exit code %d" % (program, p.returncode))
    return wall, (usage.ru_utime + usage.ru_stime) * 1000

for one in (False, True):
    mine, theirs = [], []
    for _ in range(runs):
        mine.append(timed(exe, one))
        if base:
            theirs.append(timed(base, one))
    label = "%-8s %-10s" % (kind, "1 thread" if one else "all")
    m = statistics.median(w for w, _ in mine)
    line = "%s median %7.1f ms (min %7.1f)" % (label, m, min(w for w, _ in mine))
    if base:
        b = statistics.median(w for w, _ in theirs)
        line += "   base %7.1f ms (min %7.1f)   ratio %.2f" % (b, min(w for w, _ in theirs), m / b)
    if one:
        # Processor time: on a busy machine the fairer measure of one
        # thread's work (REV may run its threads on the one processor).
        cm = statistics.median(c for _, c in mine)
        line += "\n%-19s cpu    %7.1f ms" % ("", cm)
        if base:
            cb = statistics.median(c for _, c in theirs)
            line += "   base cpu %7.1f ms   ratio %.2f" % (cb, cm / cb)
    print(line, flush=True)
PY
done
