// summary_dlg (TFSummary_Dlg, 集計表): started from the window's tools menu with "WRK;", it
// sums the working copy of the open document; started with a document's path (UTF-8) and
// ";", that document.
#include "common/dialogframe.h"
#include "summarydialog.h"

using namespace zantro;

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{"summary_dlg"});
  if (auto end = shell.Start()) return *end;
  auto source = LaunchArgument(shell, "集計表", [](std::string_view a) { return FieldOf(a, 1); });
  if (!source) return 1;
  SummaryDialog dialog(shell, *source);
  if (!dialog.Load()) return 1;
  shell.Register(&dialog, "TFSummary_Dlg");
  return shell.Run(&dialog);
}
