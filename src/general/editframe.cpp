#include "general/editframe.h"

#include <cstdlib>

#include "general/errors.h"
#include "general/workfiles.h"
#include "platform/files.h"

namespace zantro {
namespace {

[[noreturn]] void CannotWrite(const std::string& folder, std::string_view what) {
  throw FileError(JoinPath(folder, std::string(what)) + ": the work file cannot be written");
}

// The kept files as one blob: per file a name line, a size line ("-" for a file that did not
// exist), then the bytes.
std::string EncodeKept(const std::map<std::string, std::optional<std::string>>& kept) {
  std::string out;
  for (const auto& [name, bytes] : kept) {
    out += name + "\n" + (bytes ? std::to_string(bytes->size()) : std::string("-")) + "\n";
    if (bytes) out += *bytes;
  }
  return out;
}

// Reads the blob back; stops at the first entry that does not parse (a damaged file restores
// what precedes the damage).
std::map<std::string, std::optional<std::string>> DecodeKept(std::string_view blob) {
  std::map<std::string, std::optional<std::string>> kept;
  while (!blob.empty()) {
    size_t nameEnd = blob.find('\n');
    if (nameEnd == std::string_view::npos || nameEnd == 0) break;
    size_t sizeEnd = blob.find('\n', nameEnd + 1);
    if (sizeEnd == std::string_view::npos) break;
    std::string name(blob.substr(0, nameEnd));
    std::string size(blob.substr(nameEnd + 1, sizeEnd - nameEnd - 1));
    if (name.find('/') != std::string::npos) break;  // names of the folder only
    blob.remove_prefix(sizeEnd + 1);
    if (size == "-") {
      kept[name] = std::nullopt;
      continue;
    }
    char* end = nullptr;
    unsigned long long n = std::strtoull(size.c_str(), &end, 10);
    if (size.empty() || *end != '\0' || n > blob.size()) break;
    kept[name] = std::string(blob.substr(0, n));
    blob.remove_prefix(n);
  }
  return kept;
}

bool PutBack(const std::string& folder, const std::string& name, const std::optional<std::string>& bytes) {
  std::string path = ResolveNoCase(folder, name);
  return bytes ? WriteFileAtomic(path, *bytes) : DeleteFile(path);
}

}  // namespace

EditFrame::EditFrame(Document& doc, std::string folder, EditScope scope, UndoCopy undo)
    : doc_(doc), folder_(std::move(folder)), scope_(scope), undo_(undo), before_(doc) {
  if (undo_ == UndoCopy::Skip) return;
  if (!SaveSet("UND")) {
    doc_ = before_;
    CannotWrite(folder_, HeadFile("UND"));
  }
  DropKeptFiles(folder_);
}

EditFrame::~EditFrame() {
  if (!finished_) Rollback();
}

bool EditFrame::SaveSet(std::string_view set) {
  return scope_ == EditScope::Sheet ? SaveSheet(doc_, folder_, set) : SaveHead(doc_, folder_, set);
}

void EditFrame::KeepFile(const std::string& name) {
  if (kept_.count(name)) return;
  KeepFile(name, FindNoCase(folder_, name));
}

void EditFrame::KeepFile(const std::string& name, const std::optional<std::string>& path) {
  if (kept_.count(name)) return;
  std::optional<std::string> bytes;
  if (path) {
    bytes = ReadFileBytes(*path);
    // A file that exists and cannot be read could not be put back: stop before moving it.
    if (!bytes) throw FileError(*path + ": the work file cannot be read");
  }
  kept_[name] = std::move(bytes);
}

void EditFrame::Commit(const std::function<void()>& recompute) {
  try {
    if (recompute) recompute();
  } catch (...) {
    Rollback();
    throw;
  }
  std::string error;
  if (undo_ == UndoCopy::Take && !kept_.empty() && !WriteFileAtomic(JoinPath(folder_, kKeptFilesName), EncodeKept(kept_), &error)) {
    Rollback();
    throw FileError(error);
  }
  if (!SaveSet("WRK")) {
    Rollback();
    SaveSet("WRK");  // the working copy as it was before the command, as far as it can be
    doc_.DocumentModified = before_.DocumentModified;
    CannotWrite(folder_, scope_ == EditScope::Sheet ? SheetFile(doc_.CurrentItem, "WRK") : HeadFile("WRK"));
  }
  finished_ = committed_ = true;
}

void EditFrame::Rollback() {
  finished_ = true;
  doc_ = before_;
  for (const auto& [name, bytes] : kept_) PutBack(folder_, name, bytes);
}

int RestoreKeptFiles(const std::string& folder) {
  auto blob = ReadFileBytes(JoinPath(folder, kKeptFilesName));
  if (!blob) return 0;
  int restored = 0;
  for (const auto& [name, bytes] : DecodeKept(*blob))
    if (PutBack(folder, name, bytes)) ++restored;
  return restored;
}

void DropKeptFiles(const std::string& folder) { DeleteFile(JoinPath(folder, kKeptFilesName)); }

}  // namespace zantro
