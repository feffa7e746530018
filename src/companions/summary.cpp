// The cost summary (集計表) of the open document, from the tools menu: the summary program
// reads the working copy, so the sheet's unsaved lines reach it first.
#include "companions/launch.h"
#include "platform/launcher.h"
#include "uzantro/fzantro.h"

namespace zantro {

void InstallSummary(TFZANTRO& w) {
  w.RegisterCommand("summary", CommandMode::Both, [&w](QObject*) {
    if (!CompanionPresent(w.ProgramFolder(), "summary_dlg.exe")) {
      w.Dlg().ShowNotice(NotInstalledNotice("集計表プログラムが見つかりません。"));
      return;
    }
    w.SaveUnsavedSheet();
    StartSingle(w, "TFSummary_Dlg", "summary_dlg.exe", "WRK;");
  });
}

}  // namespace zantro
