#!/usr/bin/env bash
# Renders TOLMPRED's main window (elapsed days and years on the time axis;
# after New, after maximise and restore, and resized), the station list and
# the graph options offscreen to PNG files under build/shots (or the folder
# given) for a person to check.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/shots}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVA_TOOLS=ON >/dev/null
cmake --build build --target kova_predict_shots
QT_QPA_PLATFORM=offscreen build/bin/kova_predict_shots "$out" tests/data/predict/three_stations.tlm
