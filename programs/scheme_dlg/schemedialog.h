// The calculation settings dialog (TFScheme_Dlg): the five settings of the open sheet as
// named choices, and from the breakdown list also the rounding and folding unit of the
// list's overhead items. OK sends them back (WM_PLAN or WM_ITEMPLAN).
#pragma once
#include <QWidget>

#include "messages/launches.h"

class QComboBox;
class QLineEdit;

namespace zantro {

class ProgramShell;

class SchemeDialog : public QWidget {
 public:
  SchemeDialog(ProgramShell& shell, SchemeLaunch launch);

 private:
  void Accept();

  ProgramShell& shell_;
  SchemeLaunch launch_;
  QComboBox* lineRound_;
  QComboBox* opt4Round_;
  QComboBox* quantityScale_;
  QComboBox* opt3Unit_;
  QComboBox* opt6Round_;
  QLineEdit* cutLevel_ = nullptr;
  QComboBox* keta_ = nullptr;
};

}  // namespace zantro
