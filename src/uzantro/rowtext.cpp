#include "uzantro/rowtext.h"

#include <optional>
#include <vector>

#include "general/kinds.h"
#include "general/kindtext.h"
#include "general/money.h"
#include "platform/cp932.h"

namespace zantro {
namespace {

struct Side {
  Money Q, P, A, I;
};

Side SideOf(const LineRecord& l, int amountSide) {
  if (amountSide == 1) return {l.CostQty, l.CostPrice, l.CostAmount, l.CostExtraPrice};
  return {l.SubQty, l.SubPrice, l.SubAmount, l.SubExtraPrice};
}

std::string Qty(Money q, const RowView& v) { return QuantityText(q, v.QuantityScale); }

// Kinds 110 and 160..180 show a quantity with a fraction in the quantity format.
std::string TakeoffQty(Money q, const RowView& v) {
  return MoneyToPlainText(q).find('.') != std::string::npos ? Qty(q, v) : MoneyText(q);
}

const char* RangeLabel(int kind) {
  static const char* amount[] = {"全単価", "A単価", "B単価", "C単価", "D単価", "E単価", "F単価"};
  static const char* labour[] = {"全歩掛", "A歩掛", "B歩掛", "C歩掛", "D歩掛", "E歩掛", "F歩掛"};
  static const char* extra[] = {"全付帯", "A付帯", "B付帯", "C付帯", "D付帯", "E付帯", "F付帯"};
  if (InRange(kind, 50, 56)) return amount[kind - 50];
  if (InRange(kind, 60, 66)) return labour[kind - 60];
  return extra[kind - 70];
}

bool IsRangeWithCells(int kind) {
  return InRange(kind, 50, 56) || InRange(kind, 60, 66) || InRange(kind, 70, 76);
}

// The cells that depend on the line kind; spec is the specification part (range lines
// append their range to it).
void KindCells(RowTexts& c, const LineRecord& l, const Side& s, const RowView& v, std::string& spec) {
  const int k = v.k(), f = l.FLAG;
  std::string& qty = c[k + 5];
  std::string& price = c[k + 6];
  std::string& amount = c[k + 7];
  std::string text = ToUtf8(l.AmountText.view());
  if (f == 10 || f == 12) qty = MoneyText(s.Q), price = MoneyText(s.P), amount = MoneyText(s.A);
  else if (f == 11) qty = MoneyText(s.Q), price = v.Gengaku + MoneyText(s.P), amount = v.Gengaku + MoneyText(s.A);
  else if (InRange(f, 15, 18) || InRange(f, 115, 118)) qty = MoneyText(s.Q), amount = text;
  else if (f == 20 || f == 22 || f == 120) qty = Qty(s.Q, v), price = MoneyText(s.P), amount = MoneyText(s.A);
  else if (f == 21) qty = Qty(s.Q, v), price = v.Gengaku + MoneyText(s.P), amount = v.Gengaku + MoneyText(s.A);
  else if (InRange(f, 25, 28) || InRange(f, 125, 128)) qty = Qty(s.Q, v), amount = text;
  else if (f == 30 || f == 130) amount = text;
  else if (IsRangeWithCells(f)) {
    if (InRange(f, 60, 66)) qty = Qty(s.I, v), price = MoneyText(s.P);
    else qty = MoneyText(s.P) + "%";
    amount = MoneyText(s.A);
    c[k + 2] = RangeLabel(f);
    spec += " [" + MoneyToPlainText(l.CostQty) + "～" + MoneyToPlainText(l.SubQty) + "]" + DigitNote(l.LabourFactor);
  } else if (InRange(f, 81, 84)) {
    static const char* labels[] = {"経費内", "経費外", "経費含", "経費抜"};
    qty = Qty(s.Q, v), amount = MoneyText(s.A), c[k + 2] = labels[f - 81];
  } else if (f == 90) qty = MoneyToPlainText(s.Q), amount = MoneyText(s.A), c[k + 3] = "税";
  else if (f == 99) c[1] = "【合　　計】", c[k + 3] = "\\";
  else if (f == 110) qty = TakeoffQty(s.Q, v), price = MoneyText(s.P), amount = MoneyText(s.A);
  else if (f == 140 || f == 150) qty = Qty(s.Q, v), price = MoneyText(s.P), amount = MoneyText(s.A), c[k + 3] = "拾";
  else if (f == 160 || f == 170 || f == 180)
    qty = TakeoffQty(s.Q, v), price = MoneyText(s.P), amount = MoneyText(s.A), c[k + 3] = "拾";
}

}  // namespace

std::string DigitNote(Money labourFactor) {
  static const char* notes[] = {"※有効桁1", "※有効桁10", "※有効桁100", "※有効桁1000", "※有効桁10000",
                                "※有効桁100000", "※有効桁1000000", "※有効2桁", "※有効3桁", "※有効4桁"};
  int64_t code = Cut(labourFactor).raw / Money::kScale;
  return code >= 0 && code <= 9 ? notes[code] : "";
}

RowTexts FormatRowTexts(const LineRecord& l, const RowView& v) {
  RowTexts c;
  const int k = v.k();
  std::string nameSpec = ToUtf8(l.NameSpec.view());
  auto semi = nameSpec.find(';');
  std::string name = semi == std::string::npos ? nameSpec : nameSpec.substr(0, semi);
  std::string spec = semi == std::string::npos ? std::string() : nameSpec.substr(semi + 1);

  c[k + 4] = ToUtf8(l.Unit.view());
  if (l.LabourFactor != kZero) c[k + 2] = QuantityText(l.LabourFactor, Money::Units(1000));
  c[k + 3] = GroupLetter(l.sort, l.FLAG);

  Side s = SideOf(l, v.AmountSide);
  KindCells(c, l, s, v, spec);

  if (v.PriceKind == 1) {
    if (InRange(l.FLAG, 70, 76)) {
      c[k + 5] = MoneyText(s.P) + "%", c[k + 6].clear(), c[k + 7] = MoneyText(s.A);
    } else {
      c[k + 6] = MoneyText(s.I);
      c[k + 7] = MoneyText(LineAmount(s.I, s.Q, v.LineRoundAddend));
    }
  }
  if (k == 1) c[1] = name, c[2] = spec;
  else c[1] = name + " " + spec;
  c[k + 8] = ToUtf8(l.Remarks.view());
  return c;
}

std::array<std::string, 10> SheetHeaders(const RowView& v) {
  std::array<std::string, 10> h;
  const int k = v.k();
  h[0] = "No";
  if (k == 1) h[1] = "品　名＆名  称", h[2] = "仕  様＆型  番";
  else h[1] = "名    称　＆　仕　　様";
  h[k + 2] = "歩 掛";
  h[k + 3] = "GR";
  h[k + 4] = "単位";
  h[k + 5] = "数  量";
  h[k + 6] = v.PriceKind == 1 ? "付帯単価" : "単  価";
  h[k + 7] = v.AmountSide == 0 ? "金  額[提 出]" : v.AmountSide == 1 ? "金  額[原 価]" : "金    額";
  h[k + 8] = "備    考";
  return h;
}

namespace {

// The group name for the same sort-key ranges as the letter; nullopt when none matches.
std::optional<std::string> GroupNameOf(Money sort, const std::array<std::string, 6>& names) {
  std::string letter = GroupLetter(sort, 10);
  if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'F') return std::nullopt;
  return ToUtf8(names[letter[0] - 'A']);
}

}  // namespace

