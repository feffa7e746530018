#include "common/formcheck.h"

#include <QLineEdit>

#include "common/dialogframe.h"
#include "platform/gui/dialogs.h"

namespace zantro {

Money FormCheck::Amount(QLineEdit* edit, const QString& caption) {
  if (!ok_) return Money{};
  auto v = MoneyOfField(dialogs_, edit, caption);
  ok_ = v.has_value();
  return v.value_or(Money{});
}

int32_t FormCheck::Whole(QLineEdit* edit, const QString& caption, int32_t lo, int32_t hi) {
  if (!ok_) return lo;
  auto v = IntegerOfField(dialogs_, edit, caption);
  if (v && (*v < lo || *v > hi)) {
    dialogs_.ShowNotice(QString("「%1」には %2 から %3 までの数値を入力してください: %4")
                            .arg(caption).arg(lo).arg(hi).arg(edit->text()));
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    v.reset();
  }
  ok_ = v.has_value();
  return v.value_or(lo);
}

std::string FormCheck::Text(QLineEdit* edit, const QString& caption, size_t capacity) {
  if (!ok_) return {};
  auto bytes = TextOfField(dialogs_, edit, caption);
  ok_ = bytes.has_value();
  if (!ok_) return {};
  std::string text = std::move(*bytes);
  if (text.size() <= capacity) return text;
  dialogs_.ShowNotice(QString("「%1」は半角%2文字（全角%3文字）までです: %4")
                          .arg(caption).arg(capacity).arg(capacity / 2).arg(edit->text()));
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
  ok_ = false;
  return {};
}

QString MoneyEditText(Money v, bool blankZero) {
  if (blankZero && v == Money{}) return {};
  return QString::fromStdString(MoneyToPlainText(v));
}

}  // namespace zantro
