#include "summary/workbook.h"

#include <xlsxwriter.h>

#include "general/errors.h"
#include "general/recalc.h"
#include "general/xlsxoutput.h"
#include "platform/files.h"

namespace zantro::summary {
namespace {

double Number(Money m) { return static_cast<double>(m.raw) / Money::kScale; }

void WriteSheet(lxw_workbook* wb, const Table& t) {
  lxw_worksheet* ws = workbook_add_worksheet(wb, t.Title.c_str());
  if (!ws) throw FileError("worksheet " + t.Title + " cannot be added");
  for (size_t c = 0; c < t.Captions.size(); ++c)
    worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), t.Captions[c].c_str(), nullptr);
  for (size_t r = 0; r < t.Rows.size(); ++r) {
    const auto row = static_cast<lxw_row_t>(r + 1);
    for (size_t c = 0; c < t.Rows[r].size(); ++c) {
      const Cell& cell = t.Rows[r][c];
      const auto col = static_cast<lxw_col_t>(c);
      if (cell.Value) worksheet_write_number(ws, row, col, Number(*cell.Value), nullptr);
      else if (!cell.Text.empty()) worksheet_write_string(ws, row, col, cell.Text.c_str(), nullptr);
    }
  }
  worksheet_set_column(ws, 0, static_cast<lxw_col_t>(t.Captions.size()), 14, nullptr);
}

}  // namespace

void WriteTablesWorkbook(const std::vector<Table>& tables, const std::string& path, const OutputRules& rules) {
  WriteLibraryWorkbook(path, rules, [&tables](lxw_workbook* wb) {
    for (const Table& t : tables) WriteSheet(wb, t);
  });
}

}  // namespace zantro::summary
