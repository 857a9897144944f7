#!/usr/bin/env bash
# Drives the real KOVACALC and TOLMPRED on a virtual X display with openbox
# and xdotool as a user does: a click on the cell that is already current and
# typing straight after it (keys 120 ms apart, well inside the double-click
# interval), then Enter; in TOLMPRED also a letter and then a half typed into
# the Sa box; the file is saved through the programs' own menus
# and read back, and what was stored is printed. Exits 1 when a value typed
# did not reach the file.
#
#   tools/drive_input.sh [BUILD_DIR] [DISPLAY_NUMBER]
#
# Defaults: build and display 97. Needs Xvfb, openbox, xdotool and iconv;
# the programs run in a scratch folder of their own, with their own settings.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
num=${2:-97}
for tool in Xvfb openbox xdotool iconv; do
    command -v "$tool" >/dev/null || { echo "drive_input: $tool is missing" >&2; exit 2; }
done
[ -x "$build/bin/KOVACALC" ] && [ -x "$build/bin/TOLMPRED" ] || { echo "drive_input: build $build first" >&2; exit 2; }

scratch=$(mktemp -d /tmp/kova_drive.XXXXXX)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

cp "$build/bin/"{KOVACALC,SETLCORE,TOLMPRED,BKHough1.CSV,SYSVER.DAT} "$scratch/"
cp examples/observation.tlm "$scratch/obs.tlm"
export DISPLAY=":$num" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
Xvfb "$DISPLAY" -screen 0 1280x1024x24 >"$scratch/xvfb.log" 2>&1 &
pids+=($!)
sleep 1
openbox >"$scratch/openbox.log" 2>&1 &
pids+=($!)
sleep 1

# Window origin of the first visible window whose title matches $1.
# The splash screen comes and goes first, so ask again until the window holds.
origin() {
    local id geo
    for _ in $(seq 50); do
        sleep 0.3
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
        [ -n "$id" ] || continue
        geo=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
        eval "$geo"
        ox=$X
        oy=$Y
        return 0
    done
    echo "drive_input: no window '$1'" >&2
    exit 1
}
# Click at an offset from the origin.
at() { xdotool mousemove $((ox + $1)) $((oy + $2)) click 1; }
typed() { xdotool type --delay 120 "$1"; xdotool key Return; sleep 0.4; }

fail=0
check() {  # label, file, expected line
    if iconv -f CP932 -t UTF-8 "$2" | tr -d '\r' | grep -qxF -- "$3"; then
        echo "stored  $1: $3"
    else
        echo "MISSING $1: $3" >&2
        fail=1
    fi
}

# ---- KOVACALC: the calculation positions table -------------------------------
(cd "$scratch" && exec ./KOVACALC) >"$scratch/kovacalc.log" 2>&1 &
pids+=($!)
kpid=$!
origin '^Kovadex - '
sleep 1
at 27 55                       # 計算位置: the table opens on row 1, "位置名称"
sleep 1.5
at 349 177; typed "Center"      # the current cell, clicked and typed at once
at 469 177; sleep 0.8           # "X座標" becomes current ...
at 469 177; typed "27"          # ... and is clicked again and typed at once
at 596 125; sleep 0.8           # OK
at 27 -13; sleep 0.8            # ファイル
xdotool key a; sleep 1.5        # 名前を付けて保存（A）
xdotool type --delay 40 "$scratch/typed.kov"; xdotool key Return; sleep 1.5
[ -f "$scratch/typed.kov" ] || { echo "drive_input: KOVACALC saved nothing" >&2; exit 1; }
check "KOVACALC position 1" "$scratch/typed.kov" '"Center",27'
kill "$kpid" 2>/dev/null || true
sleep 1

# ---- TOLMPRED: the observation grid ------------------------------------------
(cd "$scratch" && exec ./TOLMPRED) >"$scratch/tolmpred.log" 2>&1 &
pids+=($!)
tpid=$!
origin '^Tolmadex - '
sleep 1
at 98 17; sleep 1.5             # 開く
xdotool type --delay 40 "$scratch/obs.tlm"; xdotool key Return; sleep 2
at 160 278; sleep 0.8           # row 10 "沈下量(m)" becomes current ...
at 160 278; typed "0.191"       # ... clicked again, typed at once; Enter moves to row 11
at 160 294; typed "0.222"       # row 11 is current now: click and type at once
xdotool mousemove $((ox + 592)) $((oy + 322)) click --repeat 3 --delay 80 1; sleep 0.3   # Sa, all selected
xdotool type --delay 120 "l2"; xdotool key Tab; sleep 0.8     # a letter: refused with a message ...
xdotool key Return; sleep 0.5                                 # ... dismissed; the box is back, selected
xdotool type --delay 120 "2.5"; xdotool key Tab; sleep 0.5    # shown and stored as 3
at 179 17; sleep 1.5            # 上書き保存
check "TOLMPRED reading 10" "$scratch/obs.tlm" '#2022-06-06#,0.191,"",0'
check "TOLMPRED reading 11" "$scratch/obs.tlm" '#2022-06-13#,0.222,"",0'
check "TOLMPRED reading 12" "$scratch/obs.tlm" '#2022-06-20#,0.236,"",0'
check "TOLMPRED Sa and Sa'" "$scratch/obs.tlm" '"S-Sa",3,66'
kill "$tpid" 2>/dev/null || true

[ "$fail" = 0 ] && echo "drive_input: every value typed was stored"
exit "$fail"
