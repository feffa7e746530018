// The container reader: any bytes either read, or fail and leave the folder untouched; what
// reads writes back to a text that reads again to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzzfolder.h"
#include "general/container.h"
#include "general/errors.h"

using namespace zantro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = fuzz::MakeFolder("container-in");
  static const std::string first = fuzz::MakeFolder("container-a");
  static const std::string second = fuzz::MakeFolder("container-b");
  std::string path = input + "/doc.znt2";
  WriteFileAtomic(path, std::string_view(reinterpret_cast<const char*>(data), size));

  fuzz::EmptyFolder(first);
  WriteFileAtomic(first + "/HEAD.WRK", "previous document");
  std::string before = fuzz::Snapshot(first);
  try {
    ReadContainer(path, first);
  } catch (const FileError&) {
    if (fuzz::Snapshot(first) != before) std::abort();  // a failed read wrote something
    return 0;
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
