#include "takeoff/apply.h"

#include <cstring>
#include <map>
#include <tuple>

#include "general/errors.h"
#include "general/workfiles.h"
#include "platform/files.h"

namespace zantro::takeoff {
namespace {

constexpr const char* kDigitFile = "digit.temp";
constexpr Money kFirstGroupSort = Money::Units(10001);

std::string KeyOf(std::string_view name, std::string_view spec, std::string_view unit) {
  std::string k(name);
  k += '\0';
  k += spec;
  k += '\0';
  k += unit;
  return k;
}

std::string KeyOf(const LineRecord& l) {
  std::string_view ns = l.NameSpec.view();
  size_t semi = ns.find(';');
  std::string_view spec = semi == std::string_view::npos ? std::string_view() : ns.substr(semi + 1);
  return KeyOf(ns.substr(0, semi), spec, l.Unit.view());
}

bool IsFiller(const LineRecord& l) { return l.FLAG == 0 && l.NameSpec.empty(); }

LineRecord LineOf(const SummedLine& s, int32_t item, const CalcSettings& settings, const LineRecord* from) {
  LineRecord l{};
  if (from) {
    l = *from;
  } else {
    l.sort = kFirstGroupSort;
  }
  l.ItemNo = item;
  l.NameSpec.set(s.Name + ";" + s.Spec);
  l.Unit.set(s.Unit);
  bool whole = s.Quantity.raw % Money::kScale == 0;
  l.FLAG = whole ? kWholeKind : kDecimalKind;
  l.CostQty = l.SubQty = s.Quantity;
  l.AmountText.set("");
  l.CostAmount = LineAmount(l.CostPrice, l.CostQty, settings.LineRoundAddend);
  l.SubAmount = LineAmount(l.SubPrice, l.SubQty, settings.LineRoundAddend);
  return l;
}

}  // namespace

CalcSettings ReadDigitFile(const std::string& folder) {
  CalcSettings s;
  auto path = FindNoCase(folder, kDigitFile);
  if (!path) return s;
  std::string error;
  auto lines = ReadTextLines(*path, &error);
  if (!lines) throw FileError(std::string(kDigitFile) + ": " + error);
  Money* fields[] = {&s.LineRoundAddend, &s.Opt4RoundAddend, &s.QuantityScale, &s.Opt3Unit, &s.Opt6RoundAddend};
  for (size_t i = 0; i < lines->size(); ++i) {
    const std::string& line = (*lines)[i];
    if (line.empty()) continue;
    std::string where = std::string(kDigitFile) + ": " + std::to_string(i + 1) + "行目: ";
    if (line.size() < 13 || line.compare(0, 9, "[CUTLEVEL") != 0 || line.compare(10, 2, "]=") != 0 || line[9] < '1' ||
        line[9] > '5')
      throw FileError(where + "[CUTLEVEL1]=～[CUTLEVEL5]= の行ではありません");
    Money v;
    if (!ParsePlainCurrency(std::string_view(line).substr(12), v)) throw FileError(where + "数値ではありません");
    *fields[line[9] - '1'] = v;
  }
  CheckSettings(s);
  return s;
}

Money RoundQuantity(Money sum, const CalcSettings& settings) {
  int64_t scale = settings.QuantityScale.raw / Money::kScale;
  if (scale <= 0) scale = 100;
  Money scaled = ScaleCut(sum, Money::Units(scale), settings.Opt6RoundAddend);
  return Money::FromRaw(scaled.raw / scale);
}

std::vector<SummedLine> SumRows(const std::vector<Row>& rows, const CalcSettings& settings) {
  std::vector<SummedLine> out;
  std::map<std::string, size_t> index;
  for (const Row& r : rows) {
    auto [it, added] = index.try_emplace(KeyOf(r.Name, r.Spec, r.Unit), out.size());
    if (added) out.push_back(SummedLine{r.Name, r.Spec, r.Unit, kZero});
    out[it->second].Quantity += r.Result;
  }
  for (SummedLine& s : out) s.Quantity = RoundQuantity(s.Quantity, settings);
  return out;
}

std::vector<LineRecord> MergeLines(const std::vector<LineRecord>& lines, const std::vector<SummedLine>& summed,
                                   int32_t item, const CalcSettings& settings, const PriceLookup& lookup) {
  std::map<std::string, const LineRecord*> earlier;
  for (const LineRecord& l : lines)
    if (IsTakeoffKind(l.FLAG) && l.FLAG != kCommentKind) earlier.try_emplace(KeyOf(l), &l);
  std::vector<LineRecord> fresh;
  fresh.reserve(summed.size());
  for (const SummedLine& s : summed) {
    auto it = earlier.find(KeyOf(s.Name, s.Spec, s.Unit));
    std::optional<LineRecord> library;
    if (it == earlier.end() && lookup) library = lookup(s);
    fresh.push_back(LineOf(s, item, settings, it != earlier.end() ? it->second : library ? &*library : nullptr));
  }
  std::vector<LineRecord> out;
  out.reserve(lines.size() + fresh.size());
  size_t next = 0;
  std::optional<size_t> after;  // where lines beyond the earlier places go
  for (const LineRecord& l : lines) {
    if (!IsTakeoffKind(l.FLAG)) {
      out.push_back(l);
      continue;
    }
    if (next < fresh.size()) out.push_back(fresh[next++]);
    after = out.size();
  }
  if (!after) {
    size_t end = out.size();
    while (end > 0 && IsFiller(out[end - 1])) --end;
    after = end;
  }
  out.insert(out.begin() + static_cast<std::ptrdiff_t>(*after), fresh.begin() + static_cast<std::ptrdiff_t>(next),
             fresh.end());
  for (LineRecord& l : out) l.ItemNo = item;
  return out;
}

std::vector<LineRecord> LoadSheetLines(const std::string& folder, int32_t item) {
  std::string name = SheetFile(item, "WRK");
  auto path = FindNoCase(folder, name);
  if (!path) return {};
  std::string error;
  auto bytes = ReadFileBytes(*path, &error);
  if (!bytes) throw FileError(name + ": " + error);
  constexpr size_t kSize = sizeof(LineRecord);
  if (bytes->size() % kSize != 0)
    throw FileError(name + ": " + std::to_string(bytes->size() / kSize + 1) + "件目のレコードが途中で切れています（" +
                    std::to_string(bytes->size()) + "バイト）");
  std::vector<LineRecord> lines = DecodeRecords<LineRecord>(*bytes);
  for (size_t i = 0; i < lines.size(); ++i) {
    // The window writes 0 into the lines of a sheet it never saved under a number.
    if (lines[i].ItemNo != item && lines[i].ItemNo != 0)
      throw FileError(name + ": " + std::to_string(i + 1) + "件目のレコード（項目番号）: " +
                      std::to_string(lines[i].ItemNo) + "は" + std::to_string(item) + "ではありません");
  }
  return lines;
}

void SaveSheetLines(const std::string& folder, int32_t item, const std::vector<LineRecord>& lines) {
  std::string error;
  std::string name = SheetFile(item, "WRK");
  if (!WriteFileAtomic(ResolveNoCase(folder, name), EncodeRecords<LineRecord>(lines), &error))
    throw FileError(name + ": " + error);
}

std::vector<LineRecord> ApplyToSheet(const std::string& folder, int32_t item, const std::vector<Row>& rows,
                                     const PriceLookup& lookup) {
  CalcSettings settings = ReadDigitFile(folder);
  std::vector<LineRecord> lines = MergeLines(LoadSheetLines(folder, item), SumRows(rows, settings), item, settings, lookup);
  SaveRows(folder, item, rows);
  SaveSheetLines(folder, item, lines);
  return lines;
}

}  // namespace zantro::takeoff
