// The headless front: the real window on Qt's offscreen platform, driven line by line by a
// script (verbs and output lines as the headless script language describes them).
#pragma once
#include <functional>
#include <istream>
#include <string>

#include <QObject>
#include <QString>

namespace zantro {

class TFZANTRO;
class ScriptedDialogs;

// How printed text is written: "\" as "\\", TAB as "\t", line breaks as "\n", and the program
// folder as "$PROGRAM".
QString EscapeOutput(const QString& text, const QString& programFolder);

class ScriptRunner {
 public:
  // write puts one finished line on standard output.
  ScriptRunner(TFZANTRO* window, ScriptedDialogs* dialogs, std::function<void(const QString&)> write,
               QString programFolder)
      : window_(window), dialogs_(dialogs), write_(std::move(write)), programFolder_(std::move(programFolder)) {}

  // Runs every line of in; returns the exit status (0, or 2 for a script fault or answers
  // left unused). The window is destroyed at the end as the companion close command does.
  int Run(std::istream& in);

 private:
  // Runs one line; throws ScriptError for a fault of the script.
  void RunLine(const std::string& line);
  void Verb(const QString& verb, const QString& arg, bool hasArg);
  void Click(const QString& name, bool shift);
  void Key(const QString& sequence);
  void Get(const QString& name);
  void State(const QString& name);
  void Prop(const QString& name, const QString& property);
  void PrintGrid();
  void PrintTabs();
  QObject* Need(const QString& name);
  void Finish();

  TFZANTRO* window_;
  ScriptedDialogs* dialogs_;
  // Writes one line with its text escaped.
  void Say(const QString& text) { write_(EscapeOutput(text, programFolder_)); }
  std::function<void(const QString&)> write_;
  QString programFolder_;
  bool destroyed_ = false;
};

}  // namespace zantro
