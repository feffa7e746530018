// The costing engine: every amount of a document is derived here from quantities, prices and
// the calculated lines and items above it. The sheet recomputation works on the open sheet
// (Document::LineList), the breakdown recomputation on the item list; both are one pass, top
// to bottom. Neither touches a file or a window.
#pragma once
#include <string>

#include "general/document.h"

namespace zantro {

// The text shown when a sheet holds more than one consumption-tax line.
inline constexpr const char* kDuplicateTaxMessage = "消費税が重複しています";

// Recomputes every line of the open sheet in place and the sheet totals (doc.Sheet,
// doc.TaxSeen). The totals and tax of the current item are written only when it exists and
// owns a sheet. Messages go to sink (may be null). Returns 1 when both totals are 0, else 0.
// Raises MoneyOverflow when an amount does not fit; the lines may then be partly recomputed.
int RecomputeSheet(Document& doc, MessageSink sink);

// Recomputes the summary items of the breakdown list in place, the tax marker [Opt2Int] and
// the document totals (doc.Breakdown and the title's ALL and TAX totals); a tax item sets
// doc.TaxSeen. Overhead and tax items use doc.Settings.LineRoundAddend. Raises MoneyOverflow
// like the sheet recomputation.
void RecomputeBreakdown(Document& doc);

// The eight boxes of the totals panel, UTF-8.
struct TotalsTexts {
  std::string SUBNBOX, SUBGBOX, gsagaku;        // sheet: cost, submitted, difference
  std::string NTOTALBOX, GTOTALBOX, nsagaku;    // document: cost, submitted, difference
  std::string AV1PL, AV2PL;                     // margins of the sheet and of the document
};

// "20%", "100%" when there is no cost, "  0%" when nothing is submitted.
std::string MarginText(Money sub, Money cost);

// The box texts for the given totals. Without showSheet the three sheet boxes are empty; the
// sheet margin is written either way.
TotalsTexts TotalsTextsFor(const SheetTotals& sheet, const BreakdownTotals& document, bool showSheet);

// Mode 0: recompute the sheet and the breakdown; mode 1: the breakdown only, sheet boxes
// emptied; any other mode: the breakdown only, both shown. Returns the texts to show.
TotalsTexts ShowTotals(Document& doc, int32_t mode, MessageSink sink);

}  // namespace zantro
