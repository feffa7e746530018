// rowedit_dlg (TFRowedit_Dlg): the line-entry dialog. It opens on the line the window names
// (item and row), filled from the work files when the line exists, shows the cost and
// submitted amounts the engine gives the line as it is typed, and writes it back with
// "WM_DATAWRITE". After a write it stands on the next row, so lines are typed one after the
// other from the keyboard; PrevButton and NextButton move without writing and keep the
// window's cursor on the same row ("WM_AUTOUP;", "WM_AUTODOWN;").
#pragma once
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <map>

#include "general/document.h"
#include "lineform.h"
#include "messages/launches.h"

namespace zantro {

class ProgramShell;

class RowEditDialog : public QWidget {
 public:
  RowEditDialog(ProgramShell& shell, RowEditLaunch launch);

  int32_t Row() const { return row_; }

 private:
  void Build();
  QLineEdit* AddEdit(const char* name);
  // Reads the sheet of the item from the work files and shows row_.
  void Load();
  void Fill();
  void ApplyShape();
  void SchedulePreview();
  void Preview();
  // The line the form describes, or nothing when a field is refused (with check).
  bool BuildLine(class FormCheck* check, LineRecord& out);
  void Write();
  void Move(int delta);
  int32_t Flag() const;
  Money KeyBelow() const;
  void FollowQuantityDecimals();

  ProgramShell& shell_;
  RowEditLaunch launch_;
  GroupNames groups_;
  Document doc_;
  int32_t row_ = 1;
  LineRecord shown_{};     // the line as loaded (blank when the row holds none)
  bool exists_ = false;
  bool subQtyFollows_ = true;
  bool previewPending_ = false;

  QLabel* where_;
  QComboBox *kind_, *group_, *round_, *secondRound_;
  QLineEdit *name_, *spec_, *unit_, *labour_, *costQty_, *subQty_, *costPrice_, *subPrice_, *costExtra_,
      *subExtra_, *remarks_, *amountText_;
  QLabel *costAmount_, *subAmount_, *groupHint_;
  std::map<const char*, QLabel*> captions_;
  QPushButton *write_, *prev_, *next_;
};

}  // namespace zantro
