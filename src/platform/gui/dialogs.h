// The one seam for every modal question of the window. Handlers never open a Qt dialog
// themselves: the interactive program shows Qt dialogs, the headless front answers from its
// script. All texts are UTF-8 QStrings (the edge where Shift-JIS has become readable text).
#pragma once
#include <QIcon>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

#include "platform/folderstore.h"
#include "platform/progress.h"

class QWidget;

namespace zantro {

// The application title shown as the caption of every box.
inline const char* const kApplicationTitle = "積算プログラム-ザントロ";

struct FileDialogRequest {
  QString title;
  QString filter;       // as the documents write it: "ザントロファイル(znt2)|*.znt2;"
  QString defaultExt;   // without the dot
  QString initialDir;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // One-button information box whose button reads "確認".
  virtual void ShowNotice(const QString& text) = 0;
  // Two-button question; true when the first button (yesText) was chosen.
  virtual bool AskExecute(const QString& text, const QString& yesText, const QString& noText) = 0;
  // A question with several buttons, the first the default: the index of the one chosen.
  // Escape and the box's close button choose the last one (its cancel).
  virtual int AskChoice(const QString& text, const QStringList& buttons) = 0;
  // One-line input box; nullopt on cancel.
  virtual std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& preset) = 0;
  virtual std::optional<QString> OpenFile(const FileDialogRequest& r) = 0;
  virtual std::optional<QString> SaveFile(const FileDialogRequest& r) = 0;
  virtual std::optional<QString> ChooseFolder(const QString& title, const QString& initialDir) = 0;
  virtual void Beep() = 0;
  // The error box of the event boundary.
  virtual void ShowError(const QString& text) = 0;
  // The progress of a long work named label, shown while the object lives. Without a display
  // (a test's dialogs) nothing is shown and nothing stops.
  virtual std::unique_ptr<Progress> StartProgress(const QString& label);

  // OpenFile and SaveFile for a kind of dialog: they start in the folder the last dialog of
  // that kind was used with and remember the folder of the file chosen, once the program has
  // given its store (programs built on the shell do; dialogs made by a test remember nothing).
  std::optional<QString> OpenFileIn(FolderKind kind, FileDialogRequest r);
  std::optional<QString> SaveFileIn(FolderKind kind, FileDialogRequest r);
  void RememberFoldersIn(std::optional<FolderStore> store) { folders_ = std::move(store); }
  const FolderStore* Folders() const { return folders_ ? &*folders_ : nullptr; }

 private:
  std::optional<QString> Remembering(FolderKind kind, FileDialogRequest& r, bool save);
  std::optional<FolderStore> folders_;
};

// Qt dialogs captioned with the application title, icon "dialog.ico" of the program folder.
class InteractiveDialogs : public Dialogs {
 public:
  InteractiveDialogs(QWidget* parent, QString programFolder);
  void SetParent(QWidget* parent) { parent_ = parent; }
  void ShowNotice(const QString& text) override;
  bool AskExecute(const QString& text, const QString& yesText, const QString& noText) override;
  int AskChoice(const QString& text, const QStringList& buttons) override;
  std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& preset) override;
  std::optional<QString> OpenFile(const FileDialogRequest& r) override;
  std::optional<QString> SaveFile(const FileDialogRequest& r) override;
  std::optional<QString> ChooseFolder(const QString& title, const QString& initialDir) override;
  void Beep() override;
  void ShowError(const QString& text) override;
  // A modal box with the label, a bar and "キャンセル", shown once the work has run half a
  // second; events are served at each step so the button answers.
  std::unique_ptr<Progress> StartProgress(const QString& label) override;

 private:
  QWidget* parent_;
  QString programFolder_;
};

// A script's answer to a question.
struct ScriptAnswer {
  enum Kind { Ask, Input, File, Folder };
  Kind kind = Ask;
  bool yes = false;            // Ask
  bool cancel = false;         // Input / File / Folder: the user cancelled
  QString text;
  bool last = false;           // Ask: the last button of a choice ("answer cancel")
};
const char* AnswerKindName(ScriptAnswer::Kind k);

// An answer of the wrong kind at the head of the queue: the script is wrong, it ends (status 2).
class ScriptMismatch : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Answers from a queue and reports every question as one output line of the script run.
class ScriptedDialogs : public Dialogs {
 public:
  using Sink = std::function<void(const QString& line)>;
  explicit ScriptedDialogs(Sink sink) : sink_(std::move(sink)) {}

  void Queue(ScriptAnswer a) { queue_.push_back(std::move(a)); }
  // Prints "unused: KIND" for each queued answer; returns how many there were.
  int FlushUnused();

  void ShowNotice(const QString& text) override;
  bool AskExecute(const QString& text, const QString& yesText, const QString& noText) override;
  // "ask: TEXT|B1|B2|B3"; answer yes chooses the first button, no the second, cancel (and no
  // answer) the last.
  int AskChoice(const QString& text, const QStringList& buttons) override;
  std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& preset) override;
  std::optional<QString> OpenFile(const FileDialogRequest& r) override;
  std::optional<QString> SaveFile(const FileDialogRequest& r) override;
  std::optional<QString> ChooseFolder(const QString& title, const QString& initialDir) override;
  void Beep() override;
  void ShowError(const QString& text) override;
  // A RecordedProgress, stopping where StopProgressAt said; its "progress: LABEL N/M" lines are
  // printed once ShowProgress(true) was asked.
  std::unique_ptr<Progress> StartProgress(const QString& label) override;
  // The next progress started stops at its step N.
  void StopProgressAt(int64_t step) { stopAt_ = step; }
  void ShowProgress(bool shown) { progressShown_ = shown; }

 private:
  std::optional<int64_t> stopAt_;
  bool progressShown_ = false;
  // The head answer when it is of kind k; nullopt (after "unanswered: KIND") when empty.
  std::optional<ScriptAnswer> Take(ScriptAnswer::Kind k);
  std::optional<QString> FileDialog(const char* kind, const FileDialogRequest& r, bool addExt);
  Sink sink_;
  std::deque<ScriptAnswer> queue_;
};

// The icon of the message boxes: "dialog.ico" of the program folder, its name found without
// regard to case; a null icon when there is none.
QIcon DialogIcon(const QString& programFolder);

// Whether Shift is held during the current user action. The interactive program asks the
// keyboard; the headless front sets it for "shift-click".
bool ShiftHeld();
void SetScriptedShift(std::optional<bool> held);

}  // namespace zantro
