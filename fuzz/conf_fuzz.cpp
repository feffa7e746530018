// The configuration reader and the window-position ini file over any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzzfolder.h"
#include "platform/conffile.h"
#include "platform/files.h"
#include "platform/inifile.h"

using namespace zantro;

namespace {

const std::string& Folder() {
  static const std::string folder = fuzz::MakeFolder("conf");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string conf = Folder() + "/Zantro.conf";
  WriteFileAtomic(conf, bytes);
  auto lines = ReadConfLines(Folder(), "zantro.conf");
  if (!lines) std::abort();
  // Each lookup reads the file again: check the first keys only, so one input stays quick.
  size_t looked = 0;
  for (const auto& line : *lines) {
    auto [key, value] = SplitConfLine(line);
    if (!key.empty() && ++looked <= 32) {
      auto found = ReadConfValue(Folder(), "Zantro.conf", key);
      if (!found) std::abort();  // a key that is there is found
    }
    (void)ConfInt(value, 7);
  }

  // The ini file: a value written reads back, and the rest of the file survives the rewrite.
  std::string ini = Folder() + "/zantro.ini";
  WriteFileAtomic(ini, bytes);
  IniFile file(ini);
  file.WriteInteger("Form", "Left", 123);
  if (!file.Save()) std::abort();
  IniFile again(ini);
  if (again.ReadInteger("form", "LEFT", 0) != 123) std::abort();
  return 0;
}
