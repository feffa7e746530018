// The document container file (".znt2"): a tagged Shift-JIS text image of the work files.
//
// Reading is split in two so that a bad file changes nothing: ParseContainer reads and checks
// the whole file into a ParsedDocument (and raises FileError naming the file, the line and the
// field), WriteWorkFiles then lays it into a folder. The version-1 import and the lines files
// use the same two steps and the field helpers declared at the end.
#pragma once
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "general/records.h"
#include "platform/outputs.h"
#include "platform/progress.h"

namespace zantro {

struct Document;

// A document read whole into memory: exactly what its work files will hold.
struct ParsedDocument {
  TitleRecord Title{};
  std::vector<ItemRecord> Items;                            // item n is Items[n - 1]
  std::map<int32_t, std::vector<LineRecord>> Lines;         // WITEMn.WRK, by item number;
                                                            // each record's ItemNo is n
  std::map<int32_t, std::vector<TakeoffRecord>> Takeoffs;   // WITEMn.PUP
  std::map<int32_t, std::vector<std::string>> SortLines;    // DATASORTn.WRK
  // False for a version-1 document, which has no takeoff or sort files at all.
  bool WithTakeoffFiles = true;

  int32_t ItemCount() const { return static_cast<int32_t>(Items.size()); }
};


// What a container file holds: a document, or the print data of one sheet (the single-item
// form, whose data lines carry the number the item has in its document while the file holds
// that item alone, and whose takeoff and sort lines are those of every item).
enum class ContainerForm { Document, SingleItem };

// Takes the data lines of a container as the reader meets them, in file order, in place of
// ParsedDocument::Lines: the batch recalculation computes each sheet as soon as its lines are
// all read and so never holds every line of a large document at once.
class DataLineSink {
 public:
  virtual ~DataLineSink() = default;
  // Once, after the title and the items and before the first data line: the number of data
  // lines the file holds for each item number.
  virtual void Begin(const ParsedDocument& head, const std::map<int32_t, int64_t>& linesPerItem) = 0;
  // A data line of item n (its ItemNo is n), checked like every other.
  virtual void Line(int32_t n, LineRecord line) = 0;
};

// Reads and checks a container file. The title starts as an empty document's with [KETA] 0.
// ItemCount is the number of item lines (a differing "[ItemMax]" is not used). Data lines of
// one item that are not consecutive are appended in order. With a sink, the data lines go
// there and Lines stays empty (a file refused after some of its lines reached the sink is
// refused all the same). Raises FileError naming the line for anything the writer never
// makes, so that a damaged or cut file is never taken for a shorter document: a first line
// other than "<TITLE>", a section marker missing, out of order or inside another section, a
// last line other than "</EOF>", an item, data or takeoff line with fewer fields than its
// format, a data, takeoff or sort line for an item the list does not have (in the single-item
// form only numbers below 1), a NUL byte, or a CR that does not end a line with LF. Only
// regular files up to kMaxDocumentBytes are read.
ParsedDocument ParseContainer(const std::string& path, DataLineSink* data = nullptr,
                              ContainerForm form = ContainerForm::Document);
// The same over text already in memory; name is used in error messages.
ParsedDocument ParseContainerText(std::string_view text, const std::string& name, DataLineSink* data = nullptr,
                                  ContainerForm form = ContainerForm::Document);

// The title section alone, from the start of a container text up to "</TITLE>": what a list
// of documents shows, without reading items and lines. A text that does not start with
// "<TITLE>" is not a container. Raises FileError naming the line and field of a bad value.
TitleRecord ParseContainerTitle(std::string_view text, const std::string& name);

// Writes HEAD.WRK and the WITEMn.WRK, WITEMn.PUP and DATASORTn.WRK files of doc into folder.
// WITEM1.WRK, WITEM1.PUP and DATASORT1.WRK are always written, possibly empty (the last two
// only WithTakeoffFiles). Files of other
// items already in folder are left alone (the caller has cleared the work files).
// Raises FileError when a file cannot be written. One step per file; the writing cannot stop
// once begun (the folder would hold half a document), so progress only reports.
void WriteWorkFiles(const ParsedDocument& doc, const std::string& folder, Progress& progress = NoProgress());

// WriteWorkFiles into the staging folder of folder (workfiles.h), made afresh: the open
// document's files are not touched. Raises FileError when the folder cannot be made or a file
// cannot be written (a full disk); the staging folder is then removed. TakeStagedSet then puts
// the set in place of the open document.
void StageWorkFiles(const ParsedDocument& doc, const std::string& folder, Progress& progress = NoProgress());

// ParseContainer, then WriteWorkFiles. Returns ItemCount. A bad file writes nothing.
int32_t ReadContainer(const std::string& path, const std::string& folder);

// The container text of the work files in folder: title and items from HEAD.WRK, the lines
// from WITEMn.WRK, WITEMn.PUP and DATASORTn.WRK. The single-item form writes only item
// itemNumber (its totals in the title, "[ItemMax]=1") but the takeoff and sort lines of all
// items. Callers save the open sheet first. Raises FileError when HEAD.WRK cannot be read.
// Two steps per item (its lines, then its takeoff and sort lines); a stop raises
// ProgressCancelled.
std::string ContainerText(const std::string& folder, bool singleItem, int32_t itemNumber,
                          Progress& progress = NoProgress());
// The same of a document in memory, exactly as its work files would give it.
std::string ContainerText(const ParsedDocument& doc, bool singleItem, int32_t itemNumber);

// The container text of the open document doc over the work files of folder: its title and
// items, and the lines of its current item, from memory (as SaveSheet would have stored them);
// every other sheet, the takeoff and the sort files from folder. What a save writes when the
// working copy cannot be written (the program folder's disk is full).
std::string ContainerText(const std::string& folder, const Document& doc);

// The container text in three pieces, for writers that produce the data lines themselves:
// the title and item sections up to "<DATA>", the data lines of one item, and everything from
// "</DATA>" on (the takeoff and sort lines of items 1..itemCount).
std::string ContainerHead(const TitleRecord& title, std::span<const ItemRecord> items, bool singleItem,
                          int32_t itemNumber);
void AppendDataLines(std::string& out, int32_t n, const ItemRecord& item, std::span<const LineRecord> lines);

// Text kept in blocks of a fixed size: a long text grows without ever being copied, and takes
// no more memory than itself and one block. Writers put their text straight into Room(n) and
// keep it with Commit; Pieces() hands the whole to WriteContainerText.
class TextBlocks {
 public:
  static constexpr size_t kBlockBytes = size_t{1} << 20;
  // Where at least bytes more can be written at the end of the text.
  char* Room(size_t bytes) {
    if (blocks_.empty() || blocks_.back().Capacity - blocks_.back().Used < bytes) {
      size_t capacity = std::max(kBlockBytes, bytes);
      blocks_.push_back({std::unique_ptr<char[]>(new char[capacity]), capacity, 0});
    }
    return blocks_.back().Bytes.get() + blocks_.back().Used;
  }
  // Keeps what was written into Room up to end.
  void Commit(const char* end) { blocks_.back().Used = static_cast<size_t>(end - blocks_.back().Bytes.get()); }
  std::vector<std::string_view> Pieces() const {
    std::vector<std::string_view> pieces;
    for (const auto& b : blocks_) pieces.emplace_back(b.Bytes.get(), b.Used);
    return pieces;
  }

