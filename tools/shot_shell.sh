#!/usr/bin/env bash
# Renders the splash screens and About boxes of both programs offscreen to
# PNG files under build/shots (or the folder given) for a person to check.
set -euo pipefail
. "$(dirname "$0")/shot_lib.sh"
version=${2:-1.0.0}
shot_build kova_shell_shots
shot_run kova_shell_shots "$out" "$version"
