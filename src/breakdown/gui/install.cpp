#include <QAction>
#include <memory>

#include "breakdown/gui/breakdownlist.h"
#include "uzantro/fzantro.h"

namespace zantro {

void InstallBreakdownList(TFZANTRO& window) {
  auto list = std::make_shared<BreakdownList>(window);
  window.ShowBreakdownList = [list](TStrColGrid& grid) { list->Draw(grid); };
  list->Install();
  // The window keeps the list alive through the handlers it registered.
}

void BreakdownList::Install() {
  using enum CommandMode;
  auto word = [this](const char* w, void (BreakdownList::*fn)()) {
    w_.RegisterCommand(w, Breakdown, [this, fn](QObject*) { (this->*fn)(); });
  };
  word("copy", &BreakdownList::Copy);
  word("paste1", &BreakdownList::Paste);
  word("insert", &BreakdownList::Insert);
  word("delete", &BreakdownList::Delete);
  word("undo", &BreakdownList::Undo);
  word("all_select", &BreakdownList::SelectAll);
  word("Last_Line", &BreakdownList::SelectLast);
  word("sumline", &BreakdownList::GrandTotal);
  word("taxin", &BreakdownList::Tax);
  word("keihi", &BreakdownList::OverheadStart);
  word("note_in", &BreakdownList::NoteStart);
  word("ketain", &BreakdownList::DigitsStart);
  word("csv_out", &BreakdownList::CsvOut);
  word("uchiwake_title", &BreakdownList::NameEntry);
  word("dblclick_breakdown", &BreakdownList::OpenRow);

  auto click = [this](const char* name, void (BreakdownList::*fn)()) {
    w_.RegisterClick(name, [this, fn] { (this->*fn)(); });
  };
  for (const char* n : {"item_Operate_execute", "item_Operate_executeP"}) click(n, &BreakdownList::Undo);
  for (const char* n : {"N158", "N158P"}) click(n, &BreakdownList::Hierarchy);
  for (const char* n : {"N150", "N169"}) click(n, &BreakdownList::TransferStart);
  for (const char* n : {"N157", "N157P"}) click(n, &BreakdownList::Subtotal);
  for (const char* n : {"N156", "N156P"}) click(n, &BreakdownList::Reduction);
  for (const char* n : {"N155", "N174"}) click(n, &BreakdownList::Remarks);
  click("N188", &BreakdownList::SpreadsheetOut);
  w_.RegisterClick("N130", [this] { NameListStart(true); });
  w_.RegisterClick("GradBtn39", [this] { NameListStart(false); });

  auto message = [this](const char* name, void (BreakdownList::*fn)(const std::string&)) {
    w_.RegisterMessage(name, [this, fn](const std::string& text) { (this->*fn)(text); });
  };
  message("WM_KEITO", &BreakdownList::Keito);
  message("WM_FILEADD", &BreakdownList::FileAdd);
  message("WM_KEIHIWRITE", &BreakdownList::KeihiWrite);
  message("WM_ITEMNOTE", &BreakdownList::ItemNote);
  message("WM_ITEMPLAN", &BreakdownList::ItemPlan);
  w_.RegisterMessage("WM_ITEM_UNDO_SAVE", [this](const std::string&) { ItemUndoSave(); });
  w_.RegisterMessage("WM_ITEM_DATADISP", [this](const std::string&) { ItemDataDisp(); });
}

}  // namespace zantro
