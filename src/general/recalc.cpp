// The batch recalculation: the open, recompute and save steps of the window, on the document
// in memory. The file is read once; every sheet is loaded, recomputed and stored exactly as the
// window's work-file operations do it (their in-memory halves), and its data lines are written
// out as soon as they are final, so only one sheet's records are held at a time.
#include "general/recalc.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <exception>
#include <filesystem>
#include <ostream>
#include <sstream>

#include "general/container.h"
#include "general/doccheck.h"
#include "general/errors.h"
#include "general/engine.h"
#include "general/workfiles.h"
#include "platform/outputs.h"
#include "platform/signalcleanup.h"

namespace zantro {
namespace {

// The engine reports through a plain function; the batch collects what it says, so that a
// file that turns out bad further down reports only its error, as it did before any sheet was
// computed.
thread_local std::ostringstream* messageBuffer = nullptr;

void CollectMessage(const std::string& utf8Text) {
  if (messageBuffer) *messageBuffer << "zantro: " << utf8Text << "\n";
}

// The document as the window holds it after opening, fed with the data lines in file order.
// Item n is computed once every line of it is read and every item before it is done; the
// first failure stops the computing but not the reading, so a bad line further down is still
// the error reported.
// With keep, the computed sheets go there as work-file images instead of into the data text.
class BatchDocument : public DataLineSink {
 public:
  explicit BatchDocument(Progress& progress, ParsedDocument* keep = nullptr) : progress_(progress), keep_(keep) {}

  void Begin(const ParsedDocument& head, const std::map<int32_t, int64_t>& linesPerItem) override {
    // InitDocument, the work files of head, LoadHead.
    StartEmptyDocument(doc_);
    HeadImage image{head.Title, head.Items};
    SanitizeRecord(image.Title);
    for (auto& item : image.Items) SanitizeRecord(item);
    TakeHead(doc_, std::move(image));
    doc_.GroupNames = SplitGroupNames(doc_.Title.Opt1Str.view());
    for (const auto& [n, count] : linesPerItem)
      if (Holds(n) && count > 0) remaining_[n] = count;
    ComputeReadySheets();
  }

  void Line(int32_t n, LineRecord line) override {
    if (!Holds(n)) return;
    line.ItemNo = 0;  // as LoadSheet reads it
    SanitizeRecord(line);
    auto left = remaining_.find(n);
    auto& lines = pending_[n];
    if (lines.empty()) {
      // The sheet's line list as LoadSheet leaves it: the sentinel, then the lines.
      lines.reserve(static_cast<size_t>(left != remaining_.end() ? left->second : 0) + 1);
      lines.emplace_back();
    }
    lines.push_back(line);
    if (left != remaining_.end() && --left->second == 0) {
      remaining_.erase(left);
      ComputeReadySheets();
    }
  }

  // The remaining sheets, the item opened first, the breakdown and the head.
  void Finish() {
    remaining_.clear();
    ComputeReadySheets();
    Guarded([this] {
      SelectFirstItem();
      RecomputeBreakdown(doc_);
      StoreHeadState(doc_);
    });
  }

  void RethrowFailure() const {
    if (failure_) std::rethrow_exception(failure_);
  }

  // HEAD.WRK as SaveHead leaves it, beside the sheets kept.
  void KeepHead() const {
    keep_->Title = doc_.Title;
    keep_->Items.assign(doc_.ItemList.begin() + 1, doc_.ItemList.end());
  }

  // The container text as the window would save it: head, data lines, takeoff and sort lines.
  void Write(const ParsedDocument& parsed, const std::string& out, const OutputRules& rules) const {
    HeadImage head{doc_.Title, {doc_.ItemList.begin() + 1, doc_.ItemList.end()}};
    SanitizeRecord(head.Title);
    std::string first = ContainerHead(head.Title, head.Items, false, 0);
    std::string last = ContainerTail(parsed, doc_.LastItem());
    std::vector<std::string_view> pieces = data_.Pieces();
    pieces.insert(pieces.begin(), first);
    pieces.push_back(last);
    WriteContainerText(out, pieces, rules);
  }

 private:
  // Items whose lines are read: the items of the list with a sheet (the container writer
  // leaves the lines of any other item number out).
  bool Holds(int32_t n) const { return doc_.IsItem(n) && ItemHasSheet(doc_.ItemList[n].ItemKind); }

  void ComputeReadySheets() {
    while (next_ <= doc_.LastItem() && !remaining_.count(next_)) {
      int32_t n = next_++;
      auto lines = pending_.extract(n);
      if (!failure_ && Holds(n))
        Guarded([&] { ComputeSheet(n, lines ? std::move(lines.mapped()) : std::vector<LineRecord>(1)); });
      progress_.Step(n, doc_.LastItem());
    }
  }

  // EnsureItemAndLoadSheet, RecomputeSheet, SaveSheet("WRK"), and the item's data lines.
  // lines holds the sentinel, then the sheet's lines.
  void ComputeSheet(int32_t n, std::vector<LineRecord> lines) {
    doc_.CurrentItem = n;
    doc_.Settings = doc_.ItemList[n].Settings();
    doc_.LineList = std::move(lines);
    RecomputeSheet(doc_, CollectMessage);
    StoreSheetState(doc_);
    for (auto& line : doc_.LineList) SanitizeRecord(line);
    if (!keep_) {
      AppendDataLines(data_, n, doc_.ItemList[n], std::span(doc_.LineList).subspan(1));
      return;
    }
    // WITEMn.WRK as SaveSheet writes it.
    auto& kept = keep_->Lines[n];
    kept.assign(doc_.LineList.begin() + 1, doc_.LineList.end());
    for (auto& line : kept) line.ItemNo = n;
  }

