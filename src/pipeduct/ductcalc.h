// The quantities of the duct dialogs, exact in Money: the sheet area of a rectangular duct
// (perimeter x length, with the seam and joint allowance), the plate thickness its long side
// calls for, the area a rectangular fitting counts as, and the text of each computation that
// the dialog shows before it writes. Quantities are cut to three decimals, the finest a
// sheet keeps.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "general/money.h"
#include "prices/library.h"

namespace zantro {

// a x b, exact, cut toward zero to three decimals. Raises MoneyOverflow.
Money ProductCut3(Money a, Money b);

// A quantity and how it was reached ("2×(600+400)×12.5 m = 25.0 m²"), UTF-8.
struct Computation {
  Money Quantity;
  std::string Text;
};

// The sheet area (m²) of a rectangular duct of width and height (mm) and length (m), with
// allowance percent added: 2 × (w + h) / 1000 × length × (100 + allowance) / 100.
Computation RectDuctArea(Money widthMm, Money heightMm, Money lengthM, Money allowancePercent);

// The area (m²) of count rectangular fittings of width x height (mm), each counted as
// equivalentM metres of straight duct.
Computation FittingArea(Money widthMm, Money heightMm, Money equivalentM, Money count);

// A length of round duct (m), shown with its diameter: "φ200 12 m".
Computation RoundDuctLength(Money diameterMm, Money lengthM);

// A number of pieces: "VHS 300×300 × 4 個" (name and unit UTF-8).
Computation Pieces(std::string_view what, Money count, std::string_view unit);

// The plate-thickness table: rows by rising long side; a row without a limit takes every
// long side above the others.
struct ThicknessRow {
  std::optional<Money> UpToMm;  // the longest side the row takes (mm)
  Money ThicknessMm;
};
// The table held by bytes (Shift-JIS CSV, header "長辺(mm以下),板厚(mm)"); file names it in
// errors. Raises LibraryError with line and column.
std::vector<ThicknessRow> ParseThicknessTable(std::string_view bytes, const std::string& file);
// The thickness for a long side; nullopt when no row takes it.
std::optional<Money> ThicknessFor(const std::vector<ThicknessRow>& table, Money longSideMm);

// The entry whose code reads as the number key (a plate thickness, a diameter); nullptr when
// none does.
const PriceEntry* EntryByNumber(const PriceLibrary& lib, Money key);

// Shortest decimal text with at least one decimal: "25.0", "27.55".
std::string QuantityShown(Money q);

}  // namespace zantro
