// The companions' replies that finish the breakdown list's commands. Every field is read and
// converted before anything changes: a field that is not a number is shown as an error and
// the list stays as it was. The replies that work on the selected row are ignored while a
// sheet is shown (their row numbers would name sheet lines).
#include <QLabel>
#include <QTabBar>

#include "breakdown/gui/breakdownlist.h"
#include "breakdown/gui/listedit.h"
#include "breakdown/listchanges.h"
#include "general/container.h"
#include "general/errors.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

std::string Cut(const std::string& cp932, size_t n) { return CutBytes(cp932, n); }

}  // namespace

void BreakdownList::Keito(const std::string& text) {
  std::string name = Cut(FieldOf(text, 2), 100);
  const int shownTab = w_.Tabs()->currentIndex();
  Document& doc = w_.Doc();
  w_.SaveSheetTo("UND");
  if (w_.SheetMode()) {
    if (!doc.IsItem(doc.CurrentItem)) return;
    doc.ItemList[doc.CurrentItem].ItemName.set(name);
    w_.Label("keito_name")->setText(Q(name));
    w_.SaveHeadTo("WRK");
    w_.SaveWorkingCopy();
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
  std::string path = ToUtf8(FieldOf(text, 2));
  int32_t k = StrToIntDef(FieldOf(text, 3), 0);
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
  OverheadFields f;
  f.Kind = StrToIntDef(FieldOf(text, 2), 0);
  if (!InRange(f.Kind, 81, 84)) throw ConversionError("WM_KEIHIWRITE: 諸経費の種類 '" + ToUtf8(FieldOf(text, 2)) + "' は 81～84 ではありません");
  f.Name = Cut(FieldOf(text, 3), 100);
  f.Remarks = Cut(FieldOf(text, 4), 40);
  f.Sub = TextToMoney(FieldOf(text, 5));
  f.Cost = TextToMoney(FieldOf(text, 6));
  f.CostRate = TextToMoney(FieldOf(text, 7));
  f.SubRate = TextToMoney(FieldOf(text, 8));
  f.RoundMode = TextToMoney(FieldOf(text, 9));
  f.Opt3Unit = TextToMoney(FieldOf(text, 10));
  ListEdit edit(w_, UndoCopy::Skip);
  PutOverhead(edit.Doc(), Selection().Bottom, f);
  RecomputeBreakdown(edit.Doc());
  edit.Commit(ListEdit::Finish::TotalsOnly);
  SelectNextRow();
}

void BreakdownList::ItemNote(const std::string& text) {
  if (w_.SheetMode()) return;
  std::string name = Cut(FieldOf(text, 2), 100);
  int32_t kind = StrToIntDef(FieldOf(text, 13), 0);
  std::string note = Cut(FieldOf(text, 21), 40);
  ListEdit edit(w_);
  PutNote(edit.Doc(), Selection().Bottom, name, kind, note);
  edit.Commit();
  SelectNextRow();
}

void BreakdownList::ItemPlan(const std::string& text) {
  Money cutLevel = StrToCurr(FieldOf(text, 2));
  int32_t keta = StrToInt(FieldOf(text, 3));
  ListEdit edit(w_, UndoCopy::Skip);
  edit.Doc().Title.CUTLEVEL = cutLevel;
  edit.Doc().Title.KETA = keta;
  edit.Commit(ListEdit::Finish::KeepTabs);
}

void BreakdownList::ItemUndoSave() {
  if (!SaveHead(w_.Doc(), w_.ProgramFolder(), "UND"))
    throw FileError(w_.ProgramFolder() + "/HEAD.UND: the work file cannot be written");
  DropKeptFiles(w_.ProgramFolder());
}

void BreakdownList::ItemDataDisp() {
  ListEdit edit(w_, UndoCopy::Skip);
  edit.Commit();
}

}  // namespace zantro
