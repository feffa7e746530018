// The cost summary as tables of texts, the one form every output is made from: the TAB
// separated text of the batch command, the dialog's tables, the workbook and the PDF. Also the
// CSV file of the bill of materials and the shares (構成比) as exact percentages. No Qt.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "summary/summary.h"

namespace zantro::summary {

struct Cell {
  std::string Text;            // UTF-8, as shown
  std::optional<Money> Value;  // the number behind it (amounts, quantities, shares)
};

struct Table {
  std::string Title;                  // UTF-8: the section's name, the worksheet's and the tab's
  std::vector<std::string> Captions;  // UTF-8
  std::vector<std::vector<Cell>> Rows;
};

// part as a percentage of whole with two decimals, rounded half away from zero on the exact
// quotient: "12.34", "-0.50", "100.00"; empty when whole is 0.
std::string ShareText(Money part, Money whole);
// The same value as a Money (12.34 % is 12.34), nullopt when whole is 0.
std::optional<Money> ShareValue(Money part, Money whole);

// The tables in order: by price group, by item, by item and group, labour, bill of materials.
// The shares of groups and items are of the document's total, those of an item's groups of
// that item's total.
std::vector<Table> SummaryTables(const Summary& s);

// The bill of materials alone (the last of SummaryTables), rows as given.
Table MaterialTable(const std::vector<MaterialRow>& rows);

// The tables as text: for each table its title line, its captions and its rows, cells
// separated by TAB, a blank line between tables (UTF-8, LF).
std::string TablesText(const std::vector<Table>& tables);

// A table as a CSV file: Shift-JIS, CR LF, the captions first; a field holding a comma, a
// quote or a line break is quoted.
std::string TableCsv(const Table& table);

}  // namespace zantro::summary
