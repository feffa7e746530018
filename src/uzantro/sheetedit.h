// The window's edit frame for the commands of a detail sheet: the undo copy is written when
// it is made; Commit() recomputes and shows the totals, writes the working copy, marks the
// document modified and redraws the sheet. A handler that returns without Commit (a refusal,
// a cancelled question, an error) leaves the document as it was. The breakdown list's frame
// follows the same pattern over EditScope::Breakdown.
//
//   void TFZANTRO::SomeCommand() {
//     SheetEdit edit(*this);
//     if (SomeChange(Doc(), SelectedRows()) != Change::Done) return;
//     edit.Commit();
//   }
#pragma once
#include "general/editframe.h"

namespace zantro {

class TFZANTRO;

class SheetEdit {
 public:
  explicit SheetEdit(TFZANTRO& window);
  Document& Doc() { return frame_.Doc(); }
  // See EditFrame::KeepFile: a work file the command moves or rewrites.
  void KeepFile(const std::string& name) { frame_.KeepFile(name); }
  void Commit();

 private:
  TFZANTRO& window_;
  EditFrame frame_;
};

}  // namespace zantro
