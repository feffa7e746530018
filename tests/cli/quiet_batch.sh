#!/usr/bin/env bash
# A newcomer's shell: no XDG_RUNTIME_DIR, no display. Every batch command of every program ends
# with its status and its files, and leaves standard error empty; so does every companion started
# headless.
#   quiet_batch.sh PROGRAM_DIR
set -u
program=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
cp -r "$program" prog
sample=$tmp/prog/Sample/sample.znt2
unset XDG_RUNTIME_DIR DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
# A runtime folder of its own: a window or viewer the user has open elsewhere must not make
# this run a second instance.
mkdir -m 700 run
export ZANTRO_RUNTIME_DIR=$tmp/run
failed=0

# quiet NAME WANT_STATUS COMMAND...: the status is WANT_STATUS and standard error is empty.
quiet() {
  local name=$1 want=$2
  shift 2
  timeout 60 "$@" > out.txt 2> err.txt < /dev/null
  local got=$?
  if [[ $got != "$want" || -s err.txt ]]; then
    failed=1
    echo "FAIL $name: status $got (want $want), stderr: $(head -c 400 err.txt)"
  fi
}
exists() { [[ -s $1 ]] || { failed=1; echo "FAIL: $1 was not written"; }; }

quiet "zantro --recalc" 0 prog/zantro --recalc "$sample" recalc.znt2
exists recalc.znt2
quiet "zantro --pdf" 0 prog/zantro --pdf "$sample" zantro.pdf
exists zantro.pdf
quiet "zantro --report" 0 prog/zantro --report "$sample"
grep -q '総 合 計' out.txt || { failed=1; echo "FAIL: the report holds no total"; }
quiet "zantro --xlsx" 0 prog/zantro --xlsx "$sample" list.xlsx
exists list.xlsx
quiet "zantro --workbook" 0 prog/zantro --workbook "$sample" book.xlsx
exists book.xlsx

# The window writes the print data of the whole document (the viewer it starts is a stand-in),
# then the real viewer writes its PDF from that data.
mv prog/prnview prnview
printf '#!/bin/sh\nexit 0\n' > prog/prnview && chmod +x prog/prnview
printf 'tab 0\nclick IconButton5\nsleep 300\n' > print.script
quiet "zantro --headless printing" 0 prog/zantro --headless --script print.script "$sample"
mv prnview prog/prnview
quiet "prnview --pdf" 0 prog/prnview --pdf viewer.pdf --program-folder prog
exists viewer.pdf

# Each companion on its own, headless: it starts, says what it says and ends.
printf 'sleep 50\n' > idle.script
for dlg in rowedit_dlg docsave_dlg docpick_dlg cover_dlg csvznt; do
  quiet "$dlg" 0 "prog/$dlg" --headless --script idle.script --program-folder prog
done
for dlg in scheme_dlg setup_dlg pickdata_dlg overhead_dlg docfetch_dlg; do
  quiet "$dlg (not started by the window)" 1 "prog/$dlg" --headless --script idle.script --program-folder prog
done
exit $failed
