// Comma-separated text as spreadsheets write it: fields separated by ",", a field holding ",",
// a double quote or a line break quoted with double quotes, a quote inside doubled. Works on
// Shift-JIS bytes: "," and a double quote never occur inside a double-byte character.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zantro {

// One record of a CSV text and where it started.
struct CsvRecord {
  std::vector<std::string> Fields;
  int Line = 0;  // the line (from 1) the record starts on
};

// Reads records one after the other. A quoted field may run over line breaks; a record ends
// at CR LF, LF or the end of the text.
class CsvReader {
 public:
  explicit CsvReader(std::string_view text) : text_(text) {}
  // The next record into out; false at the end of the text. An unterminated quote is taken
  // to the end of the text (the reader's caller sees a field that does not check).
  bool Next(CsvRecord& out);
  bool UnclosedQuote() const { return unclosed_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  bool unclosed_ = false;
};

// A field as a spreadsheet writes it: quoted only when it must be.
void AppendCsvField(std::string& out, std::string_view field);
// Fields joined by "," and ended by CR LF.
void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields);

}  // namespace zantro
