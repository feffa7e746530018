#include "common/dialogframe.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>

#include "general/errors.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/gui/dialogs.h"

namespace zantro {

QString DialogCaption(const QString& name) { return name + " - " + QString::fromUtf8(kApplicationTitle); }

DialogKeys::DialogKeys(QWidget* root) : QObject(root), root_(root) { qApp->installEventFilter(this); }

namespace {

bool InsideItemView(QWidget* w) {
  for (QWidget* p = w; p; p = p->parentWidget())
    if (qobject_cast<QAbstractItemView*>(p)) return true;
  return false;
}

// The next widget of the tab order that takes focus by Tab, as Tab would find it.
void FocusNext(QWidget* from) {
  for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible() && w->window() == from->window()) {
      // As after Tab: the style then marks the focused widget, a button included, so the user
      // sees what the next Enter presses.
      w->window()->setAttribute(Qt::WA_KeyboardFocusChange);
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

}  // namespace

bool DialogKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w || (w != root_ && !root_->isAncestorOf(w)) || InsideItemView(w)) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & ~Qt::KeypadModifier) return false;
  if (key->key() == Qt::Key_Escape) {
    root_->close();
    return true;
  }
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
  if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    if (button->isEnabled()) button->click();
    return true;
  }
  // An editable combo box receives the key in its edit box.
  QWidget* field = qobject_cast<QComboBox*>(w->parentWidget()) ? w->parentWidget() : w;
  if (qobject_cast<QLineEdit*>(field) || qobject_cast<QComboBox*>(field)) {
    if (auto* edit = qobject_cast<QLineEdit*>(w); edit && !edit->hasAcceptableInput()) return true;
    FocusNext(field);
    return true;
  }
  return false;
}

void FillChoices(QComboBox* box, std::span<const Choice> choices, Money current) {
  box->clear();
  for (const Choice& c : choices) box->addItem(QString::fromUtf8(c.Text), QVariant::fromValue<qlonglong>(c.Value.raw));
  int index = box->findData(QVariant::fromValue<qlonglong>(current.raw));
  if (index < 0) {
    box->addItem(QString("その他 (%1)").arg(QString::fromStdString(MoneyToPlainText(current))),
                 QVariant::fromValue<qlonglong>(current.raw));
    index = box->count() - 1;
  }
  box->setCurrentIndex(index);
}

Money ChosenValue(const QComboBox* box) { return Money::FromRaw(box->currentData().toLongLong()); }

namespace {

void Refuse(Dialogs& dlg, QLineEdit* field, const QString& text) {
  dlg.ShowNotice(text);
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
}

}  // namespace

std::optional<Money> MoneyOfField(Dialogs& dlg, QLineEdit* field, const QString& label) {
  try {
    return TextToMoney(TypedNumber(field->text().trimmed().toStdString()));
  } catch (const ConversionError&) {
  } catch (const MoneyOverflow&) {
  }
  Refuse(dlg, field, QString("「%1」には数値を入力してください: %2").arg(label, field->text()));
  return std::nullopt;
}

std::optional<int32_t> IntegerOfField(Dialogs& dlg, QLineEdit* field, const QString& label) {
  try {
    return StrToInt(TypedNumber(field->text().trimmed().toStdString()));
  } catch (const ConversionError&) {
  }
  Refuse(dlg, field, QString("「%1」には整数を入力してください: %2").arg(label, field->text()));
  return std::nullopt;
}

std::optional<std::string> CheckedText(Dialogs& dlg, const QString& text, const QString& what) {
  if (text.contains(';')) {
    dlg.ShowNotice(QString("「%1」に「;」は使えません: %2").arg(what, text));
    return std::nullopt;
  }
  // A character without a Shift-JIS form comes out as "?" (variants such as the two wave
  // dashes map to one code and are fine).
  std::string sjis = Sjis(text);
  if (std::ranges::count(sjis, '?') != text.count('?')) {
    dlg.ShowNotice(QString("「%1」にシフトJISで書けない文字があります: %2").arg(what, text));
    return std::nullopt;
  }
  return sjis;
}

std::optional<std::string> TextOfField(Dialogs& dlg, QLineEdit* field, const QString& label) {
  auto text = CheckedText(dlg, field->text(), label);
  if (!text) {
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
  }
  return text;
}

QString Readable(std::string_view cp932) { return QString::fromStdString(ToUtf8(cp932)); }

std::string Sjis(const QString& text) { return ToCp932(text.toStdString()); }

}  // namespace zantro
