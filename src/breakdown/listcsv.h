// The CSV export of the breakdown list: Shift-JIS text, CR LF line ends, "," between fields
// without quoting, amounts as plain numbers; a header line, then one line per item.
#pragma once
#include <string>

#include "general/document.h"
#include "platform/progress.h"

namespace zantro {

// The whole file as CP932 bytes, from the amounts last computed. A step per item; a stop
// raises ProgressCancelled.
std::string BreakdownCsv(const Document& doc, Progress& progress = NoProgress());

// Writes BreakdownCsv to path atomically. Raises FileError with the system's reason, or
// ProgressCancelled before path is touched.
void WriteBreakdownCsv(const Document& doc, const std::string& path, Progress& progress = NoProgress());

}  // namespace zantro
