#!/usr/bin/env bash
# The estimate workbook of "zantro --workbook" read back by a spreadsheet program no one here
# wrote. LibreOffice opens the workbooks of the sample and of a fixture with every kind of
# summary line once (a flat OpenDocument copy: the stored value, its type and the text shown
# of every cell), and each must hold:
#   - the cover, the breakdown and one sheet per item with lines, none empty, captions in row 1;
#   - every amount of the breakdown list equal, as a number, to the one "zantro --report" shows
#     (reductions below zero, shown with their mark), both sides, and the document totals;
#   - every figure of every detail sheet equal to its line as the recomputed document holds it;
#   - every number stored as a number and shown as its value.
# The breakdown export (--xlsx) keeps its parts byte for byte, and an output that is the
# document itself is refused with the document untouched. Skipped (77) without LibreOffice.
#   estimatebook_readback.sh PROGRAM_DIR SOURCE_DIR
set -u
program=$1 source=$2
soffice=$(command -v soffice || command -v libreoffice || true)
if [[ -z $soffice ]]; then
  echo "skipped: LibreOffice (soffice) is not installed, so no outside reader can open the workbook"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$source/data/Sample/sample.znt2" "$tmp/sample.znt2"
iconv -f UTF-8 -t CP932 < "$source/tests/printing/estimatebook.znt2.txt" | sed 's/$/\r/' > "$tmp/fixture.znt2"
for doc in sample fixture; do
  "$program/zantro" --workbook "$tmp/$doc.znt2" "$tmp/$doc.xlsx" --program-folder "$program" || exit 1
  "$program/zantro" --report "$tmp/$doc.znt2" > "$tmp/$doc.report" || exit 1
  "$program/zantro" --recalc "$tmp/$doc.znt2" "$tmp/$doc.recalc" || exit 1
  iconv -f CP932 -t UTF-8 < "$tmp/$doc.recalc" | tr -d '\r' > "$tmp/$doc.lines"
done

status=0
# The output is the document: refused before any work, the document as it was, nothing beside it.
cp "$tmp/sample.znt2" "$tmp/same.znt2"
if "$program/zantro" --workbook "$tmp/same.znt2" "$tmp/same.znt2" 2> "$tmp/same.err"; then
  echo "the document was accepted as the output"; status=1
fi
grep -q "^zantro: $tmp/same.znt2: " "$tmp/same.err" || { echo "refusal: $(cat "$tmp/same.err")"; status=1; }
cmp -s "$tmp/same.znt2" "$tmp/sample.znt2" || { echo "the document changed"; status=1; }
[[ -z $(find "$tmp" -maxdepth 1 -name '*.tmp') ]] || { echo "a temporary file was left"; status=1; }

# The breakdown export: the parts of its workbook (all but the time it was made) as they were.
"$program/zantro" --xlsx "$tmp/sample.znt2" "$tmp/list.xlsx" || exit 1
digest=$(cd "$tmp" && mkdir list && cd list && unzip -q ../list.xlsx && rm docProps/core.xml &&
  find . -type f | LC_ALL=C sort | xargs sha256sum | sha256sum | cut -c1-16)
if [[ $digest != c1db2a51398a93af ]]; then echo "--xlsx wrote other parts: $digest"; status=1; fi

HOME=$tmp "$soffice" --headless --norestore --convert-to fods --outdir "$tmp" "$tmp/sample.xlsx" "$tmp/fixture.xlsx" \
  > "$tmp/soffice.log" 2>&1
for doc in sample fixture; do
  [[ -s $tmp/$doc.fods ]] || { echo "LibreOffice did not read $doc.xlsx"; cat "$tmp/soffice.log"; exit 1; }
done

python3 - "$tmp" <<'PY' || status=1
import re, sys, xml.etree.ElementTree as ET
from decimal import Decimal, ROUND_HALF_UP
tmp = sys.argv[1]
NS = {"table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
      "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
      "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0"}
