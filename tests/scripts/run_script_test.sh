#!/usr/bin/env bash
# Runs one headless script test: a fresh copy of the program folder, a fresh runtime folder,
# a fixed date; the script's output (and its exit status) is compared with NAME.out.
#   run_script_test.sh SCRIPT_DIR PROGRAM_DIR NAME
# NAME.setup, when present, is sourced first with PROGRAM set to the copy; it may write files,
# set EXE (the executable's name), ARGS (more arguments), HOLD_LOCK=1, and define after()
# whose output is appended (files the run wrote); conf, fixture, companion and listen below help.
set -u
dir=$1 program=$2 name=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The program folder as the build lays it out: its programs, and the data files from the source
# tree. What a session of the program (./run.sh) left in the build's folder, work files,
# backups and settings it rewrote, stays out.
mkdir "$tmp/program"
find "$program" -maxdepth 1 \( -type l -o -type f -perm -u+x \) -exec cp -P {} "$tmp/program/" \;
cp -r "$dir/../../data/." "$tmp/program/"
# The dialogs of the family are absent unless the setup puts one in place (installed, dialog,
# companion), so each test says which companions it runs with.
rm -f "$tmp/program"/*_dlg "$tmp/program"/csvznt "$tmp/program"/takeoff "$tmp/program"/TAKESUM
mkdir -m 700 "$tmp/rt"
# The dialogs' remembered folders of this run only (companions inherit it from the window).
export XDG_CONFIG_HOME=$tmp/config
PROGRAM=$tmp/program
EXE=zantro
ARGS=()
HOLD_LOCK=0
# conf FILE: standard input (UTF-8, LF) becomes FILE in the program folder (CP932, CR LF).
conf() { iconv -f UTF-8 -t CP932 | sed 's/$/\r/' > "$PROGRAM/$1"; }
# fixture NAME: the UTF-8 fixture NAME.txt of this folder becomes NAME (CP932, CR LF) here.
fixture() { iconv -f UTF-8 -t CP932 < "$dir/$1.txt" | sed 's/$/\r/' > "$tmp/$1"; }
# companion NAME [COMMANDS]: an executable NAME in the program folder standing in for a
# companion; it runs the shell COMMANDS (default: nothing) in the program folder and ends.
companion() { printf '#!/bin/sh\n%s\n' "${2:-exit 0}" > "$PROGRAM/$1"; chmod +x "$PROGRAM/$1"; }
# listen CLASS: a companion window of CLASS (zantro-send --listen) runs in the background for
# the whole test; every command string it receives is a line of $tmp/CLASS.out.
listen() {
  ZANTRO_RUNTIME_DIR=$tmp/rt "$program/zantro-send" --listen "$1" > "$tmp/$1.out" &
  for _ in $(seq 200); do compgen -G "$tmp/rt/$1.*.sock" > /dev/null && return; sleep 0.02; done
}
# installed NAME: the real program NAME in the program folder.
installed() { cp "$program/$1" "$PROGRAM/$1"; }
# dialog NAME: the real companion NAME stands in the program folder; started by the window, it
# runs headless with the script NAME of this test (TEST.NAME here) on its launch argument.
# Its output follows the window's ("--- NAME"), and $tmp/NAME.done marks its end, which the
# window's script awaits with "wait NAME.done".
DIALOGS=()
dialog() {
  companion "$1" "\"$program/$1\" --headless --script \"$dir/$name.$1\" --program-folder \"\$PWD\" \"\$@\" \
    >> \"$tmp/$1.out\" 2>> \"$tmp/$1.err\"; echo \"exit: \$?\" >> \"$tmp/$1.out\"; touch \"$tmp/$1.done\""
  DIALOGS+=("$1")
}
after() { :; }
# Readers of the work files' records for after(): a whole number, a money value and a text
# field (length byte, then CP932 bytes) at a byte offset of FILE.
_num() { od -An -t"$2" -j"$3" -N"$4" "$1" | tr -d ' '; }
_money() {
  local r s=""; r=$(_num "$1" d8 "$2" 8)
  if ((r < 0)); then s=-; r=$((-r)); fi
  if ((r % 10000)); then printf '%s%d.%s' "$s" $((r / 10000)) "$(printf %04d $((r % 10000)) | sed 's/0*$//')"
  else printf '%s%d' "$s" $((r / 10000)); fi
}
_text() { dd if="$1" bs=1 skip=$(($2 + 1)) count="$(_num "$1" u1 "$2" 1)" status=none | iconv -f CP932 -t UTF-8; }
# lines FILE: one line per line record of a WITEM file: item number, name field, kind,
# cost and submitted quantity, submitted amount.
lines() {
  local f=$PROGRAM/$1 i o
  for ((i = 0; i < $(stat -c%s "$f") / 288; i++)); do
    o=$((i * 288))
    echo "$1[$((i + 1))] $(_num "$f" d4 $o 4)|$(_text "$f" $((o + 4)))|$(_num "$f" d4 $((o + 136)) 4)|$(_money "$f" $((o + 144)))|$(_money "$f" $((o + 152)))|$(_money "$f" $((o + 208)))"
  done
}
# items FILE: the item records of a HEAD file: kind, name, submitted and cost total.
items() {
  local f=$PROGRAM/$1 i o
  for ((i = 0; i < ($(stat -c%s "$f") - 780) / 248; i++)); do
    o=$((780 + i * 248))
    echo "$1{$((i + 1))} $(_num "$f" d4 $o 4)|$(_text "$f" $((o + 4)))|$(_money "$f" $((o + 112)))|$(_money "$f" $((o + 120)))"
  done
}
cd "$tmp"
if [[ -f "$dir/$name.setup" ]]; then source "$dir/$name.setup"; fi
# The program a test runs is always there.
[[ -e $PROGRAM/$EXE ]] || installed "$EXE"
if [[ $HOLD_LOCK == 1 ]]; then exec 9> "$tmp/rt/ZANTRO.lock"; flock 9; fi
ZANTRO_RUNTIME_DIR=$tmp/rt ZANTRO_TODAY=2026-12-07 QT_QPA_PLATFORM=offscreen \
  "$PROGRAM/$EXE" --headless --script "$dir/$name.script" --program-folder "$PROGRAM" "${ARGS[@]}" \
  > "$tmp/actual" 2> "$tmp/stderr"
echo "exit: $?" >> "$tmp/actual"
after >> "$tmp/actual"
for d in "${DIALOGS[@]}"; do echo "--- $d"; cat "$tmp/$d.out" 2> /dev/null; done >> "$tmp/actual"
# Listeners still running were not closed by the window: stop them (their output tells).
kill $(jobs -p) 2> /dev/null
# The temporary folder differs from run to run.
sed -i "s|$tmp|\$TMP|g" "$tmp/actual"
if [[ ${ZANTRO_UPDATE_EXPECTED:-0} == 1 ]]; then cp "$tmp/actual" "$dir/$name.out"; fi
if ! diff -u "$dir/$name.out" "$tmp/actual"; then
  echo "--- stderr:"; cat "$tmp/stderr" "$tmp"/*.err 2> /dev/null
  exit 1
fi
