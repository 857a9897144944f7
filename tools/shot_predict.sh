#!/usr/bin/env bash
# Renders TOLMPRED's main window (elapsed days and years on the time axis;
# after New, after maximise and restore, and resized), the station list and
# the graph options offscreen to PNG files under build/shots (or the folder
# given) for a person to check.
set -euo pipefail
. "$(dirname "$0")/shot_lib.sh"
shot_build kova_predict_shots
shot_run kova_predict_shots "$out" tests/data/predict/three_stations.tlm
