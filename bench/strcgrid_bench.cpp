// The sheet view's load on the grid: a 100 000-row sheet with four single-cell parameters per
// row, one full viewport painted, and the row-formatting setter calls.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "platform/qtcore/qtenv.h"
#include "strcgrid/strcolgrid.h"

namespace {

using namespace zantro;

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_strcgrid";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);  // measured without a display
    PrepareQtProcess();
    return new QApplication(argc, argv);
  }();
  return *app;
}

constexpr int kRows = 100000, kCols = 10;

void FillSheet(TStrColGrid& grid) {
  grid.SetColCount(kCols);
  grid.SetRowCount(kRows);
  for (int r = 1; r < kRows; ++r) {
    grid.SetCells(0, r, QString::number(r));
    grid.SetCells(1, r, QStringLiteral("配管工事 鋼管 SGP 25A"));
    grid.SetCells(5, r, QStringLiteral("12.5"));
    grid.SetCells(7, r, QStringLiteral("1,234,500"));
    grid.SetCellFontColor(0, r, Qt::white);
    grid.SetCellFontColor(1, r, Qt::black);
    grid.SetCellColor(4, r, Qt::white);
    grid.SetCellAlignment(7, r, TAlignment::taRightJustify);
  }
}

// 40 rows x 10 columns visible.
void SizeForViewport(TStrColGrid& grid) {
  grid.resize(kCols * (grid.DefaultColWidth() + 1) + 40, 40 * (grid.DefaultRowHeight() + 1) + 40);
  grid.show();
}

void BM_PaintViewport(benchmark::State& state) {
  App();
  TStrColGrid grid;
  FillSheet(grid);
  SizeForViewport(grid);
  grid.SetRow(50000);
  grid.SetTopRow(50000);
  for (auto _ : state) {
    QImage img = grid.RenderImage();
    benchmark::DoNotOptimize(img);
  }
  state.counters["visible_rows"] = grid.VisibleRowCount();
  state.counters["params"] = grid.CellParams().Count();
}
BENCHMARK(BM_PaintViewport)->Unit(benchmark::kMillisecond);

void BM_SetCellFontColor40000(benchmark::State& state) {
  App();
  TStrColGrid grid;
  FillSheet(grid);
  for (auto _ : state) {
    for (int i = 0; i < 40000; ++i) grid.SetCellFontColor(i % kCols, 1 + (i * 7) % (kRows - 1), Qt::red);
  }
}
BENCHMARK(BM_SetCellFontColor40000)->Unit(benchmark::kMillisecond);

}  // namespace
