// The window's entry points, called by main(): the desktop program and its headless front.
#pragma once
#include <functional>
#include <vector>

namespace zantro {

class TFZANTRO;

// A module of the window (the breakdown list, the companions): installs its handlers, words
// and hooks into the window after it is built and before it is shown.
using WindowModule = std::function<void(TFZANTRO&)>;

// argv[1..] after the program name; returns the exit status. Handles
//   [--program-folder DIR] [DOCUMENT]
//   --headless [--script FILE] [--screen WxH] [--program-folder DIR] [DOCUMENT]
int RunWindowProgram(int argc, char** argv, const std::vector<WindowModule>& modules = {});

}  // namespace zantro
