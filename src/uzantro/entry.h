// The window's entry points, called by main(): the desktop program and its headless front.
#pragma once
#include <functional>

namespace zantro {

class TFZANTRO;

// Plugs the modules above the window (printing, companions, ...) into a new window through
// its command and click tables, before it is shown.
using WindowModules = std::function<void(TFZANTRO&)>;

// argv[1..] after the program name; returns the exit status. Handles
//   [--program-folder DIR] [DOCUMENT]
//   --headless [--script FILE] [--screen WxH] [--program-folder DIR] [DOCUMENT]
int RunWindowProgram(int argc, char** argv, const WindowModules& modules = {});

}  // namespace zantro
