// The commands of a detail sheet: its edits, the lines that leave and enter it through files,
// and the menu "各種変換＆計算(&V)". InstallSheetCommands plugs them into a window through the
// window's hooks, as the breakdown list plugs in: the command words, the items bound by name.
// The class reaches the window only through its public face (the document, the program folder,
// the dialogs, the selection, the edit frame and Changed); it draws nothing itself.
#pragma once
#include <QString>
#include <cstdint>
#include <memory>

class QObject;

namespace zantro {

class TFZANTRO;

void InstallSheetCommands(TFZANTRO& window);

// The selection moves of the sheet commands and the companions' messages: one row down (the
// window keeps a row past the last line), one row up (none above the first).
void SelectNextRow(TFZANTRO& window);
void SelectPreviousRow(TFZANTRO& window);

class SheetCommands : public std::enable_shared_from_this<SheetCommands> {
 public:
  explicit SheetCommands(TFZANTRO& window) : w_(window) {}
  // Registers the handlers; the object must be held by a shared_ptr, which they share.
  void Install();

  // ---- edits (sheetcommands.cpp); each runs its change in a SheetEdit and commits ----
  void Erase();
  void Insert();
  void Delete();
  void Undo();
  void Move(int direction);  // -1 up, +1 down
  void Swap();
  void TotalLine();
  void TaxLine();
  void NewData();
  void RenameItem();
  void ShowQuantitySum();

  // ---- files (sheetfiles.cpp): the copy buffer, parts files, the CSV export ----
  void Copy();
  void Paste(bool merge);
  void PartSave();
  void PartLoad();
  void ExportCsv();

  // ---- the convert menu (convertcommands.cpp); item is the menu item clicked ----
  void TextCommandClick(QObject* item);
  void BulkCommand(QObject* item);

 private:
  // The line at the top of the selection: the number the row shows, else the row.
  int32_t SelectedLine() const;
  QString PartsFolder() const;  // [Part_Dir], else "part" of the program folder

  TFZANTRO& w_;
};

}  // namespace zantro
