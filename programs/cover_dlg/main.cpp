// cover_dlg: the title sheet of the open document, started by the window with
// "0;" + edition + ";" + [Title_Dir] + ";" and answering "WM_TITLE;" (HEAD_TITLE.WRK).
#include "coverdialog.h"
#include "messages/launches.h"
#include "shell/programshell.h"

int main(int argc, char** argv) {
  using namespace zantro;
  ProgramShell shell(argc, argv, ShellOptions{"cover_dlg"});
  if (auto end = shell.Start()) return *end;
  CoverDialog dialog(shell, CoverLaunch::Decode(shell.Argument()));
  shell.Register(&dialog, "TFCover_Dlg");
  return shell.Run(&dialog);
}
