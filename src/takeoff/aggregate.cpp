#include "takeoff/aggregate.h"

#include <algorithm>

#include "general/errors.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "takeoff/apply.h"

namespace zantro::takeoff {
namespace {

constexpr const char* kHeader = "TAKESUM\t1";

std::pair<std::string, std::string> SplitNameSpec(std::string_view ns) {
  size_t semi = ns.find(';');
  if (semi == std::string_view::npos) return {std::string(ns), {}};
  return {std::string(ns.substr(0, semi)), std::string(ns.substr(semi + 1))};
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> out(1);
  for (char c : line) {
    if (c == '\t') out.emplace_back();
    else out.back().push_back(c);
  }
  return out;
}

// Takeoff lines that carry a quantity: not the subtotal comments.
bool Counted(const LineRecord& l) { return IsTakeoffKind(l.FLAG) && l.FLAG != kCommentKind; }

}  // namespace

std::string SubtotalName(char group) { return ToCp932("小計（") + group + ToCp932("）"); }

std::vector<SortEntry> OrderTakeoffLines(const std::vector<LineRecord>& lines) {
  std::vector<const LineRecord*> taken;
  for (const LineRecord& l : lines)
    if (Counted(l)) taken.push_back(&l);
  std::stable_sort(taken.begin(), taken.end(), [](const LineRecord* a, const LineRecord* b) {
    int ga = PriceGroupOf(a->sort), gb = PriceGroupOf(b->sort);
    if (ga != gb) return ga < gb;
    auto [an, as] = SplitNameSpec(a->NameSpec.view());
    auto [bn, bs] = SplitNameSpec(b->NameSpec.view());
    return std::tie(an, as) < std::tie(bn, bs) || (std::tie(an, as) == std::tie(bn, bs) && a->Unit.view() < b->Unit.view());
  });
  std::vector<SortEntry> out;
  for (size_t i = 0; i < taken.size(); ++i) {
    const LineRecord& l = *taken[i];
    char group = static_cast<char>('A' + PriceGroupOf(l.sort));
    auto [name, spec] = SplitNameSpec(l.NameSpec.view());
    out.push_back(SortEntry{false, group, name, spec, l.Unit.str(), l.SubQty, l.SubAmount, 0});
    bool last = i + 1 == taken.size() || PriceGroupOf(taken[i + 1]->sort) != PriceGroupOf(l.sort);
    if (!last) continue;
    SortEntry sub{true, group, {}, {}, {}, kZero, kZero, 0};
    for (auto it = out.rbegin(); it != out.rend() && !it->Subtotal && it->Group == group; ++it) {
      sub.Amount += it->Amount;
      ++sub.Count;
    }
    out.push_back(sub);
  }
  return out;
}

std::vector<LineRecord> RewriteInOrder(const std::vector<LineRecord>& lines, int32_t item) {
  std::vector<SortEntry> order = OrderTakeoffLines(lines);
  std::vector<const LineRecord*> taken;
  for (const LineRecord& l : lines)
    if (Counted(l)) taken.push_back(&l);
  // The same order over the records themselves (OrderTakeoffLines keeps equal lines in order).
  std::vector<LineRecord> ordered;
  std::vector<bool> used(taken.size());
  for (const SortEntry& e : order) {
    if (e.Subtotal) {
      LineRecord c{};
      c.ItemNo = item;
      c.FLAG = kCommentKind;
      c.sort = Money::Units(10001 + 3000 * (e.Group - 'A'));
      c.NameSpec.set(SubtotalName(e.Group) + ";");
      c.AmountText.set(MoneyText(e.Amount));
      ordered.push_back(c);
      continue;
    }
    for (size_t i = 0; i < taken.size(); ++i) {
      if (used[i]) continue;
      const LineRecord& l = *taken[i];
      auto [name, spec] = SplitNameSpec(l.NameSpec.view());
      if (name == e.Name && spec == e.Spec && l.Unit.view() == e.Unit && 'A' + PriceGroupOf(l.sort) == e.Group) {
        used[i] = true;
        ordered.push_back(l);
        break;
      }
    }
  }
  std::vector<LineRecord> out;
  size_t next = 0;
  std::optional<size_t> after;
  for (const LineRecord& l : lines) {
    if (!IsTakeoffKind(l.FLAG)) {
      out.push_back(l);
      continue;
    }
    if (next < ordered.size()) out.push_back(ordered[next++]);
    after = out.size();
  }
  if (after) out.insert(out.begin() + static_cast<std::ptrdiff_t>(*after), ordered.begin() + static_cast<std::ptrdiff_t>(next), ordered.end());
  for (LineRecord& l : out) l.ItemNo = item;
  return out;
}

std::vector<std::string> SortFileLines(const std::vector<SortEntry>& order) {
  std::vector<std::string> out{kHeader};
  for (const SortEntry& e : order) {
    std::string g(1, e.Group);
    if (e.Subtotal)
      out.push_back("S\t" + g + "\t" + std::to_string(e.Count) + "\t" + MoneyToPlainText(e.Amount));
    else
      out.push_back("L\t" + g + "\t" + e.Name + "\t" + e.Spec + "\t" + e.Unit + "\t" + MoneyToPlainText(e.Quantity) +
                    "\t" + MoneyToPlainText(e.Amount));
  }
  return out;
}

std::vector<SortEntry> ParseSortFile(const std::vector<std::string>& lines, const std::string& fileName) {
  auto fail = [&](size_t n, const std::string& why) -> FileError {
    return FileError(fileName + ": " + std::to_string(n) + "行目: " + why);
  };
  if (lines.empty()) return {};
  if (lines[0] != kHeader) throw fail(1, "調書集計の並びではありません");
  std::vector<SortEntry> out;
  for (size_t i = 1; i < lines.size(); ++i) {
    size_t n = i + 1;
    std::vector<std::string> f = SplitTabs(lines[i]);
    SortEntry e;
    if (f[0] != "L" && f[0] != "S") throw fail(n, "行の種類「" + ToUtf8(f[0]) + "」は L でも S でもありません");
    e.Subtotal = f[0] == "S";
    if (f.size() != (e.Subtotal ? 4u : 7u)) throw fail(n, "欄の数が" + std::to_string(f.size()) + "です");
    if (f[1].size() != 1 || f[1][0] < 'A' || f[1][0] > 'F') throw fail(n, "2欄目（グループ）が A～F ではありません");
    e.Group = f[1][0];
    auto number = [&](const std::string& t, const char* what) {
      Money m;
      if (!ParsePlainCurrency(t, m)) throw fail(n, std::string(what) + "「" + ToUtf8(t) + "」が数値ではありません");
      return m;
    };
    if (e.Subtotal) {
      e.Count = StrToIntDef(f[2], -1);
      if (e.Count < 0) throw fail(n, "3欄目（件数）「" + ToUtf8(f[2]) + "」が整数ではありません");
      e.Amount = number(f[3], "4欄目（金額）");
    } else {
      e.Name = f[2];
      e.Spec = f[3];
      e.Unit = f[4];
      e.Quantity = number(f[5], "6欄目（数量）");
      e.Amount = number(f[6], "7欄目（金額）");
    }
    out.push_back(std::move(e));
  }
  return out;
}

std::vector<SortEntry> LoadSortFile(const std::string& folder, int32_t item) {
  std::string name = SortFile(item);
  auto path = FindNoCase(folder, name);
  if (!path) return {};
  std::string error;
  auto lines = ReadTextLines(*path, &error);
  if (!lines) throw FileError(name + ": " + error);
  return ParseSortFile(*lines, name);
}

std::vector<SortEntry> AggregateSheet(const std::string& folder, int32_t item) {
  std::vector<LineRecord> lines = LoadSheetLines(folder, item);
  LoadSortFile(folder, item);
  std::vector<SortEntry> order = OrderTakeoffLines(lines);
  std::vector<LineRecord> rewritten = RewriteInOrder(lines, item);
  std::string error, name = SortFile(item);
  if (!WriteTextLines(ResolveNoCase(folder, name), SortFileLines(order), &error)) throw FileError(name + ": " + error);
  SaveSheetLines(folder, item, rewritten);
  return order;
}

}  // namespace zantro::takeoff
