// calcprice_dlg: calculated prices of a block of the open sheet, started by the window with
// "Calc_Dir;" + mode + ";" + top + ";" + bottom + ";" + group names [+ group tag + ";"] (an
// empty first field for 通常単価); answers one WM_CALCDATA line.
#include "calcdialog.h"
#include "common/dialogframe.h"

using namespace zantro;

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{"calcprice_dlg"});
  if (auto end = shell.Start()) return *end;
  auto launch = LaunchArgument(shell, "単価計算", CalcPriceLaunch::Decode);
  if (!launch) return 1;
  CalcPriceDialog dialog(shell, *launch, OpenSheetLines(shell.ProgramFolder()));
  shell.Register(&dialog, "Tfcalcprice_Dlg");
  return shell.Run(&dialog);
}
