// The spreadsheet export of a document: an .xlsx workbook built from the document's container
// text. Worksheet 1 "表紙" holds the title values in column A (rows 1-18), worksheet 2 the
// breakdown list, and worksheet k + 2 the detail lines of item k (columns A-F: name,
// specification, labour factor, sort key, unit, line kind, as text). Worksheet k + 2 is
// named after item k when it holds that item's lines; a name a spreadsheet refuses is
// mended (see WorksheetName).
#pragma once
#include <set>
#include <string>
#include <string_view>

#include "platform/outputs.h"
#include "platform/progress.h"

namespace zantro {

// Writes the workbook of containerText (UTF-8 names come from its Shift-JIS text) to path by
// the output rules. Raises FileError when the file is refused or cannot be written,
// ConversionError for a title amount that is not a number. One step per item's worksheet and
// one for the packing; a stop raises ProgressCancelled and path is not touched.
void WriteBreakdownWorkbook(std::string_view containerText, const std::string& path, const OutputRules& rules = {},
                            Progress& progress = NoProgress());

// A worksheet name from an item name (UTF-8): the characters []:*?/\ become "_", leading and
// trailing apostrophes go, the name is cut to 31 characters, and a name already in taken
// (compared without regard to case) gets " (2)", " (3)", ... Empty when name is empty. The
// result is added to taken.
std::string WorksheetName(std::string_view name, std::set<std::string>& taken);

}  // namespace zantro
