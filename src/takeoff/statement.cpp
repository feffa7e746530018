#include "takeoff/statement.h"

#include <map>

#include "platform/cp932.h"

namespace zantro::takeoff {

std::vector<StatementLine> StatementOf(const std::vector<Row>& rows) {
  // Groups of system and floor in the order of their first row; rows keep their order inside.
  std::vector<std::pair<std::string, std::vector<const Row*>>> groups;
  std::map<std::string, size_t> index;
  for (const Row& r : rows) {
    std::string key = r.System + '\0' + r.Floor;
    auto [it, added] = index.try_emplace(key, groups.size());
    if (added) groups.push_back({"系統：" + ToUtf8(r.System) + "　階：" + ToUtf8(r.Floor), {}});
    groups[it->second].second.push_back(&r);
  }
  std::vector<StatementLine> out;
  for (const auto& [title, members] : groups) {
    out.push_back(StatementLine{StatementKind::Heading, {title}});
    for (const Row* r : members) {
      std::string expr = ToUtf8(r->Expression);
      if (r->IsDuct()) expr += "（" + MoneyToPlainText(r->Width) + "×" + MoneyToPlainText(r->Height) + "）";
      out.push_back(StatementLine{StatementKind::Measurement,
                                  {ToUtf8(r->Drawing), ToUtf8(r->Name), ToUtf8(r->Spec), expr,
                                   MoneyToPlainText(r->Multiplier), MoneyToPlainText(r->Result), ToUtf8(r->Unit)}});
    }
  }
  // The totals: the exact sums of the results, before the sheet's rounding.
  std::vector<StatementLine> totals;
  std::map<std::string, size_t> at;
  std::vector<Money> sums;
  for (const Row& r : rows) {
    auto [it, added] = at.try_emplace(r.Name + '\0' + r.Spec + '\0' + r.Unit, totals.size());
    if (added) {
      totals.push_back(StatementLine{StatementKind::Total, {"", ToUtf8(r.Name), ToUtf8(r.Spec), "", "", "", ToUtf8(r.Unit)}});
      sums.push_back(kZero);
    }
    sums[it->second] += r.Result;
  }
  if (totals.empty()) return out;
  out.push_back(StatementLine{StatementKind::TotalsHeading, {"名称・仕様別集計"}});
  for (size_t i = 0; i < totals.size(); ++i) {
    totals[i].Cells[5] = MoneyToPlainText(sums[i]);
    out.push_back(std::move(totals[i]));
  }
  return out;
}

}  // namespace zantro::takeoff
