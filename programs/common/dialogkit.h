// What every dialog of the family shares: designed object names, the desktop's keys (Enter
// moves to the next field, Escape closes), the window title, and fields read as numbers or as
// record texts, refused at the field that is wrong before anything is sent or written.
#pragma once
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "general/money.h"

class QLineEdit;
class QWidget;

namespace zantro {

class Dialogs;

template <typename W>
W* Named(W* w, const char* name) {
  w->setObjectName(name);
  return w;
}

// Enter or Return in an edit box or a combo box moves to the next field of the tab order,
// Return on a button presses it, Escape closes root. Call once the form is built.
void FollowDesktopKeys(QWidget* root);

// "CAPTION - 積算プログラム-ザントロ", the title every dialog of the family carries.
QString DialogTitle(const QString& caption);

// How a text field must be: a record field only cuts at its capacity, a field of a command
// string also cannot hold ";" (it would end the field).
enum class TextRule { Record, MessageField };

// Reads the fields of a form before anything is sent. The first field refused shows a notice
// naming it and takes the focus with its text selected; every later read of the same check
// is skipped, so the caller asks ok() once at the end and sends nothing when it is false.
class FormCheck {
 public:
  explicit FormCheck(Dialogs& dialogs) : dialogs_(dialogs) {}

  // A money value (empty text is 0), as the window converts it.
  Money Amount(QLineEdit* edit, const QString& caption);
  // A whole number within lo..hi.
  int32_t Whole(QLineEdit* edit, const QString& caption, int32_t lo, int32_t hi);
  // The text as Shift-JIS bytes: refused when a character has no Shift-JIS form, when it is
  // longer than capacity bytes (the record would cut it) or, for a message field, holds ";".
  std::string Text(QLineEdit* edit, const QString& caption, size_t capacity, TextRule rule = TextRule::Record);

  bool ok() const { return ok_; }

 private:
  void Refuse(QLineEdit* edit, const QString& why);

  Dialogs& dialogs_;
  bool ok_ = true;
};

// The text of a money value for an edit box: "" for 0 when blankZero, else the plain text.
QString MoneyEditText(Money v, bool blankZero = false);

}  // namespace zantro
