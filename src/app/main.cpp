// zantro: the desktop program, its headless front and the batch commands.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "general/recalc.h"
#ifdef ZANTRO_HAVE_WINDOW
#include "uzantro/entry.h"
#endif

namespace {

void PrintHelp() {
  std::puts(
      "usage: zantro [--program-folder DIR] [DOCUMENT]\n"
      "       zantro --headless [--script FILE] [--screen WxH] [--program-folder DIR] [DOCUMENT]\n"
      "       zantro --recalc IN OUT\n"
      "       zantro --help | --version");
}

}  // namespace

int main(int argc, char** argv) {
  // A write past the file-size limit then fails with EFBIG, which every writer reports, instead
  // of the signal ending the program with nothing said and nothing cleaned up.
  std::signal(SIGXFSZ, SIG_IGN);
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    PrintHelp();
    return 0;
  }
  // The batch recalculation runs before anything of the window: no configuration, no lock.
  if (argc > 1 && std::strcmp(argv[1], "--recalc") == 0) {
    if (argc != 4) {
      std::cerr << "usage: zantro --recalc IN OUT\n";
      return 2;
    }
    return zantro::RecalcDocument(argv[2], argv[3], std::cerr);
  }
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("zantro 2.0.0");
    return 0;
  }
#ifdef ZANTRO_HAVE_WINDOW
  return zantro::RunWindowProgram(argc, argv);
#else
  PrintHelp();
  return 0;
#endif
}
