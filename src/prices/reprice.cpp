#include "prices/reprice.h"

#include <algorithm>
#include <cstring>
#include <ostream>

#include "general/container.h"
#include "general/kinds.h"
#include "general/recalc.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "prices/supplier.h"

namespace zantro {
namespace {

std::string LineKey(const LineRecord& l) {
  std::string_view ns = l.NameSpec.view();
  size_t semi = ns.find(';');
  std::string_view name = ns.substr(0, semi);
  std::string_view spec = semi == std::string_view::npos ? std::string_view() : ns.substr(semi + 1);
  return MatchKey(name, spec, l.Unit.view());
}

bool Repriceable(int32_t kind) { return kind >= 10 && kind <= 29; }

std::string Readable(const LineRecord& l) { return ToUtf8(l.NameSpec.view()); }

}  // namespace

PriceLookup::PriceLookup(const std::vector<PriceLibrary>& libs) {
  std::vector<std::pair<std::string, const PriceEntry*>> all;
  for (const auto& lib : libs)
    for (const auto& e : lib.Entries) all.emplace_back(MatchKey(e.Name, e.Spec, e.Unit), &e);
  // Stable: of equal keys the first library's, the first line's entry stays first.
  std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [k, e] : all) {
    if (!keys_.empty() && keys_.back() == k) continue;
    keys_.push_back(std::move(k));
    entries_.push_back(e);
  }
}

const PriceEntry* PriceLookup::Find(const LineRecord& line) const {
  std::string key = LineKey(line);
  auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
  return it != keys_.end() && *it == key ? entries_[static_cast<size_t>(it - keys_.begin())] : nullptr;
}

void PlanSheetReprice(RepricePlan& plan, int32_t item, const std::vector<LineRecord>& lines,
                      const CalcSettings& settings, const PriceLookup& lookup, int level) {
  const size_t l = static_cast<size_t>(std::clamp(level, 1, 5) - 1);
  for (size_t r = 1; r < lines.size(); ++r) {
    const LineRecord& line = lines[r];
    if (!Repriceable(line.FLAG)) continue;
    const PriceEntry* e = lookup.Find(line);
    if (!e) {
      plan.Unmatched.emplace_back(item, static_cast<int>(r));
      continue;
    }
    LineRecord neu = line;
    neu.CostPrice = e->CostPrice;
    neu.SubPrice = e->Prices[l];
    neu.CostExtraPrice = e->CostExtra;
    neu.SubExtraPrice = e->Extras[l];
    if (neu.CostPrice == line.CostPrice && neu.SubPrice == line.SubPrice && neu.CostExtraPrice == line.CostExtraPrice &&
        neu.SubExtraPrice == line.SubExtraPrice)
      continue;
    Money qty = CutQuantity(line.SubQty, line.FLAG, settings.QuantityScale);
    neu.SubAmount = LineAmount(neu.SubPrice, qty, settings.LineRoundAddend);
    neu.CostAmount = LineAmount(neu.CostPrice, CutQuantity(line.CostQty, line.FLAG, settings.QuantityScale),
                                settings.LineRoundAddend);
    Money diff = neu.SubAmount - line.SubAmount;
    plan.Total += diff;
    plan.Changes.push_back({item, static_cast<int>(r), line, neu, diff});
  }
}

void ApplyReprice(std::vector<LineRecord>& lines, int32_t item, const RepricePlan& plan) {
  for (const auto& c : plan.Changes) {
    if (c.Item != item || c.Row >= static_cast<int>(lines.size())) continue;
    LineRecord& l = lines[static_cast<size_t>(c.Row)];
    l.CostPrice = c.New.CostPrice;
    l.SubPrice = c.New.SubPrice;
    l.CostExtraPrice = c.New.CostExtraPrice;
    l.SubExtraPrice = c.New.SubExtraPrice;
  }
}

std::string RepriceReport(const RepricePlan& plan) {
  std::string out;
  auto m = [](Money v) { return MoneyText(v); };
  int32_t item = -1;
  Money itemTotal;
  auto closeItem = [&] {
    if (item >= 0) out += "工種 " + std::to_string(item) + " 差額 " + m(itemTotal) + "\n";
  };
  for (const auto& c : plan.Changes) {
    if (c.Item != item) {
      closeItem();
      item = c.Item;
      itemTotal = kZero;
    }
    itemTotal += c.AmountDiff;
    out += "変更 工種 " + std::to_string(c.Item) + " 行 " + std::to_string(c.Row) + " " + Readable(c.Old) + " 単価 " +
           m(c.Old.SubPrice) + " → " + m(c.New.SubPrice) + " 金額差 " + m(c.AmountDiff) + "\n";
  }
  closeItem();
  for (const auto& [i, r] : plan.Unmatched) out += "該当なし 工種 " + std::to_string(i) + " 行 " + std::to_string(r) + "\n";
  out += "変更 " + std::to_string(plan.Changes.size()) + " 行　該当なし " + std::to_string(plan.Unmatched.size()) +
         " 行　差額合計 " + m(plan.Total) + "\n";
  return out;
}

namespace {

PriceFamily FamilyOfFile(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') + 1);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (name.starts_with("multidata")) return PriceFamily::Sequence;
  if (name.starts_with("treedata")) return PriceFamily::Tree;
  return PriceFamily::Code;
}

}  // namespace

int RepriceCommand(int count, char** args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> words(args, args + count);
  int level = 1;
  auto at = std::find(words.begin(), words.end(), "--level");
  if (at != words.end() && at + 1 != words.end()) {
    level = StrToIntDef(*(at + 1), 0);
    words.erase(at, at + 2);
  }
  if (words.size() < 3 || level < 1 || level > 5) {
    err << "zantro: usage: zantro --reprice DOCUMENT LIBRARY... --level N OUT  (N 1-5)\n";
    return 2;
  }
  const std::string in = words.front(), outPath = words.back();
  try {
    std::vector<PriceLibrary> libs;
    for (size_t i = 1; i + 1 < words.size(); ++i) libs.push_back(ReadLibrary(words[i], FamilyOfFile(words[i])));
    PriceLookup lookup(libs);
    ScratchFolder folder("zantro-reprice");
    OpenAndRecompute(in, folder.path(), err);
    Document doc;
    LoadHead(doc, folder.path(), "WRK");
    RepricePlan plan;
    for (int32_t n = 1; n <= doc.LastItem(); ++n) {
      if (!ItemHasSheet(doc.ItemList[n].ItemKind)) continue;
      doc.CurrentItem = n;
      ResetSheetLists(doc);
      LoadSheet(doc, folder.path(), n);
      size_t before = plan.Changes.size();
      PlanSheetReprice(plan, n, doc.LineList, doc.ItemList[n].Settings(), lookup, level);
      if (plan.Changes.size() == before) continue;
      ApplyReprice(doc.LineList, n, plan);
      if (!SaveSheet(doc, folder.path(), "WRK")) throw FileError(folder.path() + ": cannot write");
    }
    out << RepriceReport(plan);
    // The changed work files as a document, then every total recomputed as the batch does.
    std::string repriced = JoinPath(folder.path(), "repriced.znt2");
    WriteContainer(folder.path(), repriced, false, 0);
    return RecalcDocument(repriced, outPath, err);
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace zantro
