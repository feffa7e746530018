// The companions the window waits for: the CSV editor, whose lines are imported when it ends,
// and the takeoff program and its aggregation, which work on the sheet's working copy. Also the
// network folders of the pipe and duct dialogs and the names of the pipe-fitting groups.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <memory>

#include "companions/core/exchangefiles.h"
#include "companions/core/linewrite.h"
#include "companions/launch.h"
#include "general/errors.h"
#include "general/workfiles.h"
#include "platform/conffile.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/launcher.h"
#include "uzantro/fzantro.h"
#include "uzantro/sheetedit.h"

namespace zantro {
namespace {


// The folders handed to the pipe and duct dialogs (UTF-8 paths) and the fitting group names.
struct Folders {
  std::string Duct, Pipe;
  std::optional<FittingNames> Fittings;
};

void WriteOrThrow(const std::string& path, std::string_view bytes) {
  std::string error;
  if (!WriteFileAtomic(path, bytes, &error)) throw FileError(error);
}

// After the takeoff programs: the sheet as they left its working copy.
void ShowSheetFromWorkingCopy(TFZANTRO& w) {
  ReloadSheet(w.Doc(), w.ProgramFolder(), "WRK");
  w.ShowTotals(0);
  w.Changed(ChangeScope::Lines);
}

void RunTakeoff(TFZANTRO& w, int mode) {
  if (!CompanionPresent(w.ProgramFolder(), "takeoff.exe")) {
    w.Dlg().ShowNotice(NotInstalledNotice("数量調書プログラムが見つかりません。"));
    return;
  }
  if (RefusedOnBreakdown(w)) return;
  Document& doc = w.Doc();
  w.SaveSheetChecked("WRK");
  w.TakeUndoPoint();  // one undo brings back the sheet as it was before the takeoff
  ResetSheetLists(doc);  // the takeoff program owns the sheet until it ends
  w.TrimGridRows(50);
  w.Changed(ChangeScope::Lines);
  WriteOrThrow(ResolveNoCase(w.ProgramFolder(), kDigitFile), DigitFileText(doc.Settings));
  std::string name = doc.IsItem(doc.CurrentItem) ? std::string(doc.ItemList[doc.CurrentItem].ItemName.view()) : "";
  TakeoffLaunch launch{doc.CurrentItem, name, mode};
  w.StartCompanionAndWait("takeoff.exe", launch.Encode());
  ShowSheetFromWorkingCopy(w);
  w.SaveSheetChecked("WRK");
}

void RunTakeoffSum(TFZANTRO& w) {
  // The aggregation program is the one started, so its file is the one looked for.
  if (!CompanionPresent(w.ProgramFolder(), "TAKESUM.exe")) {
    w.Dlg().ShowNotice(NotInstalledNotice("調書集計プログラムがみつかりません"));
    return;
  }
  w.SaveUnsavedSheet();  // the sheet comes back from its working copy
  w.TakeUndoPoint();
  w.StartCompanionAndWait("TAKESUM.exe", TakeoffSumLaunch{w.Doc().CurrentItem}.Encode());
  ShowSheetFromWorkingCopy(w);
}

// The CSV editor: its lines are inserted at the cursor when it ends. The whole file is read
// and checked before any line is taken, and the lines reach the working copy at once.
void ImportCsv(TFZANTRO& w) {
  if (RefusedOnBreakdown(w, "現在は内訳モードです。CSV機能は使用できません。")) return;
  w.TakeUndoPoint();
  if (!CompanionPresent(w.ProgramFolder(), "csvznt.exe")) {
    w.Dlg().ShowNotice(NotInstalledNotice("CSVエディタ－がインストールされていません"));
    return;
  }
  w.StartCompanionAndWait("csvznt.exe", std::nullopt);
  if (!w.SheetMode()) return;  // a companion command took the window to the breakdown list
  RowSelection sel = w.SelectedRows();
  auto path = FindNoCase(w.ProgramFolder(), kCsvExchangeFile);
  if (!path) return;
  std::string error;
  auto bytes = ReadFileBytes(*path, &error, kMaxImportBytes);
  if (!bytes) throw FileError(*path + ": " + error);
  std::vector<LineRecord> lines = ParseCsvImport(*path, *bytes);
  if (lines.empty()) return;
  SheetEdit edit(w, UndoCopy::Skip);  // the undo point was taken before the editor started
  InsertImportedLines(edit.Doc(), sel.Top, sel.Rows(), lines);
  edit.Doc().CurrentLine = sel.Top + static_cast<int32_t>(lines.size());
  edit.Commit();
}

// ---- network folders ----

std::string DefaultFolder(TFZANTRO& w, const NetworkFolderKind& kind) { return JoinPath(w.ProgramFolder(), kind.DefaultName); }

// The folder of kind at start-up: its file in the network edition, else (and when it names
// no existing folder) the default.
std::string LoadFolder(TFZANTRO& w, const NetworkFolderKind& kind, bool network) {
  std::string folder;
  if (network) {
    if (auto lines = ReadConfLines(w.ProgramFolder(), kind.File)) folder = ToUtf8(FolderOfLines(*lines).value_or(""));
  }
  if (folder.empty() || !IsDirectory(folder)) folder = DefaultFolder(w, kind);
  return folder;
}

void ChooseFolder(TFZANTRO& w, const NetworkFolderKind& kind, std::string& folder) {
  auto chosen = w.Dlg().ChooseFolder("フォルダーを指定して下さい", QString::fromStdString(folder));
  if (!chosen) return;
  std::string value = WithoutTrailingSeparator(chosen->toStdString());
  WriteOrThrow(ResolveNoCase(w.ProgramFolder(), kind.File), ToCp932(FolderFileText(value)));
  folder = value;
}

void OpenFolder(TFZANTRO& w, const std::string& folder) {
  if (w.Headless()) return w.Launch().Report("xdg-open", folder);
  if (auto opener = FindInPath("xdg-open")) w.Launch().Start(*opener, folder, w.ProgramFolder());
}

void LoadFolders(TFZANTRO& w, Folders& f) {
  // The edition is the name the program was started under and nothing else: std_zantro is
  // the standalone edition even in a folder that also holds net_zantro.
  bool network = w.ProgramEdition() == 1;
  for (const char* item : {"dact_network", "N147", "ex_network", "N189"}) w.Action(item)->setVisible(network);
  f.Duct = LoadFolder(w, kDuctNetwork, network);
  f.Pipe = LoadFolder(w, kPipeNetwork, network);
  if (!CompanionPresent(w.ProgramFolder(), "pipefit_dlg.exe")) return;
  if (auto lines = ReadConfLines(f.Pipe, kFittingNamesFile)) {
    f.Fittings = FittingNamesOfLines(*lines);
    for (int i = 0; i < 5; ++i)
      w.Action(QString("option_0%1").arg(i + 2))->setText(Q((*f.Fittings)[i]) + "入力ダイアログ-複合単価管理-配管付属品-");
  }
}

}  // namespace

void InstallTakeoffAndFolders(TFZANTRO& w) {
  auto folders = std::make_shared<Folders>();
  w.Guard([&] { LoadFolders(w, *folders); });
  w.PipeNetworkFolder = [folders] { return ToCp932(folders->Pipe); };
  w.DuctNetworkFolder = [folders] { return ToCp932(folders->Duct); };
  w.PipingFolderNames = [folders]() -> std::optional<std::array<std::string, 5>> { return folders->Fittings; };
  w.RegisterClick("dact_network", [&w, folders] { ChooseFolder(w, kDuctNetwork, folders->Duct); });
  w.RegisterClick("ex_network", [&w, folders] { ChooseFolder(w, kPipeNetwork, folders->Pipe); });
  w.RegisterClick("N147", [&w, folders] { OpenFolder(w, folders->Duct); });
  w.RegisterClick("N189", [&w, folders] { OpenFolder(w, folders->Pipe); });

  w.RegisterClick("N133", [&w] { RunTakeoff(w, 1); });
  w.RegisterClick("option_00", [&w] { RunTakeoff(w, 2); });
  for (const char* button : {"IconButton1", "IconButton3"}) {
    w.RegisterClick(button, [&w] {
      // The buttons are the takeoff's when it is installed (their caption says 数量調書).
      if (CompanionPresent(w.ProgramFolder(), "takeoff.exe")) return RunTakeoff(w, 3);
      StartSingle(w, "Tfsetup_Dlg", "setup_dlg.exe", EditionLaunch::Setup(w.ProgramEdition()).Encode());
    });
  }
  w.RegisterCommand("datasort", CommandMode::Sheet, [&w](QObject*) { RunTakeoffSum(w); });
  w.RegisterClick("N7", [&w] { ImportCsv(w); });
}

}  // namespace zantro
