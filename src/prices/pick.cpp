#include "prices/pick.h"

#include <algorithm>
#include <cstdint>

namespace zantro {

Money GroupSortKey(int group) {
  static constexpr int64_t kFirst[] = {10001, 12001, 15001, 18001, 21001, 24001};
  return Money::Units(kFirst[std::clamp(group, 0, 5)]);
}

int32_t KindOfQuantity(Money qty) { return Cut(qty) == qty ? 10 : 20; }

DetailLineMessage PickedLine(const PriceEntry& e, int level, std::optional<Money> qty, Command command) {
  const size_t l = static_cast<size_t>(std::clamp(level, 1, 5) - 1);
  DetailLineMessage m;
  m.Kind = command;
  m.Name = e.Name;
  m.Spec = e.Spec;
  m.Unit = e.Unit;
  m.CostPrice = e.CostPrice;
  m.SubPrice = e.Prices[l];
  m.CostExtraPrice = e.CostExtra;
  m.SubExtraPrice = e.Extras[l];
  m.CostQty = m.SubQty = qty.value_or(kZero);
  m.FLAG = KindOfQuantity(m.SubQty);
  m.sort = GroupSortKey(e.Group);
  m.Remarks = e.Remarks;
  m.LabourFactor = e.LabourFactor;
  return m;
}

Money MemberQuantity(Money base, Money ratio) {
  // Exact product, then cut toward zero to three decimals: the finest precision a sheet keeps.
  __extension__ using i128 = __int128;
  i128 p = static_cast<i128>(base.raw) * ratio.raw / Money::kScale;
  p -= p % 10;
  if (p > INT64_MAX || p < INT64_MIN) throw MoneyOverflow("数量 × 比率");
  return Money::FromRaw(static_cast<int64_t>(p));
}

std::vector<PriceSet> SetsOf(const PriceLibrary& lib) {
  std::vector<PriceSet> sets;
  for (uint32_t i = 0; i < lib.Entries.size(); ++i) {
    const std::string& name = lib.Entries[i].SetName;
    if (sets.empty() || sets.back().Name != name) sets.push_back({name, {}});
    sets.back().Members.push_back(i);
  }
  return sets;
}

std::vector<DetailLineMessage> SetLines(const PriceLibrary& lib, const PriceSet& set, int level, Money base) {
  std::vector<DetailLineMessage> lines;
  for (uint32_t i : set.Members) {
    const PriceEntry& e = lib.Entries[i];
    lines.push_back(PickedLine(e, level, MemberQuantity(base, e.Ratio), Command::MultiWrite));
  }
  return lines;
}

}  // namespace zantro
