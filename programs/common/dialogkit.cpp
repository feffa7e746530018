#include "dialogkit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QWidget>

#include "general/errors.h"
#include "platform/cp932.h"
#include "platform/gui/dialogs.h"

namespace zantro {
namespace {

bool IsEnter(const QKeyEvent* k) {
  return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
         !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

// Lives as a child of the root, so it goes with it.
class EnterMovesOn : public QObject {
 public:
  explicit EnterMovesOn(QWidget* root) : QObject(root) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !IsEnter(static_cast<QKeyEvent*>(event))) return false;
    if (auto* button = qobject_cast<QAbstractButton*>(watched)) {
      button->click();
      return true;
    }
    // A combo box with its list open takes Enter as the choice.
    if (auto* combo = qobject_cast<QComboBox*>(watched); combo && combo->view() && combo->view()->isVisible())
      return false;
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) emit edit->editingFinished();
    // As Tab does: the widget hands the focus on along the tab order.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(watched, &tab);
    return true;
  }
};

bool TakesEnter(QWidget* w) {
  // The line edit inside an editable combo box is handled by the combo box.
  if (qobject_cast<QComboBox*>(w->parentWidget())) return false;
  return qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
         qobject_cast<QAbstractButton*>(w);
}

}  // namespace

void FollowDesktopKeys(QWidget* root) {
  auto* filter = new EnterMovesOn(root);
  for (QWidget* w : root->findChildren<QWidget*>())
    if (TakesEnter(w)) w->installEventFilter(filter);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), root);
  escape->setContext(Qt::WindowShortcut);
  QObject::connect(escape, &QShortcut::activated, root, &QWidget::close);
}

QString DialogTitle(const QString& caption) { return caption + " - " + QString::fromUtf8(kApplicationTitle); }

void FormCheck::Refuse(QLineEdit* edit, const QString& why) {
  ok_ = false;
  dialogs_.ShowNotice(why);
  edit->setFocus();
  edit->selectAll();
}

Money FormCheck::Amount(QLineEdit* edit, const QString& caption) {
  if (!ok_) return Money{};
  QString text = edit->text().trimmed();
  try {
    return TextToMoney(text.toStdString());
  } catch (const ConversionError&) {
  } catch (const MoneyOverflow&) {
  }
  Refuse(edit, "「" + caption + "」は数値ではありません: " + text);
  return Money{};
}

int32_t FormCheck::Whole(QLineEdit* edit, const QString& caption, int32_t lo, int32_t hi) {
  if (!ok_) return lo;
  QString text = edit->text().trimmed();
  bool isInt = false;
  int value = text.toInt(&isInt);
  if (!isInt) {
    Refuse(edit, "「" + caption + "」は数値ではありません: " + text);
    return lo;
  }
  if (value < lo || value > hi) {
    Refuse(edit, "「" + caption + "」は " + QString::number(lo) + " から " + QString::number(hi) +
                     " までの数値で入力してください: " + text);
    return lo;
  }
  return value;
}

std::string FormCheck::Text(QLineEdit* edit, const QString& caption, size_t capacity, TextRule rule) {
  if (!ok_) return {};
  std::string utf8 = edit->text().toStdString();
  std::string bytes = ToCp932(utf8);
  if (ToUtf8(bytes) != utf8) {
    Refuse(edit, "「" + caption + "」に使えない文字が含まれています: " + edit->text());
  } else if (rule == TextRule::MessageField && utf8.find(';') != std::string::npos) {
    Refuse(edit, "「" + caption + "」に「;」は使えません: " + edit->text());
  } else if (bytes.size() > capacity) {
    Refuse(edit, "「" + caption + "」は半角" + QString::number(capacity) + "文字（全角" +
                     QString::number(capacity / 2) + "文字）までです: " + edit->text());
  }
  return ok_ ? bytes : std::string();
}

QString MoneyEditText(Money v, bool blankZero) {
  if (blankZero && v == Money{}) return {};
  return QString::fromStdString(MoneyToPlainText(v));
}

}  // namespace zantro
