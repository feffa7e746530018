// The version-1 import: any bytes either import, or fail and leave the folder untouched; an
// imported document writes out as a container that reads back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzzfolder.h"
#include "general/container.h"
#include "general/errors.h"
#include "general/version1.h"

using namespace zantro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = fuzz::MakeFolder("v1-in");
  static const std::string first = fuzz::MakeFolder("v1-a");
  static const std::string second = fuzz::MakeFolder("v1-b");
  std::string path = input + "/old.znt";
  WriteFileAtomic(path, std::string_view(reinterpret_cast<const char*>(data), size));

  fuzz::EmptyFolder(first);
  WriteFileAtomic(first + "/HEAD.WRK", "previous document");
  std::string before = fuzz::Snapshot(first);
  try {
    ImportVersion1(path, first);
  } catch (const FileError&) {
    if (fuzz::Snapshot(first) != before) std::abort();
    return 0;
  }
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
