// The transfer dialog (Tfdocfetch_Dlg): the documents of a folder, the items with a sheet of
// the one chosen, and Fetch, which asks the window to take that item with its lines into the
// selected row of its breakdown list (WM_FILEADD).
#pragma once
#include <QWidget>
#include <string>
#include <vector>

class QLineEdit;
class QTableWidget;

namespace zantro {

class ProgramShell;

class FetchDialog : public QWidget {
 public:
  FetchDialog(ProgramShell& shell, const std::string& folder);

 private:
  void ListFolder();
  void Browse();
  void ShowItems(int row);
  void Fetch();

  ProgramShell& shell_;
  QLineEdit* folder_;
  QTableWidget* docs_;
  QTableWidget* items_;
  std::string listed_;               // the folder the table shows (UTF-8)
  std::vector<std::string> files_;   // the documents of the rows of docs_
  std::string itemsOf_;              // the document whose items items_ shows
  std::vector<int32_t> itemNumbers_; // the item number of each row of items_
};

}  // namespace zantro
