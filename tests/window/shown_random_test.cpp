// The screen is the document: after every one of 2 000 random commands (sheet and list
// commands, companions' line writes, undo, tab changes) every row of the grid, every tab
// caption, the current tab and every totals box equal what the document gives, the totals
// are those a fresh computation gives, the working copy holds what the window shows, and an
// undo of the last step then its redo give the work files back byte for byte.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>

#include "breakdown/gui/breakdownlist.h"
#include "breakdown/listtext.h"
#include "companions/dispatcher.h"
#include "general/engine.h"
#include "general/kinds.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/launcher.h"
#include "testutil/headlesswindow.h"
#include "uzantro/fzantro.h"

using namespace zantro;

namespace {

// Says yes to every question and names whatever it is asked to name; errors are counted.
class YesDialogs : public Dialogs {
 public:
  void ShowNotice(const QString&) override {}
  bool AskExecute(const QString&, const QString&, const QString&) override { return true; }
  int AskChoice(const QString&, const QStringList&) override { return 0; }
  std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return "名称"; }
  std::optional<QString> OpenFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<QString> SaveFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<QString> ChooseFolder(const QString&, const QString&) override { return std::nullopt; }
  void Beep() override {}
  void ShowError(const QString& text) override { errors << text; }
  QStringList errors;
};

QString Label(TFZANTRO& w, const char* name) { return qobject_cast<QLabel*>(w.Component(name))->text(); }

// What the screen must show, derived here from the document alone.
void ExpectScreenIsDocument(TFZANTRO& w, const std::string& where) {
  const Document& doc = w.Doc();
  TStrColGrid* g = w.Grid();
  const bool sheet = w.SheetMode();
  // Totals: a fresh computation of a copy gives the boxes' texts.
  Document fresh = doc;
  TotalsTexts t = ShowTotals(fresh, sheet ? 0 : 1, nullptr);
  if (!sheet) t.AV1PL.clear();
  ASSERT_EQ(Label(w, "SUBNBOX").toStdString(), t.SUBNBOX) << where;
  ASSERT_EQ(Label(w, "SUBGBOX").toStdString(), t.SUBGBOX) << where;
  ASSERT_EQ(Label(w, "gsagaku").toStdString(), t.gsagaku) << where;
  ASSERT_EQ(Label(w, "NTOTALBOX").toStdString(), t.NTOTALBOX) << where;
  ASSERT_EQ(Label(w, "GTOTALBOX").toStdString(), t.GTOTALBOX) << where;
  ASSERT_EQ(Label(w, "AV1PL").toStdString(), t.AV1PL) << where;
  ASSERT_EQ(Label(w, "AV2PL").toStdString(), t.AV2PL) << where;
  // Tabs: the list, then one per item with a sheet; the current one is the view's.
  QStringList captions{"内訳表"};
  int current = 0;
  for (int32_t i = 1; i <= doc.LastItem(); ++i) {
    if (!ItemHasTab(doc.ItemList[i].ItemKind)) continue;
    captions << Q(doc.ItemList[i].ItemName.view());
    if (i == doc.CurrentItem) current = static_cast<int>(captions.size()) - 1;
  }
  ASSERT_EQ(w.Tabs()->count(), captions.size()) << where;
  for (int i = 0; i < captions.size(); ++i) ASSERT_EQ(w.Tabs()->tabText(i), captions[i]) << where << " tab " << i;
  ASSERT_EQ(w.Tabs()->currentIndex(), sheet ? current : 0) << where;
  // Rows.
  if (sheet) {
    ASSERT_EQ(g->ColCount(), doc.Layout == ColumnLayout::Ten ? 10 : 9) << where;
    ASSERT_EQ(Label(w, "keito_name"), Q(doc.ItemList[doc.CurrentItem].ItemName.view())) << where;
    RowView view = w.ViewState();
    for (int r = 1; r < g->RowCount(); ++r) {
      ASSERT_EQ(g->Cells(0, r), QString::number(r)) << where << " row " << r;
      RowTexts texts = r <= doc.LastLine() ? FormatRowTexts(doc.LineList[r], view) : RowTexts{};
      for (int c = 1; c < g->ColCount(); ++c)
        ASSERT_EQ(g->Cells(c, r).toStdString(), texts[c]) << where << " row " << r << " col " << c;
    }
  } else {
    ASSERT_EQ(g->ColCount(), 8) << where;
    const std::string reduction = ToUtf8(w.Config().Gengaku);
    for (int r = 1; r < g->RowCount(); ++r) {
      ListRowTexts texts = r <= doc.LastItem() ? ListRowTextsFor(doc, r, reduction) : ListRowTexts{};
      for (int c = 1; c < 8; ++c)
        ASSERT_EQ(g->Cells(c, r).toStdString(), texts[c]) << where << " row " << r << " col " << c;
    }
  }
}

// The working copy holds the sheet the window shows.
void ExpectWorkingCopyIsDocument(TFZANTRO& w, const std::string& where) {
  const Document& doc = w.Doc();
  if (!w.SheetMode() || !doc.IsItem(doc.CurrentItem)) return;
  auto path = FindNoCase(w.ProgramFolder(), SheetFile(doc.CurrentItem, "WRK"));
  if (!path) {
    ASSERT_EQ(doc.LastLine(), 0) << where << "no working copy";  // a sheet never written is empty
    return;
  }
  auto held = std::optional(DecodeRecords<LineRecord>(ReadFileBytes(*path).value_or("")));
  for (auto& line : *held) line.ItemNo = 0;  // the file names its item, the list does not
  ASSERT_EQ(held->size() + 1, doc.LineList.size()) << where;
  for (size_t r = 0; r < held->size(); ++r)
    ASSERT_EQ(std::memcmp(&(*held)[r], &doc.LineList[r + 1], sizeof(LineRecord)), 0) << where << " line " << r + 1;
}

