// What the benchmarks share: generated estimates of a given shape, the program folder found
// from the benchmark's own location, and running a program as a whole process.
#pragma once
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/files.h"

namespace zantro::bench {

// An estimate of items sheets of linesPerItem lines each (a total line last), then a subtotal
// over them and a tax item: priced lines with decimal quantities, a range line every 50 lines.
inline std::string GeneratedDocument(int items, int linesPerItem) {
  std::string t = "<TITLE>\r\n[id]=B-\r\n[KETA]=1\r\n[CUTLEVEL]=0.5\r\n[Opt1Str]=A,B,C,D,E,F\r\n</TITLE>\r\n<ITEM>\r\n";
  for (int n = 1; n <= items; ++n) t += "10;" + Sj("配管工事") + std::to_string(n) + ";0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\r\n";
  t += "95;" + Sj("小計") + ";0;0;1;" + std::to_string(items) + ";0;0;0;0;0;;0;0;\r\n";
  t += "93;" + Sj("消費税") + ";0;0;0;0;10;0;0;0;0;;0;0;\r\n</ITEM>\r\n<DATA>\r\n";
  const std::string name = Sj("配管用炭素鋼鋼管;白 20A");
  for (int n = 1; n <= items; ++n) {
    std::string item = std::to_string(n) + ";";
    for (int r = 1; r < linesPerItem; ++r) {
      int price = 100 + (r * 37) % 9000;
      if (r % 50 == 0)
        t += item + Sj("雑材費;") + ";0;0;" + Sj("式") + ";50;" + std::to_string(r - 49) + ";" + std::to_string(r - 1) +
             ";3;5;0;0;0;0;0;0;0;0;;;\r\n";
      else
        t += item + name + ";0.085;" + std::to_string(10001 + r) + ";m;" + (r % 2 ? "10" : "20") + ";" +
             std::to_string(r % 40 + 1) + ".25;" + std::to_string(r % 40 + 1) + ".25;" + std::to_string(price) + ";" +
             std::to_string(price * 13 / 10) + ";0;120;150;0;0;0;0;0;;" + Sj("備考") + ";\r\n";
    }
    t += item + Sj("【合　　計】") + ";;0;99999;;99;0;0;0;0;0;0;0;0;0;0;0;0;;;\r\n";
  }
  t += "</DATA>\r\n<PICKUP>\r\n</PICKUP>\r\n<CONFIG>\r\n</CONFIG>\r\n</EOF>\r\n";
  return t;
}

// build/program beside build/bench, where the benchmark runs from (any working folder will
// do); ZANTRO_PROGRAM_DIR names another.
inline std::string ProgramFolder() {
  if (const char* given = std::getenv("ZANTRO_PROGRAM_DIR")) return given;
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) throw std::runtime_error("cannot find the benchmark's own location");
  return (self.parent_path().parent_path() / "program").string();
}

// A temporary folder with generated estimates in it, removed at the end of the run.
class Workspace {
 public:
  Workspace() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zantro-bench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a temporary folder");
    folder_ = tmpl;
  }
  ~Workspace() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  // The path of an estimate of that shape, written on first use.
  std::string Estimate(int items, int linesPerItem) {
    std::string path = folder_ + "/e" + std::to_string(items) + "x" + std::to_string(linesPerItem) + ".znt2";
    if (!FileExists(path)) WriteFileAtomic(path, GeneratedDocument(items, linesPerItem));
    return path;
  }
  std::string File(const std::string& name) const { return folder_ + "/" + name; }

 private:
  std::string folder_;
};

inline Workspace& Files() {
  static Workspace workspace;
  return workspace;
}

// Runs a program to its end; returns its peak resident memory in bytes. Raises on failure.
inline long RunProcess(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid;
  if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
    throw std::runtime_error("cannot start " + args[0]);
  int status = 0;
  struct rusage usage {};
  ::wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(args[0] + " failed");
  return usage.ru_maxrss * 1024L;
}

}  // namespace zantro::bench
