// docpick_dlg: opening a document from the list of the data folder, started by the window
// with "0;" + edition + ";" + the class to answer + ";"; answers "WM_FILESELECT;PATH;".
#include "docpickdialog.h"
#include "messages/launches.h"
#include "shell/programshell.h"

int main(int argc, char** argv) {
  using namespace zantro;
  ProgramShell shell(argc, argv, ShellOptions{"docpick_dlg"});
  if (auto end = shell.Start()) return *end;
  DocPickDialog dialog(shell, DocPickLaunch::Decode(shell.Argument()));
  shell.Register(&dialog, "Tfdocpick_Dlg");
  return shell.Run(&dialog);
}
