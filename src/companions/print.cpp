#include "companions/print.h"

#include <QAction>
#include <QMenu>

#include "general/errors.h"
#include "general/printdata.h"
#include "messages/launches.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

void StartViewer(TFZANTRO& w, const std::optional<std::string>& argument) {
  // A missing viewer is not reported: nothing starts, as with any absent program.
  if (!CompanionPresent(w.ProgramFolder(), kPrintViewer)) return;
  w.Launch().Start(CompanionPath(w.ProgramFolder(), kPrintViewer), argument, w.ProgramFolder());
}

// True when the print command came from the breakdown list's popup menu.
bool FromBreakdownPopup(QObject* sender) {
  auto* action = qobject_cast<QAction*>(sender);
  return action && action->parent() && action->parent()->objectName() == "Popup_item_Menu";
}

}  // namespace

std::string PrintViewerArgument(TFZANTRO& w) {
  ZantroConfig& conf = w.Config();
  if (conf.PrintDir.empty()) conf.PrintDir = ToCp932(JoinPath(w.ProgramFolder(), "style"));
  return PrintViewerLaunch{conf.Gengaku, conf.PrintDir}.Encode();
}

void PrintDocument(TFZANTRO& w, int tab) {
  Document& doc = w.Doc();
  w.SaveUnsavedSheet();  // the print data are read from the work files
  if (tab == 0) {
    w.ShowTotals(1);
    w.SaveHeadTo("WRK");
  }
  WritePrintData(w.ProgramFolder(), w.ProgramFolder(), tab != 0, doc.CurrentItem,
                 *w.Dlg().StartProgress("印刷の準備をしています"));
  StartViewer(w, PrintViewerArgument(w));
  doc.Title.ALLGTOTAL = doc.Breakdown.Sub;
  doc.Title.ALLNTOTAL = doc.Breakdown.Cost;
  doc.Title.TAXGTOTAL = doc.Breakdown.TaxG;
  doc.Title.TAXNTOTAL = doc.Breakdown.TaxN;
  w.Changed(ChangeScope::Lines);  // the boxes as the view in force shows them
}

void PrintWholeList(TFZANTRO& w) {
  w.SaveHeadTo("WRK");
  WritePrintData(w.ProgramFolder(), w.ProgramFolder(), false, 0, *w.Dlg().StartProgress("印刷の準備をしています"));
  StartViewer(w, std::nullopt);
}

void InstallPrintCommands(TFZANTRO& w) {
  // From a sheet the user chooses: that sheet's 明細書, or the whole estimate with its cover.
  auto current = [&w] {
    if (!w.SheetMode()) return PrintDocument(w, 0);
    int choice = w.Dlg().AskChoice("印刷する範囲を選んで下さい", {"この明細書", "見積書全体", "キャンセル"});
    if (choice == 0) PrintDocument(w, 1);
    else if (choice == 1) PrintDocument(w, 0);
  };
  w.RegisterClick("N79", current);
  w.RegisterClick("N24", current);
  w.RegisterClick("IconButton5", current);
  w.RegisterCommand("print", CommandMode::Both, [&w, current](QObject* sender) {
    if (FromBreakdownPopup(sender)) PrintWholeList(w);
    else current();
  });
}

}  // namespace zantro
