#include "summary/tables.h"

#include "platform/cp932.h"

namespace zantro::summary {
namespace {

using Int128 = __int128;

Cell Text(std::string text) { return Cell{std::move(text), std::nullopt}; }
Cell Amount(Money m) { return Cell{MoneyText(m), m}; }
Cell Quantity(Money m) { return Cell{MoneyToPlainText(m), m}; }
Cell Share(Money part, Money whole) { return Cell{ShareText(part, whole), ShareValue(part, whole)}; }
Cell Number(int64_t n) { return Cell{std::to_string(n), Money::Units(n)}; }

const char* const kLetters[kGroups] = {"A", "B", "C", "D", "E", "F"};

// Amounts with their shares of whole, and the difference of the two sides.
void AddPairCells(std::vector<Cell>& row, const Pair& p, const Pair& whole) {
  row.push_back(Amount(p.Cost));
  row.push_back(Share(p.Cost, whole.Cost));
  row.push_back(Amount(p.Sub));
  row.push_back(Share(p.Sub, whole.Sub));
  row.push_back(Amount(p.Sub - p.Cost));
}

const std::vector<std::string> kPairCaptions = {"原価", "原価構成比", "提出金額", "提出構成比", "差額"};

std::vector<std::string> WithPairCaptions(std::vector<std::string> first) {
  first.insert(first.end(), kPairCaptions.begin(), kPairCaptions.end());
  return first;
}

Table GroupTable(const Summary& s) {
  Table t{"価格グループ別", WithPairCaptions({"グループ", "名称"}), {}};
  auto row = [&](std::string key, std::string name, const Pair& p) {
    std::vector<Cell> r{Text(std::move(key)), Text(std::move(name))};
    AddPairCells(r, p, s.Document);
    t.Rows.push_back(std::move(r));
  };
  for (int g = 0; g < kGroups; ++g) row(kLetters[g], ToUtf8(s.GroupNames[static_cast<size_t>(g)]), s.Groups[static_cast<size_t>(g)]);
  row("計算", "範囲計算・諸経費・消費税の行", s.Calculated);
  row("明細計", "", s.Sheets);
  row("内訳", "内訳の諸経費・値引・消費税", s.BreakdownPart());
  row("総合計", "", s.Document);
  return t;
}

Table ItemTable(const Summary& s) {
  Table t{"工種別", WithPairCaptions({"番号", "工種名"}), {}};
  for (const ItemSummary& i : s.Items) {
    std::vector<Cell> r{Number(i.Number), Text(ToUtf8(i.Name))};
    AddPairCells(r, i.Total, s.Document);
    t.Rows.push_back(std::move(r));
  }
  std::vector<Cell> total{Text("明細計"), Text("")};
  AddPairCells(total, s.Sheets, s.Document);
  t.Rows.push_back(std::move(total));
  return t;
}

Table ItemGroupTable(const Summary& s) {
  Table t{"工種別グループ別", WithPairCaptions({"番号", "工種名", "グループ", "名称"}), {}};
  for (const ItemSummary& i : s.Items) {
    auto row = [&](std::string key, std::string name, const Pair& p) {
      if (p == Pair{}) return;  // a group the item does not use
      std::vector<Cell> r{Number(i.Number), Text(ToUtf8(i.Name)), Text(std::move(key)), Text(std::move(name))};
      AddPairCells(r, p, i.Total);
      t.Rows.push_back(std::move(r));
    };
    for (int g = 0; g < kGroups; ++g) row(kLetters[g], ToUtf8(s.GroupNames[static_cast<size_t>(g)]), i.Groups[static_cast<size_t>(g)]);
    row("計算", "範囲計算・諸経費・消費税の行", i.Calculated);
  }
  return t;
}

const char* SourceText(RateSource source) {
  switch (source) {
    case RateSource::Typed: return "入力した労務単価";
    case RateSource::LabourLine: return "歩掛行の労務単価";
    case RateSource::None: return "労務単価なし";
  }
  return "";
}

Table LabourTable(const Summary& s) {
  Table t{"労務", {"番号", "工種名", "原価人工", "提出人工", "原価労務費", "提出労務費"}, {}};
  for (const ItemSummary& i : s.Items)
    t.Rows.push_back({Number(i.Number), Text(ToUtf8(i.Name)), Quantity(i.Labour.Cost), Quantity(i.Labour.Sub),
                      Amount(i.LabourAmount.Cost), Amount(i.LabourAmount.Sub)});
  t.Rows.push_back({Text("合計"), Text(""), Quantity(s.Labour.Cost), Quantity(s.Labour.Sub), Amount(s.LabourAmount.Cost),
                    Amount(s.LabourAmount.Sub)});
  t.Rows.push_back({Text("単価"), Text(SourceText(s.Source)), Text(""), Text(""), Amount(s.Rate.Cost), Amount(s.Rate.Sub)});
  return t;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

std::optional<Money> ShareValue(Money part, Money whole) {
  if (whole == kZero) return std::nullopt;
  // Hundredths of a percent: part x 10000 / whole, rounded half away from zero.
  Int128 p = part.raw, w = whole.raw;
  const bool negative = (p < 0) != (w < 0) && p != 0;
  if (p < 0) p = -p;
  if (w < 0) w = -w;
  Int128 q = (2 * p * 10000 + w) / (2 * w);
  // As a Money of percent: 12.34 % is raw 123400.
  Int128 raw = q * 100;
  if (raw > INT64_MAX) throw MoneyOverflow("構成比");
  return Money::FromRaw(static_cast<int64_t>(negative ? -raw : raw));
}

std::string ShareText(Money part, Money whole) {
  std::optional<Money> v = ShareValue(part, whole);
  if (!v) return {};
  int64_t hundredths = v->raw / 100;
  const bool negative = hundredths < 0;
  uint64_t a = negative ? 0 - static_cast<uint64_t>(hundredths) : static_cast<uint64_t>(hundredths);
  std::string frac = std::to_string(a % 100);
  if (frac.size() < 2) frac.insert(0, "0");
  return (negative ? "-" : "") + std::to_string(a / 100) + "." + frac;
}

Table MaterialTable(const std::vector<MaterialRow>& rows) {
  Table t{"資材集計", {"名称", "規格", "単位", "原価数量", "原価金額", "提出数量", "提出金額", "行数"}, {}};
  for (const MaterialRow& m : rows)
    t.Rows.push_back({Text(ToUtf8(m.Name)), Text(ToUtf8(m.Spec)), Text(ToUtf8(m.Unit)), Quantity(m.CostQty),
                      Amount(m.Amount.Cost), Quantity(m.SubQty), Amount(m.Amount.Sub), Number(m.Lines)});
  return t;
}

std::vector<Table> SummaryTables(const Summary& s) {
  return {GroupTable(s), ItemTable(s), ItemGroupTable(s), LabourTable(s), MaterialTable(s.Materials)};
}

std::string TablesText(const std::vector<Table>& tables) {
  std::string out;
  for (size_t i = 0; i < tables.size(); ++i) {
    const Table& t = tables[i];
    if (i > 0) out += "\n";
    out += "[" + t.Title + "]\n";
    for (size_t c = 0; c < t.Captions.size(); ++c) out += (c ? "\t" : "") + t.Captions[c];
    out += "\n";
    for (const auto& row : t.Rows) {
      for (size_t c = 0; c < row.size(); ++c) out += (c ? "\t" : "") + row[c].Text;
      out += "\n";
    }
  }
  return out;
}

std::string TableCsv(const Table& table) {
  std::string out;
  auto line = [&](const std::vector<std::string>& fields) {
    for (size_t c = 0; c < fields.size(); ++c) out += (c ? "," : "") + CsvField(ToCp932(fields[c]));
    out += "\r\n";
  };
  line(table.Captions);
  for (const auto& row : table.Rows) {
    std::vector<std::string> fields;
    // Numbers as plain numbers, without thousands separators.
    for (const Cell& c : row) fields.push_back(c.Value ? MoneyToPlainText(*c.Value) : c.Text);
    line(fields);
  }
  return out;
}

}  // namespace zantro::summary
