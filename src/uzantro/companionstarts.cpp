// The sheet commands that start a companion: notes, digit settings, overheads, the cover
// sheet, the breakdown-name list and the takeoff aggregation. Each passes its argument string
// through the launcher seam; a companion of a single-instance class that already runs is
// brought to the front instead. The replies arrive as command strings (CompanionCommand).
#include <QApplication>
#include <QPushButton>

#include "general/workfiles.h"
#include "messages/launches.h"
#include "platform/files.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

// Starts exe unless a window of windowClass runs (then that one comes to the front).
void StartSingle(TFZANTRO& w, const char* windowClass, std::string_view exe, const std::string& argument) {
  if (!w.RestoreCompanion(windowClass)) w.StartCompanion(exe, argument);
}

}  // namespace

void TFZANTRO::RegisterCompanionStarts() {
  using enum CommandMode;
  auto notes = [this](QObject*) {
    StartSingle(*this, "TfPICKDATA_Dlg", "pickdata_dlg.exe", PickDataLaunch::Notes().Encode());
  };
  auto digits = [this] {
    SchemeLaunch launch;
    launch.Settings = doc_.Settings;
    StartSingle(*this, "TFScheme_Dlg", "scheme_dlg.exe", launch.Encode());
  };
  auto cover = [this] {
    StartSingle(*this, "TFCover_Dlg", "cover_dlg.exe", CoverLaunch{programEdition_, conf_.TitleDir}.Encode());
  };
  auto names = [this] {
    StartSingle(*this, "TfPICKDATA_Dlg", "pickdata_dlg.exe", PickDataLaunch::BreakdownNames().Encode());
  };
  RegisterCommand("note_in", Sheet, notes);
  RegisterCommand("ketain", Sheet, [digits](QObject*) { digits(); });
  RegisterCommand("keihi", Sheet, [this](QObject*) {
    // From a sheet the dialog gets 0 as its first field; the breakdown list passes 1.
    StartSingle(*this, "TfOVERHEAD_Dlg", "overhead_dlg.exe", EditionLaunch{0, programEdition_}.Encode());
  });
  RegisterCommand("title_in", Both, [cover](QObject*) { cover(); });
  RegisterCommand("datasort", Sheet, [this](QObject*) { RunTakeoffSum(); });
  RegisterClick("N36", [this, digits] {
    if (!SheetMode()) return dialogs_->ShowNotice("現在は内訳モードです。");
    digits();
  });
  RegisterClick("N54", cover);
  RegisterClick("N130", [this, names] {
    SaveSheetChecked("UND");
    names();
  });
  RegisterClick("GradBtn39", names);
}

void TFZANTRO::RunTakeoffSum() {
  // The aggregation program is the one started, so its file is the one looked for.
  if (!CompanionPresent(programFolder_, "TAKESUM.exe"))
    return dialogs_->ShowNotice(NotInstalledNotice("調書集計プログラムがみつかりません"));
  SaveSheetChecked("UND");
  launcher_->StartAndWait(CompanionPath(programFolder_, "TAKESUM.exe"), TakeoffSumLaunch{doc_.CurrentItem}.Encode(),
                          programFolder_, [] { QApplication::processEvents(); });
  ReloadSheet(doc_, programFolder_, "WRK");
  ShowTotals(0);
  RefreshSheet();
}

}  // namespace zantro
