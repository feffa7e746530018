// The container reader: any bytes either read, or fail and leave the folder untouched; what
// reads writes back to a text that reads again to the same text. What reads has the frame the
// writer gives every file, and no line of an item the list lacks; no shorter cut of it reads;
// its recomputation either succeeds or is refused by name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzzfolder.h"
#include "general/container.h"
#include "general/doccheck.h"
#include "general/errors.h"

using namespace zantro;

namespace {

void Require(bool ok) {
  if (!ok) std::abort();
}

// The frame of every accepted file: "<TITLE>" first, "</EOF>" last, no NUL, CR only before LF.
void CheckFrame(std::string_view text) {
  Require(text.starts_with("<TITLE>\r\n") || text.starts_with("<TITLE>\n"));
  Require(text.ends_with("</EOF>") || text.ends_with("</EOF>\n") || text.ends_with("</EOF>\r\n"));
  Require(text.find('\0') == std::string_view::npos);
  for (size_t cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r', cr + 1))
    Require(cr + 1 < text.size() && text[cr + 1] == '\n');
}

template <typename Map>
void CheckItemsInList(const Map& byItem, int32_t count) {
  for (const auto& [n, lines] : byItem) Require(n >= 1 && n <= count);
}

// A cut before the last line is never read as a (shorter) document.
void CheckCutRefused(std::string_view text) {
  size_t last = text.rfind("</EOF>");
  if (last == 0) return;
  size_t cut = (text.size() * 7919) % last;
  try {
    ParseContainerText(text.substr(0, cut), "cut");
  } catch (const FileError&) {
    return;
  }
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = fuzz::MakeFolder("container-in");
  static const std::string first = fuzz::MakeFolder("container-a");
  static const std::string second = fuzz::MakeFolder("container-b");
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string path = input + "/doc.znt2";
  WriteFileAtomic(path, bytes);

  fuzz::EmptyFolder(first);
  WriteFileAtomic(first + "/HEAD.WRK", "previous document");
  std::string before = fuzz::Snapshot(first);
  try {
    ReadContainer(path, first);
  } catch (const FileError&) {
    if (fuzz::Snapshot(first) != before) std::abort();  // a failed read wrote something
    return 0;
  }
  CheckFrame(bytes);
  ParsedDocument doc = ParseContainerText(bytes, "doc");
  CheckItemsInList(doc.Lines, doc.ItemCount());
  CheckItemsInList(doc.Takeoffs, doc.ItemCount());
  CheckItemsInList(doc.SortLines, doc.ItemCount());
  CheckCutRefused(bytes);
  // The print data form takes every document.
  Require(ParseContainerText(bytes, "doc", nullptr, ContainerForm::SingleItem).ItemCount() == doc.ItemCount());
  try {
    CheckRecomputation(doc, "doc");
  } catch (const FileError&) {
  }

  std::string text1 = ContainerText(first, false, 0);
  WriteFileAtomic(path, text1);
  fuzz::EmptyFolder(second);
  try {
    ReadContainer(path, second);
  } catch (const FileError&) {
    std::abort();  // what was written must read back
  }
  if (ContainerText(second, false, 0) != text1) std::abort();
  return 0;
}
