// Programs of the build run as processes by tests: a private runtime folder, standard output
// into a file, a bounded wait for the end.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace zantro::testing {

// Starts program with args; ZANTRO_RUNTIME_DIR is runtime, standard output goes to out,
// standard input comes from in (empty when -1).
inline pid_t Spawn(const std::string& program, std::vector<std::string> args, const std::string& runtime,
                   const std::string& out, int in = -1) {
  pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("ZANTRO_RUNTIME_DIR", runtime.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("XDG_CONFIG_HOME", runtime.c_str(), 1);  // the dialogs' folders stay with the run
    int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(fd, 1);
    ::dup2(in >= 0 ? in : ::open("/dev/null", O_RDONLY), 0);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  return pid;
}

// The exit status, or -1 (and the process killed) when it has not ended within ms.
inline int WaitExit(pid_t pid, int ms) {
  for (int waited = 0; waited < ms; waited += 10) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    ::usleep(10000);
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  return -1;
}

}  // namespace zantro::testing
