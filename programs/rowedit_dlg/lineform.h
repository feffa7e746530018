// What the line-entry dialog knows about detail lines apart from its widgets: the kinds it
// offers by their descriptions, which fields each kind uses, the sort key of a price group,
// and the amounts the engine gives a line at its row. No Qt.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "general/document.h"
#include "messages/launches.h"

namespace zantro {

// The fields a kind uses, and what the shared edits mean for it.
enum class LineShape {
  Priced,           // quantities, prices, incidental prices, labour factor
  AmountText,       // 15-18, 25-28: as priced, the amount column shows a text instead
  Comment,          // 30, 130: texts only
  RangeRate,        // 50-56, 70-76: first and last line, rates in percent, rounding
  RangeLabour,      // 60-66: first and last line, unit prices, rounding
  OverheadRounded,  // 81, 82: rates in percent, rounding and second rounding
  OverheadFolded,   // 83, 84: rates in percent, folded by the sheet's unit
  TotalLine,        // 99: a name only
};
LineShape ShapeOf(int32_t flag);

struct KindChoice {
  int32_t Flag;
  std::string Text;  // UTF-8
};
// The kinds a user picks from, in the order offered, each named by its description.
std::vector<KindChoice> KindChoices(const GroupNames& names);
// The description of any kind (those not offered read "その他の種別 (FLAG)").
std::string KindText(int32_t flag, const GroupNames& names);

// The rounding modes of calculated lines (0-9) as offered, by index.
const std::vector<std::string>& RoundingChoices();

// Price group 0..5 (A..F) of a sort key, as the engine selects it.
int GroupOf(Money sort);
// A sort key inside group g's range for a line at row: the group's first key plus the row,
// kept inside the range.
Money SortKeyFor(int group, int32_t row);

struct LineAmounts {
  Money Cost, Sub;
};
// The amounts of line standing at row of the open sheet of doc (blank lines put before it
// when row lies past the end), computed by the engine with the sheet's settings. doc's lines
// are left as they were, except that their amounts are recomputed. Raises MoneyOverflow.
LineAmounts PreviewAmounts(Document& doc, int32_t row, const LineRecord& line);

}  // namespace zantro
