// scheme_dlg: the calculation settings of the open sheet (";" + five settings) or, from the
// breakdown list ("1;" + five settings + [CUTLEVEL] + [KETA]), of the list's overhead items.
#include "common/dialogframe.h"
#include "schemedialog.h"

using namespace zantro;

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{"scheme_dlg"});
  if (auto end = shell.Start()) return *end;
  auto launch = LaunchArgument(shell, "桁設定ダイアログ", SchemeLaunch::Decode);
  if (!launch) return 1;
  SchemeDialog dialog(shell, *launch);
  shell.Register(&dialog, "TFScheme_Dlg");
  return shell.Run(&dialog);
}
