#include "platform/folderstore.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "platform/conffile.h"
#include "platform/files.h"

namespace zantro {
namespace {

constexpr std::array<std::string_view, kFolderKinds> kKeys{"[OPEN_DIR]", "[SAVE_DIR]", "[EXPORT_DIR]", "[PDF_DIR]",
                                                          "[IMPORT_DIR]"};

// The file is a convenience, never worth a refusal: anything larger than this is not ours.
constexpr uint64_t kMaxStoreBytes = 64 * 1024;

bool MakeFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return IsDirectory(folder);
  }
}

}  // namespace

std::string_view FolderKindKey(FolderKind k) { return kKeys[static_cast<size_t>(k)]; }

RememberedFolders ParseFolders(std::string_view text) {
  RememberedFolders folders;
  for (const std::string& line : SplitLines(text)) {
    auto [key, value] = SplitConfLine(line);
    for (size_t i = 0; i < kFolderKinds; ++i)
      if (key == kKeys[i]) folders[i] = value;
  }
  return folders;
}

std::string FormatFolders(const RememberedFolders& folders) {
  std::string text;
  for (size_t i = 0; i < kFolderKinds; ++i)
    if (!folders[i].empty()) text += std::string(kKeys[i]) + "=" + folders[i] + "\n";
  return text;
}

std::string FolderOfChoice(std::string_view path) {
  if (path.empty() || path.front() != '/') return {};
  size_t slash = path.rfind('/');
  return std::string(path.substr(0, slash == 0 ? 1 : slash));
}

std::string DialogStart(const std::optional<std::string>& remembered, const std::string& proposal) {
  if (!remembered) return proposal;
  if (proposal.empty() || proposal.find('/') != std::string::npos) return *remembered;
  return JoinPath(*remembered, proposal);
}

std::string UserFolderStorePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return JoinPath(config, "zantro/folders");
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return JoinPath(home, ".config/zantro/folders");
  return {};
}

RememberedFolders FolderStore::Read() const {
  if (path_.empty()) return {};
  auto bytes = ReadFileBytes(path_, nullptr, kMaxStoreBytes);
  return bytes ? ParseFolders(*bytes) : RememberedFolders{};
}

std::optional<std::string> FolderStore::Last(FolderKind k) const {
  std::string folder = Read()[static_cast<size_t>(k)];
  if (folder.empty() || folder.front() != '/' || !IsDirectory(folder)) return std::nullopt;
  return folder;
}

bool FolderStore::Remember(FolderKind k, const std::string& folder) const {
  if (path_.empty() || folder.empty() || folder.front() != '/') return false;
  if (folder.find_first_of("\r\n") != std::string::npos) return false;
  RememberedFolders folders = Read();
  std::string& slot = folders[static_cast<size_t>(k)];
  if (slot == folder) return true;
  slot = folder;
  std::string parent = FolderOfChoice(path_);
  if (parent.empty() || !MakeFolders(parent)) return false;
  return WriteFileAtomic(path_, FormatFolders(folders));
}

}  // namespace zantro
