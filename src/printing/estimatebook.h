// The estimate workbook (見積書ブック): the printed estimate as an .xlsx workbook an estimator
// opens and works on. It is made from the print model of both sides, so it shows what prints:
//   "表紙"   the cover, a label in column A beside its value in column B (rows fixed);
//   "内訳書" the breakdown list as it prints, with the cost side in two more columns;
//   one sheet per item that prints a 明細書, its columns as printed, then the cost side.
// Figures are numbers under a number format that shows them exactly as the forms print them:
// "△1,000" is -1000 shown with the reduction text, "(2,500)" 2500 in brackets, "10%" 10. The
// captions are row 1, frozen. Qt-free.
#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "general/money.h"
#include "platform/outputs.h"
#include "printing/model.h"

namespace zantro::printing {

struct BookCell {
  std::string Text;              // what the cell shows (UTF-8)
  std::optional<Money> Value;    // stored as a number; Format shows it as Text
  std::string Format;            // number format of Value
  bool Bold = false;
  int Indent = 0;
};

struct BookSheet {
  std::string Name;                          // the worksheet's name, as a spreadsheet takes it
  std::vector<std::vector<BookCell>> Rows;
  bool Captions = true;                      // row 1 holds the captions and stays in view
  std::vector<double> Widths;                // one per column, in characters
};

// The sheets of the workbook from the print models of the submitted side and the cost side of
// one document (the same document and style; only PrintStyle::CostSide differs).
std::vector<BookSheet> EstimateBookSheets(const PrintModel& submitted, const PrintModel& cost);

// The number format under which a spreadsheet shows stored as text, where text is a figure
// as the forms print it: prefix (the reduction text or "￥") first, then PriceText or a
// quantity, bracketed "(…)" or followed by "%". With negated the number stored is the value's
// negative (a reduction's amount, so a column sums as the total does). nullopt when text is
// not of that shape.
std::optional<std::string> FigureFormat(std::string_view text, std::string_view prefix, bool negated);

// Writes the sheets as a workbook to path by the output rules. Raises FileError naming path.
void WriteBookSheets(const std::vector<BookSheet>& sheets, const std::string& path, const OutputRules& rules);

// The workbook of the document in the work files of workFolder, with the print style and the
// reduction text ([GENGAKU]) of programFolder, as printing the whole estimate shows it.
// Raises FileError.
void WriteEstimateWorkbook(const std::string& workFolder, const std::string& programFolder, const std::string& path,
                           const OutputRules& rules = {});

// "zantro --workbook DOCUMENT OUT.xlsx": opens and recomputes the document in a private folder
// and writes its workbook. The output is checked first (never the document itself). Returns
// the exit status: 0, or 1 after a line "zantro: ..." on err.
int EstimateWorkbookFromDocument(const std::string& document, const std::string& out, const std::string& programFolder,
                                 std::ostream& err);

}  // namespace zantro::printing
