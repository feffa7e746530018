#include "compare/compare.h"

#include <array>
#include <map>
#include <unordered_map>
#include <utility>

#include "general/kinds.h"
#include "platform/cp932.h"

namespace zantro::compare {
namespace {

using Wide = __int128;

std::string WideFigure(Wide v) {
  const bool negative = v < 0;
  unsigned __int128 a = negative ? static_cast<unsigned __int128>(-(v + 1)) + 1 : static_cast<unsigned __int128>(v);
  unsigned __int128 whole = a / Money::kScale;
  unsigned fraction = static_cast<unsigned>(a % Money::kScale);
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(whole % 10)));
    whole /= 10;
  } while (whole > 0);
  std::string text;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  if (fraction != 0) {
    std::string f = std::to_string(fraction + Money::kScale).substr(1);  // four digits
    while (f.back() == '0') f.pop_back();
    text += '.' + f;
  }
  return negative ? "-" + text : text;
}

std::string SignedWide(Wide v) { return v > 0 ? "+" + WideFigure(v) : WideFigure(v); }

// A sheet line's name and specification, split at the first ";".
std::pair<std::string_view, std::string_view> NameAndSpec(const LineRecord& l) {
  std::string_view all = l.NameSpec.view();
  size_t semi = all.find(';');
  if (semi == std::string_view::npos) return {all, {}};
  return {all.substr(0, semi), all.substr(semi + 1)};
}

std::string LineKey(const LineRecord& l) {
  auto [name, spec] = NameAndSpec(l);
  std::string key(name);
  key += '\0';
  key += spec;
  key += '\0';
  key += l.Unit.view();
  return key;
}

std::string LineTitle(const LineRecord& l) {
  auto [name, spec] = NameAndSpec(l);
  return spec.empty() ? ToUtf8(name) : ToUtf8(name) + "　" + ToUtf8(spec);
}

// A line that holds nothing (the filler rows a sheet keeps below and between its lines) is
// no element of the comparison: adding or removing one changes nothing the estimate says.
bool EmptyLine(const LineRecord& l) {
  auto [name, spec] = NameAndSpec(l);
  const Money values[] = {l.CostQty,       l.SubQty,        l.CostPrice,  l.SubPrice,    l.CostExtraPrice,
                          l.SubExtraPrice, l.LabourFactor,  l.CostAmount, l.SubAmount,   l.SecondRoundMode};
  for (Money v : values)
    if (v != kZero) return false;
  return l.FLAG == 0 && name.empty() && spec.empty() && l.Unit.view().empty() && l.Remarks.view().empty() &&
         l.AmountText.view().empty();
}

// Kinds 60-66 hold the summed labour in their incidental prices: computed, not entered.
bool ExtraPricesEntered(int32_t kind) { return kind < 60 || kind > 66; }

// The names of the five setting fields of an item, by what its kind keeps there.
std::array<const char*, 5> SettingNames(int32_t kind) {
  if ((kind >= 20 && kind <= 29) || kind == 95) return {"範囲開始", "範囲終了", "設定3", "金額単位", "設定5"};
  if (kind >= 81 && kind <= 84) return {"原価率", "提出率", "端数処理", "金額単位", "設定5"};
  if (kind == 93) return {"原価にも加算", "設定2", "税率", "金額単位", "設定5"};
  return {"端数処理", "諸経費端数処理", "数量桁", "金額単位", "歩掛端数処理"};
}

// The rows of one element are built here, then handed to the result in document order.
class Rows {
 public:
  // line names the row's line; its text is made only when a row is added (most paired lines
  // have none).
  Rows(State kind, int32_t item, const std::string& itemName, int32_t row, const LineRecord* line)
      : itemName_(itemName), line_(line) {
    base_.Kind = kind;
    base_.Item = item;
    base_.Row = row;
    base_.InNew = kind != State::Removed;
  }

