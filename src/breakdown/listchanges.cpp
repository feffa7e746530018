#include "breakdown/listchanges.h"

#include <algorithm>

#include "platform/cp932.h"

namespace zantro {
namespace {

int32_t WholeRow(Money m) { return static_cast<int32_t>(std::clamp<int64_t>(m.raw / Money::kScale, INT32_MIN, INT32_MAX)); }

// An empty ordinary item as an inserted row holds it: unlike a BlankItem, its settings are 0.
ItemRecord EmptyInsertedItem() {
  ItemRecord item{};
  item.ItemKind = ItemKinds::Normal;
  return item;
}

// Ranges after a row was inserted at p: a range after p moves down, one that holds p grows.
void ShiftRangesForInsert(Document& doc, int32_t p) {
  for (int32_t i = 1; i <= doc.LastItem(); ++i) {
    ItemRecord& it = doc.ItemList[i];
    if (!HasRange(it.ItemKind)) continue;
    int32_t start = RangeStartRow(it), end = RangeEndRow(it);
    if (p < start) {
      ++start;
      ++end;
    } else if (p < end) {
      ++end;
    }
    if (p == end) ++end;
    SetRange(it, start, end);
  }
}

// Ranges after row p was removed: a range after p moves up, one that held p shrinks.
void ShiftRangesForDelete(Document& doc, int32_t p) {
  for (int32_t i = 1; i <= doc.LastItem(); ++i) {
    ItemRecord& it = doc.ItemList[i];
    if (!HasRange(it.ItemKind)) continue;
    int32_t start = RangeStartRow(it), end = RangeEndRow(it);
    if (p < start) SetRange(it, start - 1, end - 1);
    else if (p <= end) SetRange(it, start, end - 1);
  }
}

// The rows of a removed parent come up one level: its members become ordinary items, a nested
// parent of level 1 a top-level parent. Rows outside the hierarchy kinds (a note, an ordinary
// item the range grew over) keep their kind.
void PromoteRange(Document& doc, const ItemRecord& parent) {
  int32_t first = std::max(1, RangeStartRow(parent)), last = std::min(doc.LastItem(), RangeEndRow(parent));
  for (int32_t r = first; r <= last; ++r) {
    int32_t& kind = doc.ItemList[r].ItemKind;
    if (!InRange(kind, ItemKinds::HeadingFirst, ItemKinds::MemberLast)) continue;
    --kind;
    if (kind == 19 || kind == 29) kind = ItemKinds::Normal;
  }
}

}  // namespace

bool HasRange(int32_t kind) { return InRange(kind, ItemKinds::HeadingFirst, ItemKinds::HeadingLast) || kind == ItemKinds::Subtotal; }
int32_t RangeStartRow(const ItemRecord& item) { return WholeRow(item.RangeStart()); }
int32_t RangeEndRow(const ItemRecord& item) { return WholeRow(item.RangeEnd()); }
void SetRange(ItemRecord& item, int32_t start, int32_t end) {
  item.LineRoundAddend = Money::Units(start);
  item.Opt4RoundAddend = Money::Units(end);
}

bool HoldsCostingData(const Document& doc, int32_t row) {
  if (!doc.IsItem(row)) return false;
  const ItemRecord& it = doc.ItemList[row];
  return it.ItemKind != ItemKinds::Reduction && (it.ALLNTOTAL != kZero || it.ALLGTOTAL != kZero);
}

bool AnySheetTax(const Document& doc) {
  return std::any_of(doc.ItemList.begin() + 1, doc.ItemList.end(),
                     [](const ItemRecord& it) { return it.TAXGTOTAL != kZero || it.TAXNTOTAL != kZero; });
}

ItemRecord BlankItem(const Document& doc) { return NewItem(doc.Configured); }

int32_t ExtendList(Document& doc, int32_t row) {
  int32_t appended = 0;
  for (; doc.LastItem() < row; ++appended) doc.ItemList.push_back(BlankItem(doc));
  doc.ItemCount = doc.LastItem();
  return appended;
}

Change InsertItemRow(Document& doc, ItemFiles& files, int32_t p) {
  if (p < 1 || p > doc.LastItem()) return Change::None;
  std::vector<std::pair<int32_t, int32_t>> moves;
  for (int32_t r = doc.LastItem(); r >= p; --r) moves.emplace_back(r, r + 1);
  files.Rearrange(moves, {p});
  doc.ItemList.insert(doc.ItemList.begin() + p, EmptyInsertedItem());
  doc.ItemCount = doc.LastItem();
  ShiftRangesForInsert(doc, p);
  return Change::Done;
}

Change DeleteItemRow(Document& doc, ItemFiles& files, int32_t p) {
  if (p < 1 || p > doc.LastItem()) return Change::None;
  if (doc.LastItem() == 1) doc.ItemList.push_back(BlankItem(doc));
  const ItemRecord removed = doc.ItemList[p];
  if (InRange(removed.ItemKind, ItemKinds::HeadingFirst, ItemKinds::HeadingLast)) PromoteRange(doc, removed);
  std::vector<std::pair<int32_t, int32_t>> moves;
  for (int32_t d = p; d < doc.LastItem(); ++d) moves.emplace_back(d + 1, d);
  files.Rearrange(moves, {p});
  doc.ItemList.erase(doc.ItemList.begin() + p);
  doc.ItemCount = doc.LastItem();
  ShiftRangesForDelete(doc, p);
  if (doc.CurrentItem > doc.LastItem()) doc.CurrentItem = doc.LastItem();
  return Change::Done;
}

void PasteItem(Document& doc, ItemFiles& files, int32_t source, int32_t target) {
  // The source's records are read before anything changes: a copy onto itself stays whole.
  ItemRecord item = doc.ItemList.at(source);
  std::vector<LineRecord> lines = files.Lines(source);
  std::vector<TakeoffRecord> takeoffs = files.Takeoffs(source);
  int32_t oldLast = doc.LastItem();
  int32_t appended = ExtendList(doc, target);
  if (appended > 0) {
    for (int32_t i = 1; i <= oldLast; ++i) {
      ItemRecord& it = doc.ItemList[i];
      if (HasRange(it.ItemKind) && RangeEndRow(it) + appended == target) SetRange(it, RangeStartRow(it), target);
    }
  }
  doc.ItemList[target] = item;
  files.WriteLines(target, std::move(lines));
  files.WriteTakeoffs(target, std::move(takeoffs));
}

HierarchyRefusal CheckHierarchyRows(const Document& doc, int32_t top, int32_t bottom) {
  for (int32_t r = top; r <= bottom; ++r) {
    if (!doc.IsItem(r)) return HierarchyRefusal::Unnamed;
    int32_t k = doc.ItemList[r].ItemKind;
    if (InRange(k, 81, 84) || k == ItemKinds::Reduction || k == ItemKinds::Tax || k == ItemKinds::Subtotal ||
        k == ItemKinds::Total)
      return HierarchyRefusal::SummaryRow;
  }
  return HierarchyRefusal::None;
}

int32_t ParentCodeFor(const Document& doc, int32_t top) {
  int32_t k = doc.ItemList.at(top).ItemKind;
  if (k == 29 || k == 39) return 0;
  if (k == ItemKinds::Normal || k == 20) return 20;
  if (InRange(k, 21, 28)) return k;
  if (InRange(k, 30, 38)) return k - 9;
  return 20;
}

void MakeHierarchy(Document& doc, ItemFiles& files, int32_t top, int32_t bottom, std::string_view name,
                   int32_t parentCode) {
  InsertItemRow(doc, files, top);
  ItemRecord& parent = doc.ItemList[top];
  parent.ItemName.set(name);
  SetRange(parent, top + 1, bottom + 1);
  parent.ItemKind = parentCode;
  parent.TAXGTOTAL = parent.TAXNTOTAL = kZero;
  for (int32_t r = top + 1; r <= bottom + 1; ++r) {
    int32_t& kind = doc.ItemList[r].ItemKind;
    if (kind == ItemKinds::Normal) kind = parentCode + 10;
    else if (InRange(kind, 20, 28) || InRange(kind, 30, 38)) ++kind;
  }
  doc.CurrentItem = top;
}

void PutSubtotal(Document& doc, ItemFiles& files, int32_t top, int32_t bottom, std::string_view name) {
  int32_t row = bottom + 1;
  if (row > doc.LastItem()) ExtendList(doc, row);
  else InsertItemRow(doc, files, row);
  ItemRecord& it = doc.ItemList[row];
  it.ItemKind = ItemKinds::Subtotal;
  it.ItemName.set(name);
  SetRange(it, top, bottom);
  it.TAXGTOTAL = it.TAXNTOTAL = kZero;
  doc.CurrentItem = row;
}

void PutGrandTotal(Document& doc, int32_t row, std::string_view name) {
  ExtendList(doc, row);
  ItemRecord& it = doc.ItemList[row];
  it.ItemKind = ItemKinds::Total;
  it.ItemName.set(name);
  it.ALLGTOTAL = it.ALLNTOTAL = it.TAXGTOTAL = it.TAXNTOTAL = kZero;
  it.QuantityScale = it.Opt3Unit = it.Opt6RoundAddend = kZero;
  it.ItemFlag = 0;
  it.ItemValue = kZero;
  it.ItemNote.set({});
  doc.CurrentItem = row;
}

void PutReduction(Document& doc, int32_t row, std::string_view name, Money amount, bool costToo) {
  ExtendList(doc, row);
  ItemRecord& it = doc.ItemList[row];
  it.ItemKind = ItemKinds::Reduction;
  it.ItemName.set(name);
  it.ALLGTOTAL = amount;
  it.ALLNTOTAL = costToo ? amount : kZero;
  it.TAXGTOTAL = it.TAXNTOTAL = kZero;
  doc.CurrentItem = row;
}

void PutTaxItem(Document& doc, int32_t row, Money rate, bool addToCost) {
  ExtendList(doc, row);
  ItemRecord& it = doc.ItemList[row];
  it.ItemKind = ItemKinds::Tax;
  it.ItemName.set(Sj("消 費 税"));
  it.QuantityScale = rate;
  it.LineRoundAddend = addToCost ? kOne : kZero;
  it.Opt4RoundAddend = it.Opt6RoundAddend = kZero;
  doc.CurrentItem = row;
}

void PutOverhead(Document& doc, int32_t row, const OverheadFields& f) {
  ExtendList(doc, row);
  ItemRecord& it = doc.ItemList[row];
  it.ItemKind = f.Kind;
  it.ItemName.set(f.Name);
  it.ItemNote.set(f.Remarks);
  it.ALLGTOTAL = f.Sub;
  it.ALLNTOTAL = f.Cost;
  it.LineRoundAddend = f.CostRate;
  it.Opt4RoundAddend = f.SubRate;
  it.QuantityScale = f.RoundMode;
  it.Opt3Unit = f.Opt3Unit;
  doc.CurrentItem = row;
}

void PutNote(Document& doc, int32_t row, std::string_view name, int32_t lineKind, std::string_view note) {
  ExtendList(doc, row);
  ItemRecord& it = doc.ItemList[row];
  it.ItemKind = ItemKinds::Note;
  it.ItemName.set(name);
  it.ItemFlag = lineKind;
  it.ItemNote.set(note);
  doc.CurrentItem = row;
}

bool TakeOverItem(Document& doc, ItemFiles& files, const ParsedDocument& from, int32_t k, int32_t target) {
  if (k < 1 || k > from.ItemCount()) return false;
  const ItemRecord& src = from.Items[k - 1];
  ExtendList(doc, target);
  ItemRecord& it = doc.ItemList[target];
  it.ItemKind = ItemKinds::Normal;
  it.ItemName = src.ItemName;
  it.ALLGTOTAL = src.ALLGTOTAL;
  it.ALLNTOTAL = src.ALLNTOTAL;
  it.SetSettings(src.Settings());
  it.ItemFlag = src.ItemFlag;
  it.ItemValue = src.ItemValue;
  it.ItemNote = src.ItemNote;
  auto lines = from.Lines.find(k);
  files.WriteLines(target, lines == from.Lines.end() ? std::vector<LineRecord>{} : lines->second);
  return true;
}

}  // namespace zantro
