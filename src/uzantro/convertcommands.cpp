// The commands of the menu "各種変換＆計算(&V)" (N29): the text commands over the selected lines,
// the popup's single-line name and specification moves and the bulk price and quantity
// commands (convertitems.h). Every one runs in a SheetEdit: the undo point comes first, also
// when the input box is then cancelled.
#include <QObject>
#include <QVariant>

#include "general/bulk.h"
#include "general/textchanges.h"
#include "platform/cp932.h"
#include "uzantro/convertitems.h"
#include "uzantro/fzantro.h"
#include "uzantro/sheetcommands.h"
#include "uzantro/sheetedit.h"

namespace zantro {
namespace {

const char* kAppCaption = "ザントロ-XP版-Devived2";

}  // namespace

void SheetCommands::TextCommandClick(QObject* item) {
  const TextItem* t = FindTextItem(item->objectName().toStdString());
  if (!t) return;
  if (!w_.SheetMode()) return w_.Dlg().ShowNotice("現在は内訳モードです。");
  SheetEdit edit(w_);
  std::string entered;
  if (t->inputCaption) {
    auto text = w_.Dlg().InputBox(t->inputCaption, t->prompt, QString());
    if (!text) return;
    entered = Sjis(*text);
  }
  Document& doc = edit.Doc();
  RowSelection sel = w_.SelectedRows();
  if (t->cursorOnly) sel.Top = sel.Bottom = SelectedLine();
  // The name and specification moves need the two columns; with one they change nothing.
  if (!t->needsTenColumns || doc.Layout == ColumnLayout::Ten) ApplyTextCommand(doc.LineList, sel, t->command, entered);
  if (t->totals) doc.CurrentLine = 1;
  edit.Commit();
}

void SheetCommands::BulkCommand(QObject* item) {
  const BulkItem* b = FindBulkItem(item->objectName().toStdString());
  if (!b) return;
  if (!w_.SheetMode()) return w_.Dlg().ShowNotice("現在は内訳モードです。");
  SheetEdit edit(w_);
  Money factor;
  if (b->HasFactor()) {
    auto text = w_.Dlg().InputBox(kAppCaption, b->caption, "0");
    if (!text) return;
    factor = TextToMoney(ToCp932(TypedNumber(text->trimmed().toStdString())));
  }
  RowSelection rows = w_.SelectedRows();
  LineSelection sel{rows.Top, rows.Bottom};
  Money addend = AddendFor(item->property("tag").toInt());
  Document& doc = edit.Doc();
  std::vector<LineRecord>& lines = doc.LineList;
  switch (b->kind) {
    case BulkKind::ScaleSubPrice: ScaleSubPrice(lines, sel, addend, factor); break;
    case BulkKind::SubPriceFromCost: SubPriceFromCost(lines, sel, addend, factor); break;
    case BulkKind::ScaleSubQty: ScaleSubQty(lines, sel, addend, factor); break;
    case BulkKind::SubQtyFromCost: SubQtyFromCost(lines, sel, addend, factor); break;
    case BulkKind::WholeQuantities: WholeQuantities(lines, sel, addend); break;
    case BulkKind::Significant: SignificantPrice(lines, sel, b->figures, addend); break;
  }
  if (!b->HasFactor()) doc.CurrentLine = 1;
  // The frame recomputes before it writes the working copy, so HEAD.WRK holds the new item
  // total and the next opening of the item shows it.
  edit.Commit();
}

}  // namespace zantro
