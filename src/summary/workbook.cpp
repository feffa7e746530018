#include "summary/workbook.h"

#include <xlsxwriter.h>

#include <optional>

#include "general/errors.h"
#include "general/recalc.h"
#include "platform/files.h"
#include "platform/quietstderr.h"
#include "platform/xlsxreason.h"

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
  // The library writes only to a file it names itself, with a plain open that follows links:
  // it writes into a private folder, and the bytes go to their place by the output rules.
  ScratchFolder scratch("zantro-xlsx");
  const std::string file = JoinPath(scratch.path(), "book.xlsx");
  std::string error;
  // The library's own "[ERROR]" lines stay off standard error; the failure is reported in the
  // program's words.
  std::optional<QuietStandardError> quiet(std::in_place);
  lxw_workbook* wb = workbook_new(file.c_str());
  if (!wb) throw FileError(path + ": the workbook cannot be created");
  try {
    for (const Table& t : tables) WriteSheet(wb, t);
  } catch (...) {
    workbook_close(wb);
    throw;
  }
  errno = 0;
  lxw_error closed = workbook_close(wb);
  const std::string reason = SystemReason(closed);
  quiet.reset();
  if (closed != LXW_NO_ERROR) throw FileError(path + ": " + lxw_strerror(closed) + reason);
  auto bytes = ReadFileBytes(file, &error);
  if (!bytes) throw FileError(path + ": " + error);
  if (!WriteOutput(path, *bytes, &error, rules)) throw FileError(error);
}

}  // namespace zantro::summary
