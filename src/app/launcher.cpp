// zantro: the program the user starts. The batch recalculation runs here, in an executable that
// links none of the window's libraries, so that a batch run does not spend its start loading
// them; everything else continues in zantro-window beside it, started in this process's place
// with the same arguments (the name it was started under, std_zantro for one, included).
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>

#include "general/recalc.h"
#include "platform/outputs.h"
#include "prices/reprice.h"
#include "summary/command.h"

namespace {

// The folder of the running executable, links resolved: zantro-window lies beside it.
std::string ExecutableFolder() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string path(buf, static_cast<size_t>(n));
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--recalc") == 0) {
    // A write past the file-size limit then fails with EFBIG, which the writer reports.
    std::signal(SIGXFSZ, SIG_IGN);
    zantro::GuardStandardStreams();
    return zantro::RecalcCommand(argc - 2, argv + 2, std::cerr);
  }
  if (argc > 1 && std::strcmp(argv[1], "--reprice") == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    zantro::GuardStandardStreams();
    return zantro::RepriceCommand(argc - 2, argv + 2, std::cout, std::cerr);
  }
  // The summary's text and workbook too; its PDF needs the window's printing library.
  if (argc > 1 && std::strcmp(argv[1], "--summary") == 0 && !zantro::summary::NeedsPrinting({argv + 2, argv + argc})) {
    std::signal(SIGXFSZ, SIG_IGN);
    zantro::GuardStandardStreams();
    return zantro::summary::SummaryCommand({argv + 2, argv + argc}, std::cerr);
  }
  std::string window = ExecutableFolder() + "/zantro-window";
  ::execv(window.c_str(), argv);
  std::cerr << "zantro: cannot start " << window << ": " << std::strerror(errno) << "\n";
  return 127;
}
