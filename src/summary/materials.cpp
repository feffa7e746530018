#include "summary/materials.h"

#include <algorithm>
#include <string>
#include <tuple>

#include "platform/cp932.h"

namespace zantro::summary {
namespace {

std::string Folded(std::string_view utf8) {
  std::string s(utf8);
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool Holds(const MaterialRow& row, const std::string& folded) {
  for (const std::string* field : {&row.Name, &row.Spec, &row.Unit})
    if (Folded(ToUtf8(*field)).find(folded) != std::string::npos) return true;
  return false;
}

bool Before(const MaterialRow& a, const MaterialRow& b, MaterialOrder order) {
  switch (order) {
    case MaterialOrder::Name:
      return std::tie(a.Name, a.Spec, a.Unit) < std::tie(b.Name, b.Spec, b.Unit);
    case MaterialOrder::CostAmount: return a.Amount.Cost > b.Amount.Cost;
    case MaterialOrder::SubAmount: return a.Amount.Sub > b.Amount.Sub;
    case MaterialOrder::CostQuantity: return a.CostQty > b.CostQty;
    case MaterialOrder::AsFound: break;
  }
  return false;
}

}  // namespace

std::vector<MaterialRow> SelectMaterials(const std::vector<MaterialRow>& rows, std::string_view filterUtf8,
                                         MaterialOrder order) {
  const std::string folded = Folded(filterUtf8);
  std::vector<MaterialRow> out;
  for (const MaterialRow& r : rows)
    if (folded.empty() || Holds(r, folded)) out.push_back(r);
  std::stable_sort(out.begin(), out.end(), [order](const MaterialRow& a, const MaterialRow& b) { return Before(a, b, order); });
  return out;
}

}  // namespace zantro::summary
