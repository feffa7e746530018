// The batch recalculation of estimates of 100 000 lines cut into 200, 2 000 and 5 000 items,
// as a whole process beside cp of the same file in the same run, with the peak memory of the
// run and the program's own start-up floor; the reader and the batch in process as well.
// Runs from any working folder: the program folder is found beside the benchmark.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "bench/generated.h"
#include "general/container.h"
#include "general/recalc.h"
#include "platform/files.h"

namespace {

using namespace zantro;

std::string Zantro() { return bench::ProgramFolder() + "/zantro"; }

void Shapes(benchmark::internal::Benchmark* b) {
  b->Args({200, 500})->Args({2000, 50})->Args({5000, 20})->Unit(benchmark::kMillisecond)->UseRealTime();
}

std::string Estimate(const benchmark::State& state) {
  return bench::Files().Estimate(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}

void SetFileCounters(benchmark::State& state, const std::string& in) {
  state.counters["file_MB"] = static_cast<double>(ReadFileBytes(in)->size()) / 1e6;
}

// "zantro --recalc IN OUT" as the user runs it: process start, read, compute, synced write.
void BM_RecalcProcess(benchmark::State& state) {
  std::string in = Estimate(state);
  std::string out = bench::Files().File("recalc-out.znt2");
  long peak = 0;
  for (auto _ : state) peak = bench::RunProcess({Zantro(), "--recalc", in, out});
  // The floor: the same command on an estimate of one short sheet (zantro --version would
  // measure zantro-window, which the batch does not load). The system counts a started
  // program's peak from the size of this benchmark at the start, so neither figure can go
  // below that; /usr/bin/time -f %M gives the program's own.
  long floor = bench::RunProcess({Zantro(), "--recalc", bench::Files().Estimate(1, 2), out});
  SetFileCounters(state, in);
  state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
  state.counters["floor_MB"] = static_cast<double>(floor) / 1e6;
  state.counters["over_floor_per_file"] =
      static_cast<double>(peak - floor) / static_cast<double>(ReadFileBytes(in)->size());
}
BENCHMARK(BM_RecalcProcess)->Apply(Shapes);

// cp of the same file, the yardstick of the figure above.
void BM_CpProcess(benchmark::State& state) {
  std::string in = Estimate(state);
  std::string out = bench::Files().File("cp-out.znt2");
  for (auto _ : state) bench::RunProcess({"/bin/cp", in, out});
  SetFileCounters(state, in);
}
BENCHMARK(BM_CpProcess)->Apply(Shapes);

// The batch inside this process: no start-up.
void BM_RecalcInProcess(benchmark::State& state) {
  std::string in = Estimate(state);
  std::string out = bench::Files().File("inprocess-out.znt2");
  for (auto _ : state) {
    std::ostringstream err;
    if (RecalcDocument(in, out, err) != 0) state.SkipWithError(err.str().c_str());
  }
}
BENCHMARK(BM_RecalcInProcess)->Apply(Shapes);

void BM_ParseContainer(benchmark::State& state) {
  std::string in = Estimate(state);
  for (auto _ : state) benchmark::DoNotOptimize(ParseContainer(in));
}
BENCHMARK(BM_ParseContainer)->Apply(Shapes);

}  // namespace
