// The comparison as a person reads it: the text report of "zantro --compare" (TAB-separated,
// one difference a line under one heading line, then the totals of both documents) and the
// workbook. The PDF is drawn by printing/comparepdf.h from the same rows.
#pragma once
#include <string>
#include <vector>

#include "compare/compare.h"
#include "platform/outputs.h"

namespace zantro::compare {

// The columns every form of the comparison shows, in order.
const std::vector<std::string>& ReportCaptions();
// The cells of a row under those captions.
std::vector<std::string> ReportCells(const DiffRow& row);
// The two rows of totals: "合計", the side ("提出金額", "原価金額"), old, new, difference,
// under the same captions.
std::vector<std::vector<std::string>> TotalsCells(const Totals& t);

// The heading line, one line per row, then the two totals lines (UTF-8, LF).
std::string ReportText(const Result& r);

// The documents compared, as the forms name them (UTF-8).
struct Sides {
  std::string Old, New;
};

// Writes the workbook (one worksheet "変更対比表") to path by rules. Raises FileError.
void WriteWorkbook(const Result& r, const Sides& sides, const std::string& path, const OutputRules& rules);

}  // namespace zantro::compare