  void Text(const char* field, std::string_view oldText, std::string_view newText) {
    if (oldText != newText) Add(field, ToUtf8(oldText), ToUtf8(newText), "");
  }
  void Number(const char* field, Money oldValue, Money newValue) {
    if (oldValue != newValue) AddNumber(field, Figure(oldValue), Figure(newValue), oldValue, newValue);
  }
  void Integer(const char* field, int32_t oldValue, int32_t newValue) {
    if (oldValue != newValue) Add(field, std::to_string(oldValue), std::to_string(newValue), "");
  }
  bool Any() const { return !rows_.empty(); }
  // The amounts on both sides; a side the element is missing from counts 0.
  void Amounts(Money oldSub, Money newSub, Money oldCost, Money newCost) {
    const bool old = base_.Kind != State::Added, now = base_.Kind != State::Removed;
    AddNumber("提出金額", old ? Figure(oldSub) : "", now ? Figure(newSub) : "", oldSub, newSub);
    AddNumber("原価金額", old ? Figure(oldCost) : "", now ? Figure(newCost) : "", oldCost, newCost);
  }
  void MoveTo(Result& r) {
    for (DiffRow& row : rows_) r.Rows.push_back(std::move(row));
    ++r.ChangedElements;
  }

 private:
  void AddNumber(const char* field, std::string oldText, std::string newText, Money oldValue, Money newValue) {
    Add(field, std::move(oldText), std::move(newText), DifferenceText(oldValue, newValue));
    rows_.back().Numeric = true;
    rows_.back().OldValue = oldValue;
    rows_.back().NewValue = newValue;
  }
  void Add(const char* field, std::string oldText, std::string newText, std::string difference) {
    if (rows_.empty()) {
      base_.ItemName = itemName_;
      if (line_) base_.LineName = LineTitle(*line_);
    }
    DiffRow row = base_;
    row.Field = field;
    row.Old = std::move(oldText);
    row.New = std::move(newText);
    row.Difference = std::move(difference);
    rows_.push_back(std::move(row));
  }

  DiffRow base_;
  const std::string& itemName_;
  const LineRecord* line_;
  std::vector<DiffRow> rows_;
};

void CompareLineFields(Rows& rows, const LineRecord& o, const LineRecord& n) {
  auto [oldName, oldSpec] = NameAndSpec(o);
  auto [newName, newSpec] = NameAndSpec(n);
  rows.Text("名称", oldName, newName);
  rows.Text("規格", oldSpec, newSpec);
  rows.Text("単位", o.Unit.view(), n.Unit.view());
  rows.Integer("種別", o.FLAG, n.FLAG);
  rows.Number("原価数量", o.CostQty, n.CostQty);
  rows.Number("提出数量", o.SubQty, n.SubQty);
  rows.Number("原価単価", o.CostPrice, n.CostPrice);
  rows.Number("提出単価", o.SubPrice, n.SubPrice);
  if (ExtraPricesEntered(o.FLAG) && ExtraPricesEntered(n.FLAG)) {
    rows.Number("原価付帯単価", o.CostExtraPrice, n.CostExtraPrice);
    rows.Number("提出付帯単価", o.SubExtraPrice, n.SubExtraPrice);
  }
  rows.Number("歩掛", o.LabourFactor, n.LabourFactor);
  if (o.sort != n.sort || o.FLAG != n.FLAG) rows.Text("グループ", GroupLetter(o.sort, o.FLAG), GroupLetter(n.sort, n.FLAG));
  rows.Number("第二端数処理", o.SecondRoundMode, n.SecondRoundMode);
  rows.Text("金額欄", o.AmountText.view(), n.AmountText.view());
  rows.Text("備考", o.Remarks.view(), n.Remarks.view());
}

void CompareItemFields(Rows& rows, const ItemRecord& o, const ItemRecord& n) {
  rows.Text("名称", o.ItemName.view(), n.ItemName.view());
  rows.Integer("種別", o.ItemKind, n.ItemKind);
  const CalcSettings a = o.Settings(), b = n.Settings();
  const Money oldSlots[] = {a.LineRoundAddend, a.Opt4RoundAddend, a.QuantityScale, a.Opt3Unit, a.Opt6RoundAddend};
  const Money newSlots[] = {b.LineRoundAddend, b.Opt4RoundAddend, b.QuantityScale, b.Opt3Unit, b.Opt6RoundAddend};
  auto names = SettingNames(n.ItemKind);
  for (size_t k = 0; k < names.size(); ++k) rows.Number(names[k], oldSlots[k], newSlots[k]);
  rows.Text("備考", o.ItemNote.view(), n.ItemNote.view());
}

