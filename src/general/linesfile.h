// Lines files: the copy buffer "copydata.tmp" and the parts files (".prt"). A first line
// "[Version]=2.00", then one line of 21 ";"-terminated fields per detail line. The sheet's
// copy, paste and parts commands call these over the open sheet's line list.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "general/records.h"

namespace zantro {

inline constexpr const char* kLinesFileVersion = "[Version]=2.00";
inline constexpr const char* kCopyBufferFile = "copydata.tmp";

// Selected grid rows, top to bottom (row r is line r).
struct RowSelection {
  int32_t Top = 1;
  int32_t Bottom = 1;
  int32_t Rows() const { return Bottom - Top + 1; }
};

// Writes the selected lines that exist (lines[0] is the sentinel; rows past the last line are
// left out). Raises FileError when the file cannot be written; the old file then stays.
void WriteLinesFile(const std::string& path, const std::vector<LineRecord>& lines, RowSelection sel);

// The records of a lines file, read and checked whole. nullopt when the file does not exist
// or its first line is not "[Version]=2.00". Blank lines are skipped. A number that is not one
// raises FileError naming the file, the line and the field.
std::optional<std::vector<LineRecord>> ParseLinesFile(const std::string& path);

// Puts records into lines from the selection's top row on. Merge: before every record but
// the last, as many blank lines as the selection has rows are inserted at the current line, so
// a merge paste after one inserted blank line inserts exactly the records. Overwrite: the
// lines from the top row on are replaced; lines are appended past the end. currentLine ends
// on the line after the last record stored.
void PasteLines(std::vector<LineRecord>& lines, const std::vector<LineRecord>& records, RowSelection sel,
                int32_t& currentLine, bool merge);

// ParseLinesFile, then PasteLines. False when the file is missing (nothing changed) or of
// another version (no line changed; currentLine is the top row); a bad file raises FileError
// and changes nothing.
bool ReadLinesFile(const std::string& path, std::vector<LineRecord>& lines, RowSelection sel, int32_t& currentLine,
                   bool merge);

// Inserts count blank lines before line at (nothing when at is not a line) and keeps the
// ranges of the range lines (kinds 50-79) pointing at the same lines.
void InsertBlankLines(std::vector<LineRecord>& lines, int32_t at, int32_t count);

}  // namespace zantro
