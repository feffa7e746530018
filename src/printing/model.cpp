#include "printing/model.h"

#include <array>
#include <tuple>

#include "general/kinds.h"
#include "platform/cp932.h"

namespace zantro::printing {
namespace {

std::string Text(std::string_view cp932) { return ToUtf8(cp932); }

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// Name and specification of a line: split at the first ";".
std::pair<std::string, std::string> SplitNameSpec(std::string_view nameSpec) {
  std::string text = Text(nameSpec);
  auto semi = text.find(';');
  if (semi == std::string::npos) return {text, std::string()};
  return {text.substr(0, semi), text.substr(semi + 1)};
}

// The addressee lines with the honorific after the last one, unless it already carries one.
void Addressee(CoverData& c, const TitleRecord& t, const PrintStyle& style) {
  c.Addressee1 = Text(t.ATESAKI_1.view());
  c.Addressee2 = Text(t.ATESAKI_2.view());
  std::string& last = !c.Addressee2.empty() ? c.Addressee2 : c.Addressee1;
  if (last.empty()) return;
  for (const char* h : {"御中", "様", "殿", "各位"})
    if (EndsWith(last, h)) return;
  if (!style.Honorific.empty()) last += "　" + style.Honorific;
}

// The consumption tax inside the estimate amount. A tax item of the breakdown list holds it;
// otherwise the sheets' tax lines, which the title sums with the submitted tax on its N side.
Money CoverTax(const ParsedDocument& doc, bool cost) {
  for (const auto& item : doc.Items)
    if (item.ItemKind == ItemKinds::Tax) return cost ? item.ALLNTOTAL : item.ALLGTOTAL;
  return cost ? doc.Title.TAXGTOTAL : doc.Title.TAXNTOTAL;
}

CoverData BuildCover(const ParsedDocument& doc, const PrintStyle& style) {
  const TitleRecord& t = doc.Title;
  CoverData c;
  Addressee(c, t, style);
  c.ClientPerson = Text(t.OUTTANTO.view());
  if (!c.ClientPerson.empty() && !EndsWith(c.ClientPerson, "様")) c.ClientPerson += " 様";
  c.Construction1 = Text(t.CONSTRACT_1.view());
  c.Construction2 = Text(t.CONSTRACT_2.view());
  c.Site = Text(t.WHERE.view());
  c.Limit = Text(t.ULIMIT.view());
  c.Trade = Text(t.TRADE.view());
  c.Note = Text(t.MLIMIT.view());
  c.Number = Text(t.NUMBER.view());
  c.OwnPerson = Text(t.INTANTO.view());
  c.DateText = JapaneseDate(t.DY, t.DM, t.DD);
  c.Total = style.CostSide ? t.ALLNTOTAL : t.ALLGTOTAL;
  c.Tax = CoverTax(doc, style.CostSide);
  c.HasTax = c.Tax != kZero;
  std::string words = KanjiNumber(c.Total);
  c.AmountWords = "金" + words + "円也";
  return c;
}

Money Amount(const ItemRecord& item, bool cost) { return cost ? item.ALLNTOTAL : item.ALLGTOTAL; }

// The row of one breakdown item; Carry follows the amounts printed in the 金額 column, so
// that a page's carried total is what the reader sums on it.
BreakdownRow ItemRow(const ItemRecord& item, const PrintModel& m) {
  const int k = item.ItemKind;
  const Money a = Amount(item, m.Style.CostSide);
  BreakdownRow r;
  r.Name = Text(item.ItemName.view());
  r.Remarks = Text(item.ItemNote.view());
  if (k == ItemKinds::HeadingFirst) {
    r.Qty = "1", r.Unit = "式", r.Amount = PriceText(a), r.Carry = a, r.Style = RowStyle::Heading;
    r.QtyValue = kOne, r.AmountValue = a;
  } else if (InRange(k, 21, ItemKinds::HeadingLast)) {
    r.Indent = k - 20, r.Inner = "(" + PriceText(a) + ")", r.Style = RowStyle::Heading, r.InnerValue = a;
  } else if (InRange(k, ItemKinds::MemberFirst, ItemKinds::MemberLast)) {
    r.Indent = k - 29, r.Qty = "1", r.Unit = "式", r.Inner = PriceText(a), r.Style = RowStyle::Member;
    r.QtyValue = kOne, r.InnerValue = a;
  } else if (InRange(k, ItemKinds::OverheadIn, ItemKinds::OverheadFoldExcl)) {
    r.Amount = PriceText(a), r.Carry = a, r.AmountValue = a;
  } else if (k == ItemKinds::Reduction) {
    r.Amount = m.ReductionText + PriceText(a), r.Carry = -a, r.AmountValue = a, r.Reduction = true;
  } else if (k == ItemKinds::Tax) {
    r.Qty = MoneyToPlainText(item.TaxRate()) + "%", r.Amount = PriceText(a), r.Carry = a;
    r.QtyValue = item.TaxRate(), r.AmountValue = a;
  } else if (k == ItemKinds::Subtotal) {
    r.Amount = PriceText(a), r.Style = RowStyle::Summary, r.AmountValue = a;
  } else if (k == ItemKinds::Note) {
    std::string note = Text(item.ItemNote.view());
    r.Remarks.clear();
    if (item.ItemFlag == 15 || item.ItemFlag == 30) r.Amount = note;
    else r.Remarks = note;
    r.Style = RowStyle::Note;
  } else if (k == ItemKinds::Total) {
    r.Amount = PriceText(m.BreakdownTotal), r.Style = RowStyle::Total, r.AmountValue = m.BreakdownTotal;
    if (r.Name.empty()) r.Name = "総　合　計";
  } else {
    r.Qty = "1", r.Unit = "式", r.Amount = PriceText(a), r.Carry = a, r.QtyValue = kOne, r.AmountValue = a;
  }
  return r;
}

void BuildBreakdown(PrintModel& m, const ParsedDocument& doc) {
  bool totalRow = false;
  for (const auto& item : doc.Items) {
    m.Breakdown.push_back(ItemRow(item, m));
    totalRow = totalRow || item.ItemKind == ItemKinds::Total;
  }
  if (!totalRow) {
    BreakdownRow r;
    r.Name = "合　　計", r.Amount = PriceText(m.BreakdownTotal), r.Style = RowStyle::Total;
    r.AmountValue = m.BreakdownTotal;
    m.Breakdown.push_back(r);
  }
}

bool IsDecimalQuantityKind(int f) {
  return InRange(f, 20, 29) || InRange(f, 120, 129) || f == 140 || f == 150;
}

std::string QtyText(Money q, int f, Money scale) {
  bool fraction = MoneyToPlainText(q).find('.') != std::string::npos;
  if (IsDecimalQuantityKind(f) || ((f == 110 || InRange(f, 160, 180)) && fraction))
    return QuantityTextTrimmed(q, scale, MoneyToPlainText(q));
  return PriceText(q);
}

struct Side {
  Money Q, P, A, I;
};

// The printed cells of a line by its kind; numbers that are all zero stay blank, so caption
// lines without figures do not print rows of zeros.
SheetRow LineRow(const LineRecord& l, const ItemRecord& item, const PrintModel& m) {
  const bool cost = m.Style.CostSide;
  const Side s = cost ? Side{l.CostQty, l.CostPrice, l.CostAmount, l.CostExtraPrice}
                      : Side{l.SubQty, l.SubPrice, l.SubAmount, l.SubExtraPrice};
  const int f = l.FLAG;
  SheetRow r;
  std::tie(r.Name, r.Spec) = SplitNameSpec(l.NameSpec.view());
  r.Unit = Text(l.Unit.view());
  r.Remarks = Text(l.Remarks.view());
  const std::string text = Text(l.AmountText.view());
  auto quantity = [&] {
    if (s.Q != kZero) r.Qty = QtyText(s.Q, f, item.QuantityScale), r.QtyValue = s.Q;
  };
  auto figures = [&](const std::string& prefix) {
    quantity();
    if (s.P != kZero) r.Price = prefix + PriceText(s.P), r.PriceValue = s.P;
    if (s.Q != kZero || s.P != kZero || s.A != kZero) r.Amount = prefix + PriceText(s.A), r.AmountValue = s.A;
  };
  auto lumpSum = [&] {
    if (!r.Unit.empty()) r.Qty = "1", r.QtyValue = kOne;
    if (!r.Unit.empty() || s.A != kZero) r.Amount = PriceText(s.A), r.AmountValue = s.A;
  };
  r.Carry = IsReductionLine(f) ? -s.A : s.A;
  if (IsReductionLine(f)) figures(m.ReductionText), r.Reduction = true;
  else if (InRange(f, 15, 18) || InRange(f, 25, 28) || InRange(f, 115, 118) || InRange(f, 125, 128)) {
    quantity();
    r.Amount = text;
  } else if (f == LineKinds::Comment || f == LineKinds::TakeoffComment) r.Amount = text;
  else if (InRange(f, 60, 66)) {
    r.Qty = QuantityTextTrimmed(s.I, item.QuantityScale, MoneyToPlainText(s.I));
    r.Price = PriceText(s.P), r.Amount = PriceText(s.A);
    r.QtyValue = s.I, r.PriceValue = s.P, r.AmountValue = s.A;
  } else if (InRange(f, 50, 56) || InRange(f, 70, 76) || InRange(f, 81, 84)) lumpSum();
  else if (f == LineKinds::Tax) {
    r.Qty = MoneyToPlainText(s.Q) + "%", r.Amount = PriceText(s.A);
    r.QtyValue = s.Q, r.AmountValue = s.A;
  } else if (f == LineKinds::TotalLine) {
    if (r.Name.empty()) r.Name = "【合　　計】";
    const Money total = cost ? item.ALLNTOTAL : item.ALLGTOTAL;
    r.Amount = PriceText(total), r.Carry = kZero, r.Style = RowStyle::Total, r.AmountValue = total;
  } else if (f == LineKinds::Blank) r.Style = RowStyle::Blank;
  else figures("");
  return r;
}

bool IsEmptyBlank(const LineRecord& l) {
  return l.FLAG == LineKinds::Blank && l.NameSpec.view().find_first_not_of(" ;") == std::string_view::npos &&
         l.Remarks.empty();
}

SheetData BuildSheet(int32_t number, const ItemRecord& item, const std::vector<LineRecord>& lines,
                     const PrintModel& m) {
  SheetData sheet;
  sheet.ItemNumber = number;
  sheet.Name = Text(item.ItemName.view());
  sheet.Total = Amount(item, m.Style.CostSide);
  size_t end = lines.size();
  while (end > 0 && IsEmptyBlank(lines[end - 1])) --end;  // filler lines after the last line
  bool total = false;
  for (size_t i = 0; i < end; ++i) {
    sheet.Rows.push_back(LineRow(lines[i], item, m));
    total = total || lines[i].FLAG == LineKinds::TotalLine;
  }
  if (!total && end > 0) {
    SheetRow r;
    r.Name = "【合　　計】", r.Amount = PriceText(sheet.Total), r.Style = RowStyle::Total;
    r.AmountValue = sheet.Total;
    sheet.Rows.push_back(r);
  }
  return sheet;
}

void BuildSheets(PrintModel& m, const ParsedDocument& doc) {
  static const std::vector<LineRecord> none;
  for (int32_t n = 1; n <= doc.ItemCount(); ++n) {
    const ItemRecord& item = doc.Items[n - 1];
    if (!ItemHasSheet(item.ItemKind)) continue;
    // One sheet's print data keeps the lines under the item's own number.
    auto it = m.SingleSheet && doc.Lines.size() == 1 ? doc.Lines.begin() : doc.Lines.find(n);
    const auto& lines = it == doc.Lines.end() ? none : it->second;
    SheetData sheet = BuildSheet(it == doc.Lines.end() ? n : it->first, item, lines, m);
    if (!sheet.Rows.empty()) m.Sheets.push_back(std::move(sheet));
  }
}

}  // namespace

PrintModel BuildPrintModel(const ParsedDocument& doc, const PrintStyle& style, const ModelOptions& options) {
  PrintModel m;
  m.Style = style;
  m.SingleSheet = options.SingleSheet;
  m.ReductionText = options.ReductionText.empty() ? style.Reduction : options.ReductionText;
  std::string c1 = Text(doc.Title.CONSTRACT_1.view()), c2 = Text(doc.Title.CONSTRACT_2.view());
  m.Construction = c1.empty() || c2.empty() ? c1 + c2 : c1 + "　" + c2;
  m.Cover = BuildCover(doc, style);
  m.BreakdownTotal = m.Cover.Total;
  BuildBreakdown(m, doc);
  BuildSheets(m, doc);
  return m;
}

std::string JapaneseDate(int32_t dy, int32_t dm, int32_t dd) {
  if (dm < 1 || dm > 12 || dd < 1 || dd > 31) return "";
  int64_t year = int64_t{dy} + 1988;
  int64_t key = year * 10000 + dm * 100 + dd;
  const char* era = "令和";
  int64_t eraYear = year - 2018;
  if (key < 20190501) era = "平成", eraYear = year - 1988;
  if (key < 19890108) era = "昭和", eraYear = year - 1925;
  if (eraYear < 1) return std::to_string(year) + "年" + std::to_string(dm) + "月" + std::to_string(dd) + "日";
  std::string y = eraYear == 1 ? "元" : std::to_string(eraYear);
  return std::string(era) + y + "年" + std::to_string(dm) + "月" + std::to_string(dd) + "日";
}

std::string KanjiNumber(Money amount) {
  static const std::array<const char*, 10> digits{"〇", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
  static const std::array<const char*, 4> places{"", "十", "百", "千"};
  static const std::array<const char*, 5> groups{"", "万", "億", "兆", "京"};
  __extension__ using i128 = __int128;
  i128 raw = amount.raw;
  bool negative = raw < 0;
  uint64_t n = static_cast<uint64_t>(((negative ? -raw : raw) + Money::kScale / 2) / Money::kScale);
  if (n == 0) return "零";
  std::string out;
  for (int g = 4; g >= 0; --g) {
    uint64_t unit = 1;
    for (int i = 0; i < g; ++i) unit *= 10000;
    uint64_t part = n / unit % 10000;
    if (part == 0) continue;
    for (int p = 3; p >= 0; --p) {
      uint64_t d = part / (p == 3 ? 1000 : p == 2 ? 100 : p == 1 ? 10 : 1) % 10;
      if (d == 0) continue;
      if (d != 1 || p == 0) out += digits[d];
      out += places[p];
    }
    out += groups[g];
  }
  return negative ? "マイナス" + out : out;
}

std::string PriceText(Money v) {
  std::string plain = MoneyToPlainText(v);
  auto dot = plain.find('.');
  if (dot == std::string::npos) return MoneyText(v);
  std::string whole = MoneyText(Cut(v));
  if (v.raw < 0 && whole.front() != '-') whole = "-" + whole;
  return whole + plain.substr(dot);
}

}  // namespace zantro::printing
