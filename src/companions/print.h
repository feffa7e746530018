// The window's side of printing: the print data written into printdata/ of the program folder
// and the print viewer started on it. The viewer lays the estimate out on its own.
#pragma once
#include <string>

namespace zantro {

class TFZANTRO;

inline constexpr const char* kPrintViewer = "prnview.exe";

// The viewer's argument: the reduction text ([GENGAKU]) and the style folder, each followed
// by ";". An empty [Print_Dir] becomes the program folder's "style", which stays set until the
// program ends. Shift-JIS, as every launch argument.
std::string PrintViewerArgument(TFZANTRO& w);

// Prints the whole document from the breakdown list (tab 0) or the sheet of the current item.
void PrintDocument(TFZANTRO& w, int tab);

// Prints the whole document from the breakdown list's popup menu: HEAD.WRK is written first,
// and the viewer starts without an argument.
void PrintWholeList(TFZANTRO& w);

// Hooks the print menu items, the print button and the "print" command word into the window.
void InstallPrintCommands(TFZANTRO& w);

}  // namespace zantro
