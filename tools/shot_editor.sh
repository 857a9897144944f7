#!/usr/bin/env bash
# Renders KOVACALC's window with the example section calculated by the
# engine, and the canvas in the states of its tools (rubber band, guides,
# selections), offscreen to PNG files under build/shots (or the folder given).
set -euo pipefail
. "$(dirname "$0")/shot_lib.sh"
shot_build kova_canvas_shots SETLCORE
shot_run kova_canvas_shots "$out" examples
