// The overhead dialog (TfOVERHEAD_Dlg): one overhead (諸経費) as a rate of the amounts above
// it, in one of the four kinds 81-84. From the breakdown list (launch "1;") it becomes an
// overhead item (WM_KEIHIWRITE, between an undo copy and a redraw of the list); from a sheet
// (launch "0;") an overhead line written at the grid cursor (WM_DATAWRITE).
#pragma once
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;

namespace zantro {

class ProgramShell;

class OverheadDialog : public QWidget {
 public:
  OverheadDialog(ProgramShell& shell, bool breakdown);

 private:
  void KindChosen();
  void Accept();

  ProgramShell& shell_;
  bool breakdown_;
  QComboBox* kind_;
  QLineEdit* name_;
  QLineEdit* remarks_;
  QLineEdit* costRate_;
  QLineEdit* subRate_;
  QComboBox* round_;
  QLabel* roundNote_;
};

}  // namespace zantro
