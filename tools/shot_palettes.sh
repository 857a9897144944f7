#!/usr/bin/env bash
# Renders the edit-tool palettes and the soil-curve, sand-curve and
# ground-improvement dialogs offscreen to PNG files under build/shots (or
# the folder given) for a person to check.
set -euo pipefail
. "$(dirname "$0")/shot_lib.sh"
shot_build kova_curve_shots
shot_run kova_curve_shots "$out"
