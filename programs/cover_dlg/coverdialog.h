// cover_dlg (TFCover_Dlg): the title sheet of the open document. It starts from the title
// record of HEAD.WRK, lets the estimator change the fields of the printed cover, writes the
// whole record to HEAD_TITLE.WRK and tells the window with "WM_TITLE;".
#pragma once
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <string>

#include "general/records.h"
#include "messages/launches.h"

namespace zantro {

class ProgramShell;

class CoverDialog : public QWidget {
 public:
  CoverDialog(ProgramShell& shell, CoverLaunch launch);

  // The title the dialog started from (HEAD.WRK of the program folder, else an empty one).
  const TitleRecord& Original() const { return title_; }

 private:
  QLineEdit* AddText(const char* key, const char* caption, int chars);
  void ShowDate();
  void Fill();
  void Ok();

  ProgramShell& shell_;
  CoverLaunch launch_;
  TitleRecord title_{};
  QLineEdit *year_ = nullptr, *month_ = nullptr, *day_ = nullptr;
  QLabel* era_ = nullptr;
};

}  // namespace zantro
