#include "general/editframe.h"

#include <cstdlib>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "general/errors.h"
#include "general/movejournal.h"
#include "general/workfiles.h"
#include "platform/files.h"

namespace zantro {
namespace {

[[noreturn]] void CannotWrite(const std::string& folder, std::string_view what) {
  throw FileError(WorkFileNotWritten(JoinPath(folder, std::string(what))));
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

// One kept file while the kept set is put back.
struct PutBackEntry {
  const std::string* name;
  const std::optional<std::string>* bytes;  // what it must hold; nullopt: it must not exist
  std::string path;                          // where it goes (an existing spelling kept)
  bool exists = false;
  std::optional<std::string> content;        // what it holds now; nullopt: absent or unreadable
  int source = -1;                           // the entry whose present content it takes
  int takenBy = -1;                          // the entry that takes its present content
  bool done = false;
};

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// Puts every kept file back as it was kept and returns how many are so. A file that already
// holds its bytes is left alone, and one whose bytes another kept file holds now is renamed
// from there: a command that moves thousands of detail files by one number is undone with as
// many renames instead of as many new files. The renames and the rewrites are one journaled
// set of moves (movejournal.h), all at once, so a cycle needs no temporary name and a kill
// half-way leaves a set that the next start finishes or undoes; with finish the set is
// completed at once, else it waits for the caller's FinishMoves (after HEAD.WRK is written),
// and a failure raises FileError, the files left as they were.
int PutBackAll(const std::string& folder, const std::map<std::string, std::optional<std::string>>& kept,
               PutBack mode = PutBack::Finish) {
  std::vector<PutBackEntry> e;
  e.reserve(kept.size());
  std::unordered_map<std::string_view, std::vector<int>> holders;  // present content -> entries
  for (const auto& [name, bytes] : kept) {
    PutBackEntry& x = e.emplace_back();
    x.name = &name;
    x.bytes = &bytes;
    auto found = FindNoCase(folder, name);
    x.path = found.value_or(JoinPath(folder, name));
    x.exists = found.has_value();
    if (found) x.content = ReadFileBytes(*found);
    x.done = found ? (bytes && x.content == *bytes) : !bytes;
  }
  for (int i = 0; i < static_cast<int>(e.size()); ++i)
    if (!e[i].done && e[i].content) holders[*e[i].content].push_back(i);
  for (int i = 0; i < static_cast<int>(e.size()); ++i) {
    if (e[i].done || !*e[i].bytes) continue;
    auto it = holders.find(**e[i].bytes);
    if (it == holders.end() || it->second.empty()) continue;
    e[i].source = it->second.back();
    it->second.pop_back();
    e[e[i].source].takenBy = i;
  }
  int restored = 0;
  std::vector<FileMove> plan;
  for (const auto& x : e) {
    restored += x.done;
    if (x.done) continue;
    if (*x.bytes) {
      if (x.source >= 0) plan.push_back({BaseName(e[x.source].path), BaseName(x.path), std::nullopt});
      else plan.push_back({"", BaseName(x.path), **x.bytes});
    }
    // What it holds now and nobody takes goes.
    if (x.exists && x.takenBy < 0) plan.push_back({BaseName(x.path), "", std::nullopt});
  }
  if (plan.empty()) return restored;
  try {
    MoveFiles(folder, plan);
  } catch (const FileError&) {
    if (mode == PutBack::LeaveJournal) throw;
    return restored;  // undone: the files are as they were
  }
  if (mode == PutBack::Finish) FinishMoves(folder);
  return static_cast<int>(e.size());
}
}  // namespace

namespace {
// The open frame of each document; a frame made while one is open defers to it.
std::map<const Document*, EditFrame*>& OpenFrames() {
  static std::map<const Document*, EditFrame*> frames;
  return frames;
}
}  // namespace

bool InsideEditFrame(const Document& doc) { return OpenFrames().count(&doc) != 0; }

void WriteUndoSet(const Document& state, const std::string& folder, EditScope scope,
                  const std::map<std::string, std::optional<std::string>>& kept) {
  Document copy = state;
  bool ok = scope == EditScope::Sheet ? SaveSheet(copy, folder, "UND") : SaveHead(copy, folder, "UND");
  if (!ok) CannotWrite(folder, HeadFile("UND"));
  DropKeptFiles(folder);
  std::string error;
  if (!kept.empty() && !WriteFileAtomic(JoinPath(folder, kKeptFilesName), EncodeKept(kept), &error))
    throw FileError(error);
}

EditFrame::EditFrame(Document& doc, std::string folder, EditScope scope, UndoCopy undo)
    : doc_(doc), folder_(std::move(folder)), scope_(scope), undo_(undo), before_(doc) {
  auto [it, first] = OpenFrames().emplace(&doc_, this);
  if (!first) outer_ = it->second;
  movesAtStart_ = PendingMoveSets(folder_);
}

EditFrame::~EditFrame() {
  if (!finished_) Rollback();
  if (!outer_) OpenFrames().erase(&doc_);
}

bool EditFrame::SaveSet(Document& doc, std::string_view set) {
  return scope_ == EditScope::Sheet ? SaveSheet(doc, folder_, set) : SaveHead(doc, folder_, set);
}

void EditFrame::KeepFile(const std::string& name) {
  if (kept_.count(name)) return;
  KeepFile(name, FindNoCase(folder_, name));
}

void EditFrame::KeepFile(const std::string& name, const std::optional<std::string>& path) {
  if (outer_) outer_->KeepFile(name, path);
  if (kept_.count(name)) return;
  std::optional<std::string> bytes;
  if (path) {
    bytes = ReadFileBytes(*path);
    // A file that exists and cannot be read could not be put back: stop before moving it.
    if (!bytes) throw FileError(*path + ": the work file cannot be read");
  }
  kept_[name] = std::move(bytes);
}

void EditFrame::Commit(const std::function<void()>& recompute, bool writeWorkingCopy) {
  try {
    if (recompute) recompute();
  } catch (...) {
    Rollback();
    throw;
  }
  if (outer_) {
    // The outer frame writes the undo set and the working copy when it commits.
    finished_ = committed_ = true;
    return;
  }
  if (undo_ == UndoCopy::Take) {
    try {
      WriteUndoSet(before_, folder_, scope_, kept_);
    } catch (...) {
      Rollback();
      throw;
    }
  }
  if (!writeWorkingCopy) {
    doc_.DocumentModified = true;
  } else if (!SaveSet(doc_, "WRK")) {
    Rollback();
    SaveSet(doc_, "WRK");  // the working copy as it was before the command, as far as it can be
    doc_.DocumentModified = before_.DocumentModified;
    CannotWrite(folder_, scope_ == EditScope::Sheet ? SheetFile(doc_.CurrentItem, "WRK") : HeadFile("WRK"));
  }
  // The working copy names the moved files now: their journal goes.
  FinishMoves(folder_);
  finished_ = committed_ = true;
}

void EditFrame::Rollback() {
  finished_ = true;
  doc_ = before_;
  // The journaled moves of this frame are undone by renames first; what is still not as kept
  // (a file rewritten without the journal) is written back from the kept bytes.
  RevertMoves(folder_, movesAtStart_);
  PutBackAll(folder_, kept_);
}

int RestoreKeptFiles(const std::string& folder, PutBack mode) {
  auto blob = ReadFileBytes(JoinPath(folder, kKeptFilesName));
  if (!blob) return 0;
  return PutBackAll(folder, DecodeKept(*blob), mode);
}

int PutBackFiles(const std::string& folder, const std::map<std::string, std::optional<std::string>>& files) {
  return PutBackAll(folder, files);
}

void DropKeptFiles(const std::string& folder) { DeleteFile(JoinPath(folder, kKeptFilesName)); }

}  // namespace zantro
