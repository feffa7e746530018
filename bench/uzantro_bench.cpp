// The window: start-up to the first painted window with the sample document, and a refresh
// of a 10 000-line sheet. Run from the build folder (it copies ./program to a temporary folder).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <filesystem>

#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/gui/dialogs.h"
#include "platform/launcher.h"
#include "uzantro/fzantro.h"

using namespace zantro;
namespace fs = std::filesystem;

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_uzantro";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("ZANTRO_TODAY", "2026-12-07", 1);
    return new QApplication(argc, argv);
  }();
  return *app;
}

std::string ProgramCopy() {
  static std::string copy = [] {
    char t[] = "/tmp/zantro-bench-XXXXXX";
    std::string dir = ::mkdtemp(t);
    const char* source = std::getenv("ZANTRO_PROGRAM_DIR");
    fs::copy(source ? source : "program", dir, fs::copy_options::recursive);
    return dir;
  }();
  return copy;
}

WindowSetup Setup(Dialogs* d, Launcher* l, const std::string& document) {
  WindowSetup s;
  s.ProgramFolder = ProgramCopy();
  s.ExecutableName = "zantro";
  s.StartupDocument = document;
  s.WorkArea = QRect(0, 0, 1280, 1024);
  s.ScreenSize = QSize(1280, 1024);
  s.dialogs = d;
  s.launcher = l;
  s.Headless = true;
  return s;
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

}  // namespace
