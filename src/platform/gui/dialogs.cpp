#include "platform/gui/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

#include "platform/files.h"
#include "platform/filters.h"

namespace zantro {
namespace {

std::optional<bool>& ScriptedShift() {
  static std::optional<bool> held;
  return held;
}

}  // namespace

bool ShiftHeld() {
  if (ScriptedShift()) return *ScriptedShift();
  return QApplication::keyboardModifiers() & Qt::ShiftModifier;
}

void SetScriptedShift(std::optional<bool> held) { ScriptedShift() = held; }

const char* AnswerKindName(ScriptAnswer::Kind k) {
  switch (k) {
    case ScriptAnswer::Ask: return "ask";
    case ScriptAnswer::Input: return "input";
    case ScriptAnswer::File: return "file";
    case ScriptAnswer::Folder: return "folder";
  }
  return "?";
}

// ---- interactive ----

QIcon DialogIcon(const QString& programFolder) {
  auto path = FindNoCase(programFolder.toStdString(), "dialog.ico");
  if (!path || !FileExists(*path)) return {};
  return QIcon(QString::fromStdString(*path));
}

InteractiveDialogs::InteractiveDialogs(QWidget* parent, QString programFolder)
    : parent_(parent), programFolder_(std::move(programFolder)) {}

namespace {

void Decorate(QMessageBox& box, const QString& programFolder) {
  box.setWindowTitle(QString::fromUtf8(kApplicationTitle));
  if (QIcon icon = DialogIcon(programFolder); !icon.isNull()) box.setWindowIcon(icon);
  for (auto* b : box.buttons()) b->setCursor(Qt::PointingHandCursor);
}

}  // namespace

void InteractiveDialogs::ShowNotice(const QString& text) {
  QMessageBox box(QMessageBox::Information, QString(), text, QMessageBox::NoButton, parent_);
  box.addButton(QString::fromUtf8("確認"), QMessageBox::AcceptRole);
  Decorate(box, programFolder_);
  box.exec();
}

bool InteractiveDialogs::AskExecute(const QString& text, const QString& yesText, const QString& noText) {
  QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::NoButton, parent_);
  auto* yes = box.addButton(yesText, QMessageBox::YesRole);
  box.addButton(noText, QMessageBox::NoRole);
  box.setDefaultButton(yes);
  Decorate(box, programFolder_);
  box.exec();
  return box.clickedButton() == yes;
}

int InteractiveDialogs::AskChoice(const QString& text, const QStringList& buttons) {
  QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::NoButton, parent_);
  std::vector<QAbstractButton*> added;
  for (int i = 0; i < buttons.size(); ++i) {
    auto role = i == 0 ? QMessageBox::AcceptRole : i + 1 == buttons.size() ? QMessageBox::RejectRole : QMessageBox::DestructiveRole;
    added.push_back(box.addButton(buttons[i], role));
  }
  if (added.empty()) return -1;
  box.setDefaultButton(static_cast<QPushButton*>(added.front()));
  box.setEscapeButton(added.back());
  Decorate(box, programFolder_);
  box.exec();
  for (size_t i = 0; i < added.size(); ++i)
    if (box.clickedButton() == added[i]) return static_cast<int>(i);
  return static_cast<int>(added.size()) - 1;
}

std::optional<QString> InteractiveDialogs::InputBox(const QString& caption, const QString& prompt,
                                                    const QString& preset) {
  bool ok = false;
  QString text = QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, preset, &ok);
  if (!ok) return std::nullopt;
  return text;
}

std::optional<QString> InteractiveDialogs::OpenFile(const FileDialogRequest& r) {
  QString filter = QString::fromStdString(QtFilter(r.filter.toStdString()));
  QString path = QFileDialog::getOpenFileName(parent_, r.title, r.initialDir, filter);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> InteractiveDialogs::SaveFile(const FileDialogRequest& r) {
  QFileDialog dlg(parent_, r.title, r.initialDir, QString::fromStdString(QtFilter(r.filter.toStdString())));
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setDefaultSuffix(r.defaultExt);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  return dlg.selectedFiles().first();
}

std::optional<QString> InteractiveDialogs::ChooseFolder(const QString& title, const QString& initialDir) {
  QString path = QFileDialog::getExistingDirectory(parent_, title, initialDir);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

void InteractiveDialogs::Beep() { QApplication::beep(); }

void InteractiveDialogs::ShowError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QString(), text, QMessageBox::Ok, parent_);
  Decorate(box, programFolder_);
  box.exec();
}

