#include "compare/report.h"

#include <xlsxwriter.h>

#include <optional>

#include "general/errors.h"
#include "general/recalc.h"
#include "general/xlsxoutput.h"
#include "platform/files.h"

namespace zantro::compare {
namespace {

// A figure goes into the workbook as a number.
double Number(Money v) { return static_cast<double>(v.raw) / static_cast<double>(Money::kScale); }

// The old and new values of a row of figures; a side that lacks the element has none.
struct RowFigures {
  std::optional<Money> Old, New;
};

// The cells of a row under the captions; with figures, the last three (old, new, difference)
// are numbers.
void WriteCells(lxw_worksheet* ws, lxw_row_t row, const std::vector<std::string>& cells,
                const std::optional<RowFigures>& figures, lxw_format* format) {
  const size_t texts = figures ? cells.size() - 3 : cells.size();
  for (size_t c = 0; c < texts; ++c)
    if (!cells[c].empty()) worksheet_write_string(ws, row, static_cast<lxw_col_t>(c), cells[c].c_str(), format);
  if (!figures) return;
  const lxw_col_t old = static_cast<lxw_col_t>(texts);
  if (figures->Old) worksheet_write_number(ws, row, old, Number(*figures->Old), format);
  if (figures->New) worksheet_write_number(ws, row, old + 1, Number(*figures->New), format);
  const Money zero = kZero;
  worksheet_write_number(ws, row, old + 2, Number(figures->New.value_or(zero)) - Number(figures->Old.value_or(zero)),
                         format);
}

std::optional<RowFigures> FiguresOf(const DiffRow& d) {
  if (!d.Numeric) return std::nullopt;
  RowFigures f;
  if (!d.Old.empty()) f.Old = d.OldValue;
  if (!d.New.empty()) f.New = d.NewValue;
  return f;
}

void BuildWorkbook(lxw_workbook* wb, const Result& r, const Sides& sides) {
  lxw_worksheet* ws = workbook_add_worksheet(wb, "変更対比表");
  if (!ws) throw FileError("the worksheet cannot be added");
  lxw_format* bold = workbook_add_format(wb);
  format_set_bold(bold);
  worksheet_write_string(ws, 0, 0, "変更対比表", bold);
  worksheet_write_string(ws, 1, 0, "旧", nullptr);
  worksheet_write_string(ws, 1, 1, sides.Old.c_str(), nullptr);
  worksheet_write_string(ws, 2, 0, "新", nullptr);
  worksheet_write_string(ws, 2, 1, sides.New.c_str(), nullptr);
  lxw_row_t row = 4;
  WriteCells(ws, row++, ReportCaptions(), std::nullopt, bold);
  for (const DiffRow& d : r.Rows) WriteCells(ws, row++, ReportCells(d), FiguresOf(d), nullptr);
  auto totals = TotalsCells(r.Sums);
  WriteCells(ws, row++, totals[0], RowFigures{r.Sums.OldSub, r.Sums.NewSub}, bold);
  WriteCells(ws, row++, totals[1], RowFigures{r.Sums.OldCost, r.Sums.NewCost}, bold);
}

}  // namespace

const std::vector<std::string>& ReportCaptions() {
  static const std::vector<std::string> c{"状態", "工種", "工種名", "行", "明細", "項目", "旧", "新", "差額"};
  return c;
}

std::vector<std::string> ReportCells(const DiffRow& d) {
  return {std::string(StateText(d.Kind)), std::to_string(d.Item), d.ItemName, d.Row > 0 ? std::to_string(d.Row) : "",
          d.LineName, d.Field, d.Old, d.New, d.Difference};
}

std::vector<std::vector<std::string>> TotalsCells(const Totals& t) {
  return {{"合計", "", "", "", "", "提出金額", Figure(t.OldSub), Figure(t.NewSub), DifferenceText(t.OldSub, t.NewSub)},
          {"合計", "", "", "", "", "原価金額", Figure(t.OldCost), Figure(t.NewCost), DifferenceText(t.OldCost, t.NewCost)}};
}

std::string ReportText(const Result& r) {
  std::string out;
  auto line = [&out](const std::vector<std::string>& cells) {
    for (size_t c = 0; c < cells.size(); ++c) {
      if (c > 0) out += '\t';
      out += cells[c];
    }
    out += '\n';
  };
  line(ReportCaptions());
  for (const DiffRow& d : r.Rows) line(ReportCells(d));
  for (const auto& t : TotalsCells(r.Sums)) line(t);
  return out;
}

void WriteWorkbook(const Result& r, const Sides& sides, const std::string& path, const OutputRules& rules) {
  WriteLibraryWorkbook(path, rules, [&](lxw_workbook* wb) { BuildWorkbook(wb, r, sides); });
}

}  // namespace zantro::compare
