// The column-width files: "[Version]=2.00", then "[StrColGrid1_Colwidths[n]]=width" lines.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace zantro {

enum class WidthLayout { SheetNine = 0, SheetTen = 1, Breakdown = 2 };

// The file to apply: the user's saved file of the layout, else the fallback for the screen
// width (the 1280 file above 1024 pixels), found without regard to case; empty when neither.
std::string WidthFileFor(const std::string& folder, WidthLayout layout, int screenWidth);
// The widest column a width file may set: wider than any screen. A larger or negative value
// (a damaged file) is taken as the fallback width, like a value that is not a number.
inline constexpr int kMaxColumnWidth = 4096;
inline constexpr int kFallbackColumnWidth = 50;

// Column -> width for the keys of columns 0..columns-1.
std::map<int, int> ReadWidthLines(const std::vector<std::string>& lines, int columns);
// The lines of a width file for the given widths of columns 0...
std::vector<std::string> WidthLines(const std::vector<int>& widths);

}  // namespace zantro
