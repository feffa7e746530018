// The CSV import editor's rules, without a window: reading pasted or opened text into rows,
// and checking every row before anything is written into csv_inport.tmp, which the window
// reads line by line and stops at the first bad number (keeping the lines before it).
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantro {

// The columns of the table, in the order of the fields of csv_inport.tmp.
inline constexpr int kCsvColumns = 12;
enum CsvColumn {
  kName, kSpec, kUnit, kLabour, kCostQty, kSubQty, kCostPrice, kSubPrice, kSpare, kSubExtra, kCostExtra, kRemarks,
};
const char* CsvColumnTitle(int column);  // UTF-8
using CsvRow = std::array<std::string, kCsvColumns>;  // UTF-8 cells

// File bytes as UTF-8 text: UTF-8 (a byte-order mark dropped) when they are valid UTF-8,
// otherwise Shift-JIS as spreadsheets on Japanese desktops write it.
std::string CsvTextOf(std::string_view bytes);

// Rows of comma-separated text (quotes as spreadsheets write them: a quoted cell may hold
// commas, line breaks and doubled quotes) or of tab-separated text (a copied range of a
// spreadsheet) when the first line holds a tab. Lines that are empty are skipped.
std::vector<std::vector<std::string>> ParseDelimited(std::string_view text);

struct CsvProblem {
  int Row = 0;     // from 0
  int Column = 0;
  std::string Text;  // UTF-8, names the row and the column
};

// The text of csv_inport.tmp (Shift-JIS, CR LF) for the rows, rows without any text left out,
// or the first cell that cannot be imported: a number that is not one (thousands separators
// and full-width digits are read), a ";" or line break (it would split the line), a character
// Shift-JIS cannot hold, or a text longer than its field of the line.
struct CsvImport {
  std::optional<std::string> Text;
  std::optional<CsvProblem> Problem;
  int Lines = 0;
};
CsvImport BuildImport(const std::vector<CsvRow>& rows);

// A typed number as the standard conversion reads it: "1,234" and "１２３４" become "1234".
std::string NormalizedNumber(std::string_view utf8);

}  // namespace zantro
