// seqprice_dlg: the sets of sequence library n, started by the window with [Multi_Dir] + ";" +
// n + ";" + level + ";" + caption + ";" + level names; answers WM_MULTIWRITE lines and
// WM_SAVERECORD.
#include "common/dialogframe.h"
#include "platform/files.h"
#include "prices/pricemodel.h"
#include "seqdialog.h"

using namespace zantro;

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{"seqprice_dlg"});
  if (auto end = shell.Start()) return *end;
  auto launch = LaunchArgument(shell, "連続単価", [](std::string_view a) { return PricePickLaunch::Decode(a, false); });
  if (!launch) return 1;
  std::string path = ResolveNoCase(LibraryFolder(launch->Folder, shell.ProgramFolder()),
                                   LibraryFileName(PriceFamily::Sequence, launch->Library));
  PriceLibrary lib;
  try {
    if (!FileExists(path)) throw FileError(path + ": 単価がまだ作成されていません");
    lib = ReadLibrary(path, PriceFamily::Sequence);
  } catch (const FileError& e) {
    shell.Dlg().ShowError(QString::fromUtf8(e.what()));
    return 1;
  }
  SeqPriceDialog dialog(shell, *launch, std::move(lib));
  shell.Register(&dialog, "Tfseqprice_Dlg");
  return shell.Run(&dialog);
}
