// The frame of every program of the family, the main window and each companion:
//
//   NAME [--headless] [--script FILE] [--program-folder DIR] [--screen WxH] [ARGUMENTS]
//
// It finds the runtime folder (the window's rules, so a companion finds the window it serves)
// and the program folder (the executable's folder unless --program-folder names another),
// makes the application object (on the offscreen platform with scripted dialogs when
// headless), registers the program's window under its class ("WM_CLOSE;" closes it,
// "WM_Restore;" brings it to the front), sends command strings, and runs the program: the
// event loop, or the script runner over the window.
#pragma once
#include <QApplication>
#include <QSize>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/dialogs.h"
#include "platform/qtcore/qtinbox.h"
#include "platform/runtime.h"
#include "shell/scriptrunner.h"

namespace zantro {

struct ShellOptions {
  std::string Name;               // for messages: "zantro", "rowedit_dlg"
  bool SingleInstance = false;    // takes the "ZANTRO" lock in the runtime and program folders (the main window)
  bool FolderMustBeWritable = true;
  // A program's own options beside the shell's: those taking a value ("--pdf") and flags.
  std::vector<std::string> ValueOptions = {};
  std::vector<std::string> FlagOptions = {};
  // Runs when the single-instance lock is held by another process: the exit status when it
  // dealt with the start (a document handed to the running window), else nullopt and the
  // start is refused.
  std::function<std::optional<int>(const class ProgramShell&)> AlreadyRunning = {};
};

class ProgramShell {
 public:
  // Parses the command line; a bad one ends the program with a usage line and status 2.
  ProgramShell(int& argc, char** argv, ShellOptions options);
  ~ProgramShell();
  ProgramShell(const ProgramShell&) = delete;
  ProgramShell& operator=(const ProgramShell&) = delete;

  // Runtime folder, lock, program folder, the application object and the dialogs. nullopt to
  // go on; otherwise the exit status to end with (the reason has been shown).
  std::optional<int> Start();

  bool Headless() const { return headless_; }
  const std::string& ProgramFolder() const { return programFolder_; }
  // Where the companion programs lie: the program folder, or the installed folder of a
  // program folder of the user's own.
  const std::string& ProgramsFolder() const { return programsFolder_; }
  const std::string& Runtime() const { return runtime_; }
  const std::string& ExecutablePath() const { return executable_; }
  // The arguments after the options, as given (the launch argument string is Shift-JIS).
  const std::vector<std::string>& Arguments() const { return arguments_; }
  // The first of them, or empty: the one launch argument string of a companion.
  std::string Argument() const { return arguments_.empty() ? std::string() : arguments_[0]; }
  QSize Screen() const { return screen_; }
  // The value of one of the program's own options, or nullopt when it was not given; a flag
  // given reads as an empty value. Read before Start() a program can still choose, for
  // instance, the offscreen platform.
  std::optional<std::string> Option(const std::string& name) const;
  Dialogs& Dlg() { return *dialogs_; }
  ScriptedDialogs* Scripted() { return scripted_.get(); }
  InteractiveDialogs* Interactive() { return interactive_.get(); }

  // The event boundary of a companion's handlers (buttons, fields): the program's errors are
  // shown as the error box, never thrown into the event loop.
  void Guard(const std::function<void()>& fn);

  // One line of the run on standard output, escaped (headless only; nothing otherwise).
  void Say(const QString& line);
  // The launcher's observer of the headless front: "launch: PROGRAM ARGUMENT".
  void ReportLaunch(const std::string& program, const std::optional<std::string>& argument);

  // Registers root under windowClass: "WM_CLOSE;" unregisters and closes it, "WM_Restore;"
  // brings it to the front; other commands (identifier 1) go to onCommand. False (and a
  // line on standard error) when the socket cannot be made: the program then runs alone.
  bool Register(QWidget* root, const char* windowClass,
                std::function<void(const std::string& text)> onCommand = {});

  // Sends a command string (Shift-JIS) to a window of the class and waits until it was
  // handled. Headless prints "sent: CLASS TEXT"; a failure is shown as an error (no window
  // runs, or it refused) and returns false.
  bool Send(const char* windowClass, std::string_view text);
  // The window's control strings to its own companions.
  void CloseCompanions(std::initializer_list<const char*> classes);
  bool RestoreCompanion(const char* windowClass);

  // Runs the program on root: the event loop, or the script (FILE or standard input) with
  // the built-in verbs and those addVerbs adds. Returns the exit status.
  int Run(ScriptRoot root, const std::function<void(ScriptRunner&)>& addVerbs = {});
  int Run(QWidget* root) { return Run(ScriptRoot{root, {}, {}, {}}); }

 private:
  [[noreturn]] void Usage(const std::string& why) const;
  int Refuse(const QString& text);

  ShellOptions options_;
  int& argc_;
  char** argv_;
  bool headless_ = false;
  std::string script_;
  std::string executable_;
  std::string programFolderOption_;
  std::string programFolder_;
  std::string programsFolder_;
  std::string runtime_;
  QSize screen_{1280, 1024};
  std::vector<std::string> arguments_;
  std::map<std::string, std::string> own_;
  InstanceLock lock_;
  InstanceLock folderLock_;  // the same lock in the program folder: one writer of its work files
  std::unique_ptr<QApplication> app_;
  std::unique_ptr<ScriptedDialogs> scripted_;
  std::unique_ptr<InteractiveDialogs> interactive_;
  Dialogs* dialogs_ = nullptr;
  std::unique_ptr<QtInbox> inbox_;
};

// The folder of the executable: of argv[0] as given (links not resolved), else of the
// running image when the shell found the program in PATH.
std::string ExecutableFolder(const std::string& argv0);

// Qt's translations of its own dialogs and buttons into Japanese, when installed.
void InstallQtTranslation(QCoreApplication& app);

}  // namespace zantro
