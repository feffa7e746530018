#!/usr/bin/env bash
# A document opened from the file manager while the window runs: the second start hands it to
# the window and ends. With unsaved edits the window asks first (キャンセル keeps everything,
# 保存 saves through the save dialog and then opens, 保存しない opens); without edits it opens
# at once; a start without a document is still refused, and a file that cannot be read leaves
# the open document.
#   hand_over.sh PROGRAM_DIR SOURCE_DIR
set -u
program=$1 src=$2
source "$(dirname "${BASH_SOURCE[0]}")/../cli/checks.sh"  # expect
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
passed=0 failed=0

mkdir pf && cp -r "$src/data/." pf/
cp "$src/data/Sample/sample.znt2" a.znt2
cp "$src/data/Sample/sample.znt2" b.znt2
# The save dialog saves at once, as the user would after choosing the name saved.znt2.
printf '#!/bin/sh\n"%s/zantro-send" TFZANTRO "WM_SAVECOMP;%s/saved.znt2;" > /dev/null\n' "$program" "$tmp" > pf/docsave_dlg
chmod +x pf/docsave_dlg
mkdir -m 700 rt
export ZANTRO_RUNTIME_DIR=$tmp/rt
unset ZANTRO_PROGRAM_FOLDER
cat > window.script <<'SCRIPT'
select 1
message WM_DATAWRITE;配管;SGP 20A;m;100;120;0;0;2;2;0;0;10;10001;一;0;0;0;0;0;;
answer cancel
get DocName
wait step1
answer yes
get DocName
wait step2
wait saved.znt2
sleep 1000
get DocName
tab 1
select 1
message WM_DATAWRITE;配管;SGP 20A;m;100;120;0;0;2;2;0;0;10;10001;一;0;0;0;0;0;;
answer no
get DocName
wait step4
tabs
get DocName
wait step5
get DocName
SCRIPT
timeout 60 "$program/zantro" --headless --script window.script --program-folder pf > out.txt 2> err.txt &
window=$!
for _ in $(seq 250); do compgen -G "rt/TFZANTRO.*.sock" > /dev/null && break; sleep 0.02; done

# hand N DOCUMENT: once the window has printed its Nth document name (it has read the lines
# before, answers included), a second start with DOCUMENT ends at once; then the window goes on.
hand() {
  for _ in $(seq 500); do (($(grep -c '^get DocName' out.txt) >= $1)) && break; sleep 0.02; done
  timeout 10 "$program/zantro" "$2" > hand.out 2> hand.err
  local status=$?
  expect "$1: the second start ends well (status $status: $(cat hand.err))" test $status = 0
  sleep 0.5
  touch "step$1"
}
timeout 10 "$program/zantro" --headless --script window.script > refused.out 2> refused.err
expect "a second start without a document is refused" test $? = 1
expect "it says so" grep -qx "notice: すでに起動しています。" refused.out
hand 1 a.znt2
hand 2 "$tmp/a.znt2"
hand 4 b.znt2
hand 5 missing.znt2
wait $window
expect "the window ends well" test $? = 0
sed "s|$tmp|TMP|g" out.txt > got.txt
cat > want.txt <<'OUT'
get DocName=
ask: a.znt2 を開きます。\n編集中のデ－タを保存しますか？|保存|保存しない|キャンセル
get DocName=
ask: a.znt2 を開きます。\n編集中のデ－タを保存しますか？|保存|保存しない|キャンセル
launch: $PROGRAM/docsave_dlg ;0;
get DocName=TMP/a.znt2
get DocName=TMP/a.znt2
ask: b.znt2 を開きます。\n編集中のデ－タを保存しますか？|保存|保存しない|キャンセル
tabs	0	内訳表	空調配管工事	ダクト工事	機器設備工事
get DocName=TMP/b.znt2
get DocName=TMP/b.znt2
OUT
expect "the window's lines" diff want.txt <(grep -v '^error: ' got.txt)
expect "standard error is clean" test ! -s err.txt
expect "the edited document was saved before the handed one opened" grep -q "配管" <(iconv -f CP932 -t UTF-8 saved.znt2)
expect "a missing document is named" grep -q "^error: .*TMP/missing.znt2" got.txt
echo "passed $passed, failed $failed"
if ((failed)); then
  echo "--- window"; cat out.txt; echo "--- stderr"; cat err.txt
  exit 1
fi
