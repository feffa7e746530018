// The frame of the pipe and duct forms: the form's own fields above, the computation it made
// and the lines it would write below, then 書込み and 閉じる. The preview follows every edit;
// 書込み checks the fields again (a field that is not a number is refused at the field) and
// sends the lines at the window's cursor, WM_MULTIWRITE each, then WM_SAVERECORD.
#pragma once
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "general/money.h"
#include "messages/commands.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace zantro {

class ProgramShell;

class LinesForm : public QWidget {
 public:
  LinesForm(ProgramShell& shell, int level, const char* objectName, const QString& caption);

 protected:
  struct Result {
    std::vector<DetailLineMessage> Lines;
    QString Computation;
  };
  // The lines of the fields as they stand. loud (the write): a fault is a notice and the
  // cursor goes to its field; otherwise the fault is shown in place of the computation.
  virtual std::optional<Result> Compute(bool loud) = 0;

  // Puts the frame together around the form's fields; the subclass calls it from its
  // constructor after making them.
  void Finish(QGridLayout* fields);
  // The preview after an edit.
  void Refresh();
  // A number field: nullopt after reporting (see Compute); a value not above zero is refused
  // unless zeroAllowed.
  std::optional<Money> Number(bool loud, QLineEdit* field, const QString& label, bool zeroAllowed = false);
  // A fault not tied to a number: reported as Compute says.
  std::nullopt_t Fault(bool loud, QWidget* field, const QString& text);
  QLineEdit* NumberEdit(const char* name, const QString& initial = {});

  ProgramShell& shell_;
  const int level_;

 private:
  void Write();

  QLabel* computation_ = nullptr;
  QTableWidget* preview_ = nullptr;
};

}  // namespace zantro
