#!/usr/bin/env bash
# The three forms of "zantro --summary" hold the same figures: every cell of the TAB
# separated text is in the workbook as LibreOffice reads it back (numbers as numbers) and in
# the text of the PDF as pdftotext extracts it. Skipped (77) without LibreOffice or pdftotext.
#   readback_test.sh PROGRAM_DIR DOCUMENT
set -u
program=$1 document=$2
soffice=$(command -v soffice || command -v libreoffice || true)
if [[ -z $soffice ]] || ! command -v pdftotext > /dev/null; then
  echo "skipped: LibreOffice or pdftotext is not installed"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$program/zantro" --summary "$document" > "$tmp/summary.txt" || exit 1
"$program/zantro" --summary "$document" --xlsx "$tmp/book.xlsx" || exit 1
"$program/zantro" --summary "$document" --pdf "$tmp/book.pdf" || exit 1
[[ -s $tmp/summary.txt && $(head -1 "$tmp/summary.txt") == "[価格グループ別]" ]] || { echo "no text"; exit 1; }
HOME=$tmp "$soffice" --headless --norestore \
  --convert-to 'csv:Text - txt - csv (StarCalc):9,34,76,1,,0,false,true,false,false,false,-1' \
  --outdir "$tmp/csv" "$tmp/book.xlsx" > "$tmp/soffice.log" 2>&1
pdftotext -layout "$tmp/book.pdf" "$tmp/book.txt" || exit 1
python3 - "$tmp" <<'PY'
import csv, os, re, sys
tmp = sys.argv[1]
text = open(os.path.join(tmp, "summary.txt"), encoding="utf-8").read().split("\n\n")
pdf = open(os.path.join(tmp, "book.txt"), encoding="utf-8").read()
def number(cell):
    # "1,234" and "12.50" as the spreadsheet writes the numbers behind them: 1234 and 12.5
    plain = cell.replace(",", "")
    if re.fullmatch(r"-?\d+(\.\d+)?", plain):
        return plain.rstrip("0").rstrip(".") if "." in plain else plain
    return cell
failures = 0
for section in text:
    lines = [l for l in section.split("\n") if l]
    title = lines[0].strip("[]")
    rows = [l.split("\t") for l in lines[1:]]
    path = os.path.join(tmp, "csv", "book-" + title + ".csv")
    if not os.path.exists(path):
        print("worksheet missing:", title, sorted(os.listdir(os.path.join(tmp, "csv")))); failures += 1; continue
    sheet = [r for r in csv.reader(open(path, encoding="utf-8", newline=""), delimiter="\t")]
    if len(sheet) != len(rows):
        print(title, "rows", len(sheet), "!=", len(rows)); failures += 1
    for want, got in zip(rows, sheet):
        got = got + [""] * (len(want) - len(got))
        if [number(c) for c in want] != [number(c) for c in got[:len(want)]]:
            print(title, "workbook", want, "!=", got); failures += 1
    for row in rows[1:]:
        for cell in row:
            if cell and cell not in pdf:
                print(title, "PDF lacks", repr(cell)); failures += 1
    if title not in pdf:
        print("PDF lacks the table", title); failures += 1
print("figures compared:", sum(len(s.split("\n")) for s in text))
sys.exit(1 if failures else 0)
PY
