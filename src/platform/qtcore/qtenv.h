// What Qt expects of the process before the application object exists, and the filter that
// keeps Qt's harmless notes off standard error, so that it carries only what a user should read.
#pragma once
#include <string>

namespace zantro {

// Gives Qt a runtime folder when $XDG_RUNTIME_DIR is missing or unusable (not a folder of the
// caller's with mode 0700): the program's own runtime folder, which is made that way. Started
// programs are told the same folder through $ZANTRO_RUNTIME_DIR, so that they still find the
// window's sockets and lock where the window put them.
void PrepareQtRuntimeFolder(const std::string& runtimeFolder);

// Drops the Qt messages known to be harmless; every other message reaches standard error as
// before.
void InstallQtMessageFilter();

// Both of the above for a process that makes its Qt application object without the program
// shell (the batch commands, the benchmarks): Qt is given the process's runtime folder when
// $XDG_RUNTIME_DIR does not suit it. Without a usable runtime folder Qt keeps its own choice.
void PrepareQtProcess();

}  // namespace zantro
