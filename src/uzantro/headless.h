// The main window under the script runner: its root (components by designed name, its event
// boundary, the close of the companion command at the end) and the verbs only it has.
#pragma once
#include "shell/scriptrunner.h"

namespace zantro {

class TFZANTRO;

ScriptRoot WindowRoot(TFZANTRO& window);

// hint, select, tab, dblclick, message, message-id, grid, tabs.
void AddWindowVerbs(ScriptRunner& runner, TFZANTRO& window);

}  // namespace zantro
