// What the forms print, as texts and amounts: built once from the print data, so the page
// layout and the drawing only place texts. Qt-free; every text is UTF-8.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "general/container.h"
#include "general/money.h"
#include "printing/style.h"

namespace zantro::printing {

// The cover (御見積書).
struct CoverData {
  std::string Addressee1, Addressee2;   // the honorific is part of the last non-empty line
  std::string ClientPerson;             // [OUTTANTO], "様" added
  std::string Construction1, Construction2, Site, Limit, Trade, Note;
  std::string Number, DateText, OwnPerson;
  Money Total;                          // the estimate amount
  Money Tax;                            // consumption tax inside Total
  bool HasTax = false;
  std::string AmountWords;              // "金四百五十九万七千五百五十五円也"
};

enum class RowStyle { Plain, Heading, Member, Summary, Total, Note, Blank };

// One row of the 内訳書.
struct BreakdownRow {
  std::string Name;
  int Indent = 0;                       // ideographic spaces before the name
  std::string Qty, Unit;
  std::string Inner;                    // 内訳金額: hierarchy members and nested headings
  std::string Amount;                   // 金額: the top-level column
  std::string Remarks;
  Money Carry;                          // what the row adds to the running total
  RowStyle Style = RowStyle::Plain;
  // The numbers behind Qty, Inner and Amount where they print one, for outputs that keep
  // numbers; with Reduction the amount prints after the reduction text.
  std::optional<Money> QtyValue, InnerValue, AmountValue;
  bool Reduction = false;
};

// One row of a 明細書.
struct SheetRow {
  std::string Name, Spec, Qty, Unit, Price, Amount, Remarks;
  Money Carry;                          // what the line adds to the sheet total
  RowStyle Style = RowStyle::Plain;
  // The numbers behind Qty, Price and Amount where they print one; with Reduction the price
  // and the amount print after the reduction text.
  std::optional<Money> QtyValue, PriceValue, AmountValue;
  bool Reduction = false;
};

struct SheetData {
  int32_t ItemNumber = 0;
  std::string Name;
  std::vector<SheetRow> Rows;
  Money Total;                          // the item's own total
};

struct PrintModel {
  PrintStyle Style;
  std::string ReductionText;            // in front of reductions
  std::string Construction;             // both construction-name lines, for page headers
  CoverData Cover;
  std::vector<BreakdownRow> Breakdown;
  Money BreakdownTotal;
  std::vector<SheetData> Sheets;
  bool SingleSheet = false;             // the print data of one sheet
};

struct ModelOptions {
  std::string ReductionText;            // the print option; empty: the style's
  bool SingleSheet = false;
};

PrintModel BuildPrintModel(const ParsedDocument& doc, const PrintStyle& style, const ModelOptions& options);

// The date of the title ([DY] counts years from 1988) in the era of that day:
// "令和8年12月7日"; "" when the month or day is out of range.
std::string JapaneseDate(int32_t dy, int32_t dm, int32_t dd);

// The whole-yen part in kanji for the amount in words: "四百五十九万七千五百五十五".
std::string KanjiNumber(Money amount);

// An amount or price with separators; a fraction is kept ("1,234.5"), never rounded away.
std::string PriceText(Money v);

}  // namespace zantro::printing
