// The sheet commands that start a companion: notes, digit settings, overheads, the cover
// sheet, the breakdown-name list and the takeoff aggregation. Each passes its argument string
// through the launcher seam; a companion of a single-instance class that already runs is
// brought to the front instead. The replies arrive as command strings (CompanionCommand).
#include <QApplication>
#include <QPushButton>

#include "general/workfiles.h"
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
    StartSingle(*this, "TfPICKDATA_Dlg", "pickdata_dlg.exe",
                "0;0;" + JoinPath(programFolder_, "note.dat") + ";WM_DATAWRITE;");
  };
  auto digits = [this] {
    std::string argument = ";";
    const CalcSettings& s = doc_.Settings;
    for (Money v : {s.LineRoundAddend, s.Opt4RoundAddend, s.QuantityScale, s.Opt3Unit, s.Opt6RoundAddend})
      argument += MoneyToPlainText(v) + ";";
    StartSingle(*this, "TFScheme_Dlg", "scheme_dlg.exe", argument);
  };
  auto cover = [this] {
    StartSingle(*this, "TFCover_Dlg", "cover_dlg.exe",
                "0;" + std::to_string(programEdition_) + ";" + conf_.TitleDir + ";");
  };
  auto names = [this] {
    StartSingle(*this, "TfPICKDATA_Dlg", "pickdata_dlg.exe",
                "0;0;" + JoinPath(programFolder_, "KEITO.DAT") + ";WM_KEITO;");
  };
  RegisterCommand("note_in", Sheet, notes);
  RegisterCommand("ketain", Sheet, [digits](QObject*) { digits(); });
  RegisterCommand("keihi", Sheet, [this](QObject*) {
    StartSingle(*this, "TfOVERHEAD_Dlg", "overhead_dlg.exe", "0;" + std::to_string(programEdition_) + ";");
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
  launcher_->StartAndWait(CompanionPath(programFolder_, "TAKESUM.exe"), std::to_string(doc_.CurrentItem),
                          programFolder_, [] { QApplication::processEvents(); });
  ReloadSheet(doc_, programFolder_, "WRK");
  ShowTotals(0);
  RefreshSheet();
}

}  // namespace zantro
