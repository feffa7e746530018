// The cost summary as an .xlsx workbook: one worksheet per table, numbers as numbers.
#pragma once
#include <string>
#include <vector>

#include "platform/outputs.h"
#include "summary/tables.h"

namespace zantro::summary {

// Writes the workbook to path by the output rules. Raises FileError naming the path.
void WriteTablesWorkbook(const std::vector<Table>& tables, const std::string& path, const OutputRules& rules);

}  // namespace zantro::summary
