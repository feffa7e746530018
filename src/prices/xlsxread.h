// The cells of the first sheet of a spreadsheet workbook (.xlsx): the zip container read, its
// shared strings and first worksheet taken apart, enough for a supplier's price list (texts,
// numbers, inline strings; no formulas are evaluated, their last values are read).
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zantro {

struct SheetRow {
  int Number = 0;                  // the row number of the sheet (from 1)
  std::vector<std::string> Cells;  // UTF-8, from column A; empty cells empty
};

// Raises FileError naming fileName when the bytes are not a workbook this reader understands.
std::vector<SheetRow> ReadFirstSheet(std::string_view bytes, const std::string& fileName);

// The entry of a zip archive, inflated (a test seam as much as a part of the reader).
std::string ZipEntry(std::string_view zip, std::string_view name, const std::string& fileName);

}  // namespace zantro
