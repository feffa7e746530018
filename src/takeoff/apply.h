// 明細へ反映: the measurement rows summed by name, specification and unit and written into the
// sheet's working copy WITEMn.WRK as takeoff lines, in the places of the takeoff lines written
// before; every other line keeps its place. Also the sheet settings the window hands over in
// digit.temp, and the check of the working copy's records.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "general/money.h"
#include "general/records.h"
#include "takeoff/sheet.h"

namespace zantro::takeoff {

// Lines of kinds 100 to 200 came from the takeoff.
constexpr bool IsTakeoffKind(int32_t kind) { return kind >= 100 && kind <= 200; }
// The kinds the takeoff writes: a whole quantity, a decimal one (both show 拾 and count like
// a priced line), and the aggregation's subtotal comment.
inline constexpr int32_t kWholeKind = 170, kDecimalKind = 150, kCommentKind = 130;

// digit.temp of folder: the five settings, checked as the sheet checks them. Missing: the
// defaults. A line that is not "[CUTLEVELn]=number" raises FileError naming the line.
CalcSettings ReadDigitFile(const std::string& folder);

struct SummedLine {
  std::string Name, Spec, Unit;
  Money Quantity;  // rounded
};

// Σ results per name, specification and unit, in the order they first appear; each sum cut
// to the sheet's quantity precision after the summed-quantity addend:
// Cut(Σ × QuantityScale + Opt6RoundAddend) ÷ QuantityScale.
std::vector<SummedLine> SumRows(const std::vector<Row>& rows, const CalcSettings& settings);
Money RoundQuantity(Money sum, const CalcSettings& settings);

// Prices of a line no earlier takeoff line had: a library entry of that name, specification
// and unit (nullopt: none).
using PriceLookup = std::function<std::optional<LineRecord>(const SummedLine&)>;

// The sheet's lines (file order, no sentinel) with the summed lines in the places of the
// takeoff lines; prices, group, labour and remarks from the takeoff line of the same name,
// specification and unit that is replaced, else from lookup, else none.
std::vector<LineRecord> MergeLines(const std::vector<LineRecord>& lines, const std::vector<SummedLine>& summed,
                                   int32_t item, const CalcSettings& settings, const PriceLookup& lookup = {});

// The records of WITEMn.WRK of folder (none when missing); a file that is not whole records or
// holds a record of another item raises FileError naming file and record.
std::vector<LineRecord> LoadSheetLines(const std::string& folder, int32_t item);
void SaveSheetLines(const std::string& folder, int32_t item, const std::vector<LineRecord>& lines);

// The whole of 明細へ反映 on folder: rows into WITEMn.PUP, the summed lines into WITEMn.WRK.
// Everything is read and checked before either file is written. Returns the lines written.
std::vector<LineRecord> ApplyToSheet(const std::string& folder, int32_t item, const std::vector<Row>& rows,
                                     const PriceLookup& lookup = {});

}  // namespace zantro::takeoff
