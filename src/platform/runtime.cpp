#include "runtime.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/files.h"

namespace zantro {
namespace {

bool OwnedByCaller(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

// The folder is trusted only when nobody else can place or replace files in it.
bool SafeFolder(const std::string& path, std::string* why) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) {
    *why = std::strerror(errno);
    return false;
  }
  if (S_ISLNK(st.st_mode)) *why = "is a symbolic link";
  else if (!S_ISDIR(st.st_mode)) *why = "is not a folder";
  else if (st.st_uid != ::getuid()) *why = "belongs to another user";
  else if (st.st_mode & (S_IWGRP | S_IWOTH)) *why = "is writable by others";
  else return true;
  return false;
}

}  // namespace

std::optional<std::string> RuntimeFolder(std::string* error) {
  std::vector<std::string> candidates;
  if (const char* own = std::getenv("ZANTRO_RUNTIME_DIR"); own && *own) {
    candidates.push_back(own);  // asked for by name: no other folder instead
  } else {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg && OwnedByCaller(xdg))
      candidates.push_back(JoinPath(xdg, "zantro"));
    candidates.push_back("/tmp/zantro-" + std::to_string(::getuid()));
    // Anybody may take a name in /tmp first; nobody else can in the user's home.
    if (const char* home = std::getenv("HOME"); home && *home) candidates.push_back(JoinPath(home, ".zantro-run"));
  }
  return FirstRuntimeFolder(candidates, error);
}

std::optional<std::string> FirstRuntimeFolder(const std::vector<std::string>& candidates, std::string* error) {
  std::string refused;
  for (const auto& path : candidates) {
    std::string why;
    if (path.size() > kMaxRuntimeFolderLength)
      why = "is too long for the sockets (" + std::to_string(kMaxRuntimeFolderLength) + " bytes at most)";
    else if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
      why = std::strerror(errno);
    else if (SafeFolder(path, &why))
      return path;
    refused += (refused.empty() ? "runtime folder " : "; ") + path + ": " + why;
  }
  if (error) *error = refused;
  return std::nullopt;
}

InstanceLock::~InstanceLock() { Release(); }

bool InstanceLock::Acquire(const std::string& folder) {
  Release();
  std::string path = JoinPath(folder, "ZANTRO.lock");
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void InstanceLock::Release() {
  if (fd_ >= 0) ::close(fd_);  // closing drops the flock; the file stays
  fd_ = -1;
}

bool FolderWritable(const std::string& folder) {
  return IsDirectory(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string BaseName(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string DirName(std::string_view path) {
  auto slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char buf[4096];
  if (!::getcwd(buf, sizeof buf)) return path;
  std::string out = buf;
  std::string_view rest = path;
  while (rest.starts_with("./")) rest.remove_prefix(2);
  if (rest == "." || rest.empty()) return out;
  return JoinPath(out, rest);
}

int EditionFromName(std::string_view exeName) {
  std::string name(exeName);
  if (EndsWithNoCase(name, ".exe")) name.resize(name.size() - 4);
  return EqualsNoCase(name, "std_zantro") ? 0 : 1;
}

}  // namespace zantro
