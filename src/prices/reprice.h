// Re-pricing an estimate (単価入替): every priced line of a sheet is looked up in the given
// libraries by its name, specification and unit, and takes the entry's cost price, the
// submitted price of the chosen level and the incidental prices. The plan lists the lines that
// would change (old and new submitted price, the amount's difference) and the lines without a
// match, which stay as they are. A sheet line carries no code, so the code of an entry plays
// no part.
#pragma once
#include <string>
#include <vector>

#include "general/document.h"
#include "prices/library.h"

namespace zantro {

struct RepriceChange {
  int32_t Item = 0;
  int Row = 0;
  LineRecord Old, New;  // New: the prices replaced, the amounts as the engine will give them
  Money AmountDiff;     // submitted amount, new - old
};

struct RepricePlan {
  std::vector<RepriceChange> Changes;
  std::vector<std::pair<int32_t, int>> Unmatched;  // item, row of priced lines without a match
  Money Total;                                     // sum of the differences
};

// The lookup of the libraries, the first library holding a name, specification and unit first.
class PriceLookup {
 public:
  // The lookup points into libs, which must outlive it (a temporary would leave it dangling).
  explicit PriceLookup(const std::vector<PriceLibrary>& libs);
  explicit PriceLookup(std::vector<PriceLibrary>&&) = delete;
  const PriceEntry* Find(const LineRecord& line) const;

 private:
  std::vector<const PriceEntry*> entries_;
  std::vector<std::string> keys_;  // sorted with entries_
};

// The plan for the lines of one sheet (lines[0] the sentinel) of item n with the sheet's
// settings, at level 1..5.
void PlanSheetReprice(RepricePlan& plan, int32_t item, const std::vector<LineRecord>& lines,
                      const CalcSettings& settings, const PriceLookup& lookup, int level);

// The changes of item n made in lines.
void ApplyReprice(std::vector<LineRecord>& lines, int32_t item, const RepricePlan& plan);

// The report of a plan, one line per change, per unmatched line, per item and the total (UTF-8).
std::string RepriceReport(const RepricePlan& plan);

// "zantro --reprice DOCUMENT LIBRARY... --level N OUT": args are the words after "--reprice".
// Prints the report on out; OUT is written (all sheets and totals recomputed) unless an error
// is shown on err. Returns 0, 1 after an error, 2 for a bad command line.
int RepriceCommand(int count, char** args, std::ostream& out, std::ostream& err);

}  // namespace zantro
