#include "companions/core/linewrite.h"

#include "general/container.h"
#include "general/errors.h"
#include "general/sheetchanges.h"
#include "platform/files.h"

namespace zantro {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// Fields taken from the left at ";"; the last needs no ";". Absent fields are empty.
std::vector<std::string_view> SplitFields(std::string_view line, size_t count) {
  std::vector<std::string_view> f(count);
  for (size_t i = 0; i < count && !line.empty(); ++i) {
    size_t semi = line.find(';');
    f[i] = line.substr(0, semi);
    line.remove_prefix(semi == std::string_view::npos ? line.size() : semi + 1);
  }
  return f;
}

bool HasFraction(Money m) { return m.raw % Money::kScale != 0; }

}  // namespace

void PutDetailLine(Document& doc, int32_t row, const DetailLineMessage& m) {
  if (row < 1) row = 1;
  auto& lines = doc.LineList;
  if (row > doc.LastLine()) {
    lines.resize(static_cast<size_t>(row));  // blank lines up to the one before row
    lines.emplace_back();
    m.FillLine(lines.back(), false);
  } else {
    m.FillLine(lines[static_cast<size_t>(row)], true);
  }
  if (row > 1) lines[row].sort = lines[row - 1].sort + Money::Units(row);
}

std::vector<LineRecord> ParseCsvImport(const std::string& path, std::string_view bytes) {
  static const char* kNames[] = {"名称", "規格", "単位", "歩掛", "原価数量", "提出数量",
                                 "原価単価", "提出単価", "予備", "提出付帯単価", "原価付帯単価", "備考"};
  std::vector<LineRecord> out;
  int64_t number = 0;
  // Line by line over the bytes, with no list of the lines: a file of newlines costs nothing.
  for (std::string_view rest = bytes; !rest.empty();) {
    size_t lf = rest.find('\n');
    std::string_view text = rest.substr(0, lf);
    rest.remove_prefix(lf == std::string_view::npos ? rest.size() : lf + 1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    ++number;
    // A blank line (the editor's last line, a file padded with newlines) is no line to price.
    if (Trim(text).empty()) continue;
    if (out.size() == kMaxImportLines)
      throw FileError(path + ": line " + std::to_string(number) + ": more than " + std::to_string(kMaxImportLines) +
                      " lines, the most one import takes");
    auto f = SplitFields(Trim(text), 12);
    FieldSource at{path, number, "csv"};
    auto money = [&](int k) {
      try {
        return TextToMoney(f[k - 1]);
      } catch (const ConversionError& e) {
        ThrowFieldError(at, k, kNames[k - 1], e.what());
      }
    };
    LineRecord line;
    line.NameSpec.set(std::string(f[0]) + ";" + std::string(f[1]));
    line.Unit.set(f[2]);
    line.LabourFactor = money(4);
    line.CostQty = money(5);
    line.SubQty = money(6);
    line.CostPrice = money(7);
    line.SubPrice = money(8);
    line.SpareMoney = money(9);
    line.SubExtraPrice = money(10);
    line.CostExtraPrice = money(11);
    // The remark is read with the line but not kept: imported lines start without one.
    line.FLAG = HasFraction(line.SubQty) || HasFraction(line.CostQty) ? LineKinds::DecPriced : LineKinds::Priced;
    line.sort = Money::Units(11999);
    out.push_back(line);
  }
  return out;
}

void InsertImportedLines(Document& doc, int32_t row, int32_t rowsPerLine, const std::vector<LineRecord>& lines) {
  if (lines.empty()) return;
  if (row < 1) row = 1;
  rowsPerLine = std::max(1, rowsPerLine);
  while (doc.LastLine() < row) {
    LineRecord blank;
    blank.FLAG = LineKinds::Priced;
    doc.LineList.push_back(blank);
  }
  // One insertion of the whole block renumbers the ranges exactly as one insertion per
  // imported line would: every later insertion lies inside the block already inserted.
  int32_t count = static_cast<int32_t>(lines.size()) * rowsPerLine;
  InsertLines(doc, RowSelection{row, row + count - 1});
  for (size_t i = 0; i < lines.size(); ++i) doc.LineList[row + static_cast<int32_t>(i) * rowsPerLine] = lines[i];
}

RegistrationExport ExportForRegistration(const Document& doc, RowSelection rows) {
  RegistrationExport out;
  for (int32_t r = rows.Top; r <= rows.Bottom; ++r) {
    if (r > doc.LastLine()) {
      out.Complete = false;
      break;
    }
    if (r < 1) continue;
    const LineRecord& l = doc.LineList[r];
    std::string_view nameSpec = l.NameSpec.view();
    size_t semi = nameSpec.find(';');
    std::string line;
    auto field = [&line](std::string_view t) { (line += t) += ';'; };
    auto money = [&field](Money m) { field(MoneyToPlainText(m)); };
    field(nameSpec.substr(0, semi));
    field(semi == std::string_view::npos ? std::string_view() : nameSpec.substr(semi + 1));
    field(l.Unit.view());
    money(l.LabourFactor);
    money(l.SpareMoney);
    money(l.CostPrice);
    for (int level = 0; level < 5; ++level) money(l.SubPrice);
    money(l.CostExtraPrice);
    for (int level = 0; level < 5; ++level) money(l.SubExtraPrice);
    field(l.Remarks.view());
    out.Text += line + "\r\n";
  }
  return out;
}

}  // namespace zantro
