#include "general/workfiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "general/editframe.h"
#include "general/movejournal.h"
#include "general/workcodec.h"
#include "platform/files.h"

namespace zantro {
namespace {

// True for an undo sheet such as "WITEM12.UND" (digits between WITEM and the extension).
bool IsSheetUndoFile(std::string_view name) {
  if (name.size() < 10 || !EqualsNoCase(name.substr(0, 5), "WITEM") || !EndsWithNoCase(name, ".UND"))
    return false;
  std::string_view digits = name.substr(5, name.size() - 9);
  if (digits.empty()) return false;
  for (char c : digits)
    if (c < '0' || c > '9') return false;
  return true;
}

// Temporary files of WriteFileAtomic (".zt<hex>.tmp") that a killed process left behind.
bool IsStaleTemporary(std::string_view name) {
  return name.size() > 7 && name.substr(0, 3) == ".zt" && EndsWithNoCase(name, ".tmp");
}

std::string WithExtension(const std::string& name, std::string_view ext) {
  auto dot = name.rfind('.');
  return (dot == std::string::npos ? name : name.substr(0, dot)) + std::string(ext);
}

void DeleteMatching(const std::string& folder, bool (*match)(std::string_view)) {
  for (const auto& name : ListFiles(folder))
    if (match(name)) DeleteFile(JoinPath(folder, name));
}

// A complete work-file set has its HEAD.WRK, written last and whole: the title, the count and
// whole item records.
bool HasWholeHead(const std::string& folder) {
  auto head = FindNoCase(folder, HeadFile("WRK"));
  struct stat st;
  if (!head || ::stat(head->c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return IsWholeHeadSize(static_cast<uint64_t>(st.st_size));
}

// The previous document's work files become its backups. Only a complete set is worth them:
// sheets without a whole head are what an open killed half-way left, no document anybody
// edited, so they go and the backups of the last complete document stay. HEAD.bak is removed
// first and HEAD.WRK renamed last, so a kill in between leaves a whole HEAD.WRK and the next
// start finishes the job. The new backups are renamed over the old ones of the same name; the
// other old backups are deleted, and only while HEAD.bak still marked them as the old set (a
// rotation resumed after a kill must keep the backups it already made). One listing serves all.
void MakeBackups(const std::string& folder) {
  if (!HasWholeHead(folder)) return ClearWorkFiles(folder);
  auto oldHead = FindNoCase(folder, "HEAD.bak");
  const bool oldSetMarked = oldHead && DeleteFile(*oldHead);
  auto head = FindNoCase(folder, "HEAD.WRK");
  std::vector<std::pair<std::string, std::string>> renames;
  std::unordered_set<std::string> targets;
  std::vector<std::string> oldBackups;
  for (const auto& name : ListFiles(folder)) {
    std::string_view ext = EndsWithNoCase(name, ".PUP") ? ".bup" : EndsWithNoCase(name, ".WRK") ? ".brk" : "";
    if (!ext.empty() && !EqualsNoCase(name, "HEAD.WRK")) {
      renames.emplace_back(name, WithExtension(name, ext));
      targets.insert(renames.back().second);
    } else if (EndsWithNoCase(name, ".bup") || EndsWithNoCase(name, ".brk")) {
      oldBackups.push_back(name);
    }
  }
  if (oldSetMarked)
    for (const auto& name : oldBackups)
      if (!targets.count(name)) DeleteFile(JoinPath(folder, name));
  for (const auto& [from, to] : renames) RenameFile(JoinPath(folder, from), JoinPath(folder, to));
  RenameFile(*head, JoinPath(folder, "HEAD.bak"));
}

void StoreBreakdownTotals(Document& doc) {
  doc.Title.ALLGTOTAL = doc.Breakdown.Sub;
  doc.Title.ALLNTOTAL = doc.Breakdown.Cost;
  doc.Title.TAXGTOTAL = doc.Breakdown.TaxG;
  doc.Title.TAXNTOTAL = doc.Breakdown.TaxN;
}

bool WriteHead(Document& doc, const std::string& folder, std::string_view set) {
  doc.ItemCount = doc.LastItem();
  std::span<const ItemRecord> items(doc.ItemList.data() + 1, doc.ItemList.size() - 1);
  return WriteFileAtomic(ResolveNoCase(folder, HeadFile(set)), EncodeHead(doc.Title, items));
}

bool WriteSheet(const Document& doc, const std::string& folder, std::string_view set) {
  std::vector<LineRecord> lines(doc.LineList.begin() + 1, doc.LineList.end());
  for (auto& line : lines) line.ItemNo = doc.CurrentItem;
  return WriteRecords(ResolveNoCase(folder, SheetFile(doc.CurrentItem, set)), lines);
}

std::optional<std::vector<LineRecord>> ReadSheetFile(const std::string& folder, int32_t item, std::string_view set) {
  auto path = FindNoCase(folder, SheetFile(item, set));
  if (!path) return std::nullopt;
  auto bytes = ReadFileBytes(*path);
  if (!bytes) return std::nullopt;
  auto lines = DecodeRecords<LineRecord>(*bytes);
  for (auto& line : lines) line.ItemNo = 0;
  return lines;
}

}  // namespace

std::string HeadFile(std::string_view set) { return "HEAD." + std::string(set); }
std::string SheetFile(int32_t item, std::string_view set) {
  return "WITEM" + std::to_string(item) + "." + std::string(set);
}
std::string TakeoffFile(int32_t item) { return "WITEM" + std::to_string(item) + ".PUP"; }
std::string SortFile(int32_t item) { return "DATASORT" + std::to_string(item) + ".WRK"; }

void EnsureRecordFile(const std::string& path) {
  if (!FileExists(path)) WriteFileAtomic(path, std::string_view());
}

std::string LongPathName(const std::string& path) {
  std::string absolute = path;
  if (absolute.empty() || absolute[0] != '/') {
    char cwd[4096];
    absolute = JoinPath(getcwd(cwd, sizeof cwd) ? cwd : ".", path);
  }
  std::vector<std::string> parts;
  size_t start = 1;
  while (start <= absolute.size()) {
    size_t slash = absolute.find('/', start);
    if (slash == std::string::npos) slash = absolute.size();
    std::string part = absolute.substr(start, slash - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = slash + 1;
  }
  std::string out = "/";
  for (const auto& part : parts) {
    auto found = FindNoCase(out, part);
    std::string spelled = found ? found->substr(found->rfind('/') + 1) : part;
    out = JoinPath(out, spelled);
  }
  return out;
}

void ClearWorkFiles(const std::string& folder) {
  DeleteMatching(folder, [](std::string_view n) {
    return EndsWithNoCase(n, ".WRK") || EndsWithNoCase(n, ".PUP") || IsSheetUndoFile(n);
  });
}

std::string StagingFolder(const std::string& folder) { return JoinPath(folder, ".opening"); }

void RemoveStagedSet(const std::string& folder) {
  const std::string staging = StagingFolder(folder);
  std::error_code ignored;
  if (!std::filesystem::exists(staging, ignored)) return;
  std::filesystem::remove_all(staging, ignored);
  ForgetFolderNames(staging);
}

bool TakeStagedSet(const std::string& folder, std::string* error) {
  const std::string staging = StagingFolder(folder);
  // The head is moved last: until it is there, the sheets moved in are no document, and the
  // next start removes them and keeps the backups.
  std::vector<std::string> names;
  bool hasHead = false;
  for (auto& name : ListFiles(staging)) {
    if (name == HeadFile("WRK"))
      hasHead = true;
    else
      names.push_back(std::move(name));
  }
  if (!hasHead) {
    if (error) *error = JoinPath(staging, HeadFile("WRK")) + ": the opened document is incomplete";
    RemoveStagedSet(folder);
    return false;
  }
  names.push_back(HeadFile("WRK"));
  MakeBackups(folder);
  ClearWorkFiles(folder);
  const std::vector<std::string> targets = ResolveAllNoCase(folder, names);
  for (size_t i = 0; i < names.size(); ++i) {
    if (::rename(JoinPath(staging, names[i]).c_str(), targets[i].c_str()) != 0) {
      if (error) *error = targets[i] + ": the work file cannot be moved in place (" + std::strerror(errno) + ")";
      ClearWorkFiles(folder);
      RemoveStagedSet(folder);
      return false;
    }
  }
  RemoveStagedSet(folder);
  return true;
}

void InitDocument(Document& doc, const std::string& folder, bool makeBackup) {
  // Moves of item files that a killed command left half-done are finished or undone before
  // anything reads the work files or turns them into backups.
  RecoverMoves(folder);
  // A staged set an open left behind goes.
  RemoveStagedSet(folder);
  if (makeBackup) MakeBackups(folder);
  // The previous document's undo sheets and kept files would otherwise be restored over this
  // one; temporary files are what a save that was killed half-way left behind.
  DeleteMatching(folder, [](std::string_view n) {
    return IsSheetUndoFile(n) || IsStaleTemporary(n) || EqualsNoCase(n, kKeptFilesName);
  });

  StartEmptyDocument(doc);
}

void StartEmptyDocument(Document& doc) {
  doc.LineList.assign(1, LineRecord{});
  doc.ItemList.assign(1, ItemRecord{});
  ItemRecord first = NewItem();
  first.SetSettings(doc.Settings);
  doc.ItemList.push_back(first);
  doc.Title = EmptyDocumentTitle();
  doc.ItemCount = 1;
  doc.CurrentItem = 1;
  doc.CurrentLine = 1;
  doc.Sheet = SheetTotals{};
  doc.Breakdown = BreakdownTotals{};
  doc.TaxSeen = 0;
  doc.DocumentModified = false;
}

// A line list replaced drops the pick buffer with it: the picked number would name a line of
// the list that is gone.
void ResetSheetLists(Document& doc) {
  doc.LineList.assign(1, LineRecord{});
  doc.PickedLine = 0;
}

int LoadSheet(Document& doc, const std::string& folder, int32_t n) {
  if (doc.IsItem(n)) doc.Settings = doc.ItemList[n].Settings();
  auto lines = ReadSheetFile(folder, n, "WRK");
  if (!lines) return 0;
  doc.LineList.insert(doc.LineList.end(), lines->begin(), lines->end());
  return 1;
}

void EnsureItemAndLoadSheet(Document& doc, const std::string& folder, int32_t n) {
  if (n > doc.LastItem()) {
    while (doc.LastItem() < n) doc.ItemList.push_back(NewItem(doc.Configured));
    ResetSheetLists(doc);
    return;
  }
  ResetSheetLists(doc);
  if (n >= 1) LoadSheet(doc, folder, n);
}

bool LoadHead(Document& doc, const std::string& folder, std::string_view set) {
  auto path = FindNoCase(folder, HeadFile(set));
  if (!path) return false;
  auto bytes = ReadFileBytes(*path);
  if (!bytes) return false;
  auto head = DecodeHead(*bytes);
  if (!head) return false;
  TakeHead(doc, std::move(*head));
  return true;
}

void TakeHead(Document& doc, HeadImage head) {
  doc.Title = head.Title;
  doc.ItemList.assign(1, ItemRecord{});
  doc.ItemList.insert(doc.ItemList.end(), head.Items.begin(), head.Items.end());
  if (doc.LastItem() < 1) doc.ItemList.push_back(NewItem());
  doc.ItemCount = doc.LastItem();
  doc.Layout = doc.Title.Opt1Int == 1 ? ColumnLayout::Ten : ColumnLayout::Nine;
}

void StoreHeadState(Document& doc) {
  StoreBreakdownTotals(doc);
  doc.DocumentModified = true;
}

bool SaveHead(Document& doc, const std::string& folder, std::string_view set) {
  StoreHeadState(doc);
  return WriteHead(doc, folder, set);
}

void StoreSheetState(Document& doc) {
  doc.Title.Opt1Str.set(JoinGroupNames(doc.GroupNames));
  doc.Title.Opt2Str.set(",,,");
  doc.Title.Opt1Int = static_cast<int32_t>(doc.Layout);
  doc.Title.Opt2Int = doc.TaxSeen;
  StoreBreakdownTotals(doc);
  // Only an item that owns a sheet takes the sheet's totals and settings: summary rows keep
  // their ranges and rates.
  if (ItemRecord* item = doc.CurrentSheetItem()) {
    item->ALLNTOTAL = doc.Sheet.Cost;
    item->ALLGTOTAL = doc.Sheet.Sub;
    item->SetSettings(doc.Settings);
  }
  doc.DocumentModified = true;
}

bool SaveSheet(Document& doc, const std::string& folder, std::string_view set) {
  StoreSheetState(doc);
  bool ok = WriteHead(doc, folder, set);
  if (doc.CurrentItem >= 1) ok = WriteSheet(doc, folder, set) && ok;
  return ok;
}

void ReloadSheet(Document& doc, const std::string& folder, std::string_view set) {
  auto lines = ReadSheetFile(folder, doc.CurrentItem, set);
  if (!lines) return;
  ResetSheetLists(doc);
  doc.LineList.insert(doc.LineList.end(), lines->begin(), lines->end());
}

bool UpdateClientNumber(const TitleRecord& title, const std::string& folder) {
  auto path = FindNoCase(folder, "ATESAKI.DAT");
  if (!path) return false;
  auto bytes = ReadFileBytes(*path);
  if (!bytes) return false;
  std::string_view number = title.NUMBER.view();
  std::string_view prefix = number.substr(0, title.id.view().size());
  // Every byte but the serial rewritten stays as read, a trailing partial record included.
  std::vector<ClientNumberRecord> records = DecodeRawRecords<ClientNumberRecord>(*bytes);
  for (ClientNumberRecord& rec : records) {
    std::string_view recPrefix = rec.Prefix.view();
    if (recPrefix.empty() || recPrefix != prefix) continue;
    std::string_view rest = number.substr(std::min(number.size(), recPrefix.size()));
    if (rest.empty() || rest.size() > 9) return false;
    int32_t serial = 0;
    for (char c : rest) {
      if (c < '0' || c > '9') return false;
      serial = serial * 10 + (c - '0');
    }
    if (rec.LastSerial >= serial) return false;
    rec.LastSerial = serial;
    std::string_view whole = EncodeRecords(std::span<const ClientNumberRecord>(records));
    std::string_view pieces[] = {whole, std::string_view(*bytes).substr(whole.size())};
    return WriteFileAtomic(*path, pieces);
  }
  return false;
}

}  // namespace zantro
