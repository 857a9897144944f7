#!/bin/sh
# Times the project and observation readers on the example files followed by
# JUNK_MB megabytes of junk lines (default 1024): seconds and peak memory.
# Usage: tools/bench_readers.sh [BUILD_DIR]
set -eu
build=${1:-build}
src=$(cd "$(dirname "$0")/.." && pwd)
mb=${JUNK_MB:-1024}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$src/data/BKHough1.CSV" "$work/"
{ head -c $((mb * 1024 * 1024)) /dev/zero | tr '\0' 'x' | fold -w 62 | sed 's/$/\r/'; echo; } > "$work/junk"
for f in road_embankment.kov observation.tlm; do
    cat "$src/examples/$f" "$work/junk" > "$work/$f"
    echo "== $f + $mb MB of junk"
    /usr/bin/time -f "%e s, %M KB peak" "$build/tools/bin/kova_bench_readers" "$work" "$work/$f"
done
