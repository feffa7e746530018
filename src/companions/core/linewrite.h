// Detail lines that companions hand the window: one line from a command string, and the lines
// the CSV editor leaves behind. Plain functions over the open document; the window runs them
// and redraws.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "general/document.h"
#include "general/linesfile.h"
#include "messages/commands.h"

namespace zantro {

// Writes the line of m at line row (>= 1) of the open sheet. A row past the end is reached by
// appending blank lines (kind 0, everything empty) and the new line takes no amounts, fields
// 11 and 12 being the amounts of a line that already exists; an existing line is overwritten
// with every field. SpareMoney becomes 0. From row 2 on the sort key is that of the line
// above plus row (whole units), so consecutive lines of one group keep their order.
void PutDetailLine(Document& doc, int32_t row, const DetailLineMessage& m);

// The name of the file the CSV editor writes and the registration editors read.
inline constexpr const char* kCsvExchangeFile = "csv_inport.tmp";

// The lines of csv_inport.tmp as the CSV editor leaves them: per text line, trimmed, the
// fields taken from the left at ";" (name, specification, unit, labour factor, cost and
// submitted quantity, cost and submitted price, spare value, submitted and cost incidental
// price, remark). The whole file is read and checked first: a number that is not a number
// raises FileError naming the file, the line and the field, so nothing is imported.
// Each line is of kind 20 when a quantity has a fraction, else 10, with sort key 11999 and
// no remark, amounts or references.
// Blank lines are skipped. More than kMaxImportLines lines are refused before anything is
// taken, as is a file over kMaxImportBytes (the caller reads it with that bound).
inline constexpr size_t kMaxImportLines = 200000;
inline constexpr uint64_t kMaxImportBytes = 64ull << 20;
std::vector<LineRecord> ParseCsvImport(const std::string& path, std::string_view bytes);

// Inserts the imported lines at line row as the import does: a row past the end is first
// reached with blank priced lines (kind 10); then each imported line takes the first of
// `rowsPerLine` blank lines inserted before row (the height of the selection), the others
// staying blank. Range lines keep pointing at the same lines. Linear in the sheet.
void InsertImportedLines(Document& doc, int32_t row, int32_t rowsPerLine, const std::vector<LineRecord>& lines);

// The registration export: per sheet line of the rows top..bottom that exist, 18 fields each
// followed by ";" (name, specification, unit, labour factor, spare value, cost price, the
// submitted price five times, cost incidental price, the submitted incidental price five
// times, remark), Shift-JIS lines ended by CR LF. complete is false when the rows reach
// past the last line.
struct RegistrationExport {
  std::string Text;
  bool Complete = true;
};
RegistrationExport ExportForRegistration(const Document& doc, RowSelection rows);

}  // namespace zantro
