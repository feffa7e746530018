// docsave_dlg: saving the open document, started by the window with the document-name box
// and the mode ("PATH;0;", "PATH;1;" when the window is being closed); answers "WM_SAVECOMP".
#include "docsavedialog.h"
#include "messages/launches.h"
#include "shell/programshell.h"

int main(int argc, char** argv) {
  using namespace zantro;
  ProgramShell shell(argc, argv, ShellOptions{"docsave_dlg"});
  if (auto end = shell.Start()) return *end;
  DocSaveDialog dialog(shell, DocSaveLaunch::Decode(shell.Argument()));
  shell.Register(&dialog, "Tfdocsave_Dlg");
  return shell.Run(&dialog);
}
