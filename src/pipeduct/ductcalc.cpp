#include "pipeduct/ductcalc.h"

#include <cstdint>

#include "general/errors.h"
#include "prices/csvtext.h"

namespace zantro {
namespace {

__extension__ using i128 = __int128;

Money Checked(i128 raw, const char* what) {
  if (raw > INT64_MAX || raw < INT64_MIN) throw MoneyOverflow(what);
  return Money::FromRaw(static_cast<int64_t>(raw));
}

// raw cut toward zero to three decimals (the last of Money's four digits dropped).
i128 Cut3(i128 raw) { return raw - raw % 10; }

std::string Plain(Money v) { return MoneyToPlainText(v); }

std::string AllowanceText(Money allowance) {
  return allowance == kZero ? std::string() : "×(1+" + Plain(allowance) + "%)";
}

}  // namespace

Money ProductCut3(Money a, Money b) {
  return Checked(Cut3(static_cast<i128>(a.raw) * b.raw / Money::kScale), "数量の計算");
}

std::string QuantityShown(Money q) {
  std::string t = Plain(q);
  return t.find('.') == std::string::npos ? t + ".0" : t;
}

Computation RectDuctArea(Money w, Money h, Money length, Money allowance) {
  // perimeter (mm) x length (m) x (100 + allowance) / 100 / 1000, one exact product cut once.
  i128 perimeter = 2 * (static_cast<i128>(w.raw) + h.raw);  // scale 10^4
  i128 p = perimeter * length.raw / Money::kScale;         // mm·m, scale 10^4
  p = p * (100 * static_cast<i128>(Money::kScale) + allowance.raw) / (100 * static_cast<i128>(Money::kScale));
  Money area = Checked(Cut3(p / 1000), "ダクト面積");
  std::string text = "2×(" + Plain(w) + "+" + Plain(h) + ")×" + Plain(length) + " m" + AllowanceText(allowance) +
                     " = " + QuantityShown(area) + " m²";
  return {area, text};
}

Computation FittingArea(Money w, Money h, Money equivalent, Money count) {
  i128 perimeter = 2 * (static_cast<i128>(w.raw) + h.raw);
  i128 p = perimeter * equivalent.raw / Money::kScale * count.raw / Money::kScale;
  Money area = Checked(Cut3(p / 1000), "継手面積");
  std::string text = "2×(" + Plain(w) + "+" + Plain(h) + ")×" + Plain(equivalent) + " m×" + Plain(count) +
                     " = " + QuantityShown(area) + " m²";
  return {area, text};
}

Computation RoundDuctLength(Money diameter, Money length) {
  return {length, "φ" + Plain(diameter) + " " + Plain(length) + " m"};
}

Computation Pieces(std::string_view what, Money count, std::string_view unit) {
  return {count, std::string(what) + " × " + Plain(count) + " " + std::string(unit)};
}

std::vector<ThicknessRow> ParseThicknessTable(std::string_view bytes, const std::string& file) {
  static const char* kColumns[] = {"長辺(mm以下)", "板厚(mm)"};
  std::vector<ThicknessRow> rows;
  CsvReader reader(bytes);
  CsvRecord rec;
  bool header = false;
  auto number = [&](const std::string& field, int column) {
    Money v;
    if (!ParsePlainCurrency(field, v) || v <= kZero)
      throw LibraryError(file, rec.Line, column, kColumns[column - 1], "正の数ではありません");
    return v;
  };
  while (reader.Next(rec)) {
    if (rec.Fields.size() == 1 && rec.Fields[0].empty()) continue;
    if (!rec.Fields.empty() && !rec.Fields[0].empty() && rec.Fields[0][0] == '#') continue;
    if (!header) {
      header = true;
      continue;  // the captions are for the person who edits the table
    }
    if (rec.Fields.size() < 2) throw LibraryError(file, rec.Line, 2, kColumns[1], "板厚がありません");
    ThicknessRow row;
    if (!rec.Fields[0].empty()) row.UpToMm = number(rec.Fields[0], 1);
    row.ThicknessMm = number(rec.Fields[1], 2);
    if (!rows.empty() && (!rows.back().UpToMm || (row.UpToMm && *row.UpToMm <= *rows.back().UpToMm)))
      throw LibraryError(file, rec.Line, 1, kColumns[0], "長辺は上の行より大きくしてください");
    rows.push_back(row);
  }
  if (rows.empty()) throw LibraryError(file, 1, 0, "", "板厚の行がありません");
  return rows;
}

std::optional<Money> ThicknessFor(const std::vector<ThicknessRow>& table, Money longSide) {
  for (const ThicknessRow& r : table)
    if (!r.UpToMm || longSide <= *r.UpToMm) return r.ThicknessMm;
  return std::nullopt;
}

const PriceEntry* EntryByNumber(const PriceLibrary& lib, Money key) {
  for (const PriceEntry& e : lib.Entries) {
    Money v;
    if (ParsePlainCurrency(e.Code, v) && v == key) return &e;
  }
  return nullptr;
}

}  // namespace zantro
