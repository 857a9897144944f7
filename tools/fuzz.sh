#!/usr/bin/env bash
# fuzz.sh TARGET SECONDS: runs one libFuzzer target for SECONDS (default 60)
# under AddressSanitizer and UndefinedBehaviorSanitizer.
#
# Targets: kov (project files), sand (BKHough1.CSV), tlm (observation files
# and their prediction), cal (SETLCORE on CAL_TNK.DAT), dxf (DXF import),
# pdt (the print viewer's reader on page and drawing files);
# "all" runs each in turn. Each starts from the committed corpus
# tests/data/fuzz/TARGET and the golden files; what it learns stays in
# build-fuzz/corpus/TARGET, and a finding (crash, sanitizer report or broken
# property, see fuzz/properties.hpp) is written to
# build-fuzz/findings/TARGET/, a leak included. Several targets may run at
# once (tools/fuzz.sh kov 600 & tools/fuzz.sh cal 600). Copy a finding into
# tests/data/fuzz/TARGET/ once it is mended: the corpus test replays it in
# every build. Needs clang
# (installed with apt-get when missing); not part of CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: tools/fuzz.sh kov|sand|tlm|cal|dxf|pdt|all [SECONDS]}
seconds=${2:-60}
build=$root/build-fuzz

if [ "$target" = all ]; then
    for t in kov sand tlm cal dxf pdt; do "$0" "$t" "$seconds"; done
    exit 0
fi
case $target in
    kov) seeds=("$root/tests/data/model" "$root/examples") ;;
    sand) seeds=("$root/data") ;;
    tlm) seeds=("$root/tests/data/predict" "$root/examples") ;;
    cal) seeds=("$root/tests/data/engine_reports/full" "$root/tests/data/engine") ;;
    dxf) seeds=("$root/tests/data/dxf") ;;
    pdt) seeds=("$root/tests/data/engine_reports") ;;
    *) echo "unknown target: $target" >&2; exit 2 ;;
esac

if ! command -v clang++ >/dev/null; then
    sudo=; [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get install -y clang
fi
# Runs of several targets at once share the build: one configures and builds
# at a time.
mkdir -p "$build"
(
    flock 9
    if [ ! -f "$build/CMakeCache.txt" ]; then
        CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DKOVA_FUZZ=ON -DKOVA_GUI=OFF -DKOVA_TESTS=OFF >/dev/null
    fi
    cmake --build "$build" --target "fuzz_$target" -j3
) 9>"$build/.build.lock"

corpus=$build/corpus/$target
findings=$build/findings/$target
mkdir -p "$corpus" "$findings"
# Only the seed files of the target's own kind.
existing=()
for d in "${seeds[@]}"; do [ -d "$d" ] && existing+=("$d"); done
# Each run's scratch folder is its own, under the fuzz build (not /tmp), and
# goes when the run ends: runs at the same time neither share nor delete each
# other's files.
mkdir -p "$build/tmp"
TMPDIR=$(mktemp -d "$build/tmp/$target.XXXXXX")
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
# The seeds are read, never written: new inputs go to the first folder.
# Leaks are findings like crashes (LeakSanitizer at the end of each input
# that grew the heap, as libFuzzer checks them).
cd "$findings"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$root/tests/data/fuzz/$target" "${existing[@]}"
