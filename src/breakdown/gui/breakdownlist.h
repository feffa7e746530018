// The breakdown list in the main window (tab 0): its drawing, its commands and the replies of
// the companions that serve it. InstallBreakdownList plugs it into a window through the
// window's hooks: ShowBreakdownList, the command words, the items bound by name and the
// handlers of the companions' command strings (WM_KEITO, WM_FILEADD, WM_KEIHIWRITE,
// WM_ITEMNOTE, WM_ITEMPLAN, WM_ITEM_UNDO_SAVE, WM_ITEM_DATADISP).
#pragma once
#include <QString>
#include <cstdint>
#include <string>

#include "general/linesfile.h"
#include "uzantro/gridalias.h"

namespace zantro {

class TFZANTRO;

void InstallBreakdownList(TFZANTRO& window);

class BreakdownList {
 public:
  explicit BreakdownList(TFZANTRO& window) : w_(window) {}
  void Install();

  // ---- view (listview.cpp) ----
  // Draws the list into the grid the window hands over (the window's ShowBreakdownList).
  void Draw(TStrColGrid& grid);
  void SelectAll();
  void SelectLast();

  // ---- list commands (listcommands.cpp) ----
  void Copy();
  void Paste();
  void Insert();
  void Delete();
  void Hierarchy();
  void TransferStart();
  void Undo();
  void OpenRow();
  void NameEntry();
  void NameListStart(bool sheetUndo);
  void CsvOut();
  void SpreadsheetOut();

  // ---- summary lines (listsummary.cpp) ----
  void Subtotal();
  void GrandTotal();
  void Reduction();
  void Tax();
  void OverheadStart();
  void NoteStart();
  void Remarks();
  void DigitsStart();

  // ---- companion replies (listreplies.cpp); text is the whole command string, Shift-JIS ----
  void Keito(const std::string& text);
  void FileAdd(const std::string& text);
  void KeihiWrite(const std::string& text);
  void ItemNote(const std::string& text);
  void ItemPlan(const std::string& text);
  void ItemUndoSave();
  void ItemDataDisp();

 private:
  RowSelection Selection() const;
  bool Ask(const QString& text);
  void Notice(const QString& text);
  // Starts a single-instance companion of class windowClass; what names it when it is missing.
  void StartSingle(const char* windowClass, const char* exeName, const std::string& argument, const char* what);
  void SelectNextRow();
  QString Gengaku() const;

  TFZANTRO& w_;
  int32_t copySource_ = 0;  // the row copied last; 0 before any copy
};

}  // namespace zantro
