// The bulk rules over a selection of lines.
#include "general/bulk.h"

#include <algorithm>

namespace zantro {
namespace {

// Applies change to every selected line that passes filter. The new lines are computed on a
// copy first, so that an overflow part way leaves every line as it was.
template <typename Filter, typename Change>
int ApplyToSelection(std::vector<LineRecord>& lines, LineSelection sel, Filter filter, Change change) {
  int64_t first = std::max<int64_t>(sel.Top, 1);
  int64_t last = std::min<int64_t>(sel.Bottom, static_cast<int64_t>(lines.size()) - 1);
  if (last < first) return 0;
  std::vector<LineRecord> changed(lines.begin() + first, lines.begin() + last + 1);
  int count = 0;
  for (LineRecord& l : changed) {
    if (!filter(l.FLAG)) continue;
    change(l);
    ++count;
  }
  std::copy(changed.begin(), changed.end(), lines.begin() + first);
  return count;
}

bool AnyKind(int32_t) { return true; }

}  // namespace

bool IsBulkPricedKind(int32_t f) {
  return f == 10 || f == 11 || f == 12 || f == 15 || IsBulkDecimalKind(f);
}

bool IsBulkDecimalKind(int32_t f) { return f == 20 || f == 21 || f == 22 || f == 25 || f == 30; }

int ScaleSubPrice(std::vector<LineRecord>& lines, LineSelection sel, Money addend, Money factor) {
  return ApplyToSelection(lines, sel, IsBulkPricedKind,
                          [&](LineRecord& l) { l.SubPrice = ScaleCut(l.SubPrice, factor, addend); });
}

int SubPriceFromCost(std::vector<LineRecord>& lines, LineSelection sel, Money addend, Money factor) {
  return ApplyToSelection(lines, sel, AnyKind,
                          [&](LineRecord& l) { l.SubPrice = ScaleCut(l.CostPrice, factor, addend); });
}

int ScaleSubQty(std::vector<LineRecord>& lines, LineSelection sel, Money addend, Money factor) {
  return ApplyToSelection(lines, sel, IsBulkPricedKind,
                          [&](LineRecord& l) { l.SubQty = ScaleCut(l.SubQty, factor, addend); });
}

int SubQtyFromCost(std::vector<LineRecord>& lines, LineSelection sel, Money addend, Money factor) {
  return ApplyToSelection(lines, sel, AnyKind,
                          [&](LineRecord& l) { l.SubQty = ScaleCut(l.CostQty, factor, addend); });
}

int WholeQuantities(std::vector<LineRecord>& lines, LineSelection sel, Money addend) {
  return ApplyToSelection(lines, sel, IsBulkDecimalKind, [&](LineRecord& l) {
    l.CostQty = Cut(l.CostQty + addend);
    l.SubQty = Cut(l.SubQty + addend);
    l.FLAG -= 10;
  });
}

int SignificantPrice(std::vector<LineRecord>& lines, LineSelection sel, int figures, Money addend) {
  return ApplyToSelection(lines, sel, IsBulkPricedKind,
                          [&](LineRecord& l) { l.SubPrice = SignificantRound(l.SubPrice, figures, addend); });
}

}  // namespace zantro
