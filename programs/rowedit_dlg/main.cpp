// rowedit_dlg: the line-entry dialog, started by the window with the current item, the row
// and the six group names ("3;5;鋼管;銅管;...;"); answers "WM_DATAWRITE" lines.
#include "messages/launches.h"
#include "roweditdialog.h"
#include "shell/programshell.h"

int main(int argc, char** argv) {
  using namespace zantro;
  ProgramShell shell(argc, argv, ShellOptions{"rowedit_dlg"});
  if (auto end = shell.Start()) return *end;
  RowEditDialog dialog(shell, RowEditLaunch::Decode(shell.Argument()));
  shell.Register(&dialog, "TFRowedit_Dlg");
  return shell.Run(&dialog);
}
