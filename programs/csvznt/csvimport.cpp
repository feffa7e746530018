#include "csvimport.h"

#include <algorithm>

#include "general/errors.h"
#include "general/money.h"
#include "platform/cp932.h"

namespace zantro {
namespace {

const char* const kTitles[kCsvColumns] = {"名称", "規格", "単位", "歩掛", "原価数量", "提出数量",
                                         "原価単価", "提出単価", "予備", "提出付帯単価", "原価付帯単価", "備考"};

bool ValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (n < 0 || i + static_cast<size_t>(n) >= s.size()) return false;
    for (int k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) >> 6) != 2) return false;
    i += static_cast<size_t>(n) + 1;
  }
  return true;
}

bool IsNumberColumn(int c) { return c >= kLabour && c <= kCostExtra; }

std::string Where(int row, int column) {
  return std::to_string(row + 1) + "行目「" + kTitles[column] + "」";
}

}  // namespace

const char* CsvColumnTitle(int column) { return kTitles[column]; }

std::string CsvTextOf(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return ValidUtf8(bytes) ? std::string(bytes) : ToUtf8(bytes);
}

std::vector<std::vector<std::string>> ParseDelimited(std::string_view text) {
  size_t firstBreak = text.find('\n');
  const char sep = text.substr(0, firstBreak).find('\t') != std::string_view::npos ? '\t' : ',';
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string cell;
  bool quoted = false, cellStarted = false;
  auto endCell = [&] {
    row.push_back(std::move(cell));
    cell.clear();
    cellStarted = false;
  };
  auto endRow = [&] {
    endCell();
    bool empty = std::ranges::all_of(row, [](const std::string& c) { return c.empty(); });
    if (!empty) rows.push_back(std::move(row));
    row.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quoted) {
      if (c != '"') cell += c;
      else if (i + 1 < text.size() && text[i + 1] == '"') cell += '"', ++i;
      else quoted = false;
    } else if (c == '"' && !cellStarted) {
      quoted = cellStarted = true;
    } else if (c == sep) {
      endCell();
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      endRow();
    } else {
      cell += c;
      cellStarted = true;
    }
  }
  if (cellStarted || !cell.empty() || !row.empty()) endRow();
  // Quoted cells of spreadsheets end their lines with CR LF inside; one form for all.
  for (auto& r : rows)
    for (auto& c : r) std::erase(c, '\r');
  return rows;
}

std::string NormalizedNumber(std::string_view utf8) { return TypedNumber(utf8); }

CsvImport BuildImport(const std::vector<CsvRow>& rows) {
  CsvImport result;
  std::string text;
  for (size_t r = 0; r < rows.size(); ++r) {
    const CsvRow& row = rows[r];
    if (std::ranges::all_of(row, [](const std::string& c) { return c.find_first_not_of(" \t") == std::string::npos; }))
      continue;
    const int ri = static_cast<int>(r);
    auto problem = [&](int c, const std::string& what) {
      result.Problem = CsvProblem{ri, c, Where(ri, c) + what};
      return result;
    };
    std::array<std::string, kCsvColumns> fields;
    for (int c = 0; c < kCsvColumns; ++c) {
      const std::string& cell = row[static_cast<size_t>(c)];
      if (cell.find_first_of(";\n") != std::string::npos) return problem(c, "に「;」や改行は使えません: " + cell);
      if (IsNumberColumn(c)) {
        try {
          fields[static_cast<size_t>(c)] = MoneyToPlainText(TextToMoney(NormalizedNumber(cell)));
        } catch (const std::exception&) {
          return problem(c, "が数値ではありません: " + cell);
        }
        continue;
      }
      std::string sjis = ToCp932(cell);
      if (std::ranges::count(sjis, '?') != std::ranges::count(cell, '?'))
        return problem(c, "にシフトJISで書けない文字があります: " + cell);
      fields[static_cast<size_t>(c)] = std::move(sjis);
    }
    // The line holds name and specification in 100 bytes joined by ";", the unit in 4 and
    // the remarks in 40.
    if (fields[kName].size() + 1 + fields[kSpec].size() > 100)
      return problem(kSpec, "が長すぎます（名称と規格で全角49文字まで）");
    if (fields[kUnit].size() > 4) return problem(kUnit, "が長すぎます（全角2文字まで）: " + row[kUnit]);
    if (fields[kRemarks].size() > 40) return problem(kRemarks, "が長すぎます（全角20文字まで）");
    for (int c = 0; c < kCsvColumns; ++c) {
      text += fields[static_cast<size_t>(c)];
      text += c + 1 < kCsvColumns ? ";" : "\r\n";
    }
    ++result.Lines;
  }
  result.Text = std::move(text);
  return result;
}

}  // namespace zantro
