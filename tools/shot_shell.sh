#!/usr/bin/env bash
# Renders the splash screens and About boxes of both programs offscreen to
# PNG files under build/shots (or the folder given) for a person to check.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/shots}
version=${2:-1.0.0}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVA_TOOLS=ON >/dev/null
cmake --build build --target kova_shell_shots
QT_QPA_PLATFORM=offscreen build/bin/kova_shell_shots "$out" "$version"
