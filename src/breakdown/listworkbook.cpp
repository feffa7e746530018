#include "breakdown/listworkbook.h"

#include <xlsxwriter.h>

#include <array>
#include <cstdio>
#include <map>
#include <vector>

#include "general/errors.h"
#include "general/money.h"
#include "general/recalc.h"
#include "general/xlsxoutput.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/outputs.h"

namespace zantro {
namespace {


// The title keys of the cover sheet, row by row; the amounts are written as numbers.
struct CoverKey {
  const char* key;
  bool money;
};
constexpr std::array<CoverKey, 18> kCoverKeys = {{{"[ATESAKI_1]", false}, {"[ATESAKI_2]", false},
                                                  {"[CONSTRACT_1]", false}, {"[CONSTRACT_2]", false},
                                                  {"[ALLGTOTAL]", true}, {"[ALLNTOTAL]", true},
                                                  {"[TAXGTOTAL]", true}, {"[TAXNTOTAL]", true},
                                                  {"[WHERE]", false}, {"[MLIMIT]", false},
                                                  {"[ULIMIT]", false}, {"[TRADE]", false},
                                                  {"[NUMBER]", false}, {"[DY]", false},
                                                  {"[DM]", false}, {"[DD]", false},
                                                  {"[INTANTO]", false}, {"[OUTTANTO]", false}}};

struct CoverCell {
  std::string text;  // UTF-8
  std::optional<Money> amount;
};

// What the workbook shows, read from the container text.
struct WorkbookData {
  std::array<std::optional<CoverCell>, 18> cover;
  int32_t itemCount = 1;                                        // [ItemMax]
  std::vector<std::array<std::string, 4>> items;                // name, submitted, cost, remarks
  std::map<int32_t, std::vector<std::array<std::string, 6>>> lines;  // item -> cells A..F
};

// The ";"-terminated fields of a line (a trailing piece without ";" is no field).
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> out;
  size_t start = 0, semi;
  while ((semi = line.find(';', start)) != std::string_view::npos) {
    out.push_back(line.substr(start, semi - start));
    start = semi + 1;
  }
  return out;
}

WorkbookData ReadWorkbookData(std::string_view text) {
  WorkbookData d;
  enum { Title, Items, Data, Done } part = Title;
  bool inItems = false;
  for (const std::string& raw : SplitLines(text)) {
    std::string_view line = raw;
    if (part == Title) {
      if (line == "</TITLE>") {
        part = Items;
        continue;
      }
      size_t eq = line.find('=');
      if (eq == std::string_view::npos) continue;
      std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
      if (key == "[ItemMax]") d.itemCount = StrToIntDef(value, 1);
      for (size_t row = 0; row < kCoverKeys.size(); ++row) {
        if (key != kCoverKeys[row].key) continue;
        CoverCell cell{ToUtf8(value), std::nullopt};
        if (kCoverKeys[row].money) cell.amount = StrToCurr(value);
        d.cover[row] = cell;
      }
    } else if (part == Items) {
      if (line == "<ITEM>") inItems = true;
      else if (line == "</ITEM>") inItems = false;
      else if (line == "<DATA>") part = Data;
      else if (inItems) {
        auto f = Fields(line);
        f.resize(std::max<size_t>(f.size(), 12));
        d.items.push_back({ToUtf8(f[1]), std::string(f[2]), std::string(f[3]), ToUtf8(f[11])});
      }
    } else if (part == Data) {
      if (line == "</DATA>") {
        part = Done;
        continue;
      }
      auto f = Fields(line);
      if (f.empty()) continue;
      f.resize(std::max<size_t>(f.size(), 7));
      // Each item's lines go one below the other, also when they come in more than one run.
      d.lines[StrToIntDef(f[0], 0)].push_back(
          {ToUtf8(f[1]), ToUtf8(f[2]), ToUtf8(f[3]), ToUtf8(f[4]), ToUtf8(f[5]), ToUtf8(f[6])});
    }
  }
  if (d.itemCount < 1) d.itemCount = 1;
  return d;
}

double Number(Money m) { return static_cast<double>(m.raw) / Money::kScale; }

// Money text of the container as a number cell, or as text when it is not one.
void WriteAmount(lxw_worksheet* ws, int row, int col, const std::string& text) {
  try {
    worksheet_write_number(ws, row, col, Number(TextToMoney(text)), nullptr);
  } catch (const ConversionError&) {
    worksheet_write_string(ws, row, col, text.c_str(), nullptr);
  }
}

size_t Utf8Length(std::string_view s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

// The first count characters of s.
std::string Utf8Prefix(std::string_view s, size_t count) {
  size_t i = 0;
  for (size_t n = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && n++ == count) break;
  }
  return std::string(s.substr(0, i));
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

void BuildWorkbook(lxw_workbook* wb, const WorkbookData& d, Progress& progress) {
  std::set<std::string> taken;
  lxw_worksheet* cover = workbook_add_worksheet(wb, WorksheetName("表紙", taken).c_str());
  for (size_t row = 0; row < d.cover.size(); ++row) {
    if (!d.cover[row]) continue;
    const CoverCell& c = *d.cover[row];
    if (c.amount) worksheet_write_number(cover, row, 0, Number(*c.amount), nullptr);
    else worksheet_write_string(cover, row, 0, c.text.c_str(), nullptr);
  }
  // Worksheet 2 is the workbook's own: the breakdown list as the document stores it.
  lxw_worksheet* list = workbook_add_worksheet(wb, WorksheetName("内訳書", taken).c_str());
  const char* heads[] = {"内訳名称", "提出金額", "原価", "備考"};
  for (int c = 0; c < 4; ++c) worksheet_write_string(list, 0, c, heads[c], nullptr);
  for (size_t i = 0; i < d.items.size(); ++i) {
    worksheet_write_string(list, i + 1, 0, d.items[i][0].c_str(), nullptr);
    WriteAmount(list, i + 1, 1, d.items[i][1]);
    WriteAmount(list, i + 1, 2, d.items[i][2]);
    worksheet_write_string(list, i + 1, 3, d.items[i][3].c_str(), nullptr);
  }
  worksheet_set_column(list, 0, 0, 30, nullptr);
  worksheet_set_column(list, 1, 2, 14, nullptr);
  for (int32_t k = 1; k <= d.itemCount; ++k) {
    StepOrCancel(progress, k - 1, int64_t{d.itemCount} + 1);
    auto lines = d.lines.find(k);
    std::string name;
    if (lines != d.lines.end() && static_cast<size_t>(k) <= d.items.size()) name = WorksheetName(d.items[k - 1][0], taken);
    if (name.empty()) name = WorksheetName("Sheet" + std::to_string(k + 2), taken);
    lxw_worksheet* ws = workbook_add_worksheet(wb, name.c_str());
    if (!ws) throw FileError("worksheet " + std::to_string(k + 2) + " (" + name + ") cannot be added");
    if (lines == d.lines.end()) continue;
    int row = 0;
    for (const auto& cells : lines->second) {
      for (int c = 0; c < 6; ++c) worksheet_write_string(ws, row, c, cells[c].c_str(), nullptr);
      ++row;
    }
  }
}

}  // namespace

std::string WorksheetName(std::string_view name, std::set<std::string>& taken) {
  std::string clean;
  for (char c : name) clean += std::string_view("[]:*?/\\").find(c) == std::string_view::npos ? c : '_';
  while (!clean.empty() && clean.front() == '\'') clean.erase(0, 1);
  while (!clean.empty() && clean.back() == '\'') clean.pop_back();
  if (clean.empty()) return {};
  std::string base = Utf8Prefix(clean, 31), result = base;
  for (int n = 2; taken.count(Lower(result)); ++n) {
    std::string suffix = " (" + std::to_string(n) + ")";
    result = Utf8Prefix(base, 31 - Utf8Length(suffix)) + suffix;
  }
  taken.insert(Lower(result));
  return result;
}

void WriteBreakdownWorkbook(std::string_view containerText, const std::string& path, const OutputRules& rules,
                            Progress& progress) {
  WorkbookData data = ReadWorkbookData(containerText);
  WriteLibraryWorkbook(path, rules, [&](lxw_workbook* wb) {
    BuildWorkbook(wb, data, progress);
    StepOrCancel(progress, data.itemCount, int64_t{data.itemCount} + 1);
  });
  progress.Step(int64_t{data.itemCount} + 1, int64_t{data.itemCount} + 1);
}

}  // namespace zantro
