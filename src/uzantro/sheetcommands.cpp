// The editing commands of a detail sheet. Each handler reads the selection, runs its change
// (general/sheetchanges.h) inside a SheetEdit and commits; the frame takes the undo copy,
// recomputes, writes the working copy and redraws.
#include <QAction>

#include "general/errors.h"
#include "general/sheetchanges.h"
#include "general/workfiles.h"
#include "platform/files.h"
#include "uzantro/fzantro.h"
#include "uzantro/sheetedit.h"

namespace zantro {

void TFZANTRO::RegisterSheetCommands() {
  using enum CommandMode;
  RegisterCommand("erase", Sheet, [this](QObject*) { SheetErase(); });
  RegisterCommand("insert", Sheet, [this](QObject*) { SheetInsert(); });
  RegisterCommand("delete", Sheet, [this](QObject*) { SheetDelete(); });
  RegisterCommand("undo", Sheet, [this](QObject*) { SheetUndo(); });
}

void TFZANTRO::SaveWorkingCopy() {
  if (!SaveSheet(doc_, programFolder_, "WRK"))
    throw FileError(JoinPath(programFolder_, SheetFile(doc_.CurrentItem, "WRK")) + ": the work file cannot be written");
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
  RefreshSheet();
  SaveWorkingCopy();
}

}  // namespace zantro
