#!/usr/bin/env bash
# Renders every data dialog of KOVACALC offscreen with realistic Japanese data
# to PNG files under build/shots (or the folder given) for a person to check.
set -euo pipefail
. "$(dirname "$0")/shot_lib.sh"
shot_build kova_dialog_shots
shot_run kova_dialog_shots "$out"
# The edit-tool palettes and the curve dialogs (soil curves with their plot,
# sand curves, ground improvement).
shot_build kova_curve_shots
shot_run kova_curve_shots "$out"
