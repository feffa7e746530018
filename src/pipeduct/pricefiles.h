// The price files of the pipe folder (ex_data) and the duct folder (dx_data): which file of
// which library family each dialog reads, and the folder a dialog uses when the window passes
// none. The files are read by the price-library reader (docs/pipe-duct.md).
#pragma once
#include <string>

#include "prices/library.h"

namespace zantro {

// Pipe materials: tree family, 大分類 the material, 中分類 the part (管, 継手, 支持金物, 保温),
// 仕様 the nominal size.
inline constexpr const char* kPipeMaterialFile = "pipemat.dat";
// The fittings of group n (1..5): CODE family, 名称 the item, 仕様 its size.
std::string PipeFittingFile(int group);

// The duct dialogs' files, by dialog. CODE family unless said otherwise.
inline constexpr const char* kSheetDuctFile = "sheetduct.dat";    // コード: plate thickness (mm), price per m2
inline constexpr const char* kThicknessFile = "plate_thickness.csv";  // long side -> thickness
inline constexpr const char* kSpiralDuctFile = "spiralduct.dat";  // コード: diameter (mm), price per m
inline constexpr const char* kAirTerminalFile = "airterm.dat";
inline constexpr const char* kDamperFile = "ductvalve.dat";
inline constexpr const char* kDuctEquipmentFile = "ductequip.dat";
inline constexpr const char* kDuctSundriesFile = "ductmisc.dat";
// Duct fittings 1 and 2: sequence family, a set per fitting type, 比率 the duct length (m)
// one piece counts as.
std::string DuctFittingFile(int variant);

// The folder a dialog reads: the folder the window passed (Shift-JIS), or, when it passed
// none (the menu item of duct fittings 2), defaultName below the program folder. UTF-8.
std::string PriceFolder(const std::string& passedSjis, const std::string& programFolder, const char* defaultName);

// The library file name in folder (found without regard to case). Raises FileError naming
// the path when it does not exist, LibraryError when it does not check.
PriceLibrary ReadPriceFile(const std::string& folder, const std::string& name, PriceFamily family);

}  // namespace zantro
