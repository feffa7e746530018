#!/usr/bin/env bash
# The workbook of "zantro --xlsx" read back by a spreadsheet program no one here wrote:
# LibreOffice turns every worksheet into a CSV file, and the cells must be those of the
# export. Skipped (status 77) when LibreOffice is not installed.
#   xlsx_reader_test.sh PROGRAM_DIR FIXTURE EXPECTED
set -u
program=$1 fixture=$2 expected=$3
soffice=$(command -v soffice || command -v libreoffice || true)
if [[ -z $soffice ]]; then
  echo "skipped: LibreOffice (soffice) is not installed, so no outside reader can open the workbook"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
iconv -f UTF-8 -t CP932 < "$fixture" | sed 's/$/\r/' > "$tmp/doc.znt2"
"$program/zantro" --xlsx "$tmp/doc.znt2" "$tmp/book.xlsx" || exit 1
# Every sheet to its own UTF-8 CSV file (book-NAME.csv), values as stored.
HOME=$tmp "$soffice" --headless --norestore \
  --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1' \
  --outdir "$tmp/csv" "$tmp/book.xlsx" > "$tmp/soffice.log" 2>&1
# The worksheets in their order, as the reader sees them (a flat OpenDocument copy).
HOME=$tmp "$soffice" --headless --norestore --convert-to fods --outdir "$tmp" "$tmp/book.xlsx" >> "$tmp/soffice.log" 2>&1
{
echo "== worksheets"
grep -o '<table:table table:name="[^"]*"' "$tmp/book.fods" | sed 's/.*name="//; s/"$//'
(cd "$tmp/csv" && ls) | LC_ALL=C sort | while IFS= read -r f; do
  echo "== ${f#book-}"
  tr -d '\r' < "$tmp/csv/$f" | sed -e '$a\'
done
} > "$tmp/actual"
if [[ ${ZANTRO_UPDATE_EXPECTED:-0} == 1 ]]; then cp "$tmp/actual" "$expected"; fi
diff -u "$expected" "$tmp/actual" || { cat "$tmp/soffice.log"; exit 1; }
