// The cost summary of a document (集計表): the amounts of every sheet by price group and by
// item, the labour (人工) of the priced lines and its amount, and the bill of materials. Built
// from a document whose sheets the engine has computed (CheckRecomputation), so every figure
// is a sum of the engine's own amounts and the totals are the window's. No Qt.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "general/container.h"
#include "general/money.h"

namespace zantro::summary {

// A cost amount and a submitted amount.
struct Pair {
  Money Cost, Sub;
  Pair& operator+=(const Pair& o) {
    Cost += o.Cost;
    Sub += o.Sub;
    return *this;
  }
  bool operator==(const Pair&) const = default;
};

inline constexpr int kGroups = 6;

// Lines whose amounts the engine derives from other lines (range, overhead, tax and total
// lines): they belong to no price group of their own.
bool IsCalculatedLine(int32_t flag);
// Lines priced by their own quantity and price: the lines of the bill of materials.
bool IsPricedLine(int32_t flag);

struct ItemSummary {
  int32_t Number = 0;
  std::string Name;                    // CP932
  std::array<Pair, kGroups> Groups{};  // priced lines of group A..F (reductions subtracted)
  Pair Calculated;                     // calculated lines
  Pair Total;                          // the item's sheet totals: the groups plus Calculated
  Pair Labour;                         // 人工: quantity x labour factor, cut as a labour line cuts it
  Pair LabourAmount;                   // Labour at the rate in force, rounded as a labour line
};

struct MaterialRow {
  std::string Name, Spec, Unit;  // CP932
  Money CostQty, SubQty;
  Pair Amount;
  int32_t Lines = 0;  // how many lines were summed
};

// Where the labour rate comes from: typed by the user, the first labour line (kinds 60-66)
// of the document, or none (rate 0).
enum class RateSource { Typed, LabourLine, None };

struct Summary {
  std::array<std::string, kGroups> GroupNames;  // CP932
  std::vector<ItemSummary> Items;               // the items with a sheet, in list order
  std::array<Pair, kGroups> Groups{};
  Pair Calculated;
  Pair Sheets;    // the sum of every sheet's totals
  Pair Document;  // the document's totals (the breakdown list's overheads, reductions and tax included)
  Pair Labour, LabourAmount;
  Pair Rate;
  RateSource Source = RateSource::None;
  std::vector<MaterialRow> Materials;  // in order of first appearance

  // What the breakdown list adds to the sheets: overhead, reduction and tax items.
  Pair BreakdownPart() const { return Pair{Document.Cost - Sheets.Cost, Document.Sub - Sheets.Sub}; }
};

// The summary of a document whose sheets and list the engine has computed (as
// CheckRecomputation leaves it). typedRate, when given, is the labour rate of both sides.
Summary Summarize(const ParsedDocument& computed, std::optional<Money> typedRate = std::nullopt);

// The document at path (either format), read and computed as the window opens it, so the
// document's totals are those it shows. Raises FileError naming the file, line and field of
// a damaged document. construction, when given, takes the construction name (UTF-8).
Summary SummarizeFile(const std::string& path, std::optional<Money> typedRate = std::nullopt,
                      std::string* construction = nullptr);

// The working copy in the work files of folder (the open document as last edited), with the
// document's totals the window stored there.
Summary SummarizeWorkFiles(const std::string& folder, std::optional<Money> typedRate = std::nullopt,
                           std::string* construction = nullptr);

}  // namespace zantro::summary
