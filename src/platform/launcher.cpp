#include "launcher.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>
#include <vector>

#include "platform/files.h"

extern char** environ;

namespace zantro {
namespace {

std::vector<int>& Children() {
  static std::vector<int> pids;
  return pids;
}

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

int Launcher::Spawn(const std::string& program, const std::optional<std::string>& argument,
                    const std::string& workdir) {
  Reap();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!workdir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workdir.c_str());
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  if (argument) argv.push_back(const_cast<char*>(argument->c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

void Launcher::Reap() {
  auto& pids = Children();
  std::erase_if(pids, [](int pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

bool Launcher::Start(const std::string& program, const std::optional<std::string>& argument,
                     const std::string& workdir) {
  if (observer_) observer_(program, argument);
  int pid = Spawn(program, argument, workdir);
  if (pid < 0) return false;
  Children().push_back(pid);
  return true;
}

int Launcher::StartAndWait(const std::string& program, const std::optional<std::string>& argument,
                           const std::string& workdir, const std::function<void()>& pump) {
  if (observer_) observer_(program, argument);
  int pid = Spawn(program, argument, workdir);
  if (pid < 0) return -1;
  for (;;) {
    int status = 0;
    int r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (r < 0) return -1;
    if (pump) pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

namespace {
// The program folder whose programs lie elsewhere, and where (a user's folder of an installation).
std::pair<std::string, std::string> programsElsewhere;
}  // namespace

void SetProgramsFolder(const std::string& programFolder, const std::string& programs) {
  programsElsewhere = {programFolder, programs};
}

std::string CompanionPath(const std::string& programFolder, std::string_view exeName) {
  std::string name(exeName);
  if (EndsWithNoCase(name, ".exe")) name.resize(name.size() - 4);
  return JoinPath(programFolder == programsElsewhere.first ? programsElsewhere.second : programFolder, name);
}

bool CompanionPresent(const std::string& programFolder, std::string_view exeName) {
  return IsExecutableFile(CompanionPath(programFolder, exeName));
}

std::string_view HelperDocName(Helper h) {
  switch (h) {
    case Helper::Notepad: return "notepad.exe";
    case Helper::Calc: return "calc.exe";
  }
  return "";
}

std::optional<std::string> FindInPath(std::string_view name) {
  if (name.find('/') != std::string_view::npos)
    return IsExecutableFile(std::string(name)) ? std::optional<std::string>(name) : std::nullopt;
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "/usr/bin:/bin";
  while (!rest.empty()) {
    auto colon = rest.find(':');
    std::string_view dir = rest.substr(0, colon);
    std::string candidate = JoinPath(dir.empty() ? "." : dir, name);
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return std::nullopt;
}

std::optional<HelperCommand> FindHelper(Helper h) {
  std::vector<std::string> names;
  if (h == Helper::Notepad) {
    if (const char* own = std::getenv("ZANTRO_EDITOR"); own && *own) names.emplace_back(own);
    names.insert(names.end(), {"gnome-text-editor", "gedit", "mousepad", "kate", "xdg-open"});
  } else {
    names = {"gnome-calculator", "kcalc", "galculator", "xcalc"};
  }
  for (const auto& n : names)
    if (auto found = FindInPath(n)) return HelperCommand{*found, std::nullopt};
  return std::nullopt;
}

}  // namespace zantro
