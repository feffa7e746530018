// The texts of one detail-sheet row and of the line-properties notice, as pure functions of a
// line and the view state, so the sheet view, the exports and the tests share one rule.
#pragma once
#include <array>
#include <string>

#include "general/document.h"
#include "general/records.h"

namespace zantro {

struct RowView {
  ColumnLayout Layout = ColumnLayout::Ten;
  int AmountSide = 6;            // 1: cost values; anything else: submitted values
  int PriceKind = 0;             // 1: incidental unit price
  Money QuantityScale = Money::Units(10);
  Money LineRoundAddend = kHalf;
  std::string Gengaku;           // UTF-8 text in front of reduction amounts

  int k() const { return Layout == ColumnLayout::Ten ? 1 : 0; }
  int ColCount() const { return 9 + k(); }
  bool operator==(const RowView&) const = default;
};

// Columns 0..9 of a row, UTF-8; column 0 (the row number) is left to the caller. Every
// column of the layout is written, empty where the line shows nothing, so that a row
// reformatted after its line changed kind keeps no stale text.
using RowTexts = std::array<std::string, 10>;
RowTexts FormatRowTexts(const LineRecord& line, const RowView& view);

// The significant-digit note of a range line ("※有効桁100"), from its rounding code.
std::string DigitNote(Money labourFactor);

// The text of the line-properties notice, lines joined by "\r\n". nameCell is the grid's
// column 1 text of the row; groupNames are the document's names A..F (Shift-JIS).
std::string LinePropertiesText(int row, const LineRecord& line, const std::string& nameCell,
                               const std::array<std::string, 6>& groupNames);

// The header captions of the sheet columns for the view.
std::array<std::string, 10> SheetHeaders(const RowView& view);

}  // namespace zantro
