#!/usr/bin/env bash
# Renders the main window of KOVACALC (the example section, calculated) and
# its menus offscreen to PNG files under build/shots (or the folder given).
set -euo pipefail
. "$(dirname "$0")/shot_lib.sh"
shot_build kova_editor_shots SETLCORE
shot_run kova_editor_shots "$out" examples
