// The picker of the CODE libraries (codeprice_dlg) and of the tree libraries (treeprice_dlg):
// a search box that narrows the list at each keystroke, the list, the price level, a quantity,
// and the write of the current entry as a line at the window's cursor ("WM_DATAWRITE"). The
// picker stays open for the next line; from the keyboard: type a code, Enter, a quantity,
// Enter writes and returns to the search box. The tree picker adds the categories beside the
// list: the empty search box shows the chosen category, a typed text searches the whole library.
#pragma once
#include <QWidget>
#include <map>
#include <optional>
#include <vector>

#include "messages/launches.h"
#include "pricemodel.h"
#include "prices/search.h"

class QComboBox;
class QLineEdit;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

namespace zantro {

class ProgramShell;
class ScriptRunner;

class PricePicker : public QWidget {
 public:
  PricePicker(ProgramShell& shell, const PricePickLaunch& launch, PriceLibrary lib);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build(const PricePickLaunch& launch);
  void BuildCategories();
  void Narrow();
  void Step(int delta);
  void Write();

  ProgramShell& shell_;
  PriceLibrary lib_;
  PriceIndex index_;
  PriceListModel* model_;
  std::vector<uint32_t> category_;  // the chosen category's entries (tree picker)
  bool categoryChosen_ = false;
  QLineEdit *search_, *qty_;
  QComboBox* level_;
  QTableView* table_;
  QTreeWidget* tree_ = nullptr;
};

// "tree NAME PATH": picks the node of the tree NAME whose captions from the top, joined by
// "/", are PATH.
void AddTreeVerb(ScriptRunner& runner, QWidget* root);

// The whole start of a picker program: launch, library, window. family Code or Tree.
int RunPricePicker(int argc, char** argv, const char* program, const char* windowClass, PriceFamily family);

}  // namespace zantro
