#include "prices/registration.h"

#include "platform/cp932.h"
#include "platform/files.h"

namespace zantro {
namespace {

const char* const kFieldNames[] = {"名称", "仕様", "単位", "歩掛", "予備", "原価単価", "単価1", "単価2", "単価3",
                                   "単価4", "単価5", "原価付帯単価", "付帯単価1", "付帯単価2", "付帯単価3",
                                   "付帯単価4", "付帯単価5", "備考"};
constexpr int kFields = 18;

}  // namespace

std::vector<PriceEntry> ParseRegistration(std::string_view bytes, const std::string& fileName) {
  std::vector<PriceEntry> out;
  auto lines = SplitLines(bytes);
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::string& text = lines[n];
    const int lineNo = static_cast<int>(n + 1);
    if (text.find_first_not_of(" \t") == std::string::npos) continue;
    std::vector<std::string_view> f;
    size_t pos = 0;
    for (size_t semi; f.size() < kFields && (semi = text.find(';', pos)) != std::string::npos; pos = semi + 1)
      f.push_back(std::string_view(text).substr(pos, semi - pos));
    if (f.size() < kFields)
      throw LibraryError(fileName, lineNo, static_cast<int>(f.size() + 1), kFieldNames[f.size()],
                         "項目が足りません（18項目、それぞれ「;」で終わります）");
    auto money = [&](int i) {
      try {
        return TextToMoney(f[static_cast<size_t>(i)]);
      } catch (const std::exception&) {
        throw LibraryError(fileName, lineNo, i + 1, kFieldNames[i],
                           "数値ではありません: " + QuoteText(f[static_cast<size_t>(i)]));
      }
    };
    PriceEntry e;
    e.Name = f[0];
    e.Spec = f[1];
    e.Unit = f[2];
    e.LabourFactor = money(3);
    e.CostPrice = money(5);
    for (int l = 0; l < 5; ++l) e.Prices[static_cast<size_t>(l)] = money(6 + l);
    e.CostExtra = money(11);
    for (int l = 0; l < 5; ++l) e.Extras[static_cast<size_t>(l)] = money(12 + l);
    e.Remarks = f[17];
    out.push_back(std::move(e));
  }
  return out;
}

}  // namespace zantro