// Element indices of both sides in the order the rows are shown: every new element in its
// place, each removed one after the new partner of the element above it in the old document.
struct Step {
  int Old = -1, New = -1;
};
std::vector<Step> ShownOrder(const std::vector<int>& partner, size_t newCount) {
  std::map<int, std::vector<int>> removedAfter;  // new index of the anchor (-1: the start)
  int anchor = -1;
  for (size_t i = 0; i < partner.size(); ++i) {
    if (partner[i] >= 0) anchor = partner[i];
    else removedAfter[anchor].push_back(static_cast<int>(i));
  }
  std::vector<int> oldOf(newCount, -1);
  for (size_t i = 0; i < partner.size(); ++i)
    if (partner[i] >= 0) oldOf[static_cast<size_t>(partner[i])] = static_cast<int>(i);
  std::vector<Step> order;
  auto removed = [&](int after) {
    if (auto it = removedAfter.find(after); it != removedAfter.end())
      for (int i : it->second) order.push_back({i, -1});
  };
  removed(-1);
  for (size_t j = 0; j < newCount; ++j) {
    order.push_back({oldOf[j], static_cast<int>(j)});
    removed(static_cast<int>(j));
  }
  return order;
}

struct SheetLine {
  int32_t Row;
  const LineRecord* Line;
};

std::vector<SheetLine> SheetLines(const ParsedDocument& doc, int32_t item) {
  std::vector<SheetLine> out;
  auto it = doc.Lines.find(item);
  if (it == doc.Lines.end()) return out;
  for (size_t r = 0; r < it->second.size(); ++r)
    if (!EmptyLine(it->second[r])) out.push_back({static_cast<int32_t>(r + 1), &it->second[r]});
  return out;
}

bool SameKey(const LineRecord& a, const LineRecord& b) {
  return NameAndSpec(a) == NameAndSpec(b) && a.Unit.view() == b.Unit.view();
}

// Most sheets of a revision keep their lines: when every line has the key of the line in its
// place, pairing by key gives exactly those places, and the keys need not be built.
bool SameKeysInOrder(const std::vector<SheetLine>& o, const std::vector<SheetLine>& n) {
  if (o.size() != n.size()) return false;
  for (size_t i = 0; i < o.size(); ++i)
    if (!SameKey(*o[i].Line, *n[i].Line)) return false;
  return true;
}

std::vector<int> InOrder(size_t count) {
  std::vector<int> partner(count);
  for (size_t i = 0; i < count; ++i) partner[i] = static_cast<int>(i);
  return partner;
}

std::vector<int> PairLines(const std::vector<SheetLine>& o, const std::vector<SheetLine>& n) {
  std::vector<std::string> oldKeys, newKeys;
  for (const SheetLine& l : o) oldKeys.push_back(LineKey(*l.Line));
  for (const SheetLine& l : n) newKeys.push_back(LineKey(*l.Line));
  return PairElements(oldKeys, newKeys);
}

void CompareSheets(Result& result, const ParsedDocument& oldDoc, int32_t oldItem, const ParsedDocument& newDoc,
                   int32_t newItem, const std::string& itemName) {
  std::vector<SheetLine> o = SheetLines(oldDoc, oldItem), n = SheetLines(newDoc, newItem);
  std::vector<int> partner = SameKeysInOrder(o, n) ? InOrder(o.size()) : PairLines(o, n);
  for (Step s : ShownOrder(partner, n.size())) {
    if (s.New < 0) {
      const LineRecord& l = *o[static_cast<size_t>(s.Old)].Line;
      Rows rows(State::Removed, oldItem, itemName, o[static_cast<size_t>(s.Old)].Row, &l);
      rows.Amounts(l.SubAmount, kZero, l.CostAmount, kZero);
      rows.MoveTo(result);
    } else if (s.Old < 0) {
      const LineRecord& l = *n[static_cast<size_t>(s.New)].Line;
      Rows rows(State::Added, newItem, itemName, n[static_cast<size_t>(s.New)].Row, &l);
      rows.Amounts(kZero, l.SubAmount, kZero, l.CostAmount);
      rows.MoveTo(result);
    } else {
      const LineRecord& a = *o[static_cast<size_t>(s.Old)].Line;
      const LineRecord& b = *n[static_cast<size_t>(s.New)].Line;
      Rows rows(State::Changed, newItem, itemName, n[static_cast<size_t>(s.New)].Row, &b);
      CompareLineFields(rows, a, b);
      if (!rows.Any()) continue;
      rows.Amounts(a.SubAmount, b.SubAmount, a.CostAmount, b.CostAmount);
      rows.MoveTo(result);
    }
  }
}

}  // namespace

