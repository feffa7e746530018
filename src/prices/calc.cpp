#include "prices/calc.h"

#include <algorithm>

#include "general/kinds.h"
#include "platform/cp932.h"
#include "prices/pick.h"

namespace zantro {
namespace {

__extension__ using i128 = __int128;

// total / qty to whole currency units, half up (a unit price is a whole amount).
Money PerUnit(Money total, Money qty) {
  if (qty == kZero) return total;
  i128 num = static_cast<i128>(total.raw) * Money::kScale;
  i128 q = num / qty.raw;  // raw of the exact quotient, cut
  i128 whole = (q + (q >= 0 ? Money::kScale / 2 : -Money::kScale / 2)) / Money::kScale;
  return Money::Units(static_cast<int64_t>(whole));
}

bool Priced(int32_t kind) { return kind >= 10 && kind <= 29; }

}  // namespace

const char* CalcModeCaption(CalcMode m) {
  switch (m) {
    case CalcMode::UnitPrice: return "単価計算";
    case CalcMode::Labour: return "歩掛計算";
    case CalcMode::Incidental: return "付帯単価";
    case CalcMode::Normal: return "通常単価";
  }
  return "";
}

CalcRequest CalcRequestOf(int mode, std::optional<int> groupTag) {
  CalcRequest r;
  if (mode >= 51 && mode <= 56) {
    r.Mode = CalcMode::UnitPrice;
    r.Group = mode - 51;
  } else {
    r.Mode = mode >= 1 && mode <= 4 ? static_cast<CalcMode>(mode) : CalcMode::UnitPrice;
  }
  if (groupTag) {
    int g = *groupTag % 10 - 1;
    if (g >= 0 && g <= 5) r.Group = g;
  }
  return r;
}

CalcResult CalculatePrice(const std::vector<LineRecord>& lines, int top, int bottom, const CalcRequest& req) {
  CalcResult out;
  ProductSum costLabour, subLabour, costExtra, subExtra;
  const LineRecord* first = nullptr;
  const int last = std::min<int>(bottom, static_cast<int>(lines.size()) - 1);
  for (int r = std::max(top, 1); r <= last; ++r) {
    const LineRecord& l = lines[static_cast<size_t>(r)];
    if (!Priced(l.FLAG)) continue;
    if (req.Group && PriceGroupOf(l.sort) != *req.Group) continue;
    if (!first) first = &l;
    out.Rows.push_back(r);
    out.CostTotal += l.CostAmount;
    out.SubTotal += l.SubAmount;
    costLabour.Add(l.CostQty, l.LabourFactor);
    subLabour.Add(l.SubQty, l.LabourFactor);
    costExtra.Add(l.CostQty, l.CostExtraPrice);
    subExtra.Add(l.SubQty, l.SubExtraPrice);
  }
  DetailLineMessage& m = out.Line;
  m.Kind = Command::CalcData;
  m.FLAG = LineKinds::Priced;
  m.sort = GroupSortKey(req.Group.value_or(first ? PriceGroupOf(first->sort) : 0));
  m.Spec = Sj(std::to_string(out.Rows.size()) + "行より");
  switch (req.Mode) {
    case CalcMode::UnitPrice:
      m.Name = Sj("複合単価");
      m.Unit = Sj("式");
      m.CostPrice = out.CostTotal;
      m.SubPrice = out.SubTotal;
      m.CostQty = m.SubQty = kOne;
      break;
    case CalcMode::Labour: {
      m.Name = Sj("労務費");
      m.Unit = Sj("人工");
      m.FLAG = LineKinds::DecPriced;
      // Labour is counted to two decimals, cut, as summed labour lines count it.
      m.CostQty = costLabour.CutToScale(Money::Units(100), kZero);
      m.SubQty = subLabour.CutToScale(Money::Units(100), kZero);
      m.CostPrice = m.SubPrice = req.LabourRate;
      out.CostTotal = LineAmount(req.LabourRate, m.CostQty, kHalf);
      out.SubTotal = LineAmount(req.LabourRate, m.SubQty, kHalf);
      break;
    }
    case CalcMode::Incidental:
      m.Name = Sj("付帯工事");
      m.Unit = Sj("式");
      m.CostPrice = out.CostTotal = costExtra.CutToScale(Money::Units(1), kHalf);
      m.SubPrice = out.SubTotal = subExtra.CutToScale(Money::Units(1), kHalf);
      m.CostQty = m.SubQty = kOne;
      break;
    case CalcMode::Normal: {
      Money qty = first ? first->SubQty : kOne;
      std::string_view ns = first ? first->NameSpec.view() : std::string_view();
      size_t semi = ns.find(';');
      m.Name = std::string(ns.substr(0, semi));
      m.Spec = semi == std::string_view::npos ? std::string() : std::string(ns.substr(semi + 1));
      m.Unit = first ? std::string(first->Unit.view()) : std::string();
      m.CostPrice = PerUnit(out.CostTotal, first ? first->CostQty : kOne);
      m.SubPrice = PerUnit(out.SubTotal, qty);
      m.CostQty = m.SubQty = kOne;
      break;
    }
  }
  return out;
}

}  // namespace zantro