T = "{%s}" % NS["table"]
O = "{%s}" % NS["office"]
failures = []
def fail(*a): failures.append(" ".join(str(x) for x in a))

def cell_text(c):
    return "\n".join("".join(p.itertext()) for p in c.findall("text:p", NS))

def read_book(path):
    """Sheets in order: name -> rows of cells (value type, stored value, shown text)."""
    sheets = []
    for t in ET.parse(path).getroot().iter(T + "table"):
        rows = []
        for r in t.iter(T + "table-row"):
            cells = []
            for c in r:
                if c.tag not in (T + "table-cell", T + "covered-table-cell"): continue
                n = int(c.get(T + "number-columns-repeated", "1"))
                cells += [(c.get(O + "value-type"), c.get(O + "value"), cell_text(c))] * min(n, 64)
            while cells and cells[-1][0] is None and not cells[-1][2]: cells.pop()
            rows += [cells] * min(int(r.get(T + "number-rows-repeated", "1")), 64)
        while rows and not rows[-1]: rows.pop()
        sheets.append((t.get(T + "name"), rows))
    return sheets

MARKS = "△▲"  # the style's reduction mark and the sample configuration's [GENGAKU]
def whole(v):  # as the window shows an amount: a fraction rounds half away from zero
    return Decimal(v).quantize(Decimal(1), rounding=ROUND_HALF_UP)

def shown_figure(text):  # a figure of the window's list: "△1,000", "[2,500]", "(300)"
    neg = text[:1] in MARKS
    plain = re.sub(r"[△▲\[\]\(\),]", "", text)
    if not re.fullmatch(r"-?\d+", plain): return None
    return -Decimal(plain) if neg else Decimal(plain)

def number(cell):  # None for an empty cell or a text (a note, "別途")
    return Decimal(cell[1]) if cell and cell[0] == "float" else None

def at(row, i): return row[i] if i < len(row) else None

