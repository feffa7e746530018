#include "platform/outputs.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/files.h"

namespace zantro {
namespace {

constexpr int kMaxLinks = 40;  // as the kernel's own limit

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool Refuse(std::string* error, const std::string& path, const std::string& why) {
  if (error) *error = path + ": " + why;
  return false;
}

bool WriteAllTo(int fd, std::span<const std::string_view> pieces) {
  for (std::string_view piece : pieces) {
    while (!piece.empty()) {
      ssize_t n = ::write(fd, piece.data(), piece.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      piece.remove_prefix(static_cast<size_t>(n));
    }
  }
  return true;
}

// Root may write any file, so the permission check alone would let a save replace a file its
// owner marked read-only; a file without any write bit counts as marked, whoever runs.
bool MayNotWrite(const struct stat& st, const std::string& path) {
  if ((st.st_mode & 0222) == 0) return true;
  return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

// The link at path may be followed: it is the user's own, or its folder's owner's.
bool LinkTrusted(const struct stat& link, const std::string& path) {
  if (link.st_uid == ::geteuid()) return true;
  struct stat folder;
  return ::stat(FolderOf(path).c_str(), &folder) == 0 && folder.st_uid == link.st_uid;
}

bool IsInput(const struct stat& st, const OutputRules& rules) {
  for (const auto& input : rules.Inputs) {
    struct stat in;
    if (::stat(input.c_str(), &in) == 0 && in.st_dev == st.st_dev && in.st_ino == st.st_ino) return true;
  }
  return false;
}

bool WriteThrough(const std::string& path, std::span<const std::string_view> pieces, std::string* error) {
  // Without a reader a pipe would hold the write forever: its open is refused instead.
  int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Refuse(error, path, errno == ENXIO ? "no program reads this pipe" : std::strerror(errno));
  struct stat st;
  if (::fstat(fd, &st) != 0 || !(S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))) {
    ::close(fd);
    return Refuse(error, path, "is not a regular file");
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  bool ok = WriteAllTo(fd, pieces);
  std::string why = ok ? "" : std::strerror(errno);
  if (::close(fd) != 0 && ok && errno != EINTR) {
    ok = false;
    why = std::strerror(errno);
  }
  return ok || Refuse(error, path, why);
}

bool WriteStandardOutput(std::span<const std::string_view> pieces, std::string* error) {
  if (!WriteAllTo(STDOUT_FILENO, pieces)) return Refuse(error, "standard output", std::strerror(errno));
  return true;
}

}  // namespace

void GuardStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    int null = ::open("/dev/null", O_RDONLY);
    if (null >= 0 && null != fd) {
      ::dup2(null, fd);
      ::close(null);
    }
  }
}

bool ProcessGone(long pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }

bool PlaceOutput(const std::string& path, const OutputRules& rules, OutputPlace* place, std::string* error) {
  if (path == "-" && rules.StandardOutput) {
    *place = {OutputPlace::Kind::StandardOutput, path};
    return true;
  }
  if (path.empty()) return Refuse(error, "\"\"", "no file name");
  std::string at = path;
  for (int links = 0;; ++links) {
    struct stat st;
    if (::lstat(at.c_str(), &st) != 0) {
      if (errno != ENOENT) return Refuse(error, path, std::strerror(errno));
      *place = {OutputPlace::Kind::Replace, at};  // a new file (its folder is checked by the write)
      return true;
    }
    if (S_ISLNK(st.st_mode)) {
      if (links == kMaxLinks) return Refuse(error, path, std::strerror(ELOOP));
      if (!LinkTrusted(st, at))
        return Refuse(error, at, "他のユーザーのリンクには書き込みません (a link of another user, not followed)");
      char buf[4096];
      ssize_t n = ::readlink(at.c_str(), buf, sizeof buf);
      if (n < 0 || n == sizeof buf) return Refuse(error, at, "the link cannot be read");
      std::string to(buf, static_cast<size_t>(n));
      at = to.front() == '/' ? to : JoinPath(FolderOf(at), to);
      continue;
    }
    if (IsInput(st, rules)) return Refuse(error, path, "入力の文書と同じファイルです (the output is the input)");
    if (S_ISREG(st.st_mode)) {
      if (MayNotWrite(st, at)) return Refuse(error, at, "書き込みが禁止されたファイルです (read-only)");
      *place = {OutputPlace::Kind::Replace, at};
      return true;
    }
    if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode)) {
      *place = {OutputPlace::Kind::Through, at};
      return true;
    }
    return Refuse(error, path, S_ISDIR(st.st_mode) ? "is a folder, not a file" : "is not a regular file");
  }
}

bool WriteOutput(const std::string& path, std::string_view bytes, std::string* error, const OutputRules& rules) {
  return WriteOutput(path, {&bytes, 1}, error, rules);
}

bool WriteOutput(const std::string& path, std::span<const std::string_view> pieces, std::string* error,
                 const OutputRules& rules) {
  OutputPlace place;
  if (!PlaceOutput(path, rules, &place, error)) return false;
  switch (place.How) {
    case OutputPlace::Kind::StandardOutput:
      return WriteStandardOutput(pieces, error);
    case OutputPlace::Kind::Through:
      return WriteThrough(place.Path, pieces, error);
    case OutputPlace::Kind::Replace:
      break;
  }
  RemoveStaleTemporaries(FolderOf(place.Path));
  return WriteFileAtomic(place.Path, pieces, error, rules.Sync);
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines, std::string* error) {
  std::string text;
  size_t total = 0;
  for (const auto& l : lines) total += l.size() + 2;
  text.reserve(total);
  for (const auto& l : lines) {
    text += l;
    text += "\r\n";
  }
  return WriteOutput(path, text, error);
}

void RemoveStaleTemporaries(const std::string& folder) {
  for (const auto& name : ListFiles(folder)) {
    // ".zt" PID "-" HEX ".tmp"
    if (name.size() < 9 || name.compare(0, 3, ".zt") != 0 || !EndsWithNoCase(name, ".tmp")) continue;
    size_t dash = name.find('-', 3);
    if (dash == std::string::npos || dash == 3 || dash > 13) continue;
    long pid = 0;
    bool digits = true;
    for (size_t i = 3; i < dash; ++i) {
      digits = digits && name[i] >= '0' && name[i] <= '9';
      pid = pid * 10 + (name[i] - '0');
    }
    std::string path = JoinPath(folder, name);
    struct stat st;
    if (!digits || ::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (ProcessGone(pid)) ::unlink(path.c_str());
  }
}

}  // namespace zantro
