// The dialogs a sheet or the window starts by command word, menu item or button: notes,
// digit settings, overheads, the cover sheet and the pipe and duct dialogs of the piping and
// duct menus. Replies arrive as command strings.
#include <QAction>
#include <QEvent>
#include <QWidget>

#include "companions/launch.h"
#include "platform/launcher.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

void StartNotes(TFZANTRO& w) {
  StartSingle(w, "TfPICKDATA_Dlg", "pickdata_dlg.exe", PickDataLaunch::Notes(ArgumentText(w.ProgramFolder())).Encode());
}

void StartDigits(TFZANTRO& w) {
  SchemeLaunch launch;
  launch.Settings = w.Doc().Settings;
  StartSingle(w, "TFScheme_Dlg", "scheme_dlg.exe", launch.Encode());
}

void StartCover(TFZANTRO& w) {
  StartSingle(w, "TFCover_Dlg", "cover_dlg.exe", CoverLaunch{w.ProgramEdition(), w.Config().TitleDir}.Encode());
}

// The duct dialog each item of the duct menu starts (no item 5).
const char* DuctProgramOfItem(int tag) {
  switch (tag) {
    case 1: return "sheetduct_dlg.exe";
    case 2: return "spiralduct_dlg.exe";
    case 3: return "airterm_dlg.exe";
    case 4: return "ductfit_dlg.exe";
    case 6: return "ductvalve_dlg.exe";
    case 7: return "ductfit_dlg.exe";
    case 8: return "ductequip_dlg.exe";
    case 9: return "ductmisc_dlg.exe";
  }
  return nullptr;
}

// The piping and duct menus write lines into the sheet; each saves the undo copy first. A
// program that is not installed starts nothing.
void InstallPipeAndDuctMenus(TFZANTRO& w) {
  OnClick(w, "option_01", [&w](QObject*) {
    if (RefusedOnBreakdown(w) || !CompanionPresent(w.ProgramFolder(), "pipemat_dlg.exe")) return;
    w.TakeUndoPoint();
    w.StartCompanion("pipemat_dlg.exe", PipeMaterialLaunch{LevelIndexOf(w), w.PipeNetworkFolder()}.Encode());
  });
  for (int i = 2; i <= 6; ++i) {
    OnClick(w, QString("option_0%1").arg(i), [&w](QObject* item) {
      if (RefusedOnBreakdown(w) || !CompanionPresent(w.ProgramFolder(), "pipefit_dlg.exe")) return;
      w.TakeUndoPoint();
      // The fitting groups are numbered 1-5 from the menu as from the buttons.
      w.StartCompanion("pipefit_dlg.exe",
                       PipeFittingLaunch{TagOf(item) - 1, LevelIndexOf(w), w.PipeNetworkFolder()}.Encode());
    });
  }
  for (int i = 1; i <= 9; ++i) {
    if (!DuctProgramOfItem(i)) continue;
    OnClick(w, QString("dact_option_0%1").arg(i), [&w](QObject* item) {
      int tag = TagOf(item);
      const char* program = DuctProgramOfItem(tag);
      if (RefusedOnBreakdown(w) || !program || !CompanionPresent(w.ProgramFolder(), program)) return;
      w.TakeUndoPoint();
      // Duct fittings 2 is the fittings dialog in its second mode; from the menu it gets no folder.
      DuctLaunch launch{LevelIndexOf(w), tag == 7 ? 2 : 1, tag == 7 ? std::string() : w.DuctNetworkFolder()};
      w.StartCompanion(program, launch.Encode());
    });
  }
}

}  // namespace

void InstallDialogLaunchers(TFZANTRO& w) {
  using enum CommandMode;
  w.RegisterCommand("note_in", Sheet, [&w](QObject*) { StartNotes(w); });
  w.RegisterCommand("ketain", Sheet, [&w](QObject*) { StartDigits(w); });
  w.RegisterCommand("keihi", Sheet, [&w](QObject*) {
    StartSingle(w, "TfOVERHEAD_Dlg", "overhead_dlg.exe", EditionLaunch{0, w.ProgramEdition()}.Encode());
  });
  w.RegisterCommand("title_in", Both, [&w](QObject*) { StartCover(w); });
  w.RegisterClick("N54", [&w] { StartCover(w); });
  w.RegisterClick("N36", [&w] {
    if (!RefusedOnBreakdown(w)) StartDigits(w);
  });
  // The breakdown-name list (N130, GradBtn39) belongs to the breakdown list's module.
  // A click on the panel of the command buttons (not on a button) closes the title dialog.
  w.RegisterClick("Panel26", [&w] { w.CloseCompanions({"TFCover_Dlg"}); });
  InstallPipeAndDuctMenus(w);
}

}  // namespace zantro
