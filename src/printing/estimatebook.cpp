#include "printing/estimatebook.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "breakdown/listworkbook.h"
#include "general/container.h"
#include "general/errors.h"
#include "general/recalc.h"
#include "general/xlsxoutput.h"
#include "platform/files.h"
#include "printing/job.h"

namespace zantro::printing {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool StartsWith(std::string_view s, std::string_view head) { return s.substr(0, head.size()) == head; }

// A literal of a number format: quoted, with any quote of its own escaped.
std::string Literal(std::string_view text) {
  if (text.empty()) return {};
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\\\"\"") : std::string(1, c);
  return out + "\"";
}

// A cell that shows text, a number when value is given and text a figure of that shape.
BookCell Figure(const std::string& text, const std::optional<Money>& value, std::string_view prefix = {},
                bool negated = false) {
  BookCell c;
  c.Text = text;
  if (!value) return c;
  if (auto format = FigureFormat(text, prefix, negated)) {
    c.Value = negated ? -*value : *value;
    c.Format = *format;
  }
  return c;
}

BookCell Text(std::string text, bool bold = false) {
  BookCell c;
  c.Text = std::move(text);
  c.Bold = bold;
  return c;
}

BookCell Amount(Money v, std::string_view prefix = {}) { return Figure(std::string(prefix) + PriceText(v), v, prefix); }

bool Strong(RowStyle s) { return s == RowStyle::Heading || s == RowStyle::Total; }

// The cost side's figure of a row, or an empty cell: texts (notes, comments) are the
// submitted side's and are not repeated.
BookCell CostFigure(const std::string& text, const std::optional<Money>& value, bool reduction,
                    const std::string& reductionText) {
  if (!value) return {};
  return Figure(text, value, reduction ? reductionText : std::string_view(), reduction);
}

BookSheet CoverSheet(const PrintModel& sub, const PrintModel& cost) {
  const CoverData& c = sub.Cover;
  const PrintStyle& s = sub.Style;
  BookSheet sheet;
  sheet.Name = "表紙";
  sheet.Captions = false;
  auto row = [&](std::string label, BookCell value) { sheet.Rows.push_back({Text(std::move(label)), std::move(value)}); };
  sheet.Rows.push_back({Text("御見積書", true)});
  sheet.Rows.push_back({});
  row("見積番号", Text(c.Number));
  row("見積日", Text(c.DateText));
  row("宛先", Text(c.Addressee1));
  row("宛先（2行目）", Text(c.Addressee2));
  row("ご担当", Text(c.ClientPerson));
  row("御見積金額", Amount(c.Total, "￥"));
  row("消費税", Text(c.HasTax ? "消費税込" : "消費税別途"));
  row("税抜金額", c.HasTax ? Amount(c.Total - c.Tax, "￥") : BookCell{});
  row("消費税額", c.HasTax ? Amount(c.Tax, "￥") : BookCell{});
  row("金額（漢字）", Text(c.AmountWords));
  row("工事名称", Text(c.Construction1));
  row("工事名称（2行目）", Text(c.Construction2));
  row("工事場所", Text(c.Site));
  row("有効期限", Text(c.Limit));
  row("取引条件", Text(c.Trade));
  row(s.NoteLabel, Text(c.Note));
  row("担当", Text(c.OwnPerson));
  row("会社名", Text(s.Company));
  row("住所", Text(s.Postal + (s.Postal.empty() || s.Address1.empty() ? "" : "　") + s.Address1));
  row("住所（2行目）", Text(s.Address2));
  row("TEL", Text(s.Tel));
  row("FAX", Text(s.Fax));
  row("原価金額", Amount(cost.Cover.Total, "￥"));
  return sheet;
}

BookSheet BreakdownSheet(const PrintModel& sub, const PrintModel& cost) {
  BookSheet sheet;
  sheet.Name = "内訳書";
  std::vector<BookCell> captions;
  for (const char* caption : {"名称", "数量", "単位", "内訳金額", "金額", "備考", "原価内訳金額", "原価金額"})
    captions.push_back(Text(caption, true));
  sheet.Rows.push_back(std::move(captions));
  for (size_t i = 0; i < sub.Breakdown.size(); ++i) {
    const BreakdownRow& r = sub.Breakdown[i];
    const BreakdownRow* c = i < cost.Breakdown.size() ? &cost.Breakdown[i] : nullptr;
    const std::string_view mark = r.Reduction ? std::string_view(sub.ReductionText) : std::string_view();
    std::vector<BookCell> cells{Text(r.Name, Strong(r.Style)), Figure(r.Qty, r.QtyValue), Text(r.Unit),
                                Figure(r.Inner, r.InnerValue), Figure(r.Amount, r.AmountValue, mark, r.Reduction),
                                Text(r.Remarks)};
    cells[0].Indent = r.Indent;
    if (c) {
      cells.push_back(CostFigure(c->Inner, c->InnerValue, false, cost.ReductionText));
      cells.push_back(CostFigure(c->Amount, c->AmountValue, c->Reduction, cost.ReductionText));
    }
    for (BookCell& cell : cells) cell.Bold = cell.Bold || r.Style == RowStyle::Total;
    sheet.Rows.push_back(std::move(cells));
  }
  return sheet;
}

