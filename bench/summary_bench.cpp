// The cost summary of generated estimates: "zantro --summary" as a whole process (its text to
// /dev/null, as a user's pipe would take it), and the summary in this process.
#include <benchmark/benchmark.h>
#include <fcntl.h>

#include "bench/generated.h"
#include "summary/summary.h"
#include "summary/tables.h"

namespace zantro::bench {
namespace {

void Shapes(benchmark::internal::Benchmark* b) {
  b->Args({200, 500})->Args({2000, 50})->Unit(benchmark::kMillisecond);
}

// Runs the program with its standard output on /dev/null; raises unless it ends with 0.
void RunQuiet(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  int started = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) throw std::runtime_error("cannot start " + args[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(args[0] + " failed");
}

void BM_SummaryProcess(benchmark::State& state) {
  const std::string in = Files().Estimate(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const std::string zantro = ProgramFolder() + "/zantro";
  for (auto _ : state) RunQuiet({zantro, "--summary", in});
}
BENCHMARK(BM_SummaryProcess)->Apply(Shapes);

void BM_SummaryInProcess(benchmark::State& state) {
  const std::string in = Files().Estimate(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) benchmark::DoNotOptimize(summary::TablesText(summary::SummaryTables(summary::SummarizeFile(in))));
}
BENCHMARK(BM_SummaryInProcess)->Apply(Shapes);

}  // namespace
}  // namespace zantro::bench
