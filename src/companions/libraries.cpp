// The unit-price libraries: picking from the CODE, tree and sequence libraries, registering
// sheet lines into them through their editors (csv_inport.tmp), and the calculated prices of a
// selection. The library files belong to the companions; the window only names them.
#include <QAction>
#include <QPushButton>
#include <cstdlib>

#include "companions/core/linewrite.h"
#include "companions/launch.h"
#include "general/errors.h"
#include "platform/conffile.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/launcher.h"
#include "uzantro/config.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

struct Family {
  const char* Key;        // folder setting
  const char* FileStem;   // codedata, multidata, treedata
  const char* MenuItem;   // its pick item, whose caption the editor gets
  const char* Editor;
  const char* EditorName;
  bool Levels;            // the editor gets the level names
};
const Family kCode{"[Code_Dir]", "codedata", "code", "codestore.exe", "CODE単価エディタ－", true};
const Family kSequence{"[Multi_Dir]", "multidata", "rdata", "seqstore.exe", "連続単価エディタ－", true};
const Family kTree{"[Tree_Dir]", "treedata", "Tdata", "treestore.exe", "ツリー単価エディタ－", false};

std::string DefaultLibraryFolder(TFZANTRO& w) { return JoinPath(w.ProgramFolder(), "data"); }

std::string LibraryFile(const std::string& folderUtf8, const Family& f, int n) {
  return JoinPath(folderUtf8, f.FileStem + std::to_string(n) + ".dat");
}

void PickCode(TFZANTRO& w, QObject* item) {
  if (RefusedOnBreakdown(w)) return;
  PricePickLaunch launch{w.Config().CodeDir, TagOf(item), LevelIndexOf(w) + 1, CaptionOf(item), GroupNamesOf(w),
                         LevelNamesOf(w)};
  w.StartCompanion("codeprice_dlg.exe", launch.Encode());  // a new dialog on every click
}

void PickTree(TFZANTRO& w, QObject* item) {
  if (RefusedOnBreakdown(w) || !CompanionPresent(w.ProgramFolder(), "treeprice_dlg.exe")) return;
  std::string& folder = w.Config().TreeDir;
  if (folder.empty()) folder = ArgumentText(DefaultLibraryFolder(w));  // stays for the run
  int n = TagOf(item);
  std::string file = LibraryFile(ToUtf8(folder), kTree, n);
  // Found as every other file of the program is, without regard to case ("TreeData3.DAT").
  if (!FindNoCase(ToUtf8(folder), kTree.FileStem + std::to_string(n) + ".dat")) {
    w.Dlg().ShowNotice("単価がまだ作成されていません\r\n" + QString::fromStdString(file));
    return;
  }
  PricePickLaunch launch{folder, n, LevelIndexOf(w) + 1, CaptionOf(item), GroupNamesOf(w), LevelNamesOf(w)};
  w.StartCompanion("treeprice_dlg.exe", launch.Encode());
}

void PickSequence(TFZANTRO& w, QObject* item) {
  if (RefusedOnBreakdown(w)) return;
  w.SaveSheetChecked("UND");
  PricePickLaunch launch{w.Config().MultiDir, TagOf(item), LevelIndexOf(w) + 1, CaptionOf(item), std::nullopt,
                         LevelNamesOf(w)};
  StartSingle(w, "Tfseqprice_Dlg", "seqprice_dlg.exe", launch.Encode());
}

// Writes csv_inport.tmp from the selected lines for the editor to paste. Returns false when
// the command should stop (the breakdown list is shown).
bool ExportSelection(TFZANTRO& w) {
  if (RefusedOnBreakdown(w)) return false;
  RegistrationExport e = ExportForRegistration(w.Doc(), w.SelectedRows());
  std::string error;
  std::string path = ResolveNoCase(w.ProgramFolder(), kCsvExchangeFile);
  if (!WriteFileAtomic(path, e.Text, &error)) throw FileError(error);
  if (e.Complete)
    w.Dlg().ShowNotice(
        "この後単価登録プログラムが起動します。\r\nメニューから→外部出力→CSVデータの貼り付けを実行してください。");
  return true;
}

