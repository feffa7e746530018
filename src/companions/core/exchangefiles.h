// The small files the window shares with the takeoff program and the pipe and duct dialogs:
// digit.temp with the sheet's calculation settings, the network folder files and the names of
// the pipe-fitting groups. Texts are Shift-JIS lines ended by CR LF.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "general/money.h"

namespace zantro {

inline constexpr const char* kDigitFile = "digit.temp";

// "[CUTLEVEL1]=" .. "[CUTLEVEL5]=" with the five settings in the order the plan dialog gets
// them (line rounding, overhead rounding, quantity scale, folding unit, second rounding).
std::string DigitFileText(const CalcSettings& s);

// A network folder: its file in the program folder and the default below the program folder.
struct NetworkFolderKind {
  const char* File;
  const char* DefaultName;
};
inline constexpr NetworkFolderKind kDuctNetwork{"d_network_folder.dat", "dx_data"};
inline constexpr NetworkFolderKind kPipeNetwork{"ex_network_folder.dat", "ex_data"};

// The folder of the lines of a folder file: the text after the first "=" of the last line
// whose key is "[Folder_Name]"; nullopt when no line names one.
std::optional<std::string> FolderOfLines(const std::vector<std::string>& lines);
// The file's one line for folder.
std::string FolderFileText(std::string_view folder);
// The chosen folder as stored: one trailing separator removed.
std::string WithoutTrailingSeparator(std::string folder);

// The five pipe-fitting group names of fgtanka_f.conf ("[FOLDER_NAME1]".."[FOLDER_NAME5]",
// later lines winning); a name the lines do not give keeps its default.
inline constexpr const char* kFittingNamesFile = "fgtanka_f.conf";
using FittingNames = std::array<std::string, 5>;
FittingNames DefaultFittingNames();  // Shift-JIS
FittingNames FittingNamesOfLines(const std::vector<std::string>& lines);

}  // namespace zantro
