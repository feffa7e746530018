// The editor of one price library (codestore, seqstore, treestore): every column of the file
// as an editable table, rows added, deleted and moved, the registration export of the window
// pasted as new rows ("CSVデータの貼り付け", csv_inport.tmp), a supplier's price list taken in
// (SupplierPanel), and the whole table checked as the reader checks a file before it is
// written atomically. The tree editor shows the categories beside the table.
#pragma once
#include <QWidget>
#include <string>

#include "messages/launches.h"
#include "prices/library.h"
#include "prices/supplier.h"

class QComboBox;
class QLabel;
class QTableWidget;
class QTreeWidget;

namespace zantro {

class ProgramShell;
class ScriptRunner;

class LibraryEditor : public QWidget {
 public:
  LibraryEditor(ProgramShell& shell, const LibraryEditorLaunch& launch, std::string path, PriceLibrary lib);

  // The library the table holds, or nullopt after a notice naming the first bad cell (which
  // is then selected).
  std::optional<PriceLibrary> TableLibrary();

 protected:
  // Closing with changes not saved asks first.
  void closeEvent(QCloseEvent* e) override;

 private:
  bool Changed() const;
  void Build(const LibraryEditorLaunch& launch);
  void Fill(const std::vector<PriceEntry>& entries);
  void AppendRows(const std::vector<PriceEntry>& entries);
  void RebuildCategories();
  void Add();
  void Delete();
  void Move(int step);
  void PasteRegistration();
  void Save();
  // The supplier's list: chosen, mapped, its changes shown, applied to the table.
  void OpenSupplierList();
  void PlanImport();
  void ApplyImport();

  ProgramShell& shell_;
  std::string path_;
  PriceLibrary lib_;  // the notes and family; entries as last saved
  QTableWidget* table_;
  QTreeWidget* tree_ = nullptr;
  // Supplier import.
  QWidget* importPanel_;
  std::vector<QComboBox*> mapBoxes_;
  QComboBox* headerLines_;
  QTableWidget* importTable_;
  QLabel* importLabel_;
  std::string supplierBytes_, supplierFile_;
  std::vector<SupplierChange> plan_;
};

// "cell NAME ROW COL TEXT": the user types TEXT into a cell of the table NAME (a new row when
// ROW is the row after the last).
void AddCellVerb(ScriptRunner& runner, QWidget* root);

// The whole start of an editor program.
int RunLibraryEditor(int argc, char** argv, const char* program, PriceFamily family);

}  // namespace zantro
