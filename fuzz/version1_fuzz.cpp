// The version-1 import: any bytes either import, or fail and leave the folder untouched; an
// imported document writes out as a container that reads back to the same text. No line of
// an item past the list is taken, and a file is read as what its content shows, whatever its
// name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzzfolder.h"
#include "general/container.h"
#include "general/doccheck.h"
#include "general/errors.h"
#include "general/version1.h"

using namespace zantro;

namespace {

// The outcome of a read: the item count, or -1 for a refusal.
template <typename Read>
int32_t Outcome(Read read) {
  try {
    return read().ItemCount();
  } catch (const FileError&) {
    return -1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = fuzz::MakeFolder("v1-in");
  static const std::string first = fuzz::MakeFolder("v1-a");
  static const std::string second = fuzz::MakeFolder("v1-b");
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string path = input + "/old.znt";
  WriteFileAtomic(path, bytes);

  // Under another name the content decides: a version-1 shape reads as version 1, never as a
  // container, and a container never as version 1.
  std::string renamed = input + "/old.znt2";
  WriteFileAtomic(renamed, bytes);
  int32_t asNamed = Outcome([&] { return ParseDocumentFile(renamed); });
  if (LooksLikeVersion1(bytes) && asNamed != Outcome([&] { return ParseVersion1Bytes(bytes, "v1"); })) std::abort();
  if (LooksLikeVersion1(bytes) && bytes.starts_with("<TITLE>")) std::abort();

  fuzz::EmptyFolder(first);
  WriteFileAtomic(first + "/HEAD.WRK", "previous document");
  std::string before = fuzz::Snapshot(first);
  try {
    ImportVersion1(path, first);
  } catch (const FileError&) {
    if (fuzz::Snapshot(first) != before) std::abort();
    return 0;
  }
  ParsedDocument doc = ParseVersion1Bytes(bytes, "v1");
  for (const auto& [n, lines] : doc.Lines)
    if (n < 1 || n > doc.ItemCount()) std::abort();
  std::string text1 = ContainerText(first, false, 0);
  std::string saved = input + "/saved.znt2";
  WriteFileAtomic(saved, text1);
  fuzz::EmptyFolder(second);
  try {
    ReadContainer(saved, second);
  } catch (const FileError&) {
    std::abort();
  }
  if (ContainerText(second, false, 0) != text1) std::abort();
  return 0;
}
