// zantro: the desktop program, its headless front and the batch commands.
#include <cstdio>
#include <cstring>
#include <string>

namespace {

void PrintHelp() {
  std::puts(
      "usage: zantro [DOCUMENT]\n"
      "       zantro --recalc IN OUT\n"
      "       zantro --help | --version");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    PrintHelp();
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("zantro 2.0.0");
    return 0;
  }
  PrintHelp();
  return 0;
}
