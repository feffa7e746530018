// The detail sheet as comma-separated text for a spreadsheet: one line per line that is
// neither blank nor a total line, with name, specification, unit and the submitted quantity,
// price and amount. No quoting: a comma inside a text gives its line more fields.
#pragma once
#include <string>
#include <vector>

#include "general/records.h"

namespace zantro {

// CP932 bytes, each line ended by CR LF; lines[0] (the pick buffer) is not exported.
std::string SheetCsv(const std::vector<LineRecord>& lines);

}  // namespace zantro
