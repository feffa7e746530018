// The system's reason behind a failure of the spreadsheet library to write its file, which the
// library itself only prints on standard error: " (File too large)", or nothing.
#pragma once
#include <xlsxwriter.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace zantro {

// Called right after the library's call that failed with e, errno cleared before that call.
inline std::string SystemReason(lxw_error e) {
  const int reason = errno;
  switch (e) {
    case LXW_ERROR_CREATING_XLSX_FILE: case LXW_ERROR_CREATING_TMPFILE: case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD: case LXW_ERROR_ZIP_CLOSE:
      return reason ? " (" + std::string(std::strerror(reason)) + ")" : "";
    default:
      return "";
  }
}

}  // namespace zantro
