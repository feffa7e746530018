// "zantro --compare OLD NEW" of two estimates of 200 items x 500 lines as a whole process (the
// report to /dev/null): the same estimate twice, and a revision with one line changed in every
// item; the comparison in process as well, without the reading.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>

#include "bench/generated.h"
#include "compare/batch.h"
#include "platform/files.h"

namespace {

using namespace zantro;

// The revision: row 10 of every item has another submitted incidental price.
std::string Revision(int items, int lines) {
  std::string path = bench::Files().File("revision.znt2");
  if (FileExists(path)) return path;
  std::string text = bench::GeneratedDocument(items, lines);
  const std::string row10 = ";0.085;10011;", from = ";0;120;150;", to = ";0;120;160;";
  for (size_t at = text.find(row10); at != std::string::npos; at = text.find(row10, at + 1))
    text.replace(text.find(from, at), from.size(), to);
  WriteFileAtomic(path, text);
  return path;
}

// The exit status of the command, its report thrown away (0 same, 1 different).
int RunCompare(const std::string& oldPath, const std::string& newPath) {
  std::string zantro = bench::ProgramFolder() + "/zantro", word = "--compare", a = oldPath, b = newPath;
  char* argv[] = {zantro.data(), word.data(), a.data(), b.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  int started = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) throw std::runtime_error("cannot start " + zantro);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) throw std::runtime_error("zantro --compare failed");
  return WEXITSTATUS(status);
}

void BM_CompareSameProcess(benchmark::State& state) {
  std::string in = bench::Files().Estimate(200, 500);
  for (auto _ : state)
    if (RunCompare(in, in) != 0) state.SkipWithError("the same estimate differs");
}
BENCHMARK(BM_CompareSameProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CompareRevisionProcess(benchmark::State& state) {
  std::string in = bench::Files().Estimate(200, 500), revised = Revision(200, 500);
  for (auto _ : state)
    if (RunCompare(in, revised) != 1) state.SkipWithError("the revision does not differ");
}
BENCHMARK(BM_CompareRevisionProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

// The matching and the rows alone, both documents already read.
void BM_CompareInProcess(benchmark::State& state) {
  ParsedDocument a = compare::ReadDocument(bench::Files().Estimate(200, 500));
  ParsedDocument b = compare::ReadDocument(Revision(200, 500));
  size_t rows = 0;
  for (auto _ : state) rows = compare::Compare(a, b).Rows.size();
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_CompareInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
