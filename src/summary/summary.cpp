#include "summary/summary.h"

#include <map>
#include <tuple>

#include "breakdown/batch.h"
#include "general/doccheck.h"
#include "general/document.h"
#include "general/kinds.h"
#include "platform/cp932.h"

namespace zantro::summary {
namespace {

// The lines whose quantities a labour line sums (the engine's rule: every line but the range
// and overhead lines, whose labour-factor field holds a rounding mode).
bool IsLabourSource(int32_t flag) { return !InRange(flag, 50, 76) && !InRange(flag, 81, 84); }

// A line's amounts as they enter the sheet totals: reductions subtracted.
Pair SignedAmounts(const LineRecord& l) {
  if (IsReductionLine(l.FLAG)) return Pair{-l.CostAmount, -l.SubAmount};
  return Pair{l.CostAmount, l.SubAmount};
}

bool IsEmptyLine(const LineRecord& l) {
  return l.NameSpec.view().empty() && l.Unit.view().empty() && l.CostQty == kZero && l.SubQty == kZero &&
         l.CostAmount == kZero && l.SubAmount == kZero;
}

// Sums the priced lines by name, specification and unit, keeping the order of first sight.
class MaterialSums {
 public:
  void Add(const LineRecord& l) {
    std::string_view text = l.NameSpec.view();
    size_t semi = text.find(';');
    std::string name(text.substr(0, semi));
    std::string spec(semi == std::string_view::npos ? std::string_view() : text.substr(semi + 1));
    std::string unit(l.Unit.view());
    auto [it, added] = index_.try_emplace(std::make_tuple(name, spec, unit), rows_.size());
    if (added) rows_.push_back(MaterialRow{name, spec, unit, kZero, kZero, Pair{}, 0});
    MaterialRow& row = rows_[it->second];
    const bool minus = IsReductionLine(l.FLAG);
    row.CostQty += minus ? -l.CostQty : l.CostQty;
    row.SubQty += minus ? -l.SubQty : l.SubQty;
    row.Amount += SignedAmounts(l);
    ++row.Lines;
  }
  std::vector<MaterialRow> Take() { return std::move(rows_); }

