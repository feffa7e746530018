// The window's edit frame for the commands of a detail sheet: Commit() recomputes the totals,
// writes the undo set (the sheet as it was when the frame was made) and the working copy,
// marks the document modified and reports the change to the window, which shows it. A handler
// that returns without Commit (a refusal, a change that changed nothing, a cancelled question,
// an error) leaves the document, its undo set and its work files as they were. A frame made
// inside another (a command run by a companion's line write) defers to the outer one. The
// breakdown list's frame follows the same pattern over EditScope::Breakdown.
//
//   void SheetCommands::SomeCommand() {
//     SheetEdit edit(w_);
//     if (SomeChange(edit.Doc(), w_.SelectedRows()) != Change::Done) return;
//     edit.Commit();
//   }
#pragma once
#include "general/editframe.h"
#include "uzantro/windowport.h"

namespace zantro {

class TFZANTRO;

class SheetEdit {
 public:
  explicit SheetEdit(TFZANTRO& window, UndoCopy undo = UndoCopy::Take);
  ~SheetEdit();
  Document& Doc() { return frame_.Doc(); }
  // See EditFrame::KeepFile: a work file the command moves or rewrites.
  void KeepFile(const std::string& name) { frame_.KeepFile(name); }
  // scope: what the window shows again (Items when the command renamed the item).
  // writeWorkingCopy false: the sheet is marked unsaved and written when it is left.
  void Commit(ChangeScope scope = ChangeScope::Lines, bool writeWorkingCopy = true);

 private:
  TFZANTRO& window_;
  EditFrame frame_;
};

}  // namespace zantro
