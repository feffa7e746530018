// zantro --summary DOCUMENT [--rate N] [--xlsx OUT | --pdf OUT]: the cost summary of a saved
// document as TAB separated text on standard output, or as a workbook or a PDF.
#pragma once
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/outputs.h"
#include "summary/tables.h"

namespace zantro::summary {

// Writes the PDF of the tables (the printing library's, which this Qt-free module cannot
// name): 0, or 1 after a message on err.
using PdfWriter = std::function<int(const std::vector<Table>& tables, const std::string& construction,
                                    const std::string& out, const OutputRules& rules, std::ostream& err)>;

// True when args (the words after "--summary") ask for the PDF.
bool NeedsPrinting(const std::vector<std::string>& args);

// args are the words after "--summary". Returns the exit status: 0; 1 when the output cannot
// be written; 2 for a wrong command line or a document that cannot be read (its reason, which
// names the file, line and field, after "zantro: " on err). Without pdf, --pdf is refused.
// The text goes to standard output, or into *text when given.
int SummaryCommand(const std::vector<std::string>& args, std::ostream& err, const PdfWriter& pdf = nullptr,
                   std::string* text = nullptr);

}  // namespace zantro::summary
