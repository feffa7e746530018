// The window: start-up to the first painted window with the sample document, and a refresh
// of a 10 000-line sheet. Runs from any working folder (it copies the program folder beside the benchmark).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench/generated.h"
#include "breakdown/gui/breakdownlist.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/gui/dialogs.h"
#include "platform/launcher.h"
#include "tests/testutil/headlesswindow.h"
#include "uzantro/fzantro.h"

using namespace zantro;
namespace fs = std::filesystem;

namespace {

void App() { testing::EnsureApplication("bench_uzantro", true); }

std::string ProgramCopy() {
  static std::string copy = [] {
    std::string dir = bench::Files().File("program");
    fs::copy(bench::ProgramFolder(), dir, fs::copy_options::recursive);
    return dir;
  }();
  return copy;
}

WindowSetup Setup(Dialogs* d, Launcher* l, const std::string& document) {
  return testing::HeadlessSetup(ProgramCopy(), d, l, document);
}

void BM_StartupToFirstPaint(benchmark::State& state) {
  App();
  ScriptedDialogs dialogs([](const QString&) {});
  Launcher launcher;
  std::string sample = ProgramCopy() + "/Sample/sample.znt2";
  for (auto _ : state) {
    TFZANTRO window(Setup(&dialogs, &launcher, sample));
    window.show();
    window.TabClicked(1);
    QImage painted = window.grab().toImage();  // the whole window painted once
    benchmark::DoNotOptimize(painted.bits());
    window.CloseWithoutQuestion();
  }
}
BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(10);

// A sheet of 10 000 priced lines in the window's document.
void FillSheet(TFZANTRO& window) {
  Document& doc = window.Doc();
  doc.LineList.resize(10001);
  for (int r = 1; r <= 10000; ++r) {
    LineRecord& l = doc.LineList[r];
    l.FLAG = r % 3 == 0 ? 20 : 10;
    l.NameSpec.set(ToCp932("配管用炭素鋼鋼管;白 20A"));
    l.Unit.set(ToCp932("m"));
    l.sort = Money::Units(10001);
    l.SubQty = l.CostQty = Money::Units(r % 50 + 1);
    l.SubPrice = Money::Units(1480);
    l.SubAmount = Money::Units(1480 * (r % 50 + 1));
    l.Remarks.set(ToCp932("ねじ接合"));
  }
  window.ShowTotals(0);  // grows the grid to the list
}

void BM_RefreshSheet10000(benchmark::State& state) {
  App();
  ScriptedDialogs dialogs([](const QString&) {});
  Launcher launcher;
  TFZANTRO window(Setup(&dialogs, &launcher, ""));
  window.show();
  FillSheet(window);
  for (auto _ : state) {
    window.InvalidateSheetRows();  // every row drawn, as after opening an item
    window.RefreshSheet();
  }
  window.CloseWithoutQuestion();
}
BENCHMARK(BM_RefreshSheet10000)->Unit(benchmark::kMillisecond);

// The whole "insert" command at line 1 of a 10 000-line sheet: undo copy, change, totals,
// working copy and the redraw of the grid. Each iteration deletes the inserted line again
// (outside the timing) so that the sheet keeps its size.
void BM_InsertAtLine1Of10000(benchmark::State& state) {
  App();
  ScriptedDialogs dialogs([](const QString&) {});
  Launcher launcher;
  TFZANTRO window(Setup(&dialogs, &launcher, ""));
  window.show();
  FillSheet(window);
  for (auto _ : state) {
    window.SelectRows(1, 1);
    window.Dispatch("insert");
    state.PauseTiming();
    window.Doc().LineList.erase(window.Doc().LineList.begin() + 1);
    state.ResumeTiming();
  }
  window.CloseWithoutQuestion();
}
BENCHMARK(BM_InsertAtLine1Of10000)->Unit(benchmark::kMillisecond);

// What the command costs at least: writing the two work files of the sheet (HEAD.WRK and
// WITEM1.WRK) once.
void BM_WriteWorkFiles10000(benchmark::State& state) {
  App();
  ScriptedDialogs dialogs([](const QString&) {});
  Launcher launcher;
  TFZANTRO window(Setup(&dialogs, &launcher, ""));
  window.show();
  FillSheet(window);
  for (auto _ : state) benchmark::DoNotOptimize(SaveSheet(window.Doc(), window.ProgramFolder(), "WRK"));
  window.CloseWithoutQuestion();
}
BENCHMARK(BM_WriteWorkFiles10000)->Unit(benchmark::kMillisecond);

// One shown window with an estimate of items x lines open.
struct EstimateWindow {
  ScriptedDialogs dialogs{[](const QString&) {}};
  Launcher launcher;
  TFZANTRO window;
  std::string path;
  EstimateWindow(const benchmark::State& state)
      : window((App(), Setup(&dialogs, &launcher, ""))),
        path(bench::Files().Estimate(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) {
    window.show();
    QApplication::processEvents();
  }
  ~EstimateWindow() { window.CloseWithoutQuestion(); }
  bool Open() {
    bool ok = window.OpenDocument(QString::fromStdString(path));
    QApplication::processEvents();
    return ok;
  }
};

void EstimateShapes(benchmark::internal::Benchmark* b) {
  b->Args({200, 500})->Args({2000, 50})->Args({5000, 20})->Unit(benchmark::kMillisecond)->UseRealTime();
}

// Opening an estimate: read, work files written, tabs, the breakdown list shown.
void BM_OpenEstimate(benchmark::State& state) {
  EstimateWindow w(state);
  for (auto _ : state)
    if (!w.Open()) state.SkipWithError("the estimate did not open");
}
BENCHMARK(BM_OpenEstimate)->Apply(EstimateShapes);

// What an open of that shape costs the file system alone, without any of the program's code:
// each item's previous sheet renamed over its backup, then its new sheet created and written
// (lines x 288 bytes). The cost per file is the kernel's, so this part of an open grows with
// the number of items, whatever the number of lines.
void BM_OpenFileFloor(benchmark::State& state) {
  const int items = static_cast<int>(state.range(0));
  const std::string sheet(static_cast<size_t>(state.range(1)) * sizeof(LineRecord), 'x');
  const std::string folder = bench::Files().File("floor" + std::to_string(items));
  fs::create_directory(folder);
  auto name = [&](int n, const char* ext) { return folder + "/WITEM" + std::to_string(n) + ext; };
  for (auto _ : state) {
    for (int n = 1; n <= items; ++n) ::rename(name(n, ".WRK").c_str(), name(n, ".brk").c_str());
    for (int n = 1; n <= items; ++n) WriteNewFile(name(n, ".WRK"), sheet);
  }
  fs::remove_all(folder);
}
BENCHMARK(BM_OpenFileFloor)->Apply(EstimateShapes);

// A click on a sheet tab of an open estimate, alternating between two sheets.
void BM_TabClick(benchmark::State& state) {
  EstimateWindow w(state);
  w.Open();
  int tab = 1;
  for (auto _ : state) {
    tab = tab == 1 ? 2 : 1;
    w.window.TabClicked(tab);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_TabClick)->Apply(EstimateShapes);

// The breakdown list shown from a sheet: a click on tab 0 (the sheet tab before it untimed).
void BM_BreakdownView(benchmark::State& state) {
  EstimateWindow w(state);
  w.Open();
  for (auto _ : state) {
    state.PauseTiming();
    w.window.TabClicked(1);
    QApplication::processEvents();
    state.ResumeTiming();
    w.window.TabClicked(0);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_BreakdownView)->Apply(EstimateShapes);

}  // namespace

// Undo and redo of an insert on the breakdown list of an estimate of 2 000 items: the history
// puts back the list and every detail file the insert moved (the other step untimed).
void BM_ListInsertUndoRedo(benchmark::State& state) {
  EstimateWindow w(state);
  InstallBreakdownList(w.window);
  if (!w.Open()) return state.SkipWithError("the estimate did not open");
  w.window.TabClicked(0);
  w.window.SelectRows(1, 1);
  const int32_t items = w.window.Doc().LastItem();
  w.dialogs.Queue(ScriptAnswer{ScriptAnswer::Ask, true});  // "以降１つずらしますか？"
  w.window.Dispatch("insert");
  QApplication::processEvents();
  if (w.window.Doc().LastItem() != items + 1) return state.SkipWithError("the insert did not run");
  const bool timeRedo = state.range(2) == 1;
  for (auto _ : state) {
    if (timeRedo) state.PauseTiming();
    w.window.Dispatch("undo_step");
    QApplication::processEvents();
    if (timeRedo) state.ResumeTiming();
    else state.PauseTiming();
    w.window.Dispatch("redo_step");
    QApplication::processEvents();
    if (!timeRedo) state.ResumeTiming();
  }
  if (w.window.Doc().LastItem() != items + 1) state.SkipWithError("undo and redo did not end on the insert");
}
BENCHMARK(BM_ListInsertUndoRedo)
    ->ArgNames({"items", "lines", "redo"})
    ->Args({2000, 50, 0})
    ->Args({2000, 50, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
