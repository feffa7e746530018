// seqprice_dlg (Tfseqprice_Dlg): the sets of a sequence library (a pipe of one size with its
// fittings, supports and insulation per metre). The user picks a set and types its base
// quantity once; every member line is written with base x its ratio ("WM_MULTIWRITE" each,
// one after the other from the window's cursor), then the sheet is saved ("WM_SAVERECORD").
#pragma once
#include <QWidget>

#include "messages/launches.h"
#include "prices/pick.h"

class QComboBox;
class QLineEdit;
class QTableWidget;

namespace zantro {

class ProgramShell;

class SeqPriceDialog : public QWidget {
 public:
  SeqPriceDialog(ProgramShell& shell, const PricePickLaunch& launch, PriceLibrary lib);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowMembers();
  void Write();

  ProgramShell& shell_;
  PriceLibrary lib_;
  std::vector<PriceSet> sets_;
  QTableWidget *sets_table_, *members_;
  QLineEdit* base_;
  QComboBox* level_;
};

}  // namespace zantro