// Every work file of the folder (HEAD.WRK, the sheets, the takeoff files) by name.
std::map<std::string, std::string> WorkFileBytes(TFZANTRO& w) {
  std::map<std::string, std::string> files;
  for (const auto& name : ListFiles(w.ProgramFolder()))
    if (name.size() > 4 && name.substr(name.size() - 4) == ".WRK") files[name] = ReadFileBytes(JoinPath(w.ProgramFolder(), name)).value_or("");
  return files;
}

std::string LineMessage(std::mt19937& random) {
  static const char* names[] = {"配管", "継手", "保温", "弁", "支持金物"};
  return std::string("WM_DATAWRITE;") + names[random() % 5] + ";20A;m;" + std::to_string(random() % 5000) + ";" +
         std::to_string(random() % 7000) + ";0;0;" + std::to_string(random() % 40) + ";" +
         std::to_string(random() % 40) + ";0;0;10;10001;;0;0;0;0;0;;";
}

TEST(ShownRandom, EveryStepShowsTheDocument) {
  zantro::testing::EnsureApplication("test_window");
  char t[] = "/tmp/zantro-shown-XXXXXX";
  std::string folder = ::mkdtemp(t);
  YesDialogs dialogs;
  Launcher launcher;
  auto window = std::make_unique<TFZANTRO>(zantro::testing::HeadlessSetup(folder, &dialogs, &launcher));
  TFZANTRO& w = *window;
  InstallBreakdownList(w);
  InstallCompanions(w);
  w.show();
  QApplication::processEvents();
  ASSERT_TRUE(w.OpenDocument(ZANTRO_SOURCE_DIR "/data/Sample/sample.znt2"));
  w.TabClicked(1);

  const char* sheetWords[] = {"insert", "delete", "erase", "move_up", "move_down", "swap", "sumline", "undo"};
  const char* listWords[] = {"insert", "delete", "undo", "copy", "paste1"};
  std::mt19937 random(22);
  auto started = std::chrono::steady_clock::now();
  std::string history;  // the last steps, for the message of a failure
  for (int step = 0; step < 2000; ++step) {
    std::string what;
    int roll = random() % 100;
    const int rows = w.Grid()->RowCount() - 1;
    int top = 1 + random() % std::min(rows, w.SheetMode() ? std::max(4, w.Doc().LastLine() + 3) : w.Doc().LastItem() + 1);
    w.SelectRows(top, std::min(rows, top + static_cast<int>(random() % 3)));
    if (roll < 4) {
      // Undo then redo of the last step gives the work files back byte for byte.
      auto before = WorkFileBytes(w);
      w.Dispatch("undo_step");
      w.Dispatch("redo_step");
      what = "undo and redo";
      ASSERT_TRUE(WorkFileBytes(w) == before) << history << what;
    } else if (roll < 6) {
      what = "undo step";
      w.Dispatch("undo_step");
    } else if (roll < 10) {
      int tab = random() % w.Tabs()->count();
      what = "tab " + std::to_string(tab);
      w.TabClicked(tab);
    } else if (w.SheetMode() && roll < 30) {
      what = "line at " + std::to_string(top);
      w.ReceiveFrame(1, ToCp932(LineMessage(random)));
    } else if (w.SheetMode() && roll < 33) {
      what = "undo point";
      w.ReceiveFrame(1, ToCp932("WM_UNDOWRITE;"));
    } else if (w.SheetMode()) {
      what = sheetWords[random() % std::size(sheetWords)];
      w.Dispatch(QString::fromUtf8(what.c_str()));
    } else if (roll < 40 && w.Doc().LastItem() < 12) {
      what = "name at " + std::to_string(top);
      w.ReceiveFrame(1, ToCp932("WM_KEITO;工種" + std::to_string(step) + ";"));
    } else if (roll < 45) {
      what = "list undo button";
      w.Dispatch("undo");
    } else {
      what = listWords[random() % std::size(listWords)];
      // The list stays small enough to run the sheets' tabs often.
      if (what == "insert" && w.Doc().LastItem() >= 12) what = "delete";
      w.Dispatch(QString::fromUtf8(what.c_str()));
    }
    QApplication::processEvents();
    history += "step " + std::to_string(step) + ": " + what + " at " + std::to_string(top) +
               (w.SheetMode() ? " (sheet)\n" : " (list)\n");
    if (history.size() > 600) history.erase(0, history.find('\n', history.size() - 600) + 1);
    const std::string& where = history;
    ExpectScreenIsDocument(w, where);
    // A sheet opened shows its lines recomputed before any command writes them back, so the
    // working copy is compared after the steps that always write it.
    if (what.rfind("line at", 0) == 0 || what == "undo") ExpectWorkingCopyIsDocument(w, where);
    if (::testing::Test::HasFatalFailure()) break;
  }
  EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("\n").toStdString();
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_LT(seconds, 60.0);
  w.CloseWithoutQuestion();
  window.reset();
  std::filesystem::remove_all(folder);
}

}  // namespace
