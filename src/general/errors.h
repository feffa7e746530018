// The program's errors. Each is caught at an event boundary (a handler, a script verb, the
// batch entry) and shown there; a command that fails has changed nothing.
#pragma once
#include <stdexcept>
#include <string>

namespace zantro {

// A text that must be a number and is not. The message quotes the text, as the standard
// conversion error does: "'abc' is not a valid floating point value".
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A Money result that does not fit the 64-bit raw value. Nothing wraps. The recomputations
// say where it arose ("item 2, line 5 (CostPrice x CostQty)") so the user can find the value.
class MoneyOverflow : public std::overflow_error {
 public:
  MoneyOverflow() : std::overflow_error(kText) {}
  explicit MoneyOverflow(const std::string& where) : std::overflow_error(where + ": " + kText) {}

 private:
  static constexpr const char* kText = "金額の桁があふれました (overflow)";
};

// A file that cannot be read, written or parsed. The message names the file and, for a
// parse error, the line (or byte offset) and the field.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace zantro
