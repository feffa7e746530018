// Documents whose stored totals are stale (another tool or a hand wrote them) show one set of
// totals everywhere. Random documents get wrong item, tax and title totals written into their
// files; the window's list and totals boxes, the print data the viewer lays out, and the
// report, the workbook and the PDF of the batch commands all show the totals the engine
// computes from the sheets, and none of them shows a stored one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <map>
#include <memory>
#include <random>
#include <regex>
#include <set>

#include "breakdown/gui/breakdownlist.h"
#include "breakdown/listtext.h"
#include "companions/dispatcher.h"
#include "companions/print.h"
#include "general/container.h"
#include "general/doccheck.h"
#include "general/engine.h"
#include "general/printdata.h"
#include "platform/conffile.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/launcher.h"
#include "prices/xlsxread.h"
#include "testutil/headlesswindow.h"
#include "testutil/process.h"
#include "testutil/randomdocument.h"
#include "testutil/tempdir.h"
#include "uzantro/fzantro.h"

using namespace zantro;

namespace {

class QuietDialogs : public Dialogs {
 public:
  void ShowNotice(const QString&) override {}
  bool AskExecute(const QString&, const QString&, const QString&) override { return true; }
  int AskChoice(const QString&, const QStringList&) override { return 0; }
  std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
  std::optional<QString> OpenFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<QString> SaveFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<QString> ChooseFolder(const QString&, const QString&) override { return std::nullopt; }
  void Beep() override {}
  void ShowError(const QString& text) override { errors << text; }
  QStringList errors;
};

// Totals no computation gives: ten digits, one value per item and field.
Money Stale(int item, int field) { return Money::Units(8642097000LL + item * 10 + field); }

// Items whose totals the engine computes (a reduction's are typed, the others come from the
// sheets or the list).
bool ComputedTotals(int32_t kind) { return kind != ItemKinds::Reduction; }

// The document as the window computes it after opening: every sheet with its item's settings,
// then the list with the settings of the item it opens on, checked as its sheet checks them.
Document Computed(const ParsedDocument& parsed) {
  Document d;
  d.Title = parsed.Title;
  d.ItemList.insert(d.ItemList.end(), parsed.Items.begin(), parsed.Items.end());
  d.ItemCount = d.LastItem();
  for (int32_t n = 1; n <= d.LastItem(); ++n) {
    if (!ItemHasSheet(d.ItemList[n].ItemKind)) continue;
    d.CurrentItem = n;
    d.Settings = d.ItemList[n].Settings();
    d.LineList.assign(1, LineRecord{});
    if (auto held = parsed.Lines.find(n); held != parsed.Lines.end())
      d.LineList.insert(d.LineList.end(), held->second.begin(), held->second.end());
    RecomputeSheet(d, nullptr);
  }
  int32_t first = 1;
  for (int32_t n = d.LastItem(); n >= 1; --n)
    if (ItemOpensFirst(d.ItemList[n].ItemKind)) first = n;
  d.CurrentItem = first;
  d.Settings = d.ItemList[first].Settings();
  CheckSettings(d.Settings);
  RecomputeBreakdown(d);
  return d;
}

std::string RunProgram(const std::string& program, std::vector<std::string> args, const zantro::testing::TempDir& dir) {
  const std::string out = dir.file("stdout.txt");
  pid_t pid = zantro::testing::Spawn(program, std::move(args), dir.path(), out);
  int status = zantro::testing::WaitExit(pid, 60000);
  EXPECT_EQ(status, 0) << program;
  return ReadFileBytes(out).value_or("");
}

// The number cells of column col in a worksheet's XML, by row number.
std::map<int, std::string> NumberCells(const std::string& xml, char col) {
  std::map<int, std::string> cells;
  std::regex cell(std::string("<c r=\"") + col + "([0-9]+)\"[^>]*><v>([^<]*)</v></c>");
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), cell); it != std::sregex_iterator(); ++it)
    cells[std::stoi((*it)[1])] = (*it)[2];
  return cells;
}

