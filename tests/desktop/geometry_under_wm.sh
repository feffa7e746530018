#!/usr/bin/env bash
# The window under a real window manager (Xvfb and openbox): the geometry of the position file
# is the frame's, so a start reads what the previous start wrote and the window keeps its size
# and place from start to start.
#   geometry_under_wm.sh PROGRAM_DIR
set -u
program=$1
tmp=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

# A display of its own: Xvfb picks a free number and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$tmp/display" 2> "$tmp/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [[ -s $tmp/display ]] && break; sleep 0.1; done
[[ -s $tmp/display ]] || { echo "Xvfb did not start"; cat "$tmp/xvfb.log"; exit 1; }
export DISPLAY=:$(head -1 "$tmp/display")
openbox --sm-disable > "$tmp/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done

cp -r "$program" "$tmp/program"
mkdir -m 700 "$tmp/rt"
# Long enough for the window manager to frame the window and the geometry to settle.
printf 'tab 1\nsleep 800\n' > "$tmp/run.script"
status=0
# Starts the window three times from the position file $1 (empty: none) and checks the file it
# leaves after each start against $2.
check() {
  local start=$1 expected=$2
  rm -f "$tmp/program/zantro.ini"
  [[ -n $start ]] && printf '[FZANTRO]\r\n%s\r\n' "${start// /$'\r\n'}" > "$tmp/program/zantro.ini"
  for run in 1 2 3; do
    ZANTRO_RUNTIME_DIR=$tmp/rt ZANTRO_HEADLESS_PLATFORM=xcb \
      "$tmp/program/zantro" --headless --screen 1024x768 --script "$tmp/run.script" \
      --program-folder "$tmp/program" > "$tmp/out" 2> "$tmp/err"
    local got
    got=$(tr -d '\r' < "$tmp/program/zantro.ini" | grep -v '^\[' | sort | paste -sd' ')
    if [[ $got != "$expected" || -s $tmp/err ]]; then
      echo "FAIL start '${start:-none}' run $run: got '$got', expected '$expected'"
      cat "$tmp/out" "$tmp/err"
      status=1
      return
    fi
  done
  echo "ok: start '${start:-none}' keeps '$expected'"
}
# The designed 1100 x 760 is cut to the 1024-pixel work area once, then stays.
check "" "Height=760 Left=0 Top=0 Width=1024"
check "Left=120 Top=30 Width=960 Height=720" "Height=720 Left=120 Top=30 Width=960"
exit $status