BREAKDOWN = ["名称", "数量", "単位", "内訳金額", "金額", "備考", "原価内訳金額", "原価金額"]
DETAIL = ["名称", "規格・仕様", "数量", "単位", "単価", "金額", "備考", "原価数量", "原価単価", "原価金額"]
FIGURES = {"数量", "単価", "金額", "内訳金額", "原価数量", "原価単価", "原価金額", "原価内訳金額"}
LUMP = set(range(50, 57)) | set(range(70, 77)) | set(range(81, 85))
checked = 0
for doc in ("sample", "fixture"):
    book = read_book(f"{tmp}/{doc}.fods")
    names = [n for n, _ in book]
    if names[:2] != ["表紙", "内訳書"]: fail(doc, "sheets", names)
    for name, rows in book:
        if len(rows) < 2: fail(doc, name, "is empty")
        # Numbers are numbers: no text in a figure column reads as one, and a number shows its value.
        heads = [c[2] for c in rows[0]] if name != "表紙" else []
        for row in rows[1:]:
            for i, c in enumerate(row):
                if c[0] == "float":
                    digits = re.sub(r"[^0-9.]", "", c[2])
                    places = len(digits.split(".")[1]) if "." in digits else 0
                    if Decimal(digits) != abs(Decimal(c[1])).quantize(Decimal(1).scaleb(-places), rounding=ROUND_HALF_UP):
                        fail(doc, name, "shows", repr(c[2]), "for", c[1])
                elif i < len(heads) and heads[i] in FIGURES and re.fullmatch(r"[△▲￥(\-]*[\d,.]+[)%]?", c[2] or "x"):
                    fail(doc, name, heads[i], "a number stored as text:", c)
    report = [l.split("\t") for l in open(f"{tmp}/{doc}.report", encoding="utf-8").read().splitlines()]
    items, totals = report[1:-2], report[-1]
    # The breakdown list: row for row, both sides, as the window shows them.
    rows = dict(book)["内訳書"]
    if [c[2] for c in rows[0]] != BREAKDOWN: fail(doc, "breakdown captions", rows[0])
    for t, row in zip(items, rows[1:]):
        name = t[2].lstrip(" 　")
        if at(row, 0) is None or at(row, 0)[2] != name: fail(doc, "breakdown name", t[2], at(row, 0))
        for side, window, book_cols in (("submitted", t[3:5], (3, 4)), ("cost", t[5:6], (6, 7))):
            want = next((f for f in map(shown_figure, window) if f is not None), None)
            got = [number(at(row, i)) for i in book_cols if number(at(row, i)) is not None]
            if (want is None) != (not got) or (got and whole(got[0]) != want):
                fail(doc, "breakdown", name, side, "window", window, "workbook", got)
            checked += 1
    if len(rows) - 1 not in (len(items), len(items) + 1): fail(doc, "breakdown rows", len(rows) - 1, len(items))
    last = rows[-1]
    if whole(number(at(last, 4))) != shown_figure(totals[2]) or whole(number(at(last, 7))) != shown_figure(totals[1]):
        fail(doc, "total row", last, totals)
    cover = {r[0][2]: r[1] for r in dict(book)["表紙"] if len(r) == 2}
    if whole(number(cover["御見積金額"])) != shown_figure(totals[2]) or whole(number(cover["原価金額"])) != shown_figure(totals[1]):
        fail(doc, "cover totals", cover["御見積金額"], cover["原価金額"], totals)
    # The detail sheets: the items with lines in order, each figure that of its line.
    lines, part = {}, None
    for l in open(f"{tmp}/{doc}.lines", encoding="utf-8").read().splitlines():
        if l in ("<DATA>", "</DATA>"): part = l; continue
        if part == "<DATA>": f = l.split(";"); lines.setdefault(int(f[0]), []).append(f)
    for n in lines:  # the blank lines after the last line do not print
        while lines[n] and lines[n][-1][6] == "0" and not (lines[n][-1][1] + lines[n][-1][2] + lines[n][-1][20]).strip(" "):
            lines[n].pop()
    numbers = [n for n in sorted(lines) if lines[n]]
    sheets = book[2:]
    if len(sheets) != len(numbers): fail(doc, "item sheets", [n for n, _ in sheets], "items with lines", numbers)
    for n, (name, rows) in zip(numbers, sheets):
        if [c[2] for c in rows[0]] != DETAIL: fail(doc, name, "captions", rows[0])
        t = items[n - 1]
        want = (shown_figure(t[3] or t[4]), shown_figure(t[5]))
        got = (number(at(rows[-1], 5)), number(at(rows[-1], 9)))
        if None in got or (whole(got[0]), whole(got[1])) != want: fail(doc, name, "total", got, "window", want)
        for f, row in zip(lines[n], rows[1:]):
            kind = int(f[6])
            if kind == 99: continue
            reduction = (at(row, 5) or (None, None, ""))[2][:1] in MARKS
            sign = -1 if reduction else 1
            expect = {2: f[8], 4: f[10], 5: f[15], 7: f[7], 8: f[9], 9: f[14]}
            if 60 <= kind <= 66: expect[2], expect[7] = f[13], f[12]
            if kind in LUMP or kind == 90: expect[4] = expect[8] = None
            if kind in LUMP: expect[2] = expect[7] = "1"
            for i, want in expect.items():
                got = number(at(row, i))
                if got is None: continue
                if want is None or got != Decimal(want) * (sign if i in (4, 5, 8, 9) else 1):
                    fail(doc, name, f[1], DETAIL[i], got, "line", want)
                checked += 1
for f in failures: print(f)
print("figures compared:", checked)
sys.exit(1 if failures or checked < 50 else 0)
PY
[[ $status == 0 ]] || cat "$tmp/soffice.log"
exit $status
