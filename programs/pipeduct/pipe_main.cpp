// pipemat_dlg (TFPIPEMAT) and pipefit_dlg (TH_PIPEFIT), one program: the name it was started
// under chooses the form. Started by the window with the level index and the pipe folder;
// answers WM_MULTIWRITE lines and WM_SAVERECORD.
#include <array>

#include "common/dialogframe.h"
#include "companions/core/exchangefiles.h"
#include "messages/launches.h"
#include "pipeduct/pricefiles.h"
#include "pipeforms.h"
#include "platform/conffile.h"
#include "platform/files.h"
#include "platform/runtime.h"

using namespace zantro;

namespace {

bool IsFittingProgram(const std::string& exe) {
  std::string name = BaseName(exe);
  return name.rfind("pipefit_dlg", 0) == 0;
}

int RunFittings(ProgramShell& shell) {
  auto launch = LaunchArgument(shell, "配管付属品・器具", PipeFittingLaunch::Decode);
  if (!launch) return 1;
  std::string folder = PriceFolder(launch->NetworkFolder, shell.ProgramFolder(), kPipeNetwork.DefaultName);
  FittingNames names = DefaultFittingNames();
  if (auto lines = ReadConfLines(folder, kFittingNamesFile)) names = FittingNamesOfLines(*lines);
  std::array<PriceLibrary, 5> libs;
  for (int g = 1; g <= 5; ++g) {
    // A group without a file is an empty list; a file that does not check stops the dialog.
    if (FileExists(ResolveNoCase(folder, PipeFittingFile(g))))
      libs[static_cast<size_t>(g - 1)] = ReadPriceFile(folder, PipeFittingFile(g), PriceFamily::Code);
  }
  // The window's menu items send 0..4 and its buttons 1..5: both name groups from 1, the
  // menu's 0 being the first group as well.
  PipeFittingForm form(shell, launch->LevelIndex + 1, std::move(libs), names, std::max(1, launch->Fitting));
  shell.Register(&form, "TH_PIPEFIT");
  return shell.Run(&form);
}

int RunMaterial(ProgramShell& shell) {
  auto launch = LaunchArgument(shell, "管材", PipeMaterialLaunch::Decode);
  if (!launch) return 1;
  std::string folder = PriceFolder(launch->NetworkFolder, shell.ProgramFolder(), kPipeNetwork.DefaultName);
  PipeMaterialForm form(shell, launch->LevelIndex + 1, ReadPriceFile(folder, kPipeMaterialFile, PriceFamily::Tree));
  shell.Register(&form, "TFPIPEMAT");
  return shell.Run(&form);
}

}  // namespace

int main(int argc, char** argv) {
  const bool fittings = IsFittingProgram(argv[0]);
  ProgramShell shell(argc, argv, ShellOptions{fittings ? "pipefit_dlg" : "pipemat_dlg"});
  if (auto end = shell.Start()) return *end;
  try {
    return fittings ? RunFittings(shell) : RunMaterial(shell);
  } catch (const FileError& e) {
    // A price file that cannot be read or does not check: named, and nothing is written.
    shell.Dlg().ShowError(QString::fromUtf8(e.what()));
    return 1;
  }
}
