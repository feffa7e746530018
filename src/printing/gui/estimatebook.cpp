#include "printing/gui/estimatebook.h"

#include "printing/estimatebook.h"
#include "uzantro/fzantro.h"

namespace zantro::printing {

void InstallEstimateBook(TFZANTRO& w) {
  w.RegisterClick("EstimateBook", [&w] {
    auto path = w.Dlg().SaveFileIn(FolderKind::Export, {"見積書ブック出力", "Excelブック|*.xlsx", "xlsx", QString()});
    if (!path) return;
    // The work files hold what the whole estimate prints: the sheet's lines, then the list's
    // totals; the boxes then show again what the view in force shows.
    w.SaveUnsavedSheet();
    w.ShowTotals(1);
    w.SaveHeadTo("WRK");
    w.Changed(ChangeScope::Lines);
    WriteEstimateWorkbook(w.ProgramFolder(), w.ProgramFolder(), path->toStdString());
    w.Dlg().ShowNotice("見積書ブックを保存しました\r\n" + *path);
  });
}

}  // namespace zantro::printing
