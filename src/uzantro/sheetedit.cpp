#include "uzantro/sheetedit.h"

#include "uzantro/fzantro.h"

namespace zantro {

SheetEdit::SheetEdit(TFZANTRO& window)
    : window_(window), frame_(window.Doc(), window.ProgramFolder(), EditScope::Sheet) {}

void SheetEdit::Commit() {
  try {
    frame_.Commit([this] { window_.ShowTotals(0); });
  } catch (...) {
    // The document is back as it was; the boxes and the grid show it again.
    window_.ShowTotals(0);
    window_.RefreshSheet();
    throw;
  }
  window_.RefreshSheet();
}

}  // namespace zantro