std::string LinePropertiesText(int row, const LineRecord& l, const std::string& nameCell,
                               const std::array<std::string, 6>& groupNames) {
  const int f = l.FLAG;
  auto p = [](Money m) { return MoneyToPlainText(m); };
  std::vector<std::string> lines;
  lines.push_back("No : " + std::to_string(row) + " デ－タのプロパティ");
  lines.push_back("============================================");
  lines.push_back("名       称  =  " + nameCell);
  auto group = GroupNameOf(l.sort, groupNames);
  lines.push_back(group ? "グ ル － プ  =  " + *group : "");
  lines.push_back(f == 12 || f == 22 ? "経 費 計 算 = 対 象 外" : "経 費 計 算 = 対    象");
  std::string desc = LineKindDescription(f, groupNames);
  if (InRange(f, 15, 18)) desc = "数量実数 金額欄" + ToUtf8(l.AmountText.view());
  if (InRange(f, 25, 28)) desc = "数量小数 金額欄" + ToUtf8(l.AmountText.view());
  lines.push_back(desc);
  if (!InRange(f, 50, 76)) {
    lines.insert(lines.end(), {"----------------------------------[提 出]---", "歩    掛     =  " + p(l.LabourFactor),
                               "提 出 数 量  =  " + p(l.SubQty), "提 出 単 価  =  " + p(l.SubPrice),
                               "提 出 金 額  =  " + p(l.SubAmount), "付 帯 単 価  =  " + p(l.SubExtraPrice),
                               "----------------------------------[原 価]---", "数 量 原 価  =  " + p(l.CostQty),
                               "原 価 単 価  =  " + p(l.CostPrice), "原 価 金 額  =  " + p(l.CostAmount),
                               "付 帯 単 価  =  " + p(l.CostExtraPrice)});
  } else {
    bool rate = !InRange(f, 60, 66);
    auto rateLine = [&](Money price) { return rate ? "掛 け 率  =  " + p(price) + "%" : "単    価  =  " + p(price); };
    lines.push_back("計算対象範囲  =  " + p(l.CostQty) + "～" + p(l.SubQty));
    lines.insert(lines.end(), {"----------------------------------[提 出]---", rateLine(l.SubPrice),
                               "金    額  =  " + p(l.SubAmount), "付 帯 単 価  =  " + p(l.SubExtraPrice),
                               "----------------------------------[原 価]---", rateLine(l.CostPrice),
                               "金    額  =  " + p(l.CostAmount), "付 帯 単 価  =  " + p(l.CostExtraPrice)});
  }
  lines.insert(lines.end(), {"--------------------------------------------", "sort = " + p(l.sort),
                             "FLAG = " + std::to_string(f), "============================================"});
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\r\n" : "") + lines[i];
  return out;
}

}  // namespace zantro
