#!/usr/bin/env bash
# Renders the main window of KOVACALC (the example section, calculated) and
# its menus offscreen to PNG files under build/shots (or the folder given).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/shots}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVA_TOOLS=ON >/dev/null
cmake --build build -j3 --target kova_editor_shots SETLCORE
QT_QPA_PLATFORM=offscreen build/bin/kova_editor_shots "$out" examples
