// The duct dialogs, one program laid out under seven names (sheetduct_dlg, spiralduct_dlg,
// airterm_dlg, ductfit_dlg, ductvalve_dlg, ductequip_dlg, ductmisc_dlg): the name it was
// started under chooses the form. Started by the window with the level index, the variant
// (duct fittings 1 or 2) and the duct folder; answers WM_MULTIWRITE lines and WM_SAVERECORD.
#include <memory>

#include "common/dialogframe.h"
#include "companions/core/exchangefiles.h"
#include "ductforms.h"
#include "messages/launches.h"
#include "pipeduct/pricefiles.h"
#include "platform/files.h"
#include "platform/runtime.h"

using namespace zantro;

namespace {

std::string ProgramName(const char* argv0) {
  std::string name = BaseName(argv0);
  if (name.size() > 4 && EqualsNoCase(name.substr(name.size() - 4), ".exe")) name.resize(name.size() - 4);
  return name;
}

std::unique_ptr<LinesForm> MakeForm(ProgramShell& shell, const std::string& name, const DuctLaunch& launch) {
  const std::string folder = PriceFolder(launch.NetworkFolder, shell.ProgramFolder(), kDuctNetwork.DefaultName);
  const int level = launch.LevelIndex + 1;
  auto code = [&](const char* file) { return ReadPriceFile(folder, file, PriceFamily::Code); };
  if (name == "spiralduct_dlg") return std::make_unique<SpiralDuctForm>(shell, level, code(kSpiralDuctFile));
  if (name == "ductfit_dlg")
    return std::make_unique<DuctFittingForm>(
        shell, level, ReadPriceFile(folder, DuctFittingFile(launch.Variant), PriceFamily::Sequence), launch.Variant);
  if (name == "airterm_dlg")
    return std::make_unique<DuctPiecesForm>(shell, level, code(kAirTerminalFile), "TFAIRTERM", "吹出口・吸込口入力");
  if (name == "ductvalve_dlg")
    return std::make_unique<DuctPiecesForm>(shell, level, code(kDamperFile), "TFDUCTVALVE", "ダンパー入力");
  if (name == "ductequip_dlg")
    return std::make_unique<DuctPiecesForm>(shell, level, code(kDuctEquipmentFile), "TFDUCTEQUIP", "ダクト機器入力");
  if (name == "ductmisc_dlg")
    return std::make_unique<DuctPiecesForm>(shell, level, code(kDuctSundriesFile), "TFDUCTMISC", "ダクト雑工事入力");
  // sheetduct_dlg, and the program under a name of its own.
  std::string tablePath = ResolveNoCase(folder, kThicknessFile);
  auto bytes = ReadFileBytes(tablePath);
  if (!bytes) throw FileError(tablePath + ": 板厚表が読めません");
  return std::make_unique<SheetDuctForm>(shell, level, code(kSheetDuctFile), ParseThicknessTable(*bytes, tablePath));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string name = ProgramName(argv[0]);
  ProgramShell shell(argc, argv, ShellOptions{name});
  if (auto end = shell.Start()) return *end;
  auto launch = LaunchArgument(shell, "ダクト入力", DuctLaunch::Decode);
  if (!launch) return 1;
  std::unique_ptr<LinesForm> form;
  try {
    form = MakeForm(shell, name, *launch);
  } catch (const FileError& e) {
    // A price file that cannot be read or does not check: named, and nothing is written.
    shell.Dlg().ShowError(QString::fromUtf8(e.what()));
    return 1;
  }
  shell.Register(form.get(), form->objectName().toLatin1().constData());
  return shell.Run(form.get());
}
