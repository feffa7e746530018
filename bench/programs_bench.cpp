// The dialogs a user waits for: the document list over a folder of 2 000 documents, and the
// line-entry dialog from its construction to its first paint on sheets of growing size (in
// process, on the offscreen platform), plus the whole program started and ended as a process.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "docpickdialog.h"
#include "common/documents.h"
#include "general/workcodec.h"
#include "general/document.h"
#include "platform/files.h"
#include "roweditdialog.h"
#include "shell/programshell.h"
#include "shellmain.h"

namespace zantro {
namespace {

std::string g_folder;     // a scratch folder for the whole run
ProgramShell* g_shell = nullptr;

std::string SampleBytes() { return *ReadFileBytes(std::string(ZANTRO_SOURCE_DIR) + "/data/Sample/sample.znt2"); }

void BM_DocPickList(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::string folder = g_folder + "/docs" + std::to_string(count);
  std::filesystem::create_directories(folder);
  std::string sample = SampleBytes();
  for (int i = 0; i < count; ++i) WriteFileAtomic(folder + "/doc" + std::to_string(i) + ".znt2", sample);
  QStandardItemModel model;
  for (auto _ : state) {
    FillDocumentModel(model, folder, ListDocuments(folder));
    benchmark::DoNotOptimize(model.rowCount());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_DocPickList)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

// Work files of one item with n lines in the program folder.
void WriteSheet(int32_t n) {
  TitleRecord title = EmptyDocumentTitle();
  ItemRecord item = NewItem();
  WriteFileAtomic(g_folder + "/HEAD.WRK", EncodeHead(title, std::span<const ItemRecord>(&item, 1)));
  std::vector<LineRecord> lines(n);
  for (int32_t i = 0; i < n; ++i) {
    lines[i].ItemNo = 1;
    lines[i].FLAG = 10;
    lines[i].NameSpec.set("pipe;20A");
    lines[i].CostQty = lines[i].SubQty = Money::Units(i % 50 + 1);
    lines[i].CostPrice = lines[i].SubPrice = Money::Units(820);
    lines[i].sort = Money::Units(10001 + i % 1000);
  }
  WriteFileAtomic(g_folder + "/WITEM1.WRK", EncodeRecords(std::span<const LineRecord>(lines)));
}

class PaintWatch : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted = true;
    return false;
  }
};

void BM_RowEditFirstPaint(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  WriteSheet(n);
  for (auto _ : state) {
    RowEditDialog dialog(*g_shell, RowEditLaunch{1, std::to_string(n / 2 + 1), {}});
    PaintWatch watch;
    dialog.installEventFilter(&watch);
    dialog.show();
    while (!watch.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}
BENCHMARK(BM_RowEditFirstPaint)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The program as the window starts it: process start, Qt, the work files, the first show,
// the end of an empty script.
void BM_RowEditProcess(benchmark::State& state) {
  WriteSheet(1000);
  std::string script = g_folder + "/empty.script";
  WriteFileAtomic(script, "");
  std::string exe = std::string(ZANTRO_PROGRAM_DIR) + "/rowedit_dlg";
  for (auto _ : state) {
    std::vector<std::string> args = {exe, "--headless", "--script", script, "--program-folder", g_folder, "1;500;"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("rowedit_dlg cannot be started");
      return;
    }
    int status = 0;
    waitpid(pid, &status, 0);
  }
}
BENCHMARK(BM_RowEditProcess)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace zantro

int main(int argc, char** argv) {
  return zantro::bench::RunWithProgramShell(argc, argv, "bench_programs", zantro::g_folder, zantro::g_shell);
}
