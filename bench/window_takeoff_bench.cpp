// The takeoff program's window on a takeoff of a large building, 10 000 measurements: the
// rows read and checked from WITEMn.PUP, the window built and shown until its first paint (in
// process, on the offscreen platform), as the user waits for it after pressing 調書.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "shell/programshell.h"
#include "shellmain.h"
#include "takeoff/sheet.h"
#include "takeoffwindow.h"
#include "takeoffrows.h"

namespace zantro {
namespace {

std::string g_folder;
ProgramShell* g_shell = nullptr;

class PaintWatch : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted = true;
    return false;
  }
};

void BM_TakeoffWindowOpen(benchmark::State& state) {
  takeoff::SaveRows(g_folder, 2, bench::MakeTakeoffRows(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    TakeoffWindow window(*g_shell, 2, takeoff::Mode::Pipe, "衛生配管", takeoff::LoadRows(g_folder, 2));
    PaintWatch watch;
    window.installEventFilter(&watch);
    window.show();
    while (!watch.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}
BENCHMARK(BM_TakeoffWindowOpen)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zantro

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  return zantro::bench::RunWithProgramShell(argc, argv, "bench_takeoff_window", zantro::g_folder, zantro::g_shell);
}
