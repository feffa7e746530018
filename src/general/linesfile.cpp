// Lines files: writer, checked reader and the paste that stores the records into a sheet.
#include "general/linesfile.h"

#include <cstdint>
#include <stdexcept>
#include <string>

#include "general/container.h"
#include "general/errors.h"
#include "platform/files.h"
#include "platform/outputs.h"

namespace zantro {
namespace {

bool IsRangeLine(int32_t flag) { return flag >= 50 && flag <= 79; }

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// Fields up to each ";"; the last field runs to the end of the line; missing fields are empty.
std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  fields.reserve(22);
  for (;;) {
    size_t at = line.find(';');
    if (at == std::string_view::npos) {
      fields.push_back(line);
      break;
    }
    fields.push_back(line.substr(0, at));
    line.remove_prefix(at + 1);
  }
  if (fields.size() < 21) fields.resize(21);
  return fields;
}

int32_t LastLine(const std::vector<LineRecord>& lines) { return static_cast<int32_t>(lines.size()) - 1; }

}  // namespace

void WriteLinesFile(const std::string& path, const std::vector<LineRecord>& lines, RowSelection sel) {
  std::string out = std::string(kLinesFileVersion) + "\r\n";
  for (int32_t r = std::max(sel.Top, 1); r <= sel.Bottom && r <= LastLine(lines); ++r) {
    out += "0;";
    AppendLineFields(out, lines[r], std::nullopt);
    out += "\r\n";
  }
  std::string error;
  if (!WriteOutput(path, out, &error)) throw FileError(error);
}

std::optional<std::vector<LineRecord>> ParseLinesFile(const std::string& path) {
  auto text = ReadTextLines(path);
  if (!text || text->empty() || (*text)[0] != kLinesFileVersion) return std::nullopt;
  std::vector<LineRecord> records;
  for (size_t i = 1; i < text->size(); ++i) {
    const std::string& line = (*text)[i];
    if (IsBlank(line)) continue;
    records.push_back(LineFromFields(SplitFields(line), FieldSource{path, static_cast<int64_t>(i + 1), ""}));
  }
  return records;
}

void InsertBlankLines(std::vector<LineRecord>& lines, int32_t at, int32_t count) {
  if (at < 1 || at > LastLine(lines) || count < 1) return;
  lines.insert(lines.begin() + at, static_cast<size_t>(count), LineRecord{});
  // One step of the renumbering per inserted line gives the same as adding count once.
  const Money shift = Money::Units(count);
  const Money from = Money::Units(at);
  for (auto& line : lines) {
    if (!IsRangeLine(line.FLAG)) continue;
    if (line.CostQty >= from) {
      line.CostQty += shift;
      line.SubQty += shift;
    } else if (line.SubQty >= from) {
      line.SubQty += shift;
    }
  }
}

void PasteLines(std::vector<LineRecord>& lines, const std::vector<LineRecord>& records, RowSelection sel,
                int32_t& currentLine, bool merge) {
  currentLine = std::max(sel.Top, 1);
  while (LastLine(lines) < currentLine) lines.emplace_back();
  // Merge: before every record but the last, as many blank lines as the selection has rows go
  // in at the line the record takes. Each of those insertions lies inside the block the earlier
  // ones made, so one insertion of the whole block leaves the same lines and ranges, in time
  // linear in the sheet instead of once per record.
  const int64_t rows = sel.Rows(), n = static_cast<int64_t>(records.size());
  if (merge && n > 1) {
    if (rows * (n - 1) > INT32_MAX) throw std::length_error("a paste of " + std::to_string(rows * (n - 1)) + " lines");
    InsertBlankLines(lines, currentLine, static_cast<int32_t>(rows * (n - 1)));
  }
  for (int64_t i = 0; i < n; ++i) {
    if (currentLine > LastLine(lines)) lines.emplace_back();
    LineRecord& target = lines[currentLine];
    int32_t itemNo = target.ItemNo;
    target = records[i];
    target.ItemNo = itemNo;
    // A pasted range line also followed the insertions made for the records after it, one at
    // each following line: a range from there on moves by all of them, one over it grows.
    const int64_t later = merge ? n - 2 - i : 0;
    if (later > 0 && rows > 0 && IsRangeLine(target.FLAG)) {
      const Money shift = Money::Units(later * rows), from = Money::Units(currentLine + 1);
      if (target.CostQty >= from) {
        target.CostQty += shift;
        target.SubQty += shift;
      } else if (target.SubQty >= from) {
        target.SubQty += shift;
      }
    }
    ++currentLine;
  }
}

bool ReadLinesFile(const std::string& path, std::vector<LineRecord>& lines, RowSelection sel, int32_t& currentLine,
                   bool merge) {
  auto records = ParseLinesFile(path);
  if (!records) {
    // A file of another version is opened first: the cursor is on the top selected row.
    if (FileExists(path)) currentLine = std::max(sel.Top, 1);
    return false;
  }
  PasteLines(lines, *records, sel, currentLine, merge);
  return true;
}

}  // namespace zantro
