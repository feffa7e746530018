// The window's edit frame for the commands of the breakdown list, the counterpart of
// SheetEdit: made before the change, it writes the undo copy of the list (HEAD.UND) unless
// told not to; Files() moves the detail files of the items and keeps every one it touches, so
// that a rollback and a later undo put them back. Commit() recomputes the breakdown and shows
// the totals, writes HEAD.WRK (and the kept files), then finishes the command: the open sheet
// follows the current item, the tabs are rebuilt, tab 0 is selected and the list redrawn.
// Leaving without Commit leaves the document and its files as they were.
//
//   ListEdit edit(window);
//   if (InsertItemRow(edit.Doc(), edit.Files(), p) != Change::Done) return;
//   edit.Commit();
#pragma once
#include <optional>

#include "breakdown/itemfiles.h"
#include "general/editframe.h"

namespace zantro {

class TFZANTRO;

class ListEdit {
 public:
  enum class Finish {
    Redraw,      // tabs rebuilt, tab 0, list redrawn
    KeepTabs,    // tab 0 and the list redrawn; the tabs as they are
    TotalsOnly,  // nothing redrawn (a companion's reply that asks for the redraw itself)
  };

  explicit ListEdit(TFZANTRO& window, UndoCopy undo = UndoCopy::Take);
  Document& Doc() { return frame_.Doc(); }
  ItemFiles& Files();
  // recompute: the breakdown totals are computed and shown before the working copy is written.
  void Commit(Finish finish = Finish::Redraw, bool recompute = true);

 private:
  TFZANTRO& window_;
  EditFrame frame_;
  std::optional<ItemFiles> files_;
};

// The end of every command of the list: the open sheet follows the current item, the tabs are
// rebuilt (unless keepTabs), tab 0 is selected and the list redrawn.
void FinishBreakdownCommand(TFZANTRO& window, bool keepTabs = false);

// The lines, settings and totals of the open sheet become those of the current item's files.
// A command of the list moves items and files under the open sheet and changes the current
// item; a later save of the sheet must not write one item's lines under another's number.
void FollowCurrentItem(Document& doc, const std::string& folder);

}  // namespace zantro