TEST(StaleRandom, EveryOutputShowsTheComputedTotals) {
  zantro::testing::EnsureApplication("test_window");
  zantro::testing::TempDir dir, folder, runtime;
  const std::string zantro = std::string(ZANTRO_PROGRAM_DIR) + "/zantro";
  QuietDialogs dialogs;
  Launcher launcher;
  auto window = std::make_unique<TFZANTRO>(zantro::testing::HeadlessSetup(folder.path(), &dialogs, &launcher));
  TFZANTRO& w = *window;
  InstallBreakdownList(w);
  InstallCompanions(w);
  w.show();
  QApplication::processEvents();

  std::mt19937 rng(905);
  int withOverhead = 0, withTax = 0;
  for (int round = 0; round < 24; ++round) {
    const std::string where = "document " + std::to_string(round);
    ParsedDocument doc = zantro::testing::RandomDocument(rng);
    doc.Title.NUMBER.set("ST-" + std::to_string(round));
    std::set<std::string> staleTexts;
    auto stale = [&](Money& field, int item, int which) {
      field = Stale(item, which);
      staleTexts.insert(MoneyText(field));
      staleTexts.insert(MoneyToPlainText(field));
    };
    for (size_t i = 0; i < doc.Items.size(); ++i) {
      ItemRecord& item = doc.Items[i];
      withOverhead += item.ItemKind == 81;
      withTax += item.ItemKind == ItemKinds::Tax;
      if (!ComputedTotals(item.ItemKind)) continue;
      stale(item.ALLGTOTAL, static_cast<int>(i + 1), 1);
      stale(item.ALLNTOTAL, static_cast<int>(i + 1), 2);
      if (ItemHasSheet(item.ItemKind)) {
        stale(item.TAXGTOTAL, static_cast<int>(i + 1), 3);
        stale(item.TAXNTOTAL, static_cast<int>(i + 1), 4);
      }
    }
    for (Money* t : {&doc.Title.ALLGTOTAL, &doc.Title.ALLNTOTAL, &doc.Title.TAXGTOTAL, &doc.Title.TAXNTOTAL})
      stale(*t, 0, static_cast<int>(t - &doc.Title.ALLGTOTAL) + 1);
    const std::string path = dir.file("stale" + std::to_string(round) + ".znt2");
    ASSERT_TRUE(WriteFileAtomic(path, ContainerText(doc, false, 0)));

    const Document expected = Computed(ParseDocumentFile(path));
    const TotalsTexts totals = TotalsTextsFor(expected.Sheet, expected.Breakdown, false);
    auto noStale = [&](const std::string& text, const std::string& what) {
      for (const auto& s : staleTexts) EXPECT_EQ(text.find(s), std::string::npos) << where << ": " << what << " shows " << s;
    };

    // The window: every amount of the list and the document's boxes.
    ASSERT_TRUE(w.OpenDocument(QString::fromStdString(path))) << where << dialogs.errors.join("\n").toStdString();
    w.TabClicked(0);
    QApplication::processEvents();
    const std::string reduction = ToUtf8(w.Config().Gengaku);
    std::string shown;
    for (int32_t r = 1; r <= expected.LastItem(); ++r) {
      ListRowTexts texts = ListRowTextsFor(expected, r, reduction);
      for (int c = 3; c <= 6; ++c) {
        std::string cell = w.Grid()->Cells(c, r).toStdString();
        EXPECT_EQ(cell, texts[c]) << where << ": window row " << r << " column " << c;
        shown += cell + "\n";
      }
    }
    auto box = [&](const char* name) { return qobject_cast<QLabel*>(w.Component(name))->text().toStdString(); };
    EXPECT_EQ(box("NTOTALBOX"), totals.NTOTALBOX) << where;
    EXPECT_EQ(box("GTOTALBOX"), totals.GTOTALBOX) << where;
    noStale(shown, "the window");

    // The print data the viewer lays out, as the list's print command writes them (no viewer
    // lies in this program folder: its start fails, the data stay).
    PrintDocument(w, 0);
    const std::string data = PrintDataPath(w.ProgramFolder(), doc.Title.NUMBER.str());
    ParsedDocument printed = ParseContainer(data);
    ASSERT_EQ(printed.Items.size(), static_cast<size_t>(expected.LastItem())) << where;
    for (int32_t r = 1; r <= expected.LastItem(); ++r) {
      EXPECT_EQ(printed.Items[r - 1].ALLGTOTAL, expected.ItemList[r].ALLGTOTAL) << where << ": print data item " << r;
      EXPECT_EQ(printed.Items[r - 1].ALLNTOTAL, expected.ItemList[r].ALLNTOTAL) << where << ": print data item " << r;
    }
    EXPECT_EQ(printed.Title.ALLGTOTAL, expected.Breakdown.Sub) << where;
    EXPECT_EQ(printed.Title.ALLNTOTAL, expected.Breakdown.Cost) << where;
    noStale(ReadFileBytes(data).value_or(""), "the print data");

    // The report: every amount of the list and the total line.
    std::string report = RunProgram(zantro, {"--report", path}, runtime);
    std::vector<std::string> lines = SplitLines(report);
    const std::string reportReduction = ToUtf8(ReadConfValue(ZANTRO_PROGRAM_DIR, "Zantro.conf", "[GENGAKU]").value_or(""));
    ASSERT_EQ(lines.size(), static_cast<size_t>(expected.LastItem()) + 3) << where << report;
    for (int32_t r = 1; r <= expected.LastItem(); ++r) {
      ListRowTexts texts = ListRowTextsFor(expected, r, reportReduction);
      std::vector<std::string> cells;
      std::string_view rest = lines[r];
      for (size_t tab; (tab = rest.find('\t')) != std::string_view::npos; rest.remove_prefix(tab + 1))
        cells.emplace_back(rest.substr(0, tab));
      cells.emplace_back(rest);
      ASSERT_GE(cells.size(), 7u) << where << lines[r];
      for (int c = 3; c <= 6; ++c) EXPECT_EQ(cells[c], texts[c]) << where << ": report row " << r << " column " << c;
    }
    EXPECT_EQ(lines.back(), "総 合 計\t" + totals.NTOTALBOX + "\t" + totals.GTOTALBOX + "\t" + totals.nsagaku + "\t" +
                                totals.AV2PL) << where;
    noStale(report, "the report");

    // The workbook: the title's totals on the cover, every item's in the list.
    const std::string xlsx = dir.file("out.xlsx");
    RunProgram(zantro, {"--xlsx", path, xlsx}, runtime);
    std::string book = ReadFileBytes(xlsx).value_or("");
    std::vector<SheetRow> cover = ReadFirstSheet(book, xlsx);
    std::map<int, std::string> coverCells;
    for (const SheetRow& row : cover) coverCells[row.Number] = row.Cells.empty() ? "" : row.Cells[0];
    EXPECT_EQ(coverCells[5], MoneyToPlainText(expected.Breakdown.Sub)) << where;
    EXPECT_EQ(coverCells[6], MoneyToPlainText(expected.Breakdown.Cost)) << where;
    std::string list = ZipEntry(book, "xl/worksheets/sheet2.xml", xlsx);
    std::map<int, std::string> sub = NumberCells(list, 'B'), cost = NumberCells(list, 'C');
    for (int32_t r = 1; r <= expected.LastItem(); ++r) {
      EXPECT_EQ(sub[r + 1], MoneyToPlainText(expected.ItemList[r].ALLGTOTAL)) << where << ": workbook item " << r;
      EXPECT_EQ(cost[r + 1], MoneyToPlainText(expected.ItemList[r].ALLNTOTAL)) << where << ": workbook item " << r;
    }
    for (const auto& [row, text] : coverCells) noStale(text, "the workbook's cover");
    noStale(list, "the workbook's list");

    // The PDF: the estimate's total, and no stored total anywhere.
    const std::string pdf = dir.file("out.pdf");
    RunProgram(zantro, {"--pdf", path, pdf}, runtime);
    std::string text = RunProgram("/usr/bin/pdftotext", {"-layout", pdf, "-"}, runtime);
    if (expected.Breakdown.Sub > kZero) {
      EXPECT_NE(text.find(MoneyText(expected.Breakdown.Sub)), std::string::npos) << where << text;
    }
    for (int32_t r = 1; r <= expected.LastItem(); ++r) {
      const ItemRecord& item = expected.ItemList[r];
      if (item.ItemKind == 10 && item.ALLGTOTAL > kZero) {
        EXPECT_NE(text.find(MoneyText(item.ALLGTOTAL)), std::string::npos) << where << ": PDF item " << r << text;
      }
    }
    noStale(text, "the PDF");
  }
  // The documents met the rules that differ between sheets: overheads and tax items.
  EXPECT_GT(withOverhead, 5);
  EXPECT_GT(withTax, 5);
}

}  // namespace
