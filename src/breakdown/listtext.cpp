#include "breakdown/listtext.h"

#include "breakdown/listchanges.h"
#include "platform/cp932.h"

namespace zantro {
namespace {

std::string Indent(int32_t levels) {
  std::string s;
  for (int32_t i = 0; i < levels; ++i) s += "　";
  return s;
}

std::string Bracketed(const char* open, Money v, const char* close) { return open + MoneyText(v) + close; }

}  // namespace

const ListRowTexts& ListCaptions() {
  static const ListRowTexts captions = {"", "FG", "内 訳 名 称", "合計金額", "内訳金額", "原    価", "差   額", "備     考"};
  return captions;
}

std::string RangeText(const ItemRecord& item) {
  return "[" + MoneyToPlainText(Money::Units(RangeStartRow(item))) + "]～[" +
         MoneyToPlainText(Money::Units(RangeEndRow(item))) + "]";
}

ListRowTexts ListRowTextsFor(const Document& doc, int32_t r, const std::string& reductionText) {
  const ItemRecord& it = doc.ItemList.at(r);
  const Money sub = it.ALLGTOTAL, cost = it.ALLNTOTAL;
  const std::string name = ToUtf8(it.ItemName.view());
  ListRowTexts t;
  t[0] = std::to_string(r);
  t[2] = name;
  t[7] = ToUtf8(it.ItemNote.view());
  t[5] = MoneyText(cost);
  t[3] = MoneyText(sub);
  t[6] = MoneyText(sub - cost);
  const int32_t k = it.ItemKind;
  if (k == 20) {
    t[1] = "→";
    t[3] = Bracketed("[", sub, "]");
    t[5] = Bracketed("[", cost, "]");
    t[4] = RangeText(it);
  } else if (InRange(k, 21, 29)) {
    t[1] = "→";
    t[2] = Indent(k - 20) + name;
    t[3] = Bracketed("(", sub, ")");
    t[5] = Bracketed("(", cost, ")");
    t[4] = RangeText(it);
  } else if (InRange(k, 30, 39)) {
    t[2] = Indent(k - 29) + name;
    t[3].clear();
    t[4] = MoneyText(sub);
  } else if (k == ItemKinds::Reduction) {
    t[5] = reductionText + MoneyText(cost);
    t[3] = reductionText + MoneyText(sub);
    t[6] = MoneyText(cost - sub);
  } else if (k == ItemKinds::Subtotal) {
    t[4] = RangeText(it);
  } else if (k == ItemKinds::Note) {
    t[3] = t[5] = t[6] = t[7] = "";
    (it.ItemFlag == 15 || it.ItemFlag == 30 ? t[3] : t[7]) = ToUtf8(it.ItemNote.view());
  } else if (k == ItemKinds::Total) {
    t[1] = "\\";  // the yen mark of Japanese fonts
    t[5] = MoneyText(doc.Breakdown.Cost);
    t[3] = MoneyText(doc.Breakdown.Sub);
    t[6] = MoneyText(doc.Breakdown.Sub - doc.Breakdown.Cost);
  }
  return t;
}

}  // namespace zantro
