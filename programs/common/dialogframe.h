// What every companion dialog shares: its caption, the keys of the desktop (Enter moves on,
// Escape closes), named widgets, and the numbers and texts typed into its fields, checked at
// the field before anything is sent or written.
#pragma once
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "general/money.h"
#include "shell/programshell.h"

class QComboBox;
class QLineEdit;
class QWidget;

namespace zantro {

class Dialogs;

// "NAME - 積算プログラム-ザントロ": the dialog's own name before the application title.
QString DialogCaption(const QString& name);

template <typename W>
W* Named(W* w, const char* objectName) {
  w->setObjectName(objectName);
  return w;
}

// The keys of the desktop for root and everything in it: Enter (or the keypad's Enter) in an
// edit or choice box moves to the next field, Enter on a button presses it, Escape closes
// root. Tables keep their own Enter (editing a cell).
class DialogKeys : public QObject {
 public:
  explicit DialogKeys(QWidget* root);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* root_;
};

// A named choice of a setting and the value it stands for.
struct Choice {
  const char* Text;  // UTF-8
  Money Value;
};
// Fills box with the choices and selects current. A current value none of them stands for
// (a document written elsewhere) is offered as one more entry "その他 (VALUE)", so that
// leaving the box alone keeps it.
void FillChoices(QComboBox* box, std::span<const Choice> choices, Money current);
// The value of the entry chosen.
Money ChosenValue(const QComboBox* box);

// The number typed into a field, or nullopt after a notice naming the field; the cursor is
// put back into it. Empty text reads as 0, as every number of the command strings does.
std::optional<Money> MoneyOfField(Dialogs& dlg, QLineEdit* field, const QString& label);
// The same for a whole number (no decimals, no blank).
std::optional<int32_t> IntegerOfField(Dialogs& dlg, QLineEdit* field, const QString& label);

// The Shift-JIS bytes of a text typed into a field, or nullopt after a notice naming the
// field: a text with a character Shift-JIS cannot hold (it would be stored as "?") or with a
// ";" (it would split the fields of a command string) is refused.
std::optional<std::string> TextOfField(Dialogs& dlg, QLineEdit* field, const QString& label);
// The same check over a text that is not in a field (a table cell, a path); the notice names
// what. Returns nullopt after the notice.
std::optional<std::string> CheckedText(Dialogs& dlg, const QString& text, const QString& what);

// Shift-JIS bytes as the text a person reads, and back (characters without a Shift-JIS form
// become "?"; callers that must not lose them check with CheckedText first).
QString Readable(std::string_view cp932);
std::string Sjis(const QString& text);

// The launch argument string decoded by decode, or nullopt after an error box: a dialog the
// window did not start (no argument) or one whose argument does not decode would send the
// window values it never had.
template <typename Decode>
auto LaunchArgument(ProgramShell& shell, const QString& dialogName, Decode decode)
    -> std::optional<decltype(decode(std::string_view()))> {
  if (shell.Arguments().empty()) {
    shell.Dlg().ShowError(dialogName + "はザントロの画面から起動してください。");
    return std::nullopt;
  }
  try {
    return decode(std::string_view(shell.Argument()));
  } catch (const std::exception& e) {
    shell.Dlg().ShowError(dialogName + "の起動引数が正しくありません: " + QString::fromUtf8(e.what()));
    return std::nullopt;
  }
}

}  // namespace zantro