  // The item the window shows first after opening, and with it the settings in force.
  void SelectFirstItem() {
    doc_.CurrentItem = FirstShownItem(doc_);
    doc_.Settings = SettingsShownFirst(doc_);
  }

  template <typename Step>
  void Guarded(Step step) {
    if (failure_) return;
    try {
      step();
    } catch (const std::exception&) {
      failure_ = std::current_exception();
    }
  }

  Document doc_;
  std::map<int32_t, int64_t> remaining_;                // lines of item n still to be read
  std::map<int32_t, std::vector<LineRecord>> pending_;  // lines of items not yet computed
  int32_t next_ = 1;                                    // the next item to compute
  TextBlocks data_;                                     // the data lines written so far
  std::exception_ptr failure_;
  Progress& progress_;
  ParsedDocument* keep_;
};

// Reads in into batch and computes everything; the engine's messages go to err once the file
// has read whole, then the first failure is raised. Returns the document as parsed (without
// its data lines, which went to the batch).
ParsedDocument ReadAndCompute(const std::string& in, BatchDocument& batch, std::ostream& err) {
  std::ostringstream messages;
  messageBuffer = &messages;
  struct Reset {
    ~Reset() { messageBuffer = nullptr; }
  } reset;
  ParsedDocument parsed = ParseDocumentFile(in, &batch);
  batch.Finish();
  err << messages.str();
  try {
    batch.RethrowFailure();
  } catch (const MoneyOverflow& e) {
    throw FileError(in + ": " + e.what());  // the engine names the item, the line and the field
  }
  return parsed;
}

// Scratch folders are named "zantro-<kind>-<pid>-XXXXXX". One whose process is gone (a run
// killed with SIGKILL, which no handler sees) holds a copy of a document nobody will remove:
// the next run removes those of its user.
void RemoveStaleScratchFolders(const std::filesystem::path& base) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(base, ec)) {
    std::string name = entry.path().filename().string();
    if (name.compare(0, 7, "zantro-") != 0 || name.size() < 16) continue;
    size_t end = name.size() - 7;  // the "-XXXXXX" of mkdtemp
    size_t start = name.rfind('-', end - 1);
    if (name[end] != '-' || start == std::string::npos || start + 1 >= end) continue;
    std::string digits = name.substr(start + 1, end - start - 1);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 10) continue;
    struct stat st;
    if (::lstat(entry.path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (ProcessGone(std::stol(digits))) std::filesystem::remove_all(entry.path(), ec);
  }
}

}  // namespace

ScratchFolder::ScratchFolder(const char* prefix) {
  std::error_code ec;
  auto base = std::filesystem::temp_directory_path(ec);
  if (ec) base = "/tmp";
  RemoveStaleScratchFolders(base);
  std::string tmpl = (base / (std::string(prefix) + "-" + std::to_string(::getpid()) + "-XXXXXX")).string();
  CleanupSignalsHeld held;  // a signal between the two would leave the folder behind
  if (!mkdtemp(tmpl.data())) throw FileError(tmpl + ": cannot create a temporary folder");
  path_ = tmpl;
  guard_.emplace(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void OpenAndRecompute(const std::string& in, const std::string& folder, std::ostream& err, Progress& progress) {
  ParsedDocument result;
  // Half the bar for the computing, half for the writing.
  ProgressStage computing(progress, 0, 1000, 2000);
  BatchDocument batch(computing, &result);
  ParsedDocument parsed = ReadAndCompute(in, batch, err);
  batch.KeepHead();
  result.Takeoffs = std::move(parsed.Takeoffs);
  result.SortLines = std::move(parsed.SortLines);
  result.WithTakeoffFiles = parsed.WithTakeoffFiles;
  ProgressStage writing(progress, 1000, 1000, 2000);
  WriteWorkFiles(result, folder, writing);
}

int RecalcDocument(const std::string& in, const std::string& out, std::ostream& err, Progress& progress) {
  RemoveTemporaryOnSignal();  // a run ended by a signal leaves no half-written OUT beside it
  try {
    // The output is checked before the work: a refused OUT costs no recomputation.
    const OutputRules rules{{in}, true};
    OutputPlace place;
    if (std::string error; !PlaceOutput(out, rules, &place, &error)) throw FileError(error);
    BatchDocument batch(progress);
    ParsedDocument parsed = ReadAndCompute(in, batch, err);
    batch.Write(parsed, out, rules);
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

int RecalcCommand(int count, char** args, std::ostream& err) {
  if (count != 2) {
    err << "zantro: usage: zantro --recalc IN OUT\n";
    return 2;
  }
  // The messages wait for the progress line to be cleared.
  std::ostringstream said;
  auto progress = BatchProgress("zantro --recalc");
  int status = RecalcDocument(args[0], args[1], said, *progress);
  progress.reset();
  err << said.str();
  return status;
}

}  // namespace zantro
