#include "general/sheetchanges.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/cp932.h"

namespace zantro {
namespace {

int32_t Last(const Document& doc) { return doc.LastLine(); }
bool IsLine(const Document& doc, int32_t r) { return r >= 1 && r <= Last(doc); }

// The rows of sel that hold lines: top..min(bottom, last); empty when top is past the end.
struct LineSpan {
  int32_t First = 1;
  int32_t Count = 0;
};
LineSpan Existing(const Document& doc, RowSelection sel) {
  int32_t top = std::max(sel.Top, 1);
  int32_t bottom = std::min(sel.Bottom, Last(doc));
  return {top, std::max(0, bottom - top + 1)};
}

}  // namespace

LineRecord& EnsureLine(Document& doc, int32_t line, const LineRecord& filler) {
  if (line < 1) throw std::out_of_range("line " + std::to_string(line) + " of a sheet");
  if (Last(doc) < line) doc.LineList.resize(static_cast<size_t>(line) + 1, filler);
  return doc.LineList[line];
}

bool IsRangeLine(int32_t flag) { return flag >= 50 && flag <= 79; }

Change EraseLines(Document& doc, RowSelection sel) {
  doc.CurrentLine = sel.Top;
  LineSpan span = Existing(doc, sel);
  if (span.Count == 0) return Change::None;
  auto first = doc.LineList.begin() + span.First;
  auto end = first + span.Count;
  if (std::any_of(first, end, [](const LineRecord& l) { return l.FLAG >= 100; })) return Change::Refused;
  for (auto it = first; it != end; ++it) {
    LineRecord blank{};
    blank.SpareMoney = it->SpareMoney;
    blank.RefA = it->RefA;
    *it = blank;
  }
  return Change::Done;
}

Change InsertLines(Document& doc, RowSelection sel) {
  doc.CurrentLine = sel.Top;
  if (!IsLine(doc, sel.Top)) return Change::None;
  InsertBlankLines(doc.LineList, sel.Top, sel.Rows());
  return Change::Done;
}

void DeleteLineRange(std::vector<LineRecord>& lines, int32_t at, int32_t count) {
  int32_t last = static_cast<int32_t>(lines.size()) - 1;
  if (at < 1 || at > last || count < 1) return;
  count = std::min(count, last - at + 1);
  lines.erase(lines.begin() + at, lines.begin() + at + count);
  // Each deleted line moves a range that starts at or after it up by one, else shortens a
  // range that ends at or after it. Applied count times at the same place, a range starting
  // inside the deleted block moves up until it starts just before it, and the rest of the
  // steps shorten it: both counted at once here.
  const Money c = Money::Units(at), k = Money::Units(count), one = Money::Units(1);
  for (auto& line : lines) {
    if (!IsRangeLine(line.FLAG)) continue;
    Money& from = line.CostQty;
    Money& to = line.SubQty;
    Money moved = from >= c ? std::min(k, from - c + one) : Money{};
    from -= moved;
    to -= moved;
    if (to >= c) to -= std::min(k - moved, to - c + one);
  }
}

Change DeleteLines(Document& doc, RowSelection sel) {
  doc.CurrentLine = sel.Top;
  LineSpan span = Existing(doc, sel);
  if (span.Count == 0) return Change::None;
  DeleteLineRange(doc.LineList, span.First, span.Count);
  return Change::Done;
}

// Pick(from), then Put(to): the picked line leaves its place and is inserted at `to`. With
// neighbours that is an exchange of the two lines.
static Change PickAndPut(Document& doc, int32_t from, int32_t to) {
  doc.LineList[0] = doc.LineList[from];
  doc.PickedLine = from;
  std::swap(doc.LineList[from], doc.LineList[to]);
  return Change::Done;
}

Change MoveLineUp(Document& doc, int32_t line) {
  if (line <= 1 || !IsLine(doc, line)) return Change::None;
  return PickAndPut(doc, line, line - 1);
}

Change MoveLineDown(Document& doc, int32_t line) {
  if (!IsLine(doc, line) || line >= Last(doc)) return Change::None;
  return PickAndPut(doc, line, line + 1);
}

Change SwapWithPicked(Document& doc, int32_t line) {
  doc.CurrentLine = line;
  int32_t picked = doc.PickedLine;
  if (!IsLine(doc, line) || !IsLine(doc, picked)) return Change::None;
  LineRecord held = doc.LineList[0];
  doc.LineList[picked] = doc.LineList[line];
  doc.LineList[line] = held;
  return Change::Done;
}

Change PutTotalLine(Document& doc, int32_t line) {
  doc.CurrentLine = line;
  if (line < 1) return Change::None;
  if (IsLine(doc, line) && doc.LineList[line].FLAG > 100) return Change::Refused;
  LineRecord total{};
  total.NameSpec.set(Sj("【合　　計】"));
  total.FLAG = LineKinds::TotalLine;
  total.sort = Money::Units(99999);
  EnsureLine(doc, line) = total;
  doc.CurrentLine = line + 1;
  return Change::Done;
}

void PutTaxLine(Document& doc, int32_t line, Money rate, bool addToCost) {
  doc.CurrentLine = line;
  if (line < 1) return;
  LineRecord tax{};
  tax.NameSpec.set(Sj("消  費  税"));
  tax.Unit.set(Sj("％"));
  tax.FLAG = LineKinds::Tax;
  tax.SubQty = rate;
  tax.CostQty = addToCost ? rate : Money{};
  EnsureLine(doc, line) = tax;
  doc.CurrentLine = line + 1;
}

bool HasTaxItem(const Document& doc) {
  return std::any_of(doc.ItemList.begin() + 1, doc.ItemList.end(),
                     [](const ItemRecord& i) { return i.ItemKind == ItemKinds::Tax; });
}

QuantitySum SumQuantities(const Document& doc, RowSelection sel) {
  QuantitySum sum;
  LineSpan span = Existing(doc, sel);
  for (int32_t r = span.First; r < span.First + span.Count; ++r) {
    sum.Cost += doc.LineList[r].CostQty;
    sum.Sub += doc.LineList[r].SubQty;
  }
  return sum;
}

bool RenameCurrentItem(Document& doc, std::string_view cp932Name) {
  if (!doc.IsItem(doc.CurrentItem)) return false;
  doc.ItemList[doc.CurrentItem].ItemName.set(cp932Name);
  return true;
}

}  // namespace zantro
