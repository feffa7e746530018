// The main of a benchmark program whose code needs the program shell (the application object
// and program folder of a headless companion program): a scratch program folder that is also
// the runtime folder, the shell, then the benchmarks; the folder goes afterwards.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/programshell.h"

namespace zantro::bench {

inline int RunWithProgramShell(int argc, char** argv, const char* name, std::string& folder, ProgramShell*& shellOut) {
  char tmpl[] = "/tmp/zantro-bench-XXXXXX";
  folder = mkdtemp(tmpl);
  setenv("ZANTRO_RUNTIME_DIR", folder.c_str(), 1);
  std::vector<std::string> args = {name, "--headless", "--program-folder", folder};
  std::vector<char*> shellArgv;
  for (auto& a : args) shellArgv.push_back(a.data());
  int shellArgc = static_cast<int>(shellArgv.size());
  ProgramShell shell(shellArgc, shellArgv.data(), ShellOptions{name});
  if (auto end = shell.Start()) return *end;
  shellOut = &shell;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  shellOut = nullptr;
  std::filesystem::remove_all(folder);
  return 0;
}

}  // namespace zantro::bench
