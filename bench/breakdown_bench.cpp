// The breakdown list: insert at row 1 of a 2 000-item list whose items all have sheets, so
// that all 2 000 detail files move. The whole command in the window (question, undo copy, the
// moves with their kept copies, recomputation, working copy, tabs and redraw), and the change
// with its frame alone. Runs from any working folder (it copies the program folder beside the benchmark).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench/generated.h"
#include "breakdown/gui/breakdownlist.h"
#include "breakdown/listchanges.h"
#include "general/editframe.h"
#include "general/engine.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "platform/launcher.h"
#include "tests/testutil/headlesswindow.h"
#include "uzantro/fzantro.h"

using namespace zantro;
namespace fs = std::filesystem;

namespace {

constexpr int kItems = 2000;
constexpr int kLinesPerSheet = 20;


std::string TempFolder() {
  char t[] = "/tmp/zantro-bench-XXXXXX";
  return ::mkdtemp(t);
}

// The document and its work files: kItems ordinary items, each with a sheet of its own.
void MakeList(Document& doc, const std::string& folder) {
  doc.ItemList.assign(1, ItemRecord{});
  std::vector<LineRecord> lines(kLinesPerSheet);
  for (int i = 1; i <= kItems; ++i) {
    ItemRecord it = NewItem();
    it.ItemName.set(ToCp932("空調配管工事 " + std::to_string(i)));
    it.ALLGTOTAL = Money::Units(1000 * i);
    it.ALLNTOTAL = Money::Units(800 * i);
    doc.ItemList.push_back(it);
    for (auto& l : lines) {
      l.ItemNo = i;
      l.FLAG = 10;
      l.NameSpec.set(ToCp932("配管用炭素鋼鋼管;白 20A"));
    }
    WriteRecords(JoinPath(folder, SheetFile(i, "WRK")), lines);
  }
  doc.ItemCount = kItems;
  doc.CurrentItem = 1;
  SaveHead(doc, folder, "WRK");
}

// A shown window whose breakdown list holds the generated items.
struct ListWindow {
  ScriptedDialogs dialogs{[](const QString&) {}};
  Launcher launcher;
  WindowSetup setup;
  std::unique_ptr<TFZANTRO> window;

  ListWindow() {
    testing::EnsureApplication("bench_breakdown", true);
    setup = testing::HeadlessSetup(TempFolder(), &dialogs, &launcher);
    fs::copy(bench::ProgramFolder(), setup.ProgramFolder, fs::copy_options::recursive);
    window = std::make_unique<TFZANTRO>(setup);
    InstallBreakdownList(*window);
    window->show();
    MakeList(window->Doc(), setup.ProgramFolder);
    window->RebuildItemTabs();
    window->TabClicked(0);
    QApplication::processEvents();
  }
  ~ListWindow() {
    window->CloseWithoutQuestion();
    window.reset();
    fs::remove_all(setup.ProgramFolder);
  }
  // A command word, painted.
  void Run(const char* word) {
    window->Dispatch(word);
    QApplication::processEvents();
  }
  void InsertAtRow1() {
    window->SelectRows(1, 1);
    dialogs.Queue(ScriptAnswer{ScriptAnswer::Ask, true, false, {}});
    Run("insert");
  }
};

// The insert at row 1, painted; the undo between two rounds untimed.
void BM_InsertRow1Window(benchmark::State& state) {
  ListWindow w;
  for (auto _ : state) {
    w.InsertAtRow1();
    state.PauseTiming();
    w.Run("undo");  // the list and every file back for the next round
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InsertRow1Window)->Unit(benchmark::kMillisecond)->Iterations(5);

// Its undo: the list and the 2 000 moved detail files back, painted.
void BM_UndoInsertRow1Window(benchmark::State& state) {
  ListWindow w;
  for (auto _ : state) {
    state.PauseTiming();
    w.InsertAtRow1();
    state.ResumeTiming();
    w.Run("undo");
  }
}
BENCHMARK(BM_UndoInsertRow1Window)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_InsertRow1Change(benchmark::State& state) {
  std::string folder = TempFolder();
  Document doc;
  MakeList(doc, folder);
  for (auto _ : state) {
    {
      EditFrame frame(doc, folder, EditScope::Breakdown);
      ItemFiles files(folder, [&](const std::string& n, const std::optional<std::string>& p) { frame.KeepFile(n, p); });
      InsertItemRow(doc, files, 1);
      frame.Commit([&] { RecomputeBreakdown(doc); });
    }
    state.PauseTiming();
    LoadHead(doc, folder, "UND");
    RestoreKeptFiles(folder);
    state.ResumeTiming();
  }
  fs::remove_all(folder);
}
BENCHMARK(BM_InsertRow1Change)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
