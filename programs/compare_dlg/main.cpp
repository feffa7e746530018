// compare_dlg: the revision comparison, started by the window's 見積比較 with no argument: the
// open document (its work files) is the new side, the user chooses the old one.
#include "comparedialog.h"
#include "shell/programshell.h"

int main(int argc, char** argv) {
  using namespace zantro;
  ProgramShell shell(argc, argv, ShellOptions{"compare_dlg"});
  if (auto end = shell.Start()) return *end;
  CompareDialog dialog(shell);
  shell.Register(&dialog, "TFCompare_Dlg");
  return shell.Run(&dialog);
}
