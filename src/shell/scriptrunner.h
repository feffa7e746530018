// The script runner of every program's headless front: the program's real window on Qt's
// offscreen platform, driven line by line (verbs and output lines as the headless script
// language describes them). It knows a root widget and a table of verbs; the verbs every
// program shares are built in, a program adds its own (the main window: grid, tabs, message …).
#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <istream>
#include <map>
#include <string>

namespace zantro {

class ScriptedDialogs;

// How printed text is written: "\" as "\\", TAB as "\t", line breaks as "\n", and the program
// folder as "$PROGRAM".
QString EscapeOutput(const QString& text, const QString& programFolder);

// A fault of the script itself: the run ends with "script:LINE: TEXT" and status 2.
struct ScriptError {
  QString text;
};

// What the runner drives.
struct ScriptRoot {
  QWidget* widget = nullptr;
  // Finds a component by name; by default the root itself by its object name, else a child.
  std::function<QObject*(const QString&)> find;
  // The program's event boundary: errors shown, never thrown; by default the script's error line.
  std::function<void(const std::function<void()>&)> guard;
  // Ends the program at the end of the script; by default the root is closed.
  std::function<void()> finish;
};

class ScriptRunner {
 public:
  // arg is the text after the verb and one blank; hasArg tells "verb" from "verb ".
  using Verb = std::function<void(const QString& arg, bool hasArg)>;

  // write puts one finished line on standard output.
  ScriptRunner(ScriptRoot root, ScriptedDialogs* dialogs, std::function<void(const QString&)> write,
               QString programFolder);

  // A program's own verb; a name given twice is a fault of the program (std::logic_error).
  void AddVerb(const QString& name, Verb verb);

  // Runs every line of in; returns the exit status (0, or 2 for a script fault or answers
  // left unused). The root is finished at the end unless the script closed it.
  int Run(std::istream& in);
  // The same over standard input, lines taken as they arrive; while the runner waits for the
  // next line the event loop keeps running, so the window serves its companions meanwhile.
  int RunStandardInput();

  // ---- for the verbs of programs ----
  // Writes one line with its text escaped.
  void Say(const QString& text) { write_(EscapeOutput(text, programFolder_)); }
  // Writes one line as it is (its parts escaped by the caller).
  void Write(const QString& line) { write_(line); }
  const QString& ProgramFolder() const { return programFolder_; }
  // The component NAME; an unknown name is a fault of the script.
  QObject* Need(const QString& name);
  void Guard(const std::function<void()>& fn) { root_.guard(fn); }
  ScriptedDialogs& Dialogs() { return *dialogs_; }
  static int ToInt(const QString& s, const char* what);
  [[noreturn]] static void Fail(const QString& text) { throw ScriptError{text}; }
  // The offending text a script error quotes, cut to 80 characters.
  static QString Quote(const QString& text);
  // Lets every pending event run (companions answering, timers).
  static void Pump();

 private:
  // Runs the lines next() gives until it returns false.
  int RunLines(const std::function<bool(std::string&)>& next);
  void AddBuiltInVerbs();
  void RunLine(const std::string& line);
  void Click(const QString& name, bool shift);
  void Key(const QString& sequence);
  void Choose(const QString& arg);
  void Set(const QString& arg);
  void Rows(const QString& name);
  void Get(const QString& name);
  void State(const QString& name);
  void Focus();
  void Prop(const QString& arg);
  void Sleep(const QString& arg);
  void WaitFile(const QString& path);
  void Finish();

  ScriptRoot root_;
  QPointer<QWidget> widget_;
  ScriptedDialogs* dialogs_;
  std::function<void(const QString&)> write_;
  QString programFolder_;
  std::map<QString, Verb> verbs_;
  bool closed_ = false;
};

}  // namespace zantro
