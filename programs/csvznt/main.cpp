// csvznt: the CSV import editor. The window starts it without arguments and waits for it to
// end; the lines it is to import are then in csv_inport.tmp of the program folder.
#include <QApplication>
#include <QClipboard>
#include <QTableWidget>

#include "common/dialogframe.h"
#include "csvdialog.h"
#include "platform/files.h"

using namespace zantro;

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{"csvznt"});
  if (auto end = shell.Start()) return *end;
  // A file left by an earlier import would be read again when this one is cancelled.
  const std::string exchange = ResolveNoCase(shell.ProgramFolder(), "csv_inport.tmp");
  if (!DeleteFile(exchange)) {
    shell.Dlg().ShowError(QString::fromStdString(exchange + ": 前回の取込ファイルを削除できません。"));
    return 1;
  }
  CsvDialog dialog(shell);
  return shell.Run(ScriptRoot{&dialog, {}, {}, {}}, [&dialog](ScriptRunner& runner) {
    // What a user copies in a spreadsheet ("\t" and "\n" as the script writes them).
    runner.AddVerb("clipboard", [](const QString& arg, bool) {
      QString text = arg;
      text.replace("\\t", "\t").replace("\\n", "\n");
      QApplication::clipboard()->setText(text);
    });
    // The user types TEXT into cell ROW, COLUMN of the table.
    runner.AddVerb("cell", [&dialog](const QString& arg, bool) {
      QStringList parts = arg.split(' ');
      if (parts.size() < 2) ScriptRunner::Fail("cell ROW COLUMN TEXT");
      int r = ScriptRunner::ToInt(parts[0], "ROW"), c = ScriptRunner::ToInt(parts[1], "COLUMN");
      QTableWidget* t = dialog.Table();
      if (r < 0 || r >= t->rowCount() || c < 0 || c >= t->columnCount()) ScriptRunner::Fail("no cell " + arg);
      t->setCurrentCell(r, c);
      t->item(r, c)->setText(parts.mid(2).join(' '));
    });
  });
}
