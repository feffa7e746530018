// Field strings as the window and its companions exchange them: fields each followed by ";",
// no escaping, numbers as plain decimal text. Reading follows the window's field reader
// (FieldOf): a field past the last ";"-terminated one is that last one, text after the last
// ";" belongs to no field.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "general/money.h"

namespace zantro {

// A message that cannot be written (a text field holding ";") or is not of the expected
// command. Conversion errors of numbers are ConversionError, as everywhere.
class MessageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class FieldReader {
 public:
  explicit FieldReader(std::string_view text);

  // Field k counted from 1, exactly as FieldOf gives it.
  const std::string& Text(int k) const;
  // Empty text or two double quotes are 0, else the standard conversion (errors name the field).
  Money MoneyField(int k) const;
  // The standard conversion without the empty-text rule.
  Money StrictMoney(int k) const;
  // Not an integer: 0.
  int32_t Integer(int k) const;
  // Not an integer: ConversionError.
  int32_t StrictInteger(int k) const;
  // Number of ";"-terminated fields.
  int Count() const { return static_cast<int>(fields_.size()); }

 private:
  [[noreturn]] void Refuse(int k, const std::exception& e) const;
  std::vector<std::string> fields_;
};

class FieldWriter {
 public:
  // A text field; what names it in the error when it holds ";" (it would split the field).
  FieldWriter& Text(std::string_view text, std::string_view what);
  // Money as the standard currency-to-text conversion writes it ("12.5", "3", "-0.25").
  FieldWriter& Number(Money m);
  FieldWriter& Number(int64_t v);
  // Several text fields, each followed by ";".
  template <typename List>
  FieldWriter& Texts(const List& texts, std::string_view what) {
    for (const auto& t : texts) Text(t, what);
    return *this;
  }
  const std::string& str() const { return out_; }

 private:
  std::string out_;
};

}  // namespace zantro
