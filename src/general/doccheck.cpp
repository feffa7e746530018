#include "general/doccheck.h"

#include <algorithm>
#include <map>
#include <vector>

#include "general/engine.h"
#include "general/errors.h"
#include "general/version1.h"
#include "platform/files.h"

namespace zantro {

namespace {

// A version-1 file is read whole; its lines go to the sink as a container's would.
ParsedDocument FeedVersion1(ParsedDocument parsed, DataLineSink& sink) {
  std::map<int32_t, int64_t> counts;
  for (const auto& [n, lines] : parsed.Lines) counts[n] = static_cast<int64_t>(lines.size());
  sink.Begin(parsed, counts);
  for (auto& [n, lines] : parsed.Lines)
    for (auto& line : lines) sink.Line(n, line);
  parsed.Lines.clear();
  return parsed;
}

}  // namespace

ParsedDocument ParseDocumentFile(const std::string& path, DataLineSink* data) {
  std::string why;
  auto bytes = ReadFileBytes(path, &why, kMaxDocumentBytes);
  if (!bytes) throw FileError(path + ": the file cannot be read: " + why);
  if (!bytes->starts_with("<TITLE>") && (IsVersion1Path(path) || LooksLikeVersion1(*bytes))) {
    ParsedDocument parsed = ParseVersion1Bytes(*bytes, path);
    return data ? FeedVersion1(std::move(parsed), *data) : parsed;
  }
  return ParseContainerText(*bytes, path, data);
}

void CheckRecomputation(ParsedDocument& parsed, const std::string& name, Progress& progress) {
  Document doc;
  doc.Title = parsed.Title;
  doc.ItemList.insert(doc.ItemList.end(), parsed.Items.begin(), parsed.Items.end());
  doc.ItemCount = doc.LastItem();
  std::map<int32_t, std::vector<LineRecord>> lines;
  try {
    for (int32_t n = 1; n <= doc.LastItem(); ++n) {
      StepOrCancel(progress, n - 1, doc.LastItem());
      if (!ItemHasSheet(doc.ItemList[n].ItemKind)) continue;
      doc.CurrentItem = n;
      doc.Settings = doc.ItemList[n].Settings();
      doc.LineList.assign(1, LineRecord{});
      auto held = parsed.Lines.find(n);
      if (held != parsed.Lines.end()) doc.LineList.insert(doc.LineList.end(), held->second.begin(), held->second.end());
      RecomputeSheet(doc, nullptr);
      doc.ItemList[n].ALLNTOTAL = doc.Sheet.Cost;
      doc.ItemList[n].ALLGTOTAL = doc.Sheet.Sub;
      if (held != parsed.Lines.end()) lines[n].assign(doc.LineList.begin() + 1, doc.LineList.end());
    }
    // The list is computed with the settings in force after opening, not the last sheet's.
    doc.CurrentItem = FirstShownItem(doc);
    doc.Settings = SettingsShownFirst(doc);
    RecomputeBreakdown(doc);
    StepOrCancel(progress, doc.LastItem(), doc.LastItem());
  } catch (const MoneyOverflow& e) {
    throw FileError(name + ": " + e.what());
  }
  // Nothing failed: the document takes the totals.
  for (auto& [n, computed] : lines) parsed.Lines[n] = std::move(computed);
  std::copy(doc.ItemList.begin() + 1, doc.ItemList.end(), parsed.Items.begin());
  parsed.Title = doc.Title;
}

}  // namespace zantro
