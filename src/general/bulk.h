// The bulk price and quantity rules of the sheet: each rewrites the submitted price or the
// quantities of the selected lines that pass its kind filter. The amounts follow at the next
// sheet recomputation; the undo point, the input box and the save belong to the window.
#pragma once
#include <cstdint>
#include <vector>

#include "general/money.h"
#include "general/records.h"

namespace zantro {

// Grid rows Top..Bottom; row r is line r. Rows outside the list are ignored.
struct LineSelection {
  int32_t Top = 1;
  int32_t Bottom = 0;
};

// Each function returns the number of lines it changed. A result that does not fit raises
// MoneyOverflow before any line is changed. addend is AddendFor(menu tag).

// SubPrice := Cut(SubPrice x factor + addend), priced kinds.
int ScaleSubPrice(std::vector<LineRecord>& lines, LineSelection sel, Money addend, Money factor);
// SubPrice := Cut(CostPrice x factor + addend), every kind.
int SubPriceFromCost(std::vector<LineRecord>& lines, LineSelection sel, Money addend, Money factor);
// SubQty := Cut(SubQty x factor + addend), priced kinds.
int ScaleSubQty(std::vector<LineRecord>& lines, LineSelection sel, Money addend, Money factor);
// SubQty := Cut(CostQty x factor + addend), every kind.
int SubQtyFromCost(std::vector<LineRecord>& lines, LineSelection sel, Money addend, Money factor);
// Both quantities whole (Cut(q + addend)) and the kind one step down to its whole-quantity
// kind (20->10, 21->11, 22->12, 25->15, 30->20), decimal kinds.
int WholeQuantities(std::vector<LineRecord>& lines, LineSelection sel, Money addend);
// SubPrice := SignificantRound(SubPrice, figures, addend), priced kinds.
int SignificantPrice(std::vector<LineRecord>& lines, LineSelection sel, int figures, Money addend);

// The kind filters.
bool IsBulkPricedKind(int32_t flag);   // 10, 11, 12, 15, 20, 21, 22, 25, 30
bool IsBulkDecimalKind(int32_t flag);  // 20, 21, 22, 25, 30

}  // namespace zantro
