#include "uzantro/sheetedit.h"

#include "uzantro/fzantro.h"

namespace zantro {

SheetEdit::SheetEdit(TFZANTRO& window, UndoCopy undo)
    : window_(window), frame_(window.Doc(), window.ProgramFolder(), EditScope::Sheet, undo) {}

SheetEdit::~SheetEdit() {
  // A frame left without its commit has put the document back; a refused change may have
  // been computed and shown meanwhile, so the window shows the document again.
  if (frame_.Committed() || frame_.Nested()) return;
  frame_.Abandon();
  try {
    window_.Changed(ChangeScope::Lines);
  } catch (...) {
    // Showing never fails on a document the frame just put back; nothing may leave here.
  }
}

void SheetEdit::Commit(ChangeScope scope, bool writeWorkingCopy) {
  // While the window waits for a program that rewrites the sheet's files (the takeoff, the
  // CSV editor), a line written meanwhile stays in memory: the program's files win when the
  // sheet is read again after it.
  if (window_.Waiting()) writeWorkingCopy = false;
  frame_.Commit([this] { window_.ShowTotals(0); }, writeWorkingCopy);
  if (frame_.Nested()) return;  // the outer frame shows the change when it commits
  if (frame_.TakesUndoCopy()) window_.RecordUndoStep(EditScope::Sheet, frame_.Before(), frame_.Kept());
  if (!writeWorkingCopy) window_.MarkSheetUnsaved();
  else window_.MarkSheetSaved();
  window_.Changed(scope);
}

}  // namespace zantro
