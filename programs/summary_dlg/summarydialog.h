// The cost summary's window: the tables of src/summary over the working copy (or a saved
// document), the labour rate the user types, the bill of materials narrowed and ordered,
// and its exports.
#pragma once
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "common/dialogframe.h"
#include "summary/materials.h"
#include "summary/tables.h"

class QComboBox;
class QLineEdit;
class QTableWidget;

namespace zantro {

class SummaryDialog : public QWidget {
 public:
  // source: "WRK" for the work files of the program folder, else a document's path (UTF-8).
  SummaryDialog(ProgramShell& shell, std::string source);

  // Reads the document and fills the tables; false after the reason was shown.
  bool Load();

 private:
  void Fill();
  void FillMaterials();
  void RateEdited();
  void ExportCsv();
  void ExportWorkbook();
  void ExportPdf();
  std::optional<QString> AskPath(const char* title, const char* filter, const char* ext);

  ProgramShell& shell_;
  std::string source_;
  std::optional<Money> rate_;
  summary::Summary summary_;
  std::vector<summary::MaterialRow> shown_;  // the bill of materials as filtered and ordered
  std::string construction_;
  QLineEdit* rateEdit_;
  QLineEdit* filterEdit_;
  QComboBox* sortBox_;
  QTableWidget* groupTable_;
  QTableWidget* itemTable_;
  QTableWidget* itemGroupTable_;
  QTableWidget* labourTable_;
  QTableWidget* materialTable_;
};

}  // namespace zantro
