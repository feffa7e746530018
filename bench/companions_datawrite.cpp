// A pricing dialog sending 1 000 lines into an empty sheet, end to end: frames over the
// window's socket from another thread (the companion), decoded, written at the cursor, the
// totals, the grid and, for WM_DATAWRITE, the working copy written after every line. The
// WM_DATAWRITE_DISP figure is the same without that write. Items are commands.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <filesystem>
#include <thread>

#include "companions/dispatcher.h"
#include "messages/commands.h"
#include "platform/gui/dialogs.h"
#include "platform/launcher.h"
#include "platform/transport.h"
#include "uzantro/companionlink.h"
#include "uzantro/fzantro.h"
#include "tests/testutil/headlesswindow.h"

using namespace zantro;

namespace {

std::string TempFolder() {
  char t[] = "/tmp/zantro-bench-XXXXXX";
  return ::mkdtemp(t);
}

void BM_LinesThroughTheSocket(benchmark::State& state) {
  testing::EnsureApplication("bench_companions", true);
  const Command kind = state.range(0) ? Command::DataWrite : Command::DataWriteDisp;
  const int lines = 1000;
  std::vector<std::string> texts;
  for (int i = 0; i < lines; ++i) {
    DetailLineMessage m;
    m.Kind = kind;
    m.Name = "line " + std::to_string(i);
    m.Unit = "m";
    m.FLAG = 10;
    m.CostQty = m.SubQty = Money::Units(2);
    m.CostPrice = m.SubPrice = Money::Units(1500);
    texts.push_back(m.Encode());
  }
  for (auto _ : state) {
    state.PauseTiming();
    std::string folder = TempFolder(), runtime = TempFolder();
    ScriptedDialogs dialogs([](const QString&) {});
    Launcher launcher;
    auto window = std::make_unique<TFZANTRO>(testing::HeadlessSetup(folder, &dialogs, &launcher));
    InstallCompanions(*window);
    window->show();
    QApplication::processEvents();
    std::string error;
    auto link = ConnectCompanions(*window, runtime, &error);
    window->SelectRows(1, 1);
    state.ResumeTiming();

    QEventLoop loop;
    bool ok = true;
    std::thread companion([&] {
      for (const auto& text : texts) ok = ok && SendToClass(runtime, "TFZANTRO", 1, text, nullptr, 10000) == SendStatus::Delivered;
      QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec();
    companion.join();

    state.PauseTiming();
    if (!ok || window->Doc().LastLine() != lines) state.SkipWithError("not every line arrived");
    link.reset();
    window.reset();
    std::filesystem::remove_all(folder);
    std::filesystem::remove_all(runtime);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_LinesThroughTheSocket)->ArgName("save")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
