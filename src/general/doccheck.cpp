#include "general/doccheck.h"

#include "general/engine.h"
#include "general/errors.h"
#include "general/version1.h"
#include "platform/files.h"

namespace zantro {

ParsedDocument ParseDocumentFile(const std::string& path) {
  std::string why;
  auto bytes = ReadFileBytes(path, &why, kMaxDocumentBytes);
  if (!bytes) throw FileError(path + ": the file cannot be read: " + why);
  if (bytes->starts_with("<TITLE>")) return ParseContainerText(*bytes, path);
  if (IsVersion1Path(path) || LooksLikeVersion1(*bytes)) return ParseVersion1Bytes(*bytes, path);
  return ParseContainerText(*bytes, path);
}

void CheckRecomputation(const ParsedDocument& parsed, const std::string& name) {
  Document doc;
  doc.Title = parsed.Title;
  doc.ItemList.insert(doc.ItemList.end(), parsed.Items.begin(), parsed.Items.end());
  doc.ItemCount = doc.LastItem();
  try {
    for (int32_t n = 1; n <= doc.LastItem(); ++n) {
      if (!ItemHasSheet(doc.ItemList[n].ItemKind)) continue;
      doc.CurrentItem = n;
      doc.Settings = doc.ItemList[n].Settings();
      doc.LineList.assign(1, LineRecord{});
      if (auto lines = parsed.Lines.find(n); lines != parsed.Lines.end())
        doc.LineList.insert(doc.LineList.end(), lines->second.begin(), lines->second.end());
      RecomputeSheet(doc, nullptr);
    }
    RecomputeBreakdown(doc);
  } catch (const MoneyOverflow& e) {
    throw FileError(name + ": " + e.what());
  }
}

}  // namespace zantro
