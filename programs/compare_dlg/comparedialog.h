// compare_dlg (TFCompare_Dlg): two documents side by side. OldEdit and NewEdit name them;
// NewEdit starts as the open document (the window's work files). DiffTable lists the rows of
// the comparison (item, row, state, field, old, new, difference), TotalsLabel the totals of
// both; a double click or Enter on a row brings the window to that item and row when the new
// side is the open document. XlsxButton and PdfButton write the workbook and the 変更対比表.
#pragma once
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QWidget>
#include <optional>
#include <string>

#include "compare/compare.h"
#include "compare/report.h"

namespace zantro {

class ProgramShell;

// What NewEdit shows for the open document.
inline constexpr const char* kOpenDocumentText = "（編集中の見積）";

// The table's rows: one per difference, the first cell holding the row's index in the result.
void FillDiffModel(QStandardItemModel& model, const compare::Result& r);

class CompareDialog : public QWidget {
 public:
  explicit CompareDialog(ProgramShell& shell);

 private:
  void Browse(QLineEdit* edit);
  void Run();
  void ShowInWindow();
  void Export(bool pdf);
  bool NewIsOpenDocument() const;

  ProgramShell& shell_;
  QLineEdit* old_;
  QLineEdit* new_;
  QTableView* table_;
  QLabel* totals_;
  QStandardItemModel model_;
  std::optional<compare::Result> result_;
  compare::Sides sides_;
  std::string inputs_[2];  // the files compared (the work files' head for the open document)
  bool openDocument_ = false;  // the result's new side is the open document
};

}  // namespace zantro