 private:
  struct Block {
    std::unique_ptr<char[]> Bytes;
    size_t Capacity = 0;
    size_t Used = 0;
  };
  std::vector<Block> blocks_;
};
// The same data lines appended to blocks.
void AppendDataLines(TextBlocks& out, int32_t n, const ItemRecord& item, std::span<const LineRecord> lines);
std::string ContainerTail(const ParsedDocument& doc, int32_t itemCount);

// The pieces of a container text written to path by the output rules (platform/outputs.h),
// synced; path may be the file the document was read from, or the user's link to it. Raises
// FileError when refused or when anything fails: the old file then stays as it was.
void WriteContainerText(const std::string& path, std::span<const std::string_view> pieces, OutputRules rules = {});

// ContainerText of folder written to path by WriteContainerText. A stop while the text is made
// raises ProgressCancelled before path is touched.
void WriteContainer(const std::string& folder, const std::string& path, bool singleItem, int32_t itemNumber,
                    Progress& progress = NoProgress());
// ContainerText of doc over folder written to path the same way.
void WriteContainer(const std::string& folder, const Document& doc, const std::string& path);

// ---- field helpers shared by the line-oriented formats ----

// Appends text as one field followed by ";". No field of these formats can hold ";" or a line
// break: a ";" becomes the full-width "；" and CR or LF a blank, so the line reads back; a NUL
// (a version-1 text may hold one) becomes a blank too, since no file of the format holds one.
// The text of one field as the writers put it: ";" full-width, CR, LF and NUL blanks, cut to
// capacity.
std::string FieldText(std::string_view text, size_t capacity = std::string_view::npos);
// A text that grows past capacity that way is cut there, between characters, so the file holds
// exactly what reads back.
void AppendField(std::string& out, std::string_view text, size_t capacity = std::string_view::npos);
// Appends a value that ends its line (a title value): only CR, LF and NUL become blanks.
void AppendValue(std::string& out, std::string_view text);

// Where a field being read comes from, for the error message of a bad value.
struct FieldSource {
  const std::string& File;
  int64_t Line;            // 1-based line number
  const char* Section;     // "data", "item", "takeoff", ...
};

// Raises FileError "FILE: line L, SECTION field K (NAME): reason".
[[noreturn]] void ThrowFieldError(const FieldSource& at, int field, std::string_view name, std::string_view reason);

// The 21 fields of a detail line (data lines and lines files share them). Field 1, the item
// number, is left to the caller; fields 2..21 are read strictly (a bad number raises FileError).
LineRecord LineFromFields(std::span<const std::string_view> fields, const FieldSource& at);
// Appends fields 2..21 of line. quantityScale: when given (the container), the quantities of
// the kinds with a quantity text are written in its format, any scale but 100 and 1000 with
// one decimal; without it (the lines files) every quantity is written as money.
void AppendLineFields(std::string& out, const LineRecord& line, std::optional<Money> quantityScale);

}  // namespace zantro
