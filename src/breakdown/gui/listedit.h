// The window's edit frame for the commands of the breakdown list, the counterpart of
// SheetEdit: Files() moves the detail files of the items and keeps every one it touches, so
// that a rollback and a later undo put them back. Commit() recomputes the breakdown, writes
// the undo set (the list as it was when the frame was made, and the kept files) unless told
// not to, and HEAD.WRK; on the list the open sheet follows the current item; the window is
// told the items changed and shows them. Leaving without Commit leaves the document, its
// undo set and its files as they were.
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
  explicit ListEdit(TFZANTRO& window, UndoCopy undo = UndoCopy::Take);
  ~ListEdit();
  Document& Doc() { return frame_.Doc(); }
  ItemFiles& Files();
  // The breakdown totals are computed (with the settings of the sheet that follows the
  // current item) before the working copy is written.
  void Commit();

 private:
  TFZANTRO& window_;
  EditFrame frame_;
  std::optional<ItemFiles> files_;
};

// The lines, settings and totals of the open sheet become those of the current item's files.
// A command of the list moves items and files under the open sheet and changes the current
// item; a later save of the sheet must not write one item's lines under another's number.
void FollowCurrentItem(Document& doc, const std::string& folder);

}  // namespace zantro
