#include "general/printdata.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "general/container.h"
#include "general/errors.h"
#include "general/workcodec.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace zantro {

std::string PrintDataPath(const std::string& programFolder, std::string_view numberCp932) {
  std::string name = ToUtf8(numberCp932);
  for (char& c : name)
    if (c == '/') c = '_';
  return JoinPath(JoinPath(programFolder, kPrintDataFolder), name + ".dat");
}

std::string WritePrintData(const std::string& workFolder, const std::string& programFolder, bool singleItem,
                           int32_t itemNumber, Progress& progress) {
  std::string folder = JoinPath(programFolder, kPrintDataFolder);
  if (!IsDirectory(folder) && ::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
    throw FileError(folder + ": " + std::strerror(errno));
  auto head = ReadHeadSummary(workFolder);
  if (!head) throw FileError(JoinPath(workFolder, HeadFile("WRK")) + ": cannot be read");
  std::string path = PrintDataPath(programFolder, head->Number);
  WriteContainer(workFolder, path, singleItem, itemNumber, progress);
  return path;
}

std::optional<HeadSummary> ReadHeadSummary(const std::string& folder) {
  auto bytes = ReadFileBytes(ResolveNoCase(folder, HeadFile("WRK")));
  auto head = bytes ? DecodeHead(*bytes) : std::nullopt;
  if (!head) return std::nullopt;
  return HeadSummary{head->Title.NUMBER.str(), static_cast<int32_t>(head->Items.size())};
}

}  // namespace zantro
