// The breakdown list's commands without a window: the report of a document's breakdown list
// (zantro --report) and its spreadsheet export (zantro --xlsx).
#pragma once
#include <ostream>
#include <string>

#include "general/container.h"
#include "general/document.h"

namespace zantro {

// The document as the window holds it after opening path (a container or version-1 file):
// the first item that can be shown is the open sheet, recomputed with the breakdown list.
// Raises FileError naming the file, line and field of a bad document.
Document OpenForReport(const std::string& path, ParsedDocument* parsed = nullptr);

// Writes the breakdown list as the view shows it: the captions, one line per row (eight
// columns separated by TAB, UTF-8), then the document totals. Returns the exit status: 0, or
// 1 with the reason on err when the document cannot be read. reductionText (UTF-8) goes in
// front of a reduction's amounts, as the configuration's [GENGAKU] does in the window.
int PrintBreakdownReport(const std::string& path, const std::string& reductionText, std::ostream& out,
                         std::ostream& err);

// Writes the workbook of the document at path to out. 0, or 1 with the reason on err.
int ExportBreakdownWorkbook(const std::string& path, const std::string& out, std::ostream& err);

}  // namespace zantro
