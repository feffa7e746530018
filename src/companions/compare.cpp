// The revision comparison's part in the window: the tools menu item that starts compare_dlg
// over the open document, and "WM_SHOWLINE", with which the dialog brings the window to an
// item and a row of the document it compared.
#include <QObject>

#include "companions/launch.h"
#include "messages/showline.h"
#include "platform/files.h"
#include "platform/launcher.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

void StartComparison(TFZANTRO& w) {
  if (!CompanionPresent(w.ProgramFolder(), "compare_dlg.exe")) {
    w.Dlg().ShowNotice(NotInstalledNotice("見積比較プログラムが見つかりません。"));
    return;
  }
  // The dialog reads the open document from the work files: lines a companion wrote without
  // saving go there first.
  w.SaveUnsavedSheet();
  StartSingle(w, "TFCompare_Dlg", "compare_dlg.exe", std::string());
}

void ShowLine(TFZANTRO& w, const std::string& text) {
  ShowLineMessage m = ShowLineMessage::Decode(text);
  // While the takeoff or the CSV editor owns the sheet, the window shows no other.
  if (w.Waiting()) return;
  Document& doc = w.Doc();
  if (!doc.IsItem(m.Item) || doc.ItemList[m.Item].ItemName.view() != m.Name) {
    w.Dlg().ShowNotice("比較した見積と開いている見積が違います。");
    return;
  }
  if (m.Row == 0 || !ItemHasSheet(doc.ItemList[m.Item].ItemKind)) {
    if (w.SheetMode()) w.TabClicked(0);
    w.SelectRows(m.Item, m.Item);
    return;
  }
  w.OpenItem(m.Item);
  w.EnsureGridRow(m.Row);
  w.SelectRows(m.Row, m.Row);
}

}  // namespace

void InstallComparison(TFZANTRO& w) {
  OnClick(w, "CompareItem", [&w](QObject*) { StartComparison(w); });
  w.RegisterMessage(std::string(kShowLineName), [&w](const std::string& text) { ShowLine(w, text); });
}

}  // namespace zantro
