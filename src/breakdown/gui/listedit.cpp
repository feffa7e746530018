#include "breakdown/gui/listedit.h"

#include "general/workfiles.h"
#include "uzantro/fzantro.h"

namespace zantro {

ListEdit::ListEdit(TFZANTRO& window, UndoCopy undo)
    : window_(window), frame_(window.Doc(), window.ProgramFolder(), EditScope::Breakdown, undo) {}

ItemFiles& ListEdit::Files() {
  if (!files_)
    files_.emplace(frame_.Folder(), [this](const std::string& name, const std::optional<std::string>& path) {
      frame_.KeepFile(name, path);
    });
  return *files_;
}

void ListEdit::Commit(Finish finish, bool recompute) {
  try {
    frame_.Commit([&] {
      if (recompute) window_.ShowTotals(1);
    });
  } catch (...) {
    // The document is back as it was: the boxes and the list show it again.
    window_.ShowTotals(1);
    FinishBreakdownCommand(window_);
    throw;
  }
  FollowCurrentItem(window_.Doc(), window_.ProgramFolder());
  if (finish != Finish::TotalsOnly) FinishBreakdownCommand(window_, finish == Finish::KeepTabs);
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

void FinishBreakdownCommand(TFZANTRO& window, bool keepTabs) {
  if (!keepTabs) window.RebuildItemTabs();
  window.SelectTab(0);
  window.EnterBreakdownMode();
}

}  // namespace zantro
