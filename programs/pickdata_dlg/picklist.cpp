#include "picklist.h"

#include "platform/cp932.h"
#include "platform/files.h"

namespace zantro {

std::string PickListPath(std::string_view listFile, const std::string& programFolder) {
  std::string path = ToUtf8(listFile);
  size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos || slash == 0 ? programFolder : path.substr(0, slash);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return ResolveNoCase(folder, name);
}

std::optional<std::vector<std::string>> ReadPickList(const std::string& path) {
  if (!FileExists(path)) return std::vector<std::string>{};
  auto lines = ReadTextLines(path);
  if (!lines) return std::nullopt;
  std::vector<std::string> entries;
  for (auto& line : *lines)
    if (line.find_first_not_of(" \t") != std::string::npos) entries.push_back(std::move(line));
  return entries;
}

}  // namespace zantro
