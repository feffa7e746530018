#!/usr/bin/env bash
# "zantro --compare" as a user runs it on the sample estimate: against itself, and after an
# edit that adds an item, removes a line, changes a price and a quantity. The report must list
# exactly those four with their figures; the workbook (read back by LibreOffice when it is
# installed) and the PDF (pdftotext) must hold the same figures; errors exit 2 with "zantro:".
#   compare_cli.sh PROGRAM_DIR SOURCE_DIR
set -u
program=$1 source=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
passed=0 failed=0
source "$source/tests/cli/checks.sh"
cp "$source/data/Sample/sample.znt2" old.znt2
# The edit, on the readable text: 衛生設備工事 added as item 5 with one line, エルボ removed
# from item 2, 吹出口's submitted price 12,000 -> 12,500, パッケージエアコン 2 -> 3 units.
iconv -f CP932 -t UTF-8 old.znt2 | tr -d '\r' | awk '
  /^10;機器設備工事;/ { print; print "10;衛生設備工事;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;"; next }
  /^\[ItemMax\]=/ { print "[ItemMax]=8"; next }
  /^2;エルボ;/ { next }
  /^3;吹出口;/ { sub(/;8500;12000;/, ";8500;12500;") }
  /^4;パッケージエアコン;/ { sub(/;10;2;2;/, ";10;3;3;") }
  /^<\/DATA>/ { print "5;洋風便器;床置形;0;10001;組;10;3;3;45000;60000;0;0;0;0;0;0;0;0;;;" }
  { print }' | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' > new.znt2

Z=$program/zantro
check same 0 "" "$Z" --compare old.znt2 old.znt2
expect same-report diff -u - out.txt <<'END'
状態	工種	工種名	行	明細	項目	旧	新	差額
合計					提出金額	4,597,555	4,597,555	0
合計					原価金額	3,088,402	3,088,402	0
END
check edited 1 "" "$Z" --compare old.znt2 new.znt2
cp out.txt report.txt
expect edited-report diff -u - report.txt <<'END'
状態	工種	工種名	行	明細	項目	旧	新	差額
削除	2	空調配管工事	3	エルボ　白 20A	提出金額	3,360		-3,360
削除	2	空調配管工事	3	エルボ　白 20A	原価金額	2,280		-2,280
変更	3	ダクト工事	2	吹出口　アネモ型 #25	提出単価	12,000	12,500	+500
変更	3	ダクト工事	2	吹出口　アネモ型 #25	提出金額	144,000	150,000	+6,000
変更	3	ダクト工事	2	吹出口　アネモ型 #25	原価金額	102,000	102,000	0
変更	4	機器設備工事	1	パッケージエアコン　天井カセット形 14kW	原価数量	2	3	+1
変更	4	機器設備工事	1	パッケージエアコン　天井カセット形 14kW	提出数量	2	3	+1
変更	4	機器設備工事	1	パッケージエアコン　天井カセット形 14kW	提出金額	1,700,000	2,550,000	+850,000
変更	4	機器設備工事	1	パッケージエアコン　天井カセット形 14kW	原価金額	1,360,000	2,040,000	+680,000
追加	5	衛生設備工事			提出金額		180,000	+180,000
追加	5	衛生設備工事			原価金額		135,000	+135,000
合計					提出金額	4,597,555	5,905,059	+1,307,504
合計					原価金額	3,088,402	3,977,458	+889,056
END
# The totals are those of the breakdown list ("zantro --report") of each document.
for doc in old new; do "$Z" --report $doc.znt2 | tail -1 > $doc.report; done
expect totals-are-the-reports bash -c "diff <(cut -f3 old.report; cut -f2 old.report) <(tail -2 report.txt | cut -f7) &&
  diff <(cut -f3 new.report; cut -f2 new.report) <(tail -2 report.txt | cut -f8)"
# The other way round the same four, each seen from the other side.
check reversed 1 "" "$Z" --compare new.znt2 old.znt2
expect reversed-states test "$(cut -f1 out.txt | LC_ALL=C sort | uniq -c | awk '{printf "%s%s ", $2, $1}')" = "削除2 合計2 変更7 状態1 追加2 "

# The workbook and the PDF hold the same rows and figures.
check xlsx 1 "" "$Z" --compare old.znt2 new.znt2 --xlsx book.xlsx
check pdf 1 "" "$Z" --compare old.znt2 new.znt2 --pdf table.pdf
pdftotext -layout table.pdf table.txt
expect pdf-title grep -qE "^ *変 +更 +対 +比 +表 *$" table.txt
# Every figure of the report is printed, in the report's order.
grep -v '^状態' report.txt | cut -f7-9 | tr '\t' '\n' | grep -v '^$' > figures.txt
grep -oE '[-+]?[0-9][0-9,]*' table.txt | grep -E ',|^[-+]|^[0-9]+$' > printed.txt
expect pdf-figures bash -c 'python3 - figures.txt printed.txt <<"PY"
import sys
want = open(sys.argv[1]).read().split()
got = open(sys.argv[2]).read().split()
i = 0
for w in want:
    while i < len(got) and got[i] != w: i += 1
    if i == len(got): sys.exit("missing from the PDF: " + w)
    i += 1
PY'
soffice=$(command -v soffice || command -v libreoffice || true)
if [[ -n $soffice ]]; then
  HOME=$tmp "$soffice" --headless --norestore \
    --convert-to 'csv:Text - txt - csv (StarCalc):9,34,76,1,,0,false,true,false,false,false,-1' \
    --outdir csv book.xlsx > soffice.log 2>&1
  # The workbook's rows are the report's, figures as plain numbers.
  tail -n +5 csv/book-*.csv | tr -d '\r' > book.txt
  sed -E ':a; s/([0-9]),([0-9]{3})/\1\2/; ta; s/\t\+/\t/g' report.txt | sed 's/\t0$/\t0/' > report-plain.txt
  expect xlsx-rows diff -u report-plain.txt book.txt
  expect xlsx-head bash -c "head -3 csv/book-*.csv | tr -d '\r' | cut -f1,2 | tr '\t' ' ' | grep -c -e '^変更対比表' -e '^旧 old.znt2' -e '^新 new.znt2' | grep -qx 3"
else
  echo "note: LibreOffice is not installed; the workbook was not read back"
fi

# Errors: exit 2, "zantro:", nothing written.
printf 'not a document\r\n' > broken.znt2
check missing 2 "zantro: " "$Z" --compare old.znt2 no-such.znt2
check damaged 2 "broken.znt2" "$Z" --compare broken.znt2 old.znt2
check usage 2 "usage: zantro --compare OLD NEW" "$Z" --compare old.znt2
check bad-option 2 "usage" "$Z" --compare old.znt2 new.znt2 --csv x.csv
check output-is-input 2 "new.znt2" "$Z" --compare old.znt2 new.znt2 --xlsx new.znt2
expect input-kept cmp -s new.znt2 <(iconv -f CP932 -t CP932 new.znt2)
check no-output-on-error 2 "zantro: " "$Z" --compare broken.znt2 old.znt2 --pdf none.pdf
expect nothing-written test ! -e none.pdf
check full-stdout 2 "zantro: " bash -c "'$Z' --compare old.znt2 new.znt2 > /dev/full"

echo "compare_cli: $passed passed, $failed failed"
((failed == 0))
