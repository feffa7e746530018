// The editing commands of a detail sheet. Each handler reads the selection, runs its change
// (general/sheetchanges.h) inside a SheetEdit and commits; the frame takes the undo copy,
// recomputes, writes the working copy and redraws. Refusals return before the commit, which
// leaves the document as it was.
#include <QAction>
#include <QLabel>

#include "general/errors.h"
#include "general/sheetchanges.h"
#include "general/textchanges.h"
#include "general/workfiles.h"
#include "messages/launches.h"
#include "platform/conffile.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "uzantro/fzantro.h"
#include "uzantro/sheetedit.h"

namespace zantro {
namespace {

const char* kAppCaption = "ザントロ-XP版-Devived2";

}  // namespace

void TFZANTRO::RegisterSheetCommands() {
  using enum CommandMode;
  RegisterCommand("erase", Sheet, [this](QObject*) { SheetErase(); });
  RegisterCommand("insert", Sheet, [this](QObject*) { SheetInsert(); });
  RegisterCommand("delete", Sheet, [this](QObject*) { SheetDelete(); });
  RegisterCommand("undo", Sheet, [this](QObject*) { SheetUndo(); });
  // The history of steps, on the sheet and on the list alike.
  RegisterCommand("undo_step", Both, [this](QObject*) { StepThroughHistory(false); });
  RegisterCommand("redo_step", Both, [this](QObject*) { StepThroughHistory(true); });
  RegisterCommand("move_up", Sheet, [this](QObject*) { SheetMove(-1); });
  RegisterCommand("move_down", Sheet, [this](QObject*) { SheetMove(1); });
  RegisterCommand("swap", Sheet, [this](QObject*) { SheetSwap(); });
  RegisterCommand("sumline", Sheet, [this](QObject*) { SheetTotalLine(); });
  // The popup's "合計線入力" carries its own word for the same total line.
  RegisterCommand("sum_line", Sheet, [this](QObject*) { SheetTotalLine(); });
  RegisterCommand("taxin", Sheet, [this](QObject*) { SheetTaxLine(); });
  RegisterCommand("new_data", Sheet, [this](QObject*) { SheetNewData(); });
  RegisterCommand("uchiwake_title", Sheet, [this](QObject*) { SheetRenameItem(); });
  auto sheetOnly = [this](void (TFZANTRO::*fn)()) {
    return [this, fn] {
      if (!SheetMode()) return dialogs_->ShowNotice("現在は内訳モードです。");
      (this->*fn)();
    };
  };
  RegisterClick("N47", sheetOnly(&TFZANTRO::SheetQuantitySum));
  RegisterSheetFileCommands();
  RegisterConvertCommands();
}

void TFZANTRO::SaveSheetChecked(std::string_view set) {
  // The program waited for (the takeoff) owns the sheet's work files until it ends: a command
  // string handled meanwhile changes the sheet in memory only, and the reload after the program
  // replaces that change by what the program wrote.
  if (waiting_) return;
  if (!SaveSheet(doc_, programFolder_, set))
    throw FileError(WorkFileNotWritten(JoinPath(programFolder_, SheetFile(doc_.CurrentItem, set))));
  if (set == "WRK") sheetUnsaved_ = false;
}

void TFZANTRO::SaveUnsavedSheet() {
  if (sheetUnsaved_) SaveSheetChecked("WRK");
}

void TFZANTRO::SelectNextRow() {
  int top = grid_->Selection().Top + 1;
  SelectRows(top, top);
}

void TFZANTRO::SelectPreviousRow() {
  int top = grid_->Selection().Top;
  if (top > 1) SelectRows(top - 1, top - 1);
}

void TFZANTRO::SheetErase() {
  SheetEdit edit(*this);
  Change c = EraseLines(doc_, SelectedRows());
  if (c == Change::Refused) dialogs_->ShowNotice("ここでは修正できないデータが含まれています");
  if (c != Change::Done) return;
  edit.Commit();
}

void TFZANTRO::SheetInsert() {
  SheetEdit edit(*this);
  if (InsertLines(doc_, SelectedRows()) != Change::Done) return;
  edit.Commit();
}

void TFZANTRO::SheetDelete() {
  SheetEdit edit(*this);
  if (DeleteLines(doc_, SelectedRows()) != Change::Done) return;
  edit.Commit();
}

void TFZANTRO::SheetUndo() {
  // The undo copy is read, never written: undoing twice gives the same state.
  if (!FindNoCase(programFolder_, SheetFile(doc_.CurrentItem, "UND"))) return;
  ReloadSheet(doc_, programFolder_, "UND");
  ShowTotals(0);
  SaveSheetChecked("WRK");
  Changed(ChangeScope::Lines);
}

void TFZANTRO::SheetMove(int direction) {
  SheetEdit edit(*this);
  int32_t line = SelectedLine();
  if ((direction < 0 ? MoveLineUp(doc_, line) : MoveLineDown(doc_, line)) != Change::Done) return;
  edit.Commit();
  if (direction < 0) SelectPreviousRow();
  else SelectNextRow();
}

void TFZANTRO::SheetSwap() {
  SheetEdit edit(*this);
  if (SwapWithPicked(doc_, SelectedRows().Top) != Change::Done) return;
  edit.Commit();
}

void TFZANTRO::SheetTotalLine() {
  SheetEdit edit(*this);
  Change c = PutTotalLine(doc_, SelectedLine());
  if (c == Change::Refused) dialogs_->ShowNotice("ここへは入力できません");
  if (c != Change::Done) return;
  edit.Commit();
  SelectNextRow();
}

void TFZANTRO::SheetTaxLine() {
  // A tax item in the breakdown list already taxes every sheet; the marker in the title is
  // reset from the sheet by every save, so the list itself is asked.
  if (HasTaxItem(doc_)) return dialogs_->ShowNotice("内訳表紙にすでに消費税が入っています。");
  SheetEdit edit(*this);
  int32_t line = SelectedLine();
  bool addToCost = dialogs_->AskExecute("原価に提出金額と同金額の消費税分を加算しますか？", "実行", "キャンセル");
  Money rate = TextToMoney(ReadConfValue(programFolder_, kZantroConf, "[Tax_Value]").value_or(""));
  PutTaxLine(doc_, line, rate, addToCost);
  edit.Commit();
  SelectNextRow();
}

void TFZANTRO::SheetNewData() {
  int32_t line = SelectedLine();
  doc_.CurrentLine = line;
  if (line >= 1 && line <= doc_.LastLine()) {
    int32_t kind = doc_.LineList[line].FLAG;
    if (kind == LineKinds::Tax) return dialogs_->ShowNotice("このデ－タはここでは修正できません");
    if (kind >= 100 && kind <= 200 &&
        !dialogs_->AskExecute("数量調書からのデータです。編集すると積算データとなります。\r\n編集しますか？", "実行",
                              "キャンセル"))
      return;
  }
  if (!CompanionPresent(programFolder_, "rowedit_dlg.exe") || RestoreCompanion("TFRowedit_Dlg")) return;
  // The lines the dialog writes are one step of undo: back to the sheet as it is now.
  TakeUndoPoint();
  RowEditLaunch launch{doc_.CurrentItem, Sjis(grid_->Cells(0, grid_->Selection().Top)), doc_.GroupNames};
  StartCompanion("rowedit_dlg.exe", launch.Encode());
}

void TFZANTRO::SheetRenameItem() {
  if (!doc_.IsItem(doc_.CurrentItem)) return;
  auto name = dialogs_->InputBox(kAppCaption, "内訳名入力", Q(doc_.ItemList[doc_.CurrentItem].ItemName.view()));
  if (!name) return;
  SheetEdit edit(*this);
  RenameCurrentItem(doc_, CutWhole(Sjis(*name), 100));
  edit.Commit(ChangeScope::Items);
}

void TFZANTRO::SheetQuantitySum() {
  QuantitySum sum = SumQuantities(doc_, SelectedRows());
  dialogs_->ShowNotice(QString::fromStdString("■数量集計結果\r\n原価数量:" + MoneyToPlainText(sum.Cost) + "\r\n" +
                                              "提出数量:" + MoneyToPlainText(sum.Sub)));
}

}  // namespace zantro