BookSheet DetailSheet(const SheetData& sub, const SheetData* cost, const PrintModel& m, const PrintModel& cm) {
  BookSheet sheet;
  sheet.Name = sub.Name;
  std::vector<BookCell> captions;
  for (const char* caption :
       {"名称", "規格・仕様", "数量", "単位", "単価", "金額", "備考", "原価数量", "原価単価", "原価金額"})
    captions.push_back(Text(caption, true));
  sheet.Rows.push_back(std::move(captions));
  for (size_t i = 0; i < sub.Rows.size(); ++i) {
    const SheetRow& r = sub.Rows[i];
    const SheetRow* c = cost && i < cost->Rows.size() ? &cost->Rows[i] : nullptr;
    const std::string_view mark = r.Reduction ? std::string_view(m.ReductionText) : std::string_view();
    std::vector<BookCell> cells{Text(r.Name),
                                Text(r.Spec),
                                Figure(r.Qty, r.QtyValue),
                                Text(r.Unit),
                                Figure(r.Price, r.PriceValue, mark, r.Reduction),
                                Figure(r.Amount, r.AmountValue, mark, r.Reduction),
                                Text(r.Remarks)};
    if (c) {
      cells.push_back(CostFigure(c->Qty, c->QtyValue, false, cm.ReductionText));
      cells.push_back(CostFigure(c->Price, c->PriceValue, c->Reduction, cm.ReductionText));
      cells.push_back(CostFigure(c->Amount, c->AmountValue, c->Reduction, cm.ReductionText));
    }
    for (BookCell& cell : cells) cell.Bold = r.Style == RowStyle::Total;
    sheet.Rows.push_back(std::move(cells));
  }
  return sheet;
}

// Columns as wide as their widest text: a character of the Latin range counts one, any other
// two, as the Japanese fonts draw them.
int DisplayWidth(std::string_view utf8) {
  int width = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if ((b & 0xC0) == 0x80) continue;
    width += b < 0x80 ? 1 : 2;
  }
  return width;
}

void FitWidths(BookSheet& sheet) {
  for (const auto& row : sheet.Rows) {
    if (sheet.Widths.size() < row.size()) sheet.Widths.resize(row.size(), 0);
    for (size_t c = 0; c < row.size(); ++c)
      sheet.Widths[c] = std::max(sheet.Widths[c], double(DisplayWidth(row[c].Text) + 2 * row[c].Indent));
  }
  for (double& w : sheet.Widths) w = std::clamp(w + 2, 6.0, 80.0);
}

// Worksheet names a spreadsheet takes: unique without regard to case, no []:*?/\, at most 31
// characters; an item without a name is 明細 and its number.
void NameSheets(std::vector<BookSheet>& sheets, const std::vector<int32_t>& numbers) {
  std::set<std::string> taken;
  for (size_t i = 0; i < sheets.size(); ++i) {
    std::string name = WorksheetName(sheets[i].Name, taken);
    if (name.empty()) name = WorksheetName("明細" + std::to_string(numbers[i]), taken);
    sheets[i].Name = name;
  }
}

class Formats {
 public:
  explicit Formats(lxw_workbook* wb) : wb_(wb) {}
  lxw_format* Of(const BookCell& c) {
    if (c.Format.empty() && !c.Bold && c.Indent == 0) return nullptr;
    auto key = std::make_tuple(c.Format, c.Bold, c.Indent);
    auto it = formats_.find(key);
    if (it != formats_.end()) return it->second;
    lxw_format* f = workbook_add_format(wb_);
    if (!c.Format.empty()) format_set_num_format(f, c.Format.c_str());
    if (c.Bold) format_set_bold(f);
    if (c.Indent > 0) format_set_indent(f, static_cast<uint8_t>(c.Indent));
    return formats_[key] = f;
  }

 private:
  lxw_workbook* wb_;
  std::map<std::tuple<std::string, bool, int>, lxw_format*> formats_;
};

double Number(Money m) { return static_cast<double>(m.raw) / Money::kScale; }

void WriteSheet(lxw_workbook* wb, Formats& formats, const BookSheet& sheet) {
  lxw_worksheet* ws = workbook_add_worksheet(wb, sheet.Name.c_str());
  if (!ws) throw FileError("worksheet " + sheet.Name + " cannot be added");
  for (size_t r = 0; r < sheet.Rows.size(); ++r) {
    const auto row = static_cast<lxw_row_t>(r);
    for (size_t c = 0; c < sheet.Rows[r].size(); ++c) {
      const BookCell& cell = sheet.Rows[r][c];
      const auto col = static_cast<lxw_col_t>(c);
      if (cell.Value) worksheet_write_number(ws, row, col, Number(*cell.Value), formats.Of(cell));
      else if (!cell.Text.empty()) worksheet_write_string(ws, row, col, cell.Text.c_str(), formats.Of(cell));
    }
  }
  for (size_t c = 0; c < sheet.Widths.size(); ++c)
    worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), sheet.Widths[c], nullptr);
  worksheet_set_landscape(ws);
  worksheet_set_paper(ws, 9);  // A4, as the forms print
  worksheet_fit_to_pages(ws, 1, 0);
  if (sheet.Captions) {
    worksheet_freeze_panes(ws, 1, 0);
    worksheet_repeat_rows(ws, 0, 0);
  }
}

