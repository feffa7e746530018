// The texts of the breakdown list as the window shows it: eight columns per row (number,
// marker, name indented by level, amount of top-level rows, amount of members or the range of
// parents and subtotals, cost, difference, remarks). Pure functions over the document, shared
// by the window and by the report of the command line. Texts are UTF-8.
#pragma once
#include <array>
#include <string>

#include "general/document.h"

namespace zantro {

using ListRowTexts = std::array<std::string, 8>;

// The captions of row 0 (column 0 has none).
const ListRowTexts& ListCaptions();

// Row r (an item of the list); reductionText (UTF-8) is put in front of a reduction's amounts.
// Column 0 holds r. A total row (99) shows the document's totals of the last recomputation.
ListRowTexts ListRowTextsFor(const Document& doc, int32_t r, const std::string& reductionText);

// "[3]～[5]": the range of a parent or subtotal.
std::string RangeText(const ItemRecord& item);

}  // namespace zantro