// ---- scripted ----

std::optional<ScriptAnswer> ScriptedDialogs::Take(ScriptAnswer::Kind k) {
  if (queue_.empty()) {
    sink_(QString("unanswered: ") + AnswerKindName(k));
    return std::nullopt;
  }
  if (queue_.front().kind != k)
    throw ScriptMismatch(std::string("a ") + AnswerKindName(k) + " question found the answer " +
                         AnswerKindName(queue_.front().kind));
  std::optional<ScriptAnswer> a(std::in_place, queue_.front());
  queue_.pop_front();
  return a;
}

int ScriptedDialogs::FlushUnused() {
  int n = static_cast<int>(queue_.size());
  for (const auto& a : queue_) sink_(QString("unused: ") + AnswerKindName(a.kind));
  queue_.clear();
  return n;
}

void ScriptedDialogs::ShowNotice(const QString& text) { sink_("notice: " + text); }

bool ScriptedDialogs::AskExecute(const QString& text, const QString& yesText, const QString& noText) {
  sink_("ask: " + text + "|" + yesText + "|" + noText);
  auto a = Take(ScriptAnswer::Ask);
  return a && a->yes;
}

int ScriptedDialogs::AskChoice(const QString& text, const QStringList& buttons) {
  sink_("ask: " + text + "|" + buttons.join("|"));
  const int last = static_cast<int>(buttons.size()) - 1;
  auto a = Take(ScriptAnswer::Ask);
  if (!a || a->last) return last;
  return a->yes ? 0 : std::min(1, last);
}

std::optional<QString> ScriptedDialogs::InputBox(const QString& caption, const QString& prompt,
                                                 const QString& preset) {
  sink_("input: " + caption + "|" + prompt + "|" + preset);
  auto a = Take(ScriptAnswer::Input);
  if (!a || a->cancel) return std::nullopt;
  return a->text;
}

std::optional<QString> ScriptedDialogs::FileDialog(const char* kind, const FileDialogRequest& r, bool addExt) {
  sink_(QString("dialog: ") + kind + "|" + r.title + "|" + r.filter + "|" + r.defaultExt + "|" + r.initialDir);
  auto a = Take(ScriptAnswer::File);
  if (!a || a->cancel) return std::nullopt;
  QFileInfo info(a->text);
  QString path = info.absoluteFilePath();
  if (addExt && !r.defaultExt.isEmpty() && info.suffix().isEmpty()) path += "." + r.defaultExt;
  return path;
}

std::optional<QString> ScriptedDialogs::OpenFile(const FileDialogRequest& r) { return FileDialog("open", r, false); }

std::optional<QString> ScriptedDialogs::SaveFile(const FileDialogRequest& r) { return FileDialog("save", r, true); }

std::optional<QString> ScriptedDialogs::ChooseFolder(const QString& title, const QString& initialDir) {
  sink_("dialog: folder|" + title + "|||" + initialDir);
  auto a = Take(ScriptAnswer::Folder);
  if (!a || a->cancel) return std::nullopt;
  return QFileInfo(a->text).absoluteFilePath();
}

void ScriptedDialogs::Beep() { sink_("beep"); }

void ScriptedDialogs::ShowError(const QString& text) { sink_("error: " + text); }

}  // namespace zantro

namespace zantro {

namespace {

class NothingShown : public Progress {
 public:
  bool Step(int64_t, int64_t) override { return true; }
};

}  // namespace

std::unique_ptr<Progress> Dialogs::StartProgress(const QString&) { return std::make_unique<NothingShown>(); }

std::unique_ptr<Progress> ScriptedDialogs::StartProgress(const QString& label) {
  auto stopAt = std::exchange(stopAt_, std::nullopt);
  return std::make_unique<RecordedProgress>(
      label.toStdString(),
      [this](const std::string& line) {
        if (progressShown_) sink_(QString::fromStdString(line));
      },
      stopAt);
}

}  // namespace zantro