 private:
  std::map<std::tuple<std::string, std::string, std::string>, size_t> index_;
  std::vector<MaterialRow> rows_;
};

// The first labour line of the document gives the rate of both sides.
std::optional<Pair> LabourLineRate(const ParsedDocument& doc) {
  for (int32_t n = 1; n <= doc.ItemCount(); ++n) {
    auto held = doc.Lines.find(n);
    if (held == doc.Lines.end() || !ItemHasSheet(doc.Items[static_cast<size_t>(n - 1)].ItemKind)) continue;
    for (const LineRecord& l : held->second)
      if (InRange(l.FLAG, 60, 66)) return Pair{l.CostPrice, l.SubPrice};
  }
  return std::nullopt;
}

ItemSummary SummarizeItem(int32_t n, const ItemRecord& item, const std::vector<LineRecord>& lines, const Pair& rate,
                          MaterialSums& materials) {
  ItemSummary s;
  s.Number = n;
  s.Name = std::string(item.ItemName.view());
  CalcSettings settings = item.Settings();
  CheckSettings(settings);  // as the engine does before it computes the sheet
  ProductSum cost, sub;
  for (const LineRecord& l : lines) {
    if (IsCalculatedLine(l.FLAG)) s.Calculated += SignedAmounts(l);
    else s.Groups[static_cast<size_t>(PriceGroupOf(l.sort))] += SignedAmounts(l);
    if (IsPricedLine(l.FLAG) && !IsEmptyLine(l)) materials.Add(l);
    if (!IsLabourSource(l.FLAG)) continue;
    if (IsReductionLine(l.FLAG)) {
      cost.Subtract(l.CostQty, l.LabourFactor);
      sub.Subtract(l.SubQty, l.LabourFactor);
    } else {
      cost.Add(l.CostQty, l.LabourFactor);
      sub.Add(l.SubQty, l.LabourFactor);
    }
  }
  s.Total = Pair{item.ALLNTOTAL, item.ALLGTOTAL};
  // The labour is cut as a labour line over the whole sheet cuts it, and priced as one.
  s.Labour = Pair{cost.CutToScale(settings.QuantityScale, settings.Opt6RoundAddend),
                  sub.CutToScale(settings.QuantityScale, settings.Opt6RoundAddend)};
  s.LabourAmount = Pair{LineAmount(rate.Cost, s.Labour.Cost, settings.LineRoundAddend),
                        LineAmount(rate.Sub, s.Labour.Sub, settings.LineRoundAddend)};
  return s;
}

}  // namespace

bool IsCalculatedLine(int32_t flag) { return InRange(flag, 50, 99); }

bool IsPricedLine(int32_t flag) {
  switch (flag) {
    case 10: case 11: case 12: case 20: case 21: case 22:
    case 110: case 120: case 140: case 150: case 160: case 170: case 180:
      return true;
    default:
      return false;
  }
}

Summary Summarize(const ParsedDocument& doc, std::optional<Money> typedRate) {
  Summary s;
  s.GroupNames = SplitGroupNames(doc.Title.Opt1Str.view());
  if (typedRate) {
    s.Rate = Pair{*typedRate, *typedRate};
    s.Source = RateSource::Typed;
  } else if (auto rate = LabourLineRate(doc)) {
    s.Rate = *rate;
    s.Source = RateSource::LabourLine;
  }
  MaterialSums materials;
  static const std::vector<LineRecord> kNoLines;
  for (int32_t n = 1; n <= doc.ItemCount(); ++n) {
    const ItemRecord& item = doc.Items[static_cast<size_t>(n - 1)];
    if (!ItemHasSheet(item.ItemKind)) continue;
    auto held = doc.Lines.find(n);
    ItemSummary one = SummarizeItem(n, item, held == doc.Lines.end() ? kNoLines : held->second, s.Rate, materials);
    for (int g = 0; g < kGroups; ++g) s.Groups[static_cast<size_t>(g)] += one.Groups[static_cast<size_t>(g)];
    s.Calculated += one.Calculated;
    s.Sheets += one.Total;
    s.Labour += one.Labour;
    s.LabourAmount += one.LabourAmount;
    s.Items.push_back(std::move(one));
  }
  s.Document = Pair{doc.Title.ALLNTOTAL, doc.Title.ALLGTOTAL};
  s.Materials = materials.Take();
  return s;
}

Summary SummarizeFile(const std::string& path, std::optional<Money> typedRate, std::string* construction) {
  // Opened as the window and the breakdown report open it: the document's totals depend on
  // the settings of the sheet shown first, which rounds the overhead items of the list.
  ParsedDocument parsed;
  Document shown = OpenForReport(path, &parsed);
  if (construction) *construction = ToUtf8(parsed.Title.CONSTRACT_1.view());
  Summary s = Summarize(parsed, typedRate);
  s.Document = Pair{shown.Breakdown.Cost, shown.Breakdown.Sub};
  return s;
}

Summary SummarizeWorkFiles(const std::string& folder, std::optional<Money> typedRate, std::string* construction) {
  const std::string name = folder + "/HEAD.WRK";
  ParsedDocument doc = ParseContainerText(ContainerText(folder, false, 0), name);
  // The window wrote the document's totals with the settings of its open sheet: they stay.
  const Pair shown{doc.Title.ALLNTOTAL, doc.Title.ALLGTOTAL};
  CheckRecomputation(doc, name);
  if (construction) *construction = ToUtf8(doc.Title.CONSTRACT_1.view());
  Summary s = Summarize(doc, typedRate);
  s.Document = shown;
  return s;
}

}  // namespace zantro::summary
