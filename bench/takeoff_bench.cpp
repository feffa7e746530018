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

namespace zantro::takeoff {
namespace {

std::vector<Row> MakeRows(int n) {
  std::vector<Row> rows;
  const std::string systems[] = {Sj("給水"), Sj("給湯"), Sj("排水"), Sj("通気")};
  for (int i = 0; i < n; ++i) {
    Row r;
    r.System = systems[i % 4];
    r.Floor = std::to_string(1 + i % 12) + "F";
    r.Drawing = "P-" + std::to_string(100 + i % 40);
    r.Name = Sj("配管用炭素鋼鋼管");
    r.Spec = Sj("白 ") + std::to_string(15 + (i % 60) * 5) + "A";
    r.Unit = "m";
    r.Expression = std::to_string(1 + i % 9) + ".5+2.4*" + std::to_string(1 + i % 4) + "+(1.2+0.8)/3";
    r.Multiplier = Money::Units(1 + i % 3);
    r.Result = *Compute(r, nullptr);
    rows.push_back(std::move(r));
  }
  return rows;
}

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
  SaveRows(f.path, 2, MakeRows(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(LoadRows(f.path, 2));
}
BENCHMARK(BM_LoadRows)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ApplyToSheet(benchmark::State& state) {
  Folder f;
  std::vector<Row> rows = MakeRows(static_cast<int>(state.range(0)));
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
