// overhead_dlg: an overhead item of the breakdown list ("1;" + edition) or an overhead line
// of a sheet ("0;" + edition).
#include "common/dialogframe.h"
#include "messages/launches.h"
#include "overheaddialog.h"

using namespace zantro;

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{"overhead_dlg"});
  if (auto end = shell.Start()) return *end;
  auto launch = LaunchArgument(shell, "諸経費ダイアログ", EditionLaunch::Decode);
  if (!launch) return 1;
  OverheadDialog dialog(shell, launch->First == 1);
  shell.Register(&dialog, "TfOVERHEAD_Dlg");
  return shell.Run(&dialog);
}
