#!/usr/bin/env bash
# Renders the edit-tool palettes and the soil-curve, sand-curve and
# ground-improvement dialogs offscreen to PNG files under build/shots (or
# the folder given) for a person to check.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/shots}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVA_TOOLS=ON >/dev/null
cmake --build build --target kova_curve_shots
QT_QPA_PLATFORM=offscreen build/bin/kova_curve_shots "$out"
