#include "pipeduct/pricefiles.h"

#include "platform/cp932.h"
#include "platform/files.h"

namespace zantro {

std::string PipeFittingFile(int group) { return "pipefit" + std::to_string(group) + ".dat"; }

std::string DuctFittingFile(int variant) { return "ductfit" + std::to_string(variant == 2 ? 2 : 1) + ".dat"; }

std::string PriceFolder(const std::string& passedSjis, const std::string& programFolder, const char* defaultName) {
  if (!passedSjis.empty()) return ToUtf8(passedSjis);
  return JoinPath(programFolder, defaultName);
}

PriceLibrary ReadPriceFile(const std::string& folder, const std::string& name, PriceFamily family) {
  std::string path = ResolveNoCase(folder, name);
  if (!FileExists(path)) throw FileError(path + ": 単価データがありません");
  return ReadLibrary(path, family);
}

}  // namespace zantro
