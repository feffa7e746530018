// The menu "各種変換＆計算(&V)" (N29): the text commands over the selected lines and the 24
// bulk price and quantity commands (three rounding variants each, by the item's tag), plus
// the popup's single-line name and specification moves. Every one runs in a SheetEdit: the
// undo point comes first, also when the input box is then cancelled.
#include <QAction>
#include <QMenu>
#include <algorithm>
#include <span>

#include "general/bulk.h"
#include "general/textchanges.h"
#include "platform/cp932.h"
#include "uzantro/fzantro.h"
#include "uzantro/sheetedit.h"

namespace zantro {
namespace {

const char* kAppCaption = "ザントロ-XP版-Devived2";
const char* kVariants[] = {"(四捨五入)", "(切上げ)", "(切捨て)"};

enum class Bulk { ScaleSubPrice, SubPriceFromCost, ScaleSubQty, SubQtyFromCost, WholeQuantities, Significant };

struct BulkItem {
  const char* name;     // object name without the tag digit
  const char* caption;  // without the variant; also the prompt of the factor commands
  Bulk kind;
  int figures;          // Significant only
};

const BulkItem kSignificant[] = {{"Significant4_", "単価を有効４桁にする", Bulk::Significant, 4},
                                 {"Significant3_", "単価を有効３桁にする", Bulk::Significant, 3},
                                 {"Significant2_", "単価を有効２桁にする", Bulk::Significant, 2}};
const BulkItem kPrices[] = {{"ScaleSubPrice", "提出単価=提出単価×入力値", Bulk::ScaleSubPrice, 0},
                            {"SubPriceFromCost", "提出単価=原単価×入力値", Bulk::SubPriceFromCost, 0}};
const BulkItem kQuantities[] = {{"ScaleSubQty", "提出数量=提出数量×入力値", Bulk::ScaleSubQty, 0},
                                {"SubQtyFromCost", "提出数量=原数量×入力値", Bulk::SubQtyFromCost, 0},
                                {"WholeQuantities", "数量を実数に変換する", Bulk::WholeQuantities, 0}};

struct TextItem {
  const char* name;
  const char* caption;
  TextCommand command;
  const char* inputCaption;  // nullptr: no input box
  const char* prompt;
  bool needsTenColumns;
  bool totals;               // current line := 1 and the totals recomputed
};

const TextItem kTextItems[] = {
    {"N9", "左から１つ目の空白から仕様、型番にする", TextCommand::FirstBlankToSeparator, nullptr, nullptr, false, true},
    {"N10", "仕様＆型番の左にある空白を除去する", TextCommand::RemoveFirstBlanks, nullptr, nullptr, false, true},
    {"N11", "特定文字除去", TextCommand::RemoveText, "特定文字除去", "削除文字指定", false, true},
    {"N70", "選択中の名称を仕様欄に移動", TextCommand::NameToSpec, nullptr, nullptr, true, false},
    {"N71", "選択中の仕様を名称欄に移動", TextCommand::SpecToName, nullptr, nullptr, true, false},
    {"N74", "選択中の品名の前に同一文字を入力する", TextCommand::PrefixName, "選択中の品名の前に同一文字を入力する",
     "追加する文字を入力して下さい", false, false},
    {"N76", "選択中の仕様の末尾に同一文字を入力する", TextCommand::AppendSpec, "選択中の仕様の末尾に同一文字を入力",
     "追加する文字を入力して下さい", false, false},
    {"N75", "選択中の単位を同一単位に変更する", TextCommand::SetUnit, "選択中の単位を同一単位に変更",
     "単位を入力して下さい", false, false},
    {"N185", "選択中(減額・計算単価・経費・拾出以外)の金額欄を文字列にする", TextCommand::AmountAsText, "金額欄文字列",
     "金額欄文字列入力", false, true},
    {"N186", "選択中(計算単価・経費・拾出以外)の数量・金額欄を空白にする", TextCommand::BlankQuantity, "金額欄文字列",
     "金額欄文字列入力(空白可)", false, true},
    {"N187", "選択中(計算単価・経費・拾出以外)の数量・単位・金額欄を空白にする", TextCommand::BlankQuantityAndUnit,
     "金額欄文字列", "金額欄文字列入力(空白可)", false, true},
};
// The popup's variants for the line at the cursor.
const TextItem kCursorItems[] = {
    {"N58", "カーソル行の名称を仕様欄に移動", TextCommand::NameToSpec, nullptr, nullptr, true, false},
    {"N59", "カーソル行の仕様を名称欄に移動", TextCommand::SpecToName, nullptr, nullptr, true, false},
};

const TextItem* FindTextItem(const QString& name) {
  for (auto items : {std::span<const TextItem>(kTextItems), std::span<const TextItem>(kCursorItems)})
    for (const TextItem& t : items)
      if (name == t.name) return &t;
  return nullptr;
}

const BulkItem* FindBulkItem(const QString& name) {
  for (const auto& group : {std::span<const BulkItem>(kSignificant), std::span<const BulkItem>(kPrices),
                            std::span<const BulkItem>(kQuantities)})
    for (const BulkItem& b : group)
      for (int tag = 0; tag < 3; ++tag)
        if (name == QString(b.name) + QString::number(tag)) return &b;
  return nullptr;
}

bool HasFactor(Bulk kind) { return kind != Bulk::WholeQuantities && kind != Bulk::Significant; }

}  // namespace

void TFZANTRO::BuildConvertMenu(QMenu* menu) {
  const int groups[] = {3, 5, 8, 11};  // separators after N11, N71, N75 and N187
  int i = 0;
  for (const TextItem& t : kTextItems) {
    AddItem(menu, t.name, t.caption);
    if (++i == groups[0] || i == groups[1] || i == groups[2]) menu->addSeparator();
  }
  menu->addSeparator();
  auto addGroup = [&](const char* name, const char* title, std::span<const BulkItem> items) {
    QMenu* sub = menu->addMenu(title);
    sub->setObjectName(name);
    for (const BulkItem& b : items)
      for (int tag = 0; tag < 3; ++tag)
        AddItem(sub, QString(b.name) + QString::number(tag), QString(b.caption) + kVariants[tag], {}, {}, tag);
  };
  addGroup("SignificantMenu", "単価有効桁計算", kSignificant);
  addGroup("PriceCalcMenu", "単価計算", kPrices);
  addGroup("QuantityCalcMenu", "数量計算", kQuantities);
}

void TFZANTRO::RegisterConvertCommands() {
  for (const TextItem& t : kTextItems) RegisterClick(t.name, [this, &t] { TextCommandClick(Action(t.name)); });
  for (const TextItem& t : kCursorItems) RegisterClick(t.name, [this, &t] { TextCommandClick(Action(t.name)); });
  for (const auto& group : {std::span<const BulkItem>(kSignificant), std::span<const BulkItem>(kPrices),
                            std::span<const BulkItem>(kQuantities)})
    for (const BulkItem& b : group)
      for (int tag = 0; tag < 3; ++tag) {
        QString name = QString(b.name) + QString::number(tag);
        RegisterClick(name, [this, name] { BulkCommand(Action(name)); });
      }
}

void TFZANTRO::TextCommandClick(QObject* item) {
  const TextItem* t = FindTextItem(item->objectName());
  if (!t) return;
  if (!SheetMode()) return dialogs_->ShowNotice("現在は内訳モードです。");
  SheetEdit edit(*this);
  std::string entered;
  if (t->inputCaption) {
    auto text = dialogs_->InputBox(t->inputCaption, t->prompt, QString());
    if (!text) return;
    entered = Sjis(*text);
  }
  RowSelection sel = SelectedRows();
  bool cursorOnly = std::any_of(std::begin(kCursorItems), std::end(kCursorItems), [&](auto& c) { return &c == t; });
  if (cursorOnly) sel.Top = sel.Bottom = SelectedLine();
  // The name and specification moves need the two columns; with one they change nothing.
  if (!t->needsTenColumns || doc_.Layout == ColumnLayout::Ten) ApplyTextCommand(doc_.LineList, sel, t->command, entered);
  if (t->totals) doc_.CurrentLine = 1;
  edit.Commit();
}

void TFZANTRO::BulkCommand(QObject* item) {
  const BulkItem* b = FindBulkItem(item->objectName());
  if (!b) return;
  if (!SheetMode()) return dialogs_->ShowNotice("現在は内訳モードです。");
  SheetEdit edit(*this);
  Money factor;
  if (HasFactor(b->kind)) {
    auto text = dialogs_->InputBox(kAppCaption, b->caption, "0");
    if (!text) return;
    factor = TextToMoney(ToCp932(TypedNumber(text->trimmed().toStdString())));
  }
  RowSelection rows = SelectedRows();
  LineSelection sel{rows.Top, rows.Bottom};
  Money addend = AddendFor(item->property("tag").toInt());
  std::vector<LineRecord>& lines = doc_.LineList;
  switch (b->kind) {
    case Bulk::ScaleSubPrice: ScaleSubPrice(lines, sel, addend, factor); break;
    case Bulk::SubPriceFromCost: SubPriceFromCost(lines, sel, addend, factor); break;
    case Bulk::ScaleSubQty: ScaleSubQty(lines, sel, addend, factor); break;
    case Bulk::SubQtyFromCost: SubQtyFromCost(lines, sel, addend, factor); break;
    case Bulk::WholeQuantities: WholeQuantities(lines, sel, addend); break;
    case Bulk::Significant: SignificantPrice(lines, sel, b->figures, addend); break;
  }
  if (!HasFactor(b->kind)) doc_.CurrentLine = 1;
  // The frame recomputes before it writes the working copy, so HEAD.WRK holds the new item
  // total and the next opening of the item shows it.
  edit.Commit();
}

}  // namespace zantro