std::string Figure(Money v) { return WideFigure(v.raw); }
std::string SignedFigure(Money v) { return SignedWide(v.raw); }
std::string DifferenceText(Money oldValue, Money newValue) {
  return SignedWide(static_cast<Wide>(newValue.raw) - static_cast<Wide>(oldValue.raw));
}

std::string_view StateText(State s) {
  switch (s) {
    case State::Added: return "追加";
    case State::Removed: return "削除";
    case State::Changed: break;
  }
  return "変更";
}

std::vector<int> PairElements(const std::vector<std::string>& oldKeys, const std::vector<std::string>& newKeys) {
  std::vector<int> partner(oldKeys.size(), -1);
  std::vector<bool> newPaired(newKeys.size(), false);
  // By key, occurrence by occurrence.
  std::unordered_map<std::string_view, std::pair<std::vector<int>, size_t>> byKey;
  for (size_t j = 0; j < newKeys.size(); ++j) byKey[newKeys[j]].first.push_back(static_cast<int>(j));
  for (size_t i = 0; i < oldKeys.size(); ++i) {
    auto it = byKey.find(oldKeys[i]);
    if (it == byKey.end() || it->second.second == it->second.first.size()) continue;
    int j = it->second.first[it->second.second++];
    partner[i] = j;
    newPaired[static_cast<size_t>(j)] = true;
  }
  // By position within the same gap: (the new index of the pair above, ordinal in the gap).
  std::map<std::pair<int, int>, int> oldInGap;
  int anchor = -1, ordinal = 0;
  for (size_t i = 0; i < oldKeys.size(); ++i) {
    if (partner[i] >= 0) {
      anchor = partner[i];
      ordinal = 0;
    } else {
      oldInGap[{anchor, ordinal++}] = static_cast<int>(i);
    }
  }
  anchor = -1;
  ordinal = 0;
  for (size_t j = 0; j < newKeys.size(); ++j) {
    if (newPaired[j]) {
      anchor = static_cast<int>(j);
      ordinal = 0;
    } else if (auto it = oldInGap.find({anchor, ordinal++}); it != oldInGap.end()) {
      partner[static_cast<size_t>(it->second)] = static_cast<int>(j);
    }
  }
  return partner;
}

Result Compare(const ParsedDocument& oldDoc, const ParsedDocument& newDoc) {
  Result result;
  result.Sums = {oldDoc.Title.ALLGTOTAL, oldDoc.Title.ALLNTOTAL, newDoc.Title.ALLGTOTAL, newDoc.Title.ALLNTOTAL};
  std::vector<std::string> oldKeys, newKeys;
  for (const ItemRecord& it : oldDoc.Items) oldKeys.emplace_back(it.ItemName.view());
  for (const ItemRecord& it : newDoc.Items) newKeys.emplace_back(it.ItemName.view());
  std::vector<int> partner = PairElements(oldKeys, newKeys);
  for (Step s : ShownOrder(partner, newDoc.Items.size())) {
    if (s.New < 0) {
      const ItemRecord& it = oldDoc.Items[static_cast<size_t>(s.Old)];
      const std::string name = ToUtf8(it.ItemName.view());
      Rows rows(State::Removed, s.Old + 1, name, 0, nullptr);
      rows.Amounts(it.ALLGTOTAL, kZero, it.ALLNTOTAL, kZero);
      rows.MoveTo(result);
      continue;
    }
    const ItemRecord& b = newDoc.Items[static_cast<size_t>(s.New)];
    std::string name = ToUtf8(b.ItemName.view());
    if (s.Old < 0) {
      Rows rows(State::Added, s.New + 1, name, 0, nullptr);
      rows.Amounts(kZero, b.ALLGTOTAL, kZero, b.ALLNTOTAL);
      rows.MoveTo(result);
      continue;
    }
    const ItemRecord& a = oldDoc.Items[static_cast<size_t>(s.Old)];
    Rows rows(State::Changed, s.New + 1, name, 0, nullptr);
    CompareItemFields(rows, a, b);
    if (rows.Any()) {
      rows.Amounts(a.ALLGTOTAL, b.ALLGTOTAL, a.ALLNTOTAL, b.ALLNTOTAL);
      rows.MoveTo(result);
    }
    CompareSheets(result, oldDoc, s.Old + 1, newDoc, s.New + 1, name);
  }
  return result;
}

}  // namespace zantro::compare
