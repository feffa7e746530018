#include "prices/supplier.h"

#include <unordered_map>

#include "platform/cp932.h"
#include "platform/files.h"
#include "prices/csvtext.h"
#include "prices/xlsxread.h"

namespace zantro {
namespace {

struct MapField {
  const char* Key;
  int SupplierMapping::*Member;
};
constexpr MapField kMapFields[] = {{"Code", &SupplierMapping::Code}, {"Name", &SupplierMapping::Name},
                                   {"Spec", &SupplierMapping::Spec}, {"Unit", &SupplierMapping::Unit},
                                   {"Labour", &SupplierMapping::Labour}, {"Cost", &SupplierMapping::Cost},
                                   {"HeaderLines", &SupplierMapping::HeaderLines}};

std::string Trim(std::string_view s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  return std::string(s.substr(b, s.find_last_not_of(" \t") - b + 1));
}

// A price as suppliers write it: "¥1,234", "1,234円", " 980 ".
std::optional<Money> SupplierNumber(std::string_view text) {
  std::string t;
  const std::string yen = Sj("￥"), en = Sj("円");
  std::string s(text);
  for (const std::string& sign : {yen, en, std::string("\\")})
    for (size_t p; (p = s.find(sign)) != std::string::npos;) s.erase(p, sign.size());
  for (char c : s)
    if (c != ',' && c != ' ') t += c;
  if (t.empty()) return kZero;
  Money m;
  if (ParsePlainCurrency(t, m)) return m;
  try {
    return StrToCurr(t);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

std::string SupplierMapping::Encode() const {
  std::string out;
  for (const auto& f : kMapFields) out += std::string(f.Key) + "=" + std::to_string(this->*f.Member) + ",";
  for (int l = 0; l < 5; ++l) out += "Price" + std::to_string(l + 1) + "=" + std::to_string(Prices[static_cast<size_t>(l)]) + ",";
  return out;
}

SupplierMapping SupplierMapping::Decode(std::string_view text) {
  SupplierMapping m;
  std::string rest(text);
  while (!rest.empty()) {
    size_t comma = rest.find(',');
    std::string item = rest.substr(0, comma);
    rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
    size_t eq = item.find('=');
    if (eq == std::string::npos) continue;
    std::string key = item.substr(0, eq);
    int value = StrToIntDef(item.substr(eq + 1), -1);
    for (const auto& f : kMapFields)
      if (key == f.Key) m.*f.Member = value;
    for (int l = 0; l < 5; ++l)
      if (key == "Price" + std::to_string(l + 1)) m.Prices[static_cast<size_t>(l)] = value;
  }
  if (m.HeaderLines < 0) m.HeaderLines = 0;
  return m;
}

std::string MatchKey(std::string_view name, std::string_view spec, std::string_view unit) {
  return Trim(name) + '\x1f' + Trim(spec) + '\x1f' + Trim(unit);
}

SupplierTable ParseSupplierCsv(std::string_view bytes, int headerLines) {
  std::string converted;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    converted = ToCp932(bytes.substr(3));
    bytes = converted;
  }
  SupplierTable t;
  CsvReader reader(bytes);
  CsvRecord rec;
  int seen = 0;
  while (reader.Next(rec)) {
    if (seen++ < headerLines) {
      t.Header = rec.Fields;
      continue;
    }
    bool blank = true;
    for (const auto& f : rec.Fields) blank = blank && Trim(f).empty();
    if (blank) continue;
    t.Rows.push_back(std::move(rec.Fields));
    t.Lines.push_back(rec.Line);
  }
  return t;
}

SupplierTable ParseSupplierXlsx(std::string_view bytes, int headerLines, const std::string& fileName) {
  SupplierTable t;
  int seen = 0;
  for (auto& row : ReadFirstSheet(bytes, fileName)) {
    std::vector<std::string> cells;
    bool blank = true;
    for (const auto& c : row.Cells) {
      cells.push_back(ToCp932(c));
      blank = blank && Trim(c).empty();
    }
    if (seen++ < headerLines) {
      t.Header = std::move(cells);
      continue;
    }
    if (blank) continue;
    t.Rows.push_back(std::move(cells));
    t.Lines.push_back(row.Number);
  }
  return t;
}

SupplierTable ParseSupplierFile(std::string_view bytes, int headerLines, const std::string& fileName) {
  return EndsWithNoCase(fileName, ".xlsx") ? ParseSupplierXlsx(bytes, headerLines, fileName)
                                           : ParseSupplierCsv(bytes, headerLines);
}

std::vector<SupplierChange> PlanSupplierImport(const PriceLibrary& lib, const SupplierTable& table,
                                               const SupplierMapping& map, const std::string& fileName) {
  std::unordered_map<std::string, size_t> byCode, byKey;
  for (size_t i = 0; i < lib.Entries.size(); ++i) {
    const PriceEntry& e = lib.Entries[i];
    if (!e.Code.empty()) byCode.emplace(e.Code, i);
    byKey.emplace(MatchKey(e.Name, e.Spec, e.Unit), i);
  }
  std::vector<SupplierChange> changes;
  for (size_t r = 0; r < table.Rows.size(); ++r) {
    const auto& row = table.Rows[r];
    const int line = table.Lines[r];
    auto text = [&](int col) { return col >= 0 && static_cast<size_t>(col) < row.size() ? Trim(row[static_cast<size_t>(col)]) : std::string(); };
    auto number = [&](int col, const char* caption) -> std::optional<Money> {
      if (col < 0) return std::nullopt;
      std::string t = text(col);
      auto m = SupplierNumber(t);
      if (!m) throw LibraryError(fileName, line, col + 1, caption, "数値ではありません: " + QuoteText(t));
      return m;
    };
    std::string code = text(map.Code), name = text(map.Name), spec = text(map.Spec), unit = text(map.Unit);
    if (code.empty() && name.empty()) continue;  // a heading or a subtotal row of the list
    std::optional<size_t> at;
    if (!code.empty()) {
      if (auto it = byCode.find(code); it != byCode.end()) at = it->second;
    } else if (auto it = byKey.find(MatchKey(name, spec, unit)); it != byKey.end()) {
      at = it->second;
    }
    PriceEntry old = at ? lib.Entries[*at] : PriceEntry{};
    PriceEntry neu = old;
    if (map.Code >= 0 && !code.empty()) neu.Code = code;
    if (map.Name >= 0 && !name.empty()) neu.Name = name;
    if (map.Spec >= 0 && (at ? !spec.empty() : true)) neu.Spec = spec;
    if (map.Unit >= 0 && !unit.empty()) neu.Unit = unit;
    if (auto v = number(map.Labour, "歩掛")) neu.LabourFactor = *v;
    if (auto v = number(map.Cost, "原価単価")) neu.CostPrice = *v;
    for (size_t l = 0; l < 5; ++l)
      if (auto v = number(map.Prices[l], "単価")) neu.Prices[l] = *v;
    if (at && neu == old) continue;
    if (!at) {
      if (neu.Name.empty()) neu.Name = neu.Code;
      if (lib.Family == PriceFamily::Tree && neu.Category1.empty()) neu.Category1 = Sj("取込");
      if (lib.Family == PriceFamily::Sequence && neu.SetName.empty()) neu.SetName = neu.Name;
    }
    EntryFault fault = CheckEntry(neu, lib.Family);
    if (fault.Column) throw LibraryError(fileName, line, 0, "", fault.Why);
    changes.push_back({line, at, std::move(old), std::move(neu)});
  }
  return changes;
}

void ApplySupplierImport(PriceLibrary& lib, const std::vector<SupplierChange>& changes) {
  for (const auto& c : changes) {
    if (c.At) lib.Entries[*c.At] = c.New;
    else lib.Entries.push_back(c.New);
  }
}

}  // namespace zantro
