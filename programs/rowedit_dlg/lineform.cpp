#include "lineform.h"

#include <algorithm>

#include "general/engine.h"
#include "general/kinds.h"
#include "general/kindtext.h"

namespace zantro {
namespace {

// Kinds whose description the line-properties notice leaves empty.
std::string OwnText(int32_t flag) {
  switch (flag) {
    case 15: return "数量実数 金額欄";
    case 22: return "数量小数 通常単価  経費対象外";
    case 25: return "数量小数 金額欄";
    case 140: return "率計算  単価×数量(%)";
    case 160: return "金額のみ  単価をそのまま金額とする";
    default: return "";
  }
}

constexpr int32_t kOffered[] = {10, 12, 11, 20, 22, 21, 15, 25, 30, 50, 51, 52, 53, 54, 55, 56, 60, 61,
                                62, 63, 64, 65, 66, 70, 71, 72, 73, 74, 75, 76, 81, 82, 83, 84, 99, 140, 160};

// The first sort key of each group and the last key the group still holds.
constexpr int64_t kGroupFirst[] = {10000, 12000, 15000, 18000, 21000, 24000};
constexpr int64_t kGroupLast[] = {12000, 15000, 18000, 21000, 24000, 27000};

}  // namespace

LineShape ShapeOf(int32_t f) {
  if (InRange(f, 15, 18) || InRange(f, 25, 28)) return LineShape::AmountText;
  if (f == 30 || f == 130) return LineShape::Comment;
  if (InRange(f, 50, 56) || InRange(f, 70, 76)) return LineShape::RangeRate;
  if (InRange(f, 60, 66)) return LineShape::RangeLabour;
  if (f == 81 || f == 82) return LineShape::OverheadRounded;
  if (f == 83 || f == 84) return LineShape::OverheadFolded;
  if (f == 99) return LineShape::TotalLine;
  return LineShape::Priced;
}

std::string KindText(int32_t flag, const GroupNames& names) {
  std::string text = LineKindDescription(flag, names);
  if (text.empty()) text = OwnText(flag);
  // The second line of the 84 description is a note on the first; one line reads in a list.
  if (size_t br = text.find("\r\n"); br != std::string::npos) text = text.substr(0, br);
  return text.empty() ? "その他の種別 (" + std::to_string(flag) + ")" : text;
}

std::vector<KindChoice> KindChoices(const GroupNames& names) {
  std::vector<KindChoice> out;
  for (int32_t f : kOffered) out.push_back({f, KindText(f, names)});
  return out;
}

const std::vector<std::string>& RoundingChoices() {
  static const std::vector<std::string> choices = {
      "端数処理なし", "10円単位",   "100円単位",  "1,000円単位",  "1万円単位",
      "10万円単位",   "100万円単位", "有効数字2桁", "有効数字3桁", "有効数字4桁"};
  return choices;
}

int GroupOf(Money sort) {
  for (int g = 5; g > 0; --g)
    if (sort >= Money::Units(kGroupFirst[g] + 1)) return g;
  return 0;
}

Money SortKeyFor(int group, int32_t row) {
  group = std::clamp(group, 0, 5);
  int64_t key = kGroupFirst[group] + std::max<int64_t>(row, 1);
  return Money::Units(std::min(key, kGroupLast[group]));
}

LineAmounts PreviewAmounts(Document& doc, int32_t row, const LineRecord& line) {
  auto& lines = doc.LineList;
  const size_t size = lines.size();
  const LineRecord old = static_cast<size_t>(row) < size ? lines[row] : LineRecord{};
  if (static_cast<size_t>(row) >= size) lines.resize(row + 1);
  lines[row] = line;
  LineAmounts out;
  try {
    RecomputeSheet(doc, nullptr);
    out = {lines[row].CostAmount, lines[row].SubAmount};
  } catch (...) {
    if (lines.size() != size) lines.resize(size);
    else lines[row] = old;
    throw;
  }
  if (lines.size() != size) lines.resize(size);
  else lines[row] = old;
  return out;
}

}  // namespace zantro
