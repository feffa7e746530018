// docpick_dlg (Tfdocpick_Dlg): the documents of the data folder in a table (file, project,
// addressee, estimate amount, last change), newest first, narrowed by a filter over every
// column. Only the title of each file is read, so a folder of thousands lists at once. The
// chosen document goes to the class named in the launch as "WM_FILESELECT;PATH;".
#pragma once
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QWidget>
#include <string>
#include <vector>

#include "common/documents.h"
#include "messages/launches.h"

namespace zantro {

class ProgramShell;

// The rows of the table: one per document, the full path kept in the first cell's user role.
void FillDocumentModel(QStandardItemModel& model, const std::string& folder, const std::vector<DocumentEntry>& docs);

class DocPickDialog : public QWidget {
 public:
  DocPickDialog(ProgramShell& shell, DocPickLaunch launch);

 private:
  void ShowFolder();
  void Browse();
  void Open();

  ProgramShell& shell_;
  DocPickLaunch launch_;
  QLineEdit* folder_;
  QLineEdit* filter_;
  QTableView* table_;
  QLabel* count_;
  QStandardItemModel model_;
  QSortFilterProxyModel visible_;
};

}  // namespace zantro
