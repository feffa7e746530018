#include "general/sheetcsv.h"

#include "general/kinds.h"
#include "general/money.h"

namespace zantro {

std::string SheetCsv(const std::vector<LineRecord>& lines) {
  std::string out;
  for (size_t r = 1; r < lines.size(); ++r) {
    const LineRecord& l = lines[r];
    if (l.FLAG == LineKinds::Blank || l.FLAG == LineKinds::TotalLine) continue;
    std::string_view nameSpec = l.NameSpec.view();
    size_t semicolon = nameSpec.find(';');
    std::string_view name = nameSpec.substr(0, semicolon);
    std::string_view spec = semicolon == std::string_view::npos ? std::string_view() : nameSpec.substr(semicolon + 1);
    out.append(name).append(",").append(spec).append(",").append(l.Unit.view()).append(",");
    out += MoneyToPlainText(l.SubQty) + "," + MoneyToPlainText(l.SubPrice) + "," + MoneyToPlainText(l.SubAmount) + "\r\n";
  }
  return out;
}

}  // namespace zantro
