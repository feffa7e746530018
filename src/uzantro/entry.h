// The window's entry points, called by main(): the desktop program and its headless front.
#pragma once

namespace zantro {

// argv[1..] after the program name; returns the exit status. Handles
//   [--program-folder DIR] [DOCUMENT]
//   --headless [--script FILE] [--screen WxH] [--program-folder DIR] [DOCUMENT]
int RunWindowProgram(int argc, char** argv);

}  // namespace zantro
