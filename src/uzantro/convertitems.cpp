#include "uzantro/convertitems.h"

#include <string>

namespace zantro {
namespace {

const BulkItem kSignificant[] = {{"Significant4_", "単価を有効４桁にする", BulkKind::Significant, 4},
                                 {"Significant3_", "単価を有効３桁にする", BulkKind::Significant, 3},
                                 {"Significant2_", "単価を有効２桁にする", BulkKind::Significant, 2}};
const BulkItem kPrices[] = {{"ScaleSubPrice", "提出単価=提出単価×入力値", BulkKind::ScaleSubPrice, 0},
                            {"SubPriceFromCost", "提出単価=原単価×入力値", BulkKind::SubPriceFromCost, 0}};
const BulkItem kQuantities[] = {{"ScaleSubQty", "提出数量=提出数量×入力値", BulkKind::ScaleSubQty, 0},
                                {"SubQtyFromCost", "提出数量=原数量×入力値", BulkKind::SubQtyFromCost, 0},
                                {"WholeQuantities", "数量を実数に変換する", BulkKind::WholeQuantities, 0}};
const BulkGroup kGroups[] = {{"SignificantMenu", "単価有効桁計算", kSignificant},
                             {"PriceCalcMenu", "単価計算", kPrices},
                             {"QuantityCalcMenu", "数量計算", kQuantities}};

const TextItem kTextItems[] = {
    {"N9", "左から１つ目の空白から仕様、型番にする", TextCommand::FirstBlankToSeparator, nullptr, nullptr, false, true,
     false},
    {"N10", "仕様＆型番の左にある空白を除去する", TextCommand::RemoveFirstBlanks, nullptr, nullptr, false, true, false},
    {"N11", "特定文字除去", TextCommand::RemoveText, "特定文字除去", "削除文字指定", false, true, false},
    {"N70", "選択中の名称を仕様欄に移動", TextCommand::NameToSpec, nullptr, nullptr, true, false, false},
    {"N71", "選択中の仕様を名称欄に移動", TextCommand::SpecToName, nullptr, nullptr, true, false, false},
    {"N74", "選択中の品名の前に同一文字を入力する", TextCommand::PrefixName, "選択中の品名の前に同一文字を入力する",
     "追加する文字を入力して下さい", false, false, false},
    {"N76", "選択中の仕様の末尾に同一文字を入力する", TextCommand::AppendSpec, "選択中の仕様の末尾に同一文字を入力",
     "追加する文字を入力して下さい", false, false, false},
    {"N75", "選択中の単位を同一単位に変更する", TextCommand::SetUnit, "選択中の単位を同一単位に変更",
     "単位を入力して下さい", false, false, false},
    {"N185", "選択中(減額・計算単価・経費・拾出以外)の金額欄を文字列にする", TextCommand::AmountAsText, "金額欄文字列",
     "金額欄文字列入力", false, true, false},
    {"N186", "選択中(計算単価・経費・拾出以外)の数量・金額欄を空白にする", TextCommand::BlankQuantity, "金額欄文字列",
     "金額欄文字列入力(空白可)", false, true, false},
    {"N187", "選択中(計算単価・経費・拾出以外)の数量・単位・金額欄を空白にする", TextCommand::BlankQuantityAndUnit,
     "金額欄文字列", "金額欄文字列入力(空白可)", false, true, false},
};
const int kGroupEnds[] = {3, 5, 8};  // separators after N11, N71 and N75
const TextItem kCursorItems[] = {
    {"N58", "カーソル行の名称を仕様欄に移動", TextCommand::NameToSpec, nullptr, nullptr, true, false, true},
    {"N59", "カーソル行の仕様を名称欄に移動", TextCommand::SpecToName, nullptr, nullptr, true, false, true},
};

}  // namespace

std::span<const TextItem> MenuTextItems() { return kTextItems; }
std::span<const int> TextItemGroupEnds() { return kGroupEnds; }
std::span<const TextItem> CursorTextItems() { return kCursorItems; }
std::span<const BulkGroup> BulkGroups() { return kGroups; }

const TextItem* FindTextItem(std::string_view name) {
  for (auto items : {MenuTextItems(), CursorTextItems()})
    for (const TextItem& t : items)
      if (name == t.name) return &t;
  return nullptr;
}

const BulkItem* FindBulkItem(std::string_view name) {
  for (const BulkGroup& g : BulkGroups())
    for (const BulkItem& b : g.items)
      for (int tag = 0; tag < 3; ++tag)
        if (name == std::string(b.name) + std::to_string(tag)) return &b;
  return nullptr;
}

}  // namespace zantro
