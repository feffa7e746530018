// Silences standard error for the life of the object: for a library that reports its own
// failures there ("[ERROR] ..." of the spreadsheet writer) while the caller reports the same
// failure in the program's words, with its "zantro:" prefix.
#pragma once

namespace zantro {

class QuietStandardError {
 public:
  QuietStandardError();
  ~QuietStandardError();
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace zantro
