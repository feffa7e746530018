// A workbook built by the spreadsheet library, written to its place by the output rules. The
// library writes only to a file it names itself, with a plain open that follows links: it
// writes into a private folder, and the bytes then go to path as every other output does. Its
// own "[ERROR]" lines stay off standard error; a failure is raised in the program's words, with
// the system's reason. Header only: it is compiled by the modules that link the library.
#pragma once
#include <xlsxwriter.h>

#include <cerrno>
#include <functional>
#include <string>

#include "general/errors.h"
#include "general/recalc.h"
#include "platform/files.h"
#include "platform/outputs.h"
#include "platform/quietstderr.h"
#include "platform/xlsxreason.h"

namespace zantro {

// build fills the workbook; what it raises leaves path untouched.
inline void WriteLibraryWorkbook(const std::string& path, const OutputRules& rules,
                                 const std::function<void(lxw_workbook*)>& build) {
  ScratchFolder scratch("zantro-xlsx");
  const std::string file = JoinPath(scratch.path(), "book.xlsx");
  std::string error;
  {
    QuietStandardError quiet;
    lxw_workbook* wb = workbook_new(file.c_str());
    if (!wb) throw FileError(path + ": the workbook cannot be created");
    try {
      build(wb);
    } catch (...) {
      workbook_close(wb);
      throw;
    }
    errno = 0;
    if (lxw_error e = workbook_close(wb); e != LXW_NO_ERROR) error = lxw_strerror(e) + SystemReason(e);
  }
  if (!error.empty()) throw FileError(path + ": " + error);
  auto bytes = ReadFileBytes(file, &error);
  if (!bytes) throw FileError(path + ": " + error);
  if (!WriteOutput(path, *bytes, &error, rules)) throw FileError(error);
}

}  // namespace zantro
