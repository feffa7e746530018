// calcprice_dlg (Tfcalcprice_Dlg): the calculated prices of the rows the window names — all
// lines of the rows, or those of one price group. It shows the lines taken and the result of
// the chosen calculation (src/prices/calc.h) and sends it as one "WM_CALCDATA" line, which the
// window inserts at its selection; then it closes. The labour rate of 歩掛計算 is kept in
// calcprice.conf of the program folder for the next start.
#pragma once
#include <QWidget>
#include <vector>

#include "general/records.h"
#include "messages/launches.h"
#include "prices/calc.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace zantro {

class ProgramShell;

class CalcPriceDialog : public QWidget {
 public:
  CalcPriceDialog(ProgramShell& shell, const CalcPriceLaunch& launch, std::vector<LineRecord> lines);

 private:
  void Recalculate();
  void Write();
  std::optional<CalcResult> Result(bool quiet);

  ProgramShell& shell_;
  CalcPriceLaunch launch_;
  std::vector<LineRecord> lines_;
  std::optional<int> group_;
  QTableWidget* table_;
  QComboBox* mode_;
  QLineEdit* rate_;
  QLabel* result_;
};

// The sheet the window has open: the item it names in ZANTRO_CURRENT_ITEM, else item 1; its
// lines from the working copy (index 0 the sentinel, index r row r).
std::vector<LineRecord> OpenSheetLines(const std::string& programFolder);

// The labour rate kept for the next start ("[LABOUR_RATE]" of calcprice.conf), 0 when none.
Money KeptLabourRate(const std::string& programFolder);
void KeepLabourRate(const std::string& programFolder, Money rate);

}  // namespace zantro
