// pickdata_dlg: a pick list. Started with "0;0;" + list file + ";" + reply command + ";".
#include "common/dialogframe.h"
#include "messages/launches.h"
#include "pickdialog.h"
#include "picklist.h"

using namespace zantro;

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{"pickdata_dlg"});
  if (auto end = shell.Start()) return *end;
  auto launch = LaunchArgument(shell, "選択ダイアログ", PickDataLaunch::Decode);
  if (!launch) return 1;
  auto reply = PickReply(launch->ReplyCommand);
  if (!reply) {
    shell.Dlg().ShowError("選択ダイアログの返信コマンドが正しくありません: " + Readable(launch->ReplyCommand));
    return 1;
  }
  std::string path = PickListPath(launch->ListFile, shell.ProgramFolder());
  auto entries = ReadPickList(path);
  if (!entries) {
    shell.Dlg().ShowError(QString::fromStdString(path + ": 読み込めません。"));
    return 1;
  }
  PickDialog dialog(shell, path, *reply, std::move(*entries));
  shell.Register(&dialog, "TfPICKDATA_Dlg");
  return shell.Run(&dialog);
}
