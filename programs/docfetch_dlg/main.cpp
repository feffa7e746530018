// docfetch_dlg: transfer of an item from another document into the breakdown list. Started
// with "1;" + edition; it starts in the configured data folder, else the home folder.
#include <QDir>

#include "common/dialogframe.h"
#include "common/documents.h"
#include "fetchdialog.h"
#include "messages/launches.h"

using namespace zantro;

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{"docfetch_dlg"});
  if (auto end = shell.Start()) return *end;
  auto launch = LaunchArgument(shell, "転送ダイアログ", EditionLaunch::Decode);
  if (!launch) return 1;
  FetchDialog dialog(shell, ConfiguredDataFolder(shell.ProgramFolder()).value_or(QDir::homePath().toStdString()));
  shell.Register(&dialog, "Tfdocfetch_Dlg");
  return shell.Run(&dialog);
}
