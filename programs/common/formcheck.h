// The fields of a form read before anything is sent or written: the first field refused
// shows a notice naming it and takes the focus; every later read of the same check is
// skipped, so a handler asks ok() once at the end and sends nothing when it is false.
#pragma once
#include <QString>
#include <cstdint>
#include <string>

#include "general/money.h"

class QLineEdit;

namespace zantro {

class Dialogs;

class FormCheck {
 public:
  explicit FormCheck(Dialogs& dialogs) : dialogs_(dialogs) {}

  // A money value (empty text is 0), as the window converts it.
  Money Amount(QLineEdit* edit, const QString& caption);
  // A whole number within lo..hi.
  int32_t Whole(QLineEdit* edit, const QString& caption, int32_t lo, int32_t hi);
  // The text as Shift-JIS bytes, refused as TextOfField refuses it and when it is longer than
  // the capacity bytes of its record field (which would cut it).
  std::string Text(QLineEdit* edit, const QString& caption, size_t capacity);

  bool ok() const { return ok_; }

 private:
  Dialogs& dialogs_;
  bool ok_ = true;
};

// The text of a money value for an edit box: "" for 0 when blankZero, else the plain text.
QString MoneyEditText(Money v, bool blankZero = false);

}  // namespace zantro
