#include "breakdown/gui/listedit.h"

#include "general/workfiles.h"
#include "uzantro/fzantro.h"

namespace zantro {

ListEdit::ListEdit(TFZANTRO& window, UndoCopy undo)
    : window_(window), frame_(window.Doc(), window.ProgramFolder(), EditScope::Breakdown, undo) {}

ListEdit::~ListEdit() {
  if (frame_.Committed() || frame_.Nested()) return;
  frame_.Abandon();
  try {
    window_.Changed(ChangeScope::Items);
  } catch (...) {
    // Showing never fails on a document the frame just put back; nothing may leave here.
  }
}

ItemFiles& ListEdit::Files() {
  if (!files_) files_.emplace(frame_);
  return *files_;
}

void ListEdit::Commit() {
  frame_.Commit([&] {
    // On a sheet tab the open sheet is the user's; on the list it follows the current item.
    // Its settings are in force for the overheads and the tax, so the totals come after.
    if (!window_.SheetMode()) FollowCurrentItem(window_.Doc(), window_.ProgramFolder());
    window_.ShowTotals(1);
  });
  if (frame_.Nested()) return;
  if (frame_.TakesUndoCopy()) window_.RecordUndoStep(EditScope::Breakdown, frame_.Before(), frame_.Kept());
  window_.Changed(ChangeScope::Items);
}

void FollowCurrentItem(Document& doc, const std::string& folder) {
  ResetSheetLists(doc);
  if (ItemRecord* item = doc.CurrentSheetItem()) {
    LoadSheet(doc, folder, doc.CurrentItem);
    doc.Sheet = SheetTotals{item->ALLNTOTAL, item->ALLGTOTAL};
  } else {
    doc.Sheet = SheetTotals{};
  }
}

}  // namespace zantro
