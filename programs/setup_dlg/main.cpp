// setup_dlg: the settings of Zantro.conf in the program folder. Started with "0;" + edition.
#include "common/dialogframe.h"
#include "messages/launches.h"
#include "platform/files.h"
#include "setupdialog.h"

using namespace zantro;

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{"setup_dlg"});
  if (auto end = shell.Start()) return *end;
  auto launch = LaunchArgument(shell, "環境設定", EditionLaunch::Decode);
  if (!launch) return 1;
  std::string bytes;
  if (auto path = FindNoCase(shell.ProgramFolder(), "Zantro.conf"); path && FileExists(*path)) {
    auto read = ReadFileBytes(*path);
    if (!read) {
      shell.Dlg().ShowError(QString::fromStdString(*path + ": 読み込めません。"));
      return 1;
    }
    bytes = std::move(*read);
  }
  SetupDialog dialog(shell, std::move(bytes));
  shell.Register(&dialog, "Tfsetup_Dlg");
  return shell.Run(&dialog);
}
