// codestore: the editor of one price library, started by the window's 登録 commands with the
// library file + ";" + n + ";" + caption + ";" (and the level names for CODE and sequence prices).
#include "prices/libraryeditor.h"

int main(int argc, char** argv) { return zantro::RunLibraryEditor(argc, argv, "codestore", zantro::PriceFamily::Code); }
