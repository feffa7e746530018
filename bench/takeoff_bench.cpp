// The takeoff at the size of a large building's sheet: 10 000 measurements read and checked
// from WITEMn.PUP (every expression evaluated again; with the table filled the program opens
// in under 300 ms), and 明細へ反映 of them into a sheet of 500 lines (under 200 ms).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "takeoff/apply.h"
#include "takeoff/sheet.h"
#include "takeoffrows.h"

namespace zantro::takeoff {
namespace {

struct Folder {
  std::string path;
  Folder() {
    path = (std::filesystem::temp_directory_path() / ("zantro-takeoff-bench-" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(path);
  }
  ~Folder() { std::filesystem::remove_all(path); }
};

void BM_LoadRows(benchmark::State& state) {
  Folder f;
  SaveRows(f.path, 2, bench::MakeTakeoffRows(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(LoadRows(f.path, 2));
}
BENCHMARK(BM_LoadRows)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ApplyToSheet(benchmark::State& state) {
  Folder f;
  std::vector<Row> rows = bench::MakeTakeoffRows(static_cast<int>(state.range(0)));
  std::vector<LineRecord> sheet(500);
  for (size_t i = 0; i < sheet.size(); ++i) {
    sheet[i].ItemNo = 2;
    sheet[i].FLAG = 10;
    sheet[i].NameSpec.set(Sj("手入力;") + std::to_string(i));
  }
  for (auto _ : state) {
    state.PauseTiming();
    SaveSheetLines(f.path, 2, sheet);
    state.ResumeTiming();
    benchmark::DoNotOptimize(ApplyToSheet(f.path, 2, rows));
  }
}
BENCHMARK(BM_ApplyToSheet)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zantro::takeoff
