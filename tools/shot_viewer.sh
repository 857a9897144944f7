#!/usr/bin/env bash
# Renders VIEWQEX2's window and its pages to PNG under build/shots (or the
# folder given): the worked example's condition report and its first
# position's report (with the time-settlement graph) as SETLCORE writes them,
# and a TOLMPRED station report of examples/observation.tlm.
set -euo pipefail
. "$(dirname "$0")/shot_lib.sh"
shot_build kova_viewer_shots kova_cal_input SETLCORE
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build/bin/*.CSV build/bin/*.DAT "$work"/ 2>/dev/null || true
(cd "$work" && "$OLDPWD/build/tools/bin/kova_cal_input" "$OLDPWD/examples/road_embankment.kov" .)
(cd "$work" && "$OLDPWD/build/bin/SETLCORE" >/dev/null)
shot_run kova_viewer_shots "$out" "$work" TK_DATA.PDT TK_DT_01.PDT
tlm=$(mktemp -d)
trap 'rm -rf "$work" "$tlm"' EXIT
shot_run kova_cal_input --tlm examples/observation.tlm "$tlm"
shot_run kova_viewer_shots "$out" "$tlm" TL_PRD1.PDT
