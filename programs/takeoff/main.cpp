// takeoff: the quantity takeoff of one item, started by the window with
// "CurrentItem;keito_name;mode;" (mode 1 duct, 2 pipe, 3 toolbar); the window waits for it to
// end and reloads the sheet.
#include <QTableWidget>

#include "common/dialogframe.h"
#include "general/errors.h"
#include "messages/launches.h"
#include "platform/cp932.h"
#include "platform/conffile.h"
#include "platform/files.h"
#include "prices/library.h"
#include "printing/takeoffpdf.h"
#include "prices/pick.h"
#include "prices/reprice.h"
#include "takeoffwindow.h"

#include <iostream>
#include <memory>

using namespace zantro;

namespace {

// The CODE libraries of [Code_Dir] (the program folder's data when empty): a summed line no
// earlier takeoff line prices takes the level-1 prices of the first entry of its name,
// specification and unit. A library that cannot be read is passed over with a warning.
takeoff::PriceLookup CodeLibraryLookup(const std::string& programFolder) {
  auto dir = ReadConfValue(programFolder, "Zantro.conf", "[Code_Dir]");
  std::string folder = dir && !dir->empty() ? ToUtf8(*dir) : JoinPath(programFolder, "data");
  auto libs = std::make_shared<std::vector<PriceLibrary>>();
  for (int n = 1; n <= 6; ++n) {
    auto path = FindNoCase(folder, LibraryFileName(PriceFamily::Code, n));
    if (!path) continue;
    try {
      libs->push_back(ReadLibrary(*path, PriceFamily::Code));
    } catch (const std::exception& e) {
      std::cerr << "warning: " << e.what() << "\n";
    }
  }
  auto lookup = std::make_shared<PriceLookup>(*libs);
  return [libs, lookup](const takeoff::SummedLine& s) -> std::optional<LineRecord> {
    LineRecord probe{};
    probe.NameSpec.set(s.Name + ";" + s.Spec);
    probe.Unit.set(s.Unit);
    const PriceEntry* e = lookup->Find(probe);
    if (!e) return std::nullopt;
    LineRecord l{};
    l.LabourFactor = e->LabourFactor;
    l.CostPrice = e->CostPrice;
    l.SubPrice = e->Prices[0];
    l.CostExtraPrice = e->CostExtra;
    l.SubExtraPrice = e->Extras[0];
    l.sort = GroupSortKey(e->Group);
    l.Remarks.set(e->Remarks);
    return l;
  };
}

}  // namespace

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{"takeoff", false, true, {"--pdf"}, {}});
  // "takeoff --pdf ITEM OUT.pdf": the quantity statement of item ITEM of the work files.
  if (auto item = shell.Option("--pdf")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");  // no display needed for a file
    if (shell.Arguments().size() != 1 || StrToIntDef(*item, 0) < 1) {
      std::cerr << "zantro: usage: takeoff --pdf ITEM OUT.pdf [--program-folder DIR]\n";
      return 2;
    }
    if (auto end = shell.Start()) return *end;
    return printing::TakeoffPdfFromWorkFiles(shell.ProgramFolder(), StrToIntDef(*item, 0), shell.Argument(), std::cerr);
  }
  if (auto end = shell.Start()) return *end;
  auto launch = LaunchArgument(shell, "数量拾出", TakeoffLaunch::Decode);
  if (!launch) return 1;
  if (launch->Item < 1) {
    shell.Dlg().ShowError("数量拾出の起動引数が正しくありません: 項目番号がありません");
    return 1;
  }
  int mode = launch->Mode >= 1 && launch->Mode <= 3 ? launch->Mode : 3;
  std::vector<takeoff::Row> rows;
  bool loaded = false;
  // A damaged takeoff file is shown and left as it is: nothing is written.
  shell.Guard([&] {
    rows = takeoff::LoadRows(shell.ProgramFolder(), launch->Item);
    loaded = true;
  });
  if (!loaded) return 1;
  TakeoffWindow window(shell, launch->Item, static_cast<takeoff::Mode>(mode), Readable(launch->BreakdownName),
                       std::move(rows));
  window.SetPriceLookup(CodeLibraryLookup(shell.ProgramFolder()));
  shell.Register(&window, "TFTAKEOFF");
  return shell.Run(ScriptRoot{&window, {}, {}, {}}, [&window](ScriptRunner& runner) {
    runner.AddVerb("cell", [&window](const QString& arg, bool) {
      QStringList parts = arg.split(' ');
      if (parts.size() < 3 || parts[0] != window.Table()->objectName()) ScriptRunner::Fail("cell NAME ROW COL TEXT");
      int r = ScriptRunner::ToInt(parts[1], "ROW"), c = ScriptRunner::ToInt(parts[2], "COL");
      if (r < 0 || r > window.Table()->rowCount() || c < 0 || c >= window.Table()->columnCount())
        ScriptRunner::Fail("no cell " + arg);
      window.TypeCell(r, c, QStringList(parts.mid(3)).join(' '));
    });
  });
}
