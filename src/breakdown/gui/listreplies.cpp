// The companions' replies that finish the breakdown list's commands, decoded by the typed
// messages (messages/commands.h): every field is read and converted before anything changes,
// so a field that is not a number is shown as an error and the list stays as it was. The replies that work on the selected row are ignored while a
// sheet is shown (their row numbers would name sheet lines).
#include <QLabel>

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

namespace zantro {
void BreakdownList::Keito(const std::string& text) {
  const std::string name = KeitoMessage::Decode(text).Name;
  const int shownTab = w_.Tabs()->currentIndex();
  Document& doc = w_.Doc();
  w_.SaveSheetTo("UND");
  if (w_.SheetMode()) {
    if (!doc.IsItem(doc.CurrentItem)) return;
    doc.ItemList[doc.CurrentItem].ItemName.set(name);
    w_.Label("keito_name")->setText(Q(name));
    w_.SaveHeadTo("WRK");
    w_.SaveSheetChecked("WRK");
  } else {
    ListEdit edit(w_, UndoCopy::Skip);
    int32_t row = Selection().Top;
    ExtendList(edit.Doc(), row);
    edit.Doc().ItemList[row].ItemName.set(name);
    edit.Commit(ListEdit::Finish::KeepTabs, false);
  }
  w_.RebuildItemTabs();
  w_.SelectTab(shownTab);
  SelectNextRow();
}

void BreakdownList::FileAdd(const std::string& text) {
  if (w_.SheetMode()) return;
  FileAddMessage m = FileAddMessage::Decode(text);
  std::string path = ToUtf8(m.Path);
  int32_t k = m.ItemNumber;
  // The other document is read and checked whole before the list changes.
  ParsedDocument from = ParseContainer(path);
  if (k < 1 || k > from.ItemCount())
    throw FileError(path + ": 工種 " + std::to_string(k) + " がありません (" + std::to_string(from.ItemCount()) + " 工種)");
  ListEdit edit(w_);
  int32_t t = Selection().Top;
  edit.Doc().CurrentItem = t;
  TakeOverItem(edit.Doc(), edit.Files(), from, k, t);
  edit.Doc().CurrentItem = 0;  // no sheet is open
  edit.Commit();
}

void BreakdownList::KeihiWrite(const std::string& text) {
  if (w_.SheetMode()) return;
  KeihiWriteMessage m = KeihiWriteMessage::Decode(text);
  OverheadFields f{m.Kind, m.Name, m.Remarks, m.SubAmount, m.CostAmount, m.CostRate, m.SubRate, m.RoundMode, m.Opt3Unit};
  ListEdit edit(w_, UndoCopy::Skip);
  PutOverhead(edit.Doc(), Selection().Bottom, f);
  RecomputeBreakdown(edit.Doc());
  edit.Commit(ListEdit::Finish::TotalsOnly);
  SelectNextRow();
}

void BreakdownList::ItemNote(const std::string& text) {
  if (w_.SheetMode()) return;
  ItemNoteMessage m = ItemNoteMessage::Decode(text);
  ListEdit edit(w_);
  PutNote(edit.Doc(), Selection().Bottom, m.Name, m.Flag, m.Note);
  edit.Commit();
  SelectNextRow();
}

void BreakdownList::ItemPlan(const std::string& text) {
  ItemPlanMessage m = ItemPlanMessage::Decode(text);
  ListEdit edit(w_, UndoCopy::Skip);
  edit.Doc().Title.CUTLEVEL = m.CutLevel;
  edit.Doc().Title.KETA = m.Keta;
  edit.Commit(ListEdit::Finish::KeepTabs);
}

void BreakdownList::ItemUndoSave() {
  if (!SaveHead(w_.Doc(), w_.ProgramFolder(), "UND"))
    throw FileError(WorkFileNotWritten(w_.ProgramFolder() + "/HEAD.UND"));
  DropKeptFiles(w_.ProgramFolder());
}

void BreakdownList::ItemDataDisp() {
  ListEdit edit(w_, UndoCopy::Skip);
  edit.Commit();
}

}  // namespace zantro
