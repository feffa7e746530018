// The cost summary (集計表) as a printed form: each table of the summary on A4 landscape pages
// with the fonts of the print style, the same cells as the text and the workbook.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "summary/command.h"

namespace zantro::printing {

// Writes the PDF through the output rules (never over inputs). Returns 0, or 1 after a message
// on err.
int WriteSummaryPdf(const std::vector<summary::Table>& tables, const std::string& construction,
                    const std::string& programFolder, const std::string& out, const OutputRules& rules,
                    std::ostream& err);

// The batch command's writer, with the print style of the program's own folder.
summary::PdfWriter SummaryPdfWriter();

}  // namespace zantro::printing
