#include "platform/programfolder.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/files.h"
#include "platform/runtime.h"

namespace zantro {
namespace {

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string Reason() { return std::strerror(errno); }

// Every entry of a folder but "." and "..", in directory order; empty when it cannot be read.
std::vector<std::string> EntryNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

// The name under which folder already holds name, whatever its case.
std::optional<std::string> PresentAs(const std::vector<std::string>& present, const std::string& name) {
  for (const auto& p : present)
    if (EqualsNoCase(p, name)) return p;
  return std::nullopt;
}

// Files of an installed folder that are not data: its lock and the installation's marker.
bool StaysBehind(const std::string& name) {
  return name == kInstalledMarker || EqualsNoCase(name, "ZANTRO.lock");
}

bool CopyMissing(const std::string& from, const std::string& to, std::string* error) {
  std::vector<std::string> present = EntryNames(to);
  for (const std::string& name : EntryNames(from)) {
    if (StaysBehind(name)) continue;
    std::string source = from + "/" + name;
    struct stat st;
    if (::lstat(source.c_str(), &st) != 0) continue;
    auto existing = PresentAs(present, name);
    std::string target = to + "/" + existing.value_or(name);
    if (S_ISDIR(st.st_mode)) {
      if (!existing && ::mkdir(target.c_str(), 0777) != 0) {
        *error = target + ": " + Reason();
        return false;
      }
      if (IsDirectory(target) && !CopyMissing(source, target, error)) return false;
    } else if (S_ISREG(st.st_mode) && (st.st_mode & 0111) == 0 && !existing) {
      std::string why;
      auto bytes = ReadFileBytes(source, &why);
      if (!bytes) {
        *error = source + ": " + why;
        return false;
      }
      if (!WriteFileAtomic(target, *bytes, &why)) {
        *error = target + ": " + why;
        return false;
      }
    }
    // Programs (executable files), links and special files stay in the installed folder.
  }
  return true;
}

// mkdir -p; folders it makes are private to the user, as the desktop's rules want for the
// data home.
bool MakeFolders(const std::string& path, std::string* error) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    std::string part = slash == std::string::npos ? path : path.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      *error = part + ": " + Reason();
      return false;
    }
    if (slash == std::string::npos) return true;
  }
}

// Builds the per-user folder beside its place and renames it there whole.
bool CreatePerUserFolder(const std::string& installed, const std::string& perUser, std::string* error) {
  if (!MakeFolders(DirName(perUser), error)) return false;
  std::string building = perUser + ".new-XXXXXX";
  if (!::mkdtemp(building.data())) {
    *error = perUser + ": " + Reason();
    return false;
  }
  bool filled = CopyMissing(installed, building, error);
  // A second program that started at the same moment may have put its own folder in place
  // first; that one is as good, and this one goes.
  if (filled && ::rename(building.c_str(), perUser.c_str()) != 0 && errno != EEXIST && errno != ENOTEMPTY) {
    *error = perUser + ": " + Reason();
    filled = false;
  } else if (filled) {
    return true;
  }
  std::error_code ignored;
  std::filesystem::remove_all(building, ignored);
  return filled;
}

}  // namespace

std::string PerUserProgramFolder(const std::string& dataHome, const std::string& home) {
  std::string base;
  if (dataHome.starts_with('/'))
    base = WithoutTrailingSlash(dataHome);
  else if (home.starts_with('/'))
    base = WithoutTrailingSlash(home) + "/.local/share";
  else
    return "";
  return (base == "/" ? "" : base) + "/" + kPerUserFolderName;
}

bool IsInstalledFolder(const std::string& folder) {
  return FileExists(folder + "/" + kInstalledMarker) || !FolderWritable(folder);
}

bool FillPerUserFolder(const std::string& installed, const std::string& perUser, std::string* error) {
  struct stat st;
  if (::stat(perUser.c_str(), &st) != 0 && !CreatePerUserFolder(installed, perUser, error)) return false;
  if (!FolderWritable(perUser)) {
    *error = perUser + ": " + (IsDirectory(perUser) ? "書き込めません" : "フォルダーではありません");
    return false;
  }
  // A folder made by an earlier start gets what a newer installation added.
  return CopyMissing(installed, perUser, error);
}

ProgramFolderInputs ProgramFolderInputsOf(const std::string& option, const std::string& executableFolder) {
  ProgramFolderInputs in{option, Environment(kProgramFolderVariable), executableFolder, Environment("XDG_DATA_HOME"),
                         Environment("HOME")};
  if (in.Home.empty())
    if (const passwd* pw = ::getpwuid(::getuid())) in.Home = pw->pw_dir;
  return in;
}

std::optional<ProgramFolderChoice> ChooseProgramFolder(const ProgramFolderInputs& in, std::string* error) {
  if (!in.Option.empty()) {
    std::string folder = WithoutTrailingSlash(AbsolutePath(in.Option));
    return ProgramFolderChoice{folder, folder};
  }
  std::string programs = WithoutTrailingSlash(AbsolutePath(in.ExecutableFolder));
  if (!in.Inherited.empty()) return ProgramFolderChoice{WithoutTrailingSlash(AbsolutePath(in.Inherited)), programs};
  if (!IsInstalledFolder(programs)) return ProgramFolderChoice{programs, programs};
  std::string perUser = PerUserProgramFolder(in.DataHome, in.Home);
  if (perUser.empty()) {
    *error = programs + ": 書き込めないフォルダーです。XDG_DATA_HOME も HOME も使えません";
    return std::nullopt;
  }
  if (!FillPerUserFolder(programs, perUser, error)) return std::nullopt;
  return ProgramFolderChoice{perUser, programs};
}

}  // namespace zantro
