#!/usr/bin/env bash
# "zantro --summary" as a process, through both executables (zantro writes the text and the
# workbook itself and hands the PDF to zantro-window): exit status 0, 1 for an output that
# cannot be written, 2 for a wrong command line or a document that cannot be read; the
# document itself is never written.
#   command_test.sh PROGRAM_DIR SOURCE_DIR
set -u
program=$1 source=$2
zantro=$program/zantro
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
cp "$source/data/Sample/sample.znt2" doc.znt2
cp doc.znt2 original.znt2
passed=0 failed=0
source "$source/tests/cli/checks.sh"

check "text" 0 "" "$zantro" --summary doc.znt2
expect "text holds the document total" grep -q $'^総合計\t\t3,088,402\t100.00\t4,597,555\t100.00\t1,509,153$' out.txt
check "the same through zantro-window" 0 "" "$program/zantro-window" --summary doc.znt2
cp out.txt window.txt
"$zantro" --summary doc.znt2 > launcher.txt
expect "both executables write the same text" cmp -s window.txt launcher.txt
check "a typed rate" 0 "" "$zantro" --summary doc.znt2 --rate 18000
expect "the rate prices the labour" grep -q $'^合計\t\t41.47\t41.47\t746,460\t746,460$' out.txt
check "workbook" 0 "" "$zantro" --summary doc.znt2 --xlsx book.xlsx
expect "workbook written" test "$(head -c 2 book.xlsx)" = PK
"$zantro" --summary doc.znt2 --xlsx - > stdout.xlsx
expect "workbook to standard output" test "$(head -c 2 stdout.xlsx)" = PK
check "pdf" 0 "" "$zantro" --summary doc.znt2 --pdf book.pdf
expect "pdf written" test "$(head -c 5 book.pdf)" = "%PDF-"
check "workbook over its document" 1 "zantro: doc.znt2: 入力の文書と同じファイルです" "$zantro" --summary doc.znt2 --xlsx doc.znt2
check "pdf over its document" 1 "zantro: doc.znt2: 入力の文書と同じファイルです" "$zantro" --summary doc.znt2 --pdf doc.znt2
expect "the document is untouched" cmp -s doc.znt2 original.znt2
check "text to a full disk" 1 "zantro: standard output: No space left on device" bash -c "exec '$zantro' --summary doc.znt2 > /dev/full"
check "no document" 2 "usage: zantro --summary" "$zantro" --summary
check "two documents" 2 "usage: zantro --summary" "$zantro" --summary doc.znt2 doc.znt2
check "a rate that is not a number" 2 "zantro: --rate: 'x1'" "$zantro" --summary doc.znt2 --rate x1
check "a missing document" 2 "zantro: missing.znt2: " "$zantro" --summary missing.znt2
# A damaged document: the reader's message names the file and the line.
sed 's/^3;亜鉛鉄板製ダクト;0.5t 角;0.35;18001;m2;20;86.5;/3;亜鉛鉄板製ダクト;0.5t 角;0.35;18001;m2;20;8x6.5;/' \
  <(iconv -f CP932 -t UTF-8 doc.znt2) | iconv -f UTF-8 -t CP932 > bad.znt2
check "a damaged document" 2 "zantro: bad.znt2: line " "$zantro" --summary bad.znt2
expect "nothing on standard output for it" test ! -s out.txt
echo "passed $passed, failed $failed"
((failed == 0))
