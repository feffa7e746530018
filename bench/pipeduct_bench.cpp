// The pipe and duct dialogs from start to first paint: in process (the price files read, the
// form built, shown and painted, on the offscreen platform) for each of the nine forms, and
// the whole program started and ended as a process, as the window starts it.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QEvent>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ductforms.h"
#include "pipeduct/pricefiles.h"
#include "pipeforms.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "shell/programshell.h"
#include "shellmain.h"

namespace zantro {
namespace {

std::string g_folder;
ProgramShell* g_shell = nullptr;
const std::string kEx = std::string(ZANTRO_SOURCE_DIR) + "/data/ex_data";
const std::string kDx = std::string(ZANTRO_SOURCE_DIR) + "/data/dx_data";

class PaintWatch : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted = true;
    return false;
  }
};

void FirstPaint(benchmark::State& state, const std::function<std::unique_ptr<QWidget>()>& make) {
  for (auto _ : state) {
    std::unique_ptr<QWidget> form = make();
    PaintWatch watch;
    form->installEventFilter(&watch);
    form->show();
    while (!watch.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

PriceLibrary Code(const char* file) { return ReadPriceFile(kDx, file, PriceFamily::Code); }

void BM_PipeMaterial(benchmark::State& s) {
  FirstPaint(s, [] { return std::make_unique<PipeMaterialForm>(*g_shell, 1, ReadPriceFile(kEx, kPipeMaterialFile, PriceFamily::Tree)); });
}
void BM_PipeFitting(benchmark::State& s) {
  FirstPaint(s, [] {
    std::array<PriceLibrary, 5> libs;
    for (int g = 1; g <= 5; ++g) libs[g - 1] = ReadPriceFile(kEx, PipeFittingFile(g), PriceFamily::Code);
    std::array<std::string, 5> names{Sj("弁類1"), Sj("弁類2"), Sj("衛生器具"), Sj("排水器具"), Sj("特殊部品")};
    return std::make_unique<PipeFittingForm>(*g_shell, 1, std::move(libs), names, 3);
  });
}
void BM_SheetDuct(benchmark::State& s) {
  FirstPaint(s, [] {
    auto bytes = ReadFileBytes(kDx + "/" + kThicknessFile);
    return std::make_unique<SheetDuctForm>(*g_shell, 1, Code(kSheetDuctFile), ParseThicknessTable(*bytes, kThicknessFile));
  });
}
void BM_SpiralDuct(benchmark::State& s) {
  FirstPaint(s, [] { return std::make_unique<SpiralDuctForm>(*g_shell, 1, Code(kSpiralDuctFile)); });
}
void BM_DuctFitting(benchmark::State& s) {
  FirstPaint(s, [] {
    return std::make_unique<DuctFittingForm>(*g_shell, 1, ReadPriceFile(kDx, DuctFittingFile(1), PriceFamily::Sequence), 1);
  });
}
void BM_DuctPieces(benchmark::State& s) {
  static const char* kFiles[] = {kAirTerminalFile, kDamperFile, kDuctEquipmentFile, kDuctSundriesFile};
  const char* file = kFiles[s.range(0)];
  FirstPaint(s, [file] { return std::make_unique<DuctPiecesForm>(*g_shell, 1, Code(file), "TFDUCTPIECES", "bench"); });
}
BENCHMARK(BM_PipeMaterial)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipeFitting)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SheetDuct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpiralDuct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DuctFitting)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DuctPieces)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// The program as the window starts it: process start, Qt, the price files, the first show,
// the end of an empty script.
void BM_Process(benchmark::State& state) {
  static const char* kNames[] = {"pipemat_dlg", "pipefit_dlg", "sheetduct_dlg", "ductfit_dlg"};
  const std::string name = kNames[state.range(0)];
  state.SetLabel(name);
  std::string script = g_folder + "/empty.script";
  WriteFileAtomic(script, "");
  std::string exe = std::string(ZANTRO_PROGRAM_DIR) + "/" + name;
  std::string folder = name.starts_with("pipe") ? kEx : kDx;
  std::string arg = name == "pipefit_dlg" ? "0;3;0;0;;" + folder + ";" : name == "pipemat_dlg" ? "0;0;0;;;2;" + folder + ";" : "0;0;0;;1;" + folder + ";";
  for (auto _ : state) {
    std::vector<std::string> args = {exe, "--headless", "--script", script, "--program-folder", g_folder, arg};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("the dialog cannot be started");
      return;
    }
    int status = 0;
    waitpid(pid, &status, 0);
  }
}
BENCHMARK(BM_Process)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace zantro

int main(int argc, char** argv) {
  return zantro::bench::RunWithProgramShell(argc, argv, "bench_pipeduct", zantro::g_folder, zantro::g_shell);
}
