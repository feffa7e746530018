// The companions' replies that finish the breakdown list's commands, decoded by the typed
// messages (messages/commands.h): every field is read and converted before anything changes,
// so a field that is not a number is shown as an error and the list stays as it was. The
// replies that write the selected row check that row when they arrive (the selection may have
// moved since the companion started), and are refused with a notice while a sheet is shown
// (their row numbers would name sheet lines).
#include <QString>

#include "breakdown/gui/breakdownlist.h"
#include "breakdown/gui/listedit.h"
#include "breakdown/listchanges.h"
#include "general/container.h"
#include "general/errors.h"
#include "general/workfiles.h"
#include "messages/commands.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "uzantro/fzantro.h"
#include "uzantro/sheetedit.h"

namespace zantro {
namespace {

// The reply of a companion of the list arrived while a sheet is shown.
QString RefusedOnSheet(const QString& what) {
  return what + "を受け付けられませんでした。内訳表を表示してからやり直して下さい。";
}

}  // namespace

void BreakdownList::Keito(const std::string& text) {
  const std::string name = KeitoMessage::Decode(text).Name;
  if (w_.SheetMode()) {
    SheetEdit edit(w_);
    Document& doc = edit.Doc();
    if (!doc.IsItem(doc.CurrentItem)) return;
    doc.ItemList[doc.CurrentItem].ItemName.set(name);
    edit.Commit(ChangeScope::Items);
  } else {
    ListEdit edit(w_);
    int32_t row = Selection().Top;
    ExtendList(edit.Doc(), row);
    edit.Doc().ItemList[row].ItemName.set(name);
    edit.Commit();
  }
  SelectNextRow();
}

void BreakdownList::FileAdd(const std::string& text) {
  if (w_.SheetMode()) return Notice(RefusedOnSheet("転送"));
  FileAddMessage m = FileAddMessage::Decode(text);
  std::string path = ToUtf8(m.Path);
  int32_t k = m.ItemNumber;
  int32_t t = Selection().Top;
  // Checked again now: the selection may have moved since the transfer dialog started.
  if (HoldsCostingData(w_.Doc(), t)) return Notice("すでに積算デ－タが存在しますのでこの場所には転送できません");
  // The other document is read and checked whole before the list changes.
  ParsedDocument from = ParseContainer(path);
  if (k < 1 || k > from.ItemCount())
    throw FileError(path + ": 工種 " + std::to_string(k) + " がありません (" + std::to_string(from.ItemCount()) + " 工種)");
  ListEdit edit(w_);
  edit.Doc().CurrentItem = t;
  TakeOverItem(edit.Doc(), edit.Files(), from, k, t);
  edit.Doc().CurrentItem = 0;  // no sheet is open
  edit.Commit();
}

void BreakdownList::KeihiWrite(const std::string& text) {
  if (w_.SheetMode()) return Notice(RefusedOnSheet("諸経費"));
  KeihiWriteMessage m = KeihiWriteMessage::Decode(text);
  int32_t row = Selection().Bottom;
  const Document& doc = w_.Doc();
  if (HoldsCostingData(doc, row) && !InRange(doc.ItemList[row].ItemKind, 81, 84))
    return Notice("すでに積算デ－タが存在しますので経費にはできません");
  OverheadFields f{m.Kind, m.Name, m.Remarks, m.SubAmount, m.CostAmount, m.CostRate, m.SubRate, m.RoundMode, m.Opt3Unit};
  ListEdit edit(w_, UndoCopy::Skip);
  PutOverhead(edit.Doc(), row, f);
  edit.Commit();
  SelectNextRow();
}

void BreakdownList::ItemNote(const std::string& text) {
  if (w_.SheetMode()) return Notice(RefusedOnSheet("特記事項"));
  ItemNoteMessage m = ItemNoteMessage::Decode(text);
  int32_t row = Selection().Bottom;
  if (HoldsCostingData(w_.Doc(), row)) return Notice("すでに積算デ－タが存在しますのでコメントにはできません");
  ListEdit edit(w_);
  PutNote(edit.Doc(), row, m.Name, m.Flag, m.Note);
  edit.Commit();
  SelectNextRow();
}

void BreakdownList::ItemPlan(const std::string& text) {
  ItemPlanMessage m = ItemPlanMessage::Decode(text);
  ListEdit edit(w_, UndoCopy::Skip);
  edit.Doc().Title.CUTLEVEL = m.CutLevel;
  edit.Doc().Title.KETA = m.Keta;
  edit.Commit();
}

void BreakdownList::ItemUndoSave() { w_.TakeUndoPoint(EditScope::Breakdown); }

void BreakdownList::ItemDataDisp() {
  ListEdit edit(w_, UndoCopy::Skip);
  edit.Commit();
}

}  // namespace zantro