PrintModel SideModel(const ParsedDocument& doc, PrintStyle style, const std::string& reductionText, bool cost) {
  style.CostSide = cost;
  return BuildPrintModel(doc, style, ModelOptions{reductionText, false});
}

}  // namespace

std::optional<std::string> FigureFormat(std::string_view text, std::string_view prefix, bool negated) {
  if (!StartsWith(text, prefix)) return std::nullopt;
  text.remove_prefix(prefix.size());
  std::string open, close;
  if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
    open = "(", close = ")";
    text = text.substr(1, text.size() - 2);
  } else if (!text.empty() && text.back() == '%') {
    close = "%";
    text.remove_suffix(1);
  }
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  // Digits with thousands separators, then decimals.
  const size_t dot = text.find('.');
  std::string_view whole = text.substr(0, dot);
  std::string_view decimals = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
  if (whole.empty() || !IsDigit(whole.front()) || !IsDigit(whole.back())) return std::nullopt;
  if (dot != std::string_view::npos && decimals.empty()) return std::nullopt;
  for (char c : whole)
    if (!IsDigit(c) && c != ',') return std::nullopt;
  for (char c : decimals)
    if (!IsDigit(c)) return std::nullopt;
  // Separators unless the text has a long whole part without them (a quantity's text).
  const bool grouped = whole.find(',') != std::string_view::npos || whole.size() <= 3;
  std::string number = grouped ? "#,##0" : "0";
  if (!decimals.empty()) number += "." + std::string(decimals.size(), '0');
  const std::string lead = std::string(prefix) + open;
  const std::string shown = Literal(lead) + number + Literal(close);
  const std::string minus = Literal(lead + "-") + number + Literal(close);
  // The negative section shows the digits only: the sign is written where the forms put it,
  // after the prefix. A negated figure prints without a sign when its number is below zero.
  if (negated) return minus + ";" + shown + ";" + shown;
  return shown + ";" + minus;
}

std::vector<BookSheet> EstimateBookSheets(const PrintModel& submitted, const PrintModel& cost) {
  std::vector<BookSheet> sheets{CoverSheet(submitted, cost), BreakdownSheet(submitted, cost)};
  std::vector<int32_t> numbers{0, 0};
  for (const SheetData& s : submitted.Sheets) {
    auto same = std::find_if(cost.Sheets.begin(), cost.Sheets.end(),
                             [&](const SheetData& c) { return c.ItemNumber == s.ItemNumber; });
    sheets.push_back(DetailSheet(s, same == cost.Sheets.end() ? nullptr : &*same, submitted, cost));
    numbers.push_back(s.ItemNumber);
  }
  NameSheets(sheets, numbers);
  for (BookSheet& s : sheets) FitWidths(s);
  return sheets;
}

void WriteBookSheets(const std::vector<BookSheet>& sheets, const std::string& path, const OutputRules& rules) {
  WriteLibraryWorkbook(path, rules, [&sheets](lxw_workbook* wb) {
    Formats formats(wb);
    for (const BookSheet& s : sheets) WriteSheet(wb, formats, s);
  });
}

void WriteEstimateWorkbook(const std::string& workFolder, const std::string& programFolder, const std::string& path,
                           const OutputRules& rules) {
  const std::string text = ContainerText(workFolder, false, 0);
  ParsedDocument doc = ParseContainerText(text, JoinPath(workFolder, "HEAD.WRK"));
  ViewerArguments args = ArgumentsFromConfiguration(programFolder);
  const std::string styleFolder = args.StyleFolder.empty() ? JoinPath(programFolder, "style") : args.StyleFolder;
  PrintStyle style = ReadPrintStyle(styleFolder);
  PrintModel sub = SideModel(doc, style, args.ReductionText, false);
  PrintModel cost = SideModel(doc, style, args.ReductionText, true);
  WriteBookSheets(EstimateBookSheets(sub, cost), path, rules);
}

int EstimateWorkbookFromDocument(const std::string& document, const std::string& out, const std::string& programFolder,
                                 std::ostream& err) {
  try {
    // The output is checked before the work: a refused OUT costs no recomputation.
    const OutputRules rules{{document}, true};
    OutputPlace place;
    if (std::string error; !PlaceOutput(out, rules, &place, &error)) throw FileError(error);
    ScratchFolder folder("zantro-book");
    OpenAndRecompute(document, folder.path(), err);
    WriteEstimateWorkbook(folder.path(), programFolder, out, rules);
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace zantro::printing