void Register(TFZANTRO& w, const Family& f, int n, bool exportFirst) {
  if (!CompanionPresent(w.ProgramFolder(), f.Editor)) {
    w.Dlg().ShowNotice(NotInstalledNotice(QString(f.EditorName) + "がインストールされていません"));
    return;
  }
  if (exportFirst && !ExportSelection(w)) return;
  w.SaveSheetChecked("UND");
  // The folder is read afresh: the settings dialog may have changed it meanwhile.
  std::string folder = ToUtf8(ReadConfValue(w.ProgramFolder(), kZantroConf, f.Key).value_or(""));
  if (folder.empty() || !IsDirectory(folder)) folder = DefaultLibraryFolder(w);
  QObject* menuItem = w.Component(QString("%1%2").arg(f.MenuItem).arg(n));
  LibraryEditorLaunch launch{ArgumentText(LibraryFile(folder, f, n)), n, CaptionOf(menuItem), std::nullopt};
  if (f.Levels) launch.Levels = LevelNamesOf(w);
  w.StartCompanion(f.Editor, launch.Encode());
}

// The calculated prices of the selection, by the item's tag (see CalcPriceLaunch::ForTag).
void CalculatePrices(TFZANTRO& w, QObject* item) {
  int tag = TagOf(item);
  bool plain = tag <= 3 || (tag >= 51 && tag <= 56);
  if (!w.SheetMode()) {
    if (plain) w.Dlg().Beep();
    w.Dlg().ShowNotice(kBreakdownModeNotice);
    return;
  }
  if (!CompanionPresent(w.ProgramFolder(), "calcprice_dlg.exe") || w.RestoreCompanion("Tfcalcprice_Dlg")) return;
  if (tag == 4) w.SaveSheetChecked("UND");
  // The program reads the lines from the working copy of the open sheet, which it names
  // through the environment (the argument string has no field for it).
  w.SaveSheetChecked("WRK");
  setenv("ZANTRO_CURRENT_ITEM", std::to_string(w.Doc().CurrentItem).c_str(), 1);
  RowSelection sel = w.SelectedRows();
  w.StartCompanion("calcprice_dlg.exe", CalcPriceLaunch::ForTag(tag, sel.Top, sel.Bottom, GroupNamesOf(w)).Encode());
  // The computed line is inserted at the selection: a selection that starts on a written row
  // moves down one so that the row stays.
  if (tag != 4 && !w.Grid()->Cells(1, sel.Top).isEmpty()) w.SelectRows(sel.Top + 1, sel.Bottom + 1);
}

}  // namespace

void InstallPriceLibraries(TFZANTRO& w) {
  for (int n = 1; n <= 6; ++n) {
    OnClick(w, QString("code%1").arg(n), [&w](QObject* item) { PickCode(w, item); });
    OnClick(w, QString("gbtn0%1").arg(n + 1), [&w](QObject* item) { PickCode(w, item); });
    OnClick(w, QString("rdata%1").arg(n), [&w](QObject* item) { PickSequence(w, item); });
    OnClick(w, QString("rcode%1").arg(n), [&w, n](QObject*) { Register(w, kCode, n, false); });
    OnClick(w, QString("rmdata%1").arg(n), [&w, n](QObject*) { Register(w, kSequence, n, false); });
  }
  for (int i = 11; i <= 22; ++i) {
    int n = i <= 16 ? i - 10 : i - 16;
    OnClick(w, QString("CODE%1").arg(i), [&w, n](QObject*) { Register(w, kCode, n, true); });
    OnClick(w, QString("rdata%1").arg(i), [&w, n](QObject*) { Register(w, kSequence, n, true); });
  }
  for (int n = 1; n <= 12; ++n) {
    OnClick(w, QString("Tdata%1").arg(n), [&w](QObject* item) { PickTree(w, item); });
    OnClick(w, QString("tcode%1").arg(n), [&w](QObject* item) { PickTree(w, item); });
    OnClick(w, QString("trdata%1").arg(n), [&w, n](QObject*) { Register(w, kTree, n, false); });
    OnClick(w, QString("data%1").arg(n * 10 + 1), [&w, n](QObject*) { Register(w, kTree, n, true); });
    OnClick(w, QString("For_tree%1").arg(n), [&w, n](QObject*) { Register(w, kTree, n, true); });
  }
  QStringList calc = {"EDATA1", "EDATA2", "EDATA3", "EDATA4", "N31", "N84", "N57", "N86", "N81", "N88"};
  for (int i = 1; i <= 36; ++i) calc << QString("GroupA%1").arg(i);
  for (const QString& name : calc) OnClick(w, name, [&w](QObject* item) { CalculatePrices(w, item); });
  InstallRepricing(w);
}

}  // namespace zantro
