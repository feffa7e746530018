// 単価入替: the open sheet re-priced from the unit-price libraries (every CODE, tree and
// sequence library there is, in that order) at the level of Level_box. The lines that would
// change are shown first; the change is one command of the sheet, which undo takes back.

#include "companions/launch.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "prices/reprice.h"
#include "uzantro/config.h"
#include "uzantro/fzantro.h"
#include "uzantro/sheetedit.h"

namespace zantro {
namespace {

// How many changes the question lists before it only counts them.
constexpr size_t kListedChanges = 20;

std::vector<PriceLibrary> ReadAllLibraries(TFZANTRO& w) {
  std::vector<PriceLibrary> libs;
  auto folder = [&w](const std::string& setting) {
    return setting.empty() ? JoinPath(w.ProgramFolder(), "data") : ToUtf8(setting);
  };
  struct Source {
    PriceFamily Family;
    int Count;
    std::string Folder;
  } sources[] = {{PriceFamily::Code, 6, folder(w.Config().CodeDir)},
                 {PriceFamily::Tree, 12, folder(w.Config().TreeDir)},
                 {PriceFamily::Sequence, 6, folder(w.Config().MultiDir)}};
  for (const auto& s : sources)
    for (int n = 1; n <= s.Count; ++n)
      if (auto file = FindNoCase(s.Folder, LibraryFileName(s.Family, n)))
        libs.push_back(ReadLibrary(*file, s.Family));
  return libs;
}

QString Question(const RepricePlan& plan) {
  RepricePlan shown = plan;
  if (shown.Changes.size() > kListedChanges) shown.Changes.resize(kListedChanges);
  std::string report = RepriceReport(shown);
  // The summary counts every change, not only those listed.
  size_t last = report.rfind("変更 ");
  report = report.substr(0, last);
  if (plan.Changes.size() > kListedChanges) report += "…\n";
  report += "変更 " + std::to_string(plan.Changes.size()) + " 行　該当なし " + std::to_string(plan.Unmatched.size()) +
            " 行　差額合計 " + MoneyText(plan.Total) + "\n\n単価を入れ替えますか？";
  return QString::fromStdString(report);
}

void RepriceSheet(TFZANTRO& w) {
  if (RefusedOnBreakdown(w)) return;
  const std::vector<PriceLibrary> libraries = ReadAllLibraries(w);
  PriceLookup lookup(libraries);
  RepricePlan plan;
  Document& doc = w.Doc();
  PlanSheetReprice(plan, doc.CurrentItem, doc.LineList, doc.Settings, lookup, LevelIndexOf(w) + 1);
  if (plan.Changes.empty()) {
    w.Dlg().ShowNotice(QString("単価の変わる行はありません（該当なし %1 行）。").arg(plan.Unmatched.size()));
    return;
  }
  if (!w.Dlg().AskExecute(Question(plan), "実行", "キャンセル")) return;
  SheetEdit edit(w);
  ApplyReprice(edit.Doc().LineList, doc.CurrentItem, plan);
  edit.Commit();
}

}  // namespace

void InstallRepricing(TFZANTRO& w) {
  if (w.AddMenuItem("N29", "RepriceMenu", "単価入替（単価ライブラリから）"))
    w.RegisterClick("RepriceMenu", [&w] { RepriceSheet(w); });
}

}  // namespace zantro
