#include "files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>

#include "platform/signalcleanup.h"

namespace zantro {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

thread_local std::string lastFailure;

DiskGate diskGate = nullptr;

bool Allowed(DiskChange change, const std::string& path) { return !diskGate || diskGate(change, path); }

std::string Errno(const std::string& what, const std::string& path) {
  lastFailure = std::strerror(errno);
  return what + " " + path + ": " + lastFailure;
}

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

void Ignore(int) {}

// The new file takes the place of the old one: it gets the old one's permission bits (the
// umask would otherwise widen or narrow them) and, where the process may, its owner and group
// (as root, or a group the user belongs to). Special bits are not carried over.
void KeepModeAndOwner(int fd, const std::string& path) {
  struct stat old;
  if (::stat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return;
  struct stat now;
  // Failures are left as they are: the file is then the process's own, as a new file would be.
  bool otherOwner = ::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid);
  if (otherOwner && ::fchown(fd, old.st_uid, old.st_gid) != 0) Ignore(::fchown(fd, static_cast<uid_t>(-1), old.st_gid));
  Ignore(::fchmod(fd, old.st_mode & 0777));
}

}  // namespace

std::string LastWriteFailure() { return lastFailure.empty() ? "reason unknown" : lastFailure; }

std::string WorkFileNotWritten(const std::string& path) {
  return path + ": the work file cannot be written (" + LastWriteFailure() + ")";
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && out.back() != '/') out += '/';
  out += name;
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string FoldCase(std::string_view name) {
  std::string out(name);
  for (char& c : out) c = Lower(c);
  return out;
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

std::vector<std::string> ListFiles(std::string_view folder) {
  std::vector<std::string> out;
  DIR* d = ::opendir(std::string(folder).c_str());
  if (!d) return out;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    // The entry's type comes with the listing; only links and file systems that do not give
    // it need a stat (which follows a link, as it always did).
    bool regular = e->d_type == DT_REG;
    if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
      struct stat st;
      regular = ::stat(JoinPath(folder, name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }
    if (regular) out.push_back(name);
  }
  ::closedir(d);
  return out;
}

std::string ResolveNoCase(std::string_view folder, std::string_view name) {
  auto found = FindNoCase(folder, name);
  return found ? *found : JoinPath(folder, name);
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> ReadFileBytes(const std::string& path, std::string* error, uint64_t maxBytes) {
  auto fail = [&](std::string why) -> std::optional<std::string> {
    if (error) *error = std::move(why);
    return std::nullopt;
  };
  // O_NONBLOCK: opening a pipe must not wait for a writer; the type is checked before any read.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return fail(std::strerror(errno));
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    bool folder = S_ISDIR(st.st_mode);
    ::close(fd);
    return fail(folder ? "is a folder, not a file" : "is not a regular file");
  }
  auto tooLarge = [&] {
    ::close(fd);
    return fail("larger than " + std::to_string(maxBytes >> 20) + " MB, the most a file of this kind may hold");
  };
  if (static_cast<uint64_t>(st.st_size) > maxBytes) return tooLarge();
  std::string out;
  if (st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      std::string why = std::strerror(errno);
      ::close(fd);
      return fail(why);
    }
    if (n == 0) break;
    // A file that grows while it is read is bounded all the same.
    if (out.size() + static_cast<size_t>(n) > maxBytes) return tooLarge();
    out.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return out;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error, bool sync) {
  return WriteFileAtomic(path, {&bytes, 1}, error, sync);
}

bool WriteFileAtomic(const std::string& path, std::span<const std::string_view> pieces, std::string* error,
                     bool sync) {
  static std::mt19937_64 rng{std::random_device{}()};
  if (!Allowed(DiskChange::Write, path)) {
    std::string why = Errno("cannot write", path);
    if (error) *error = why;
    return false;
  }
  std::string folder = FolderOf(path);
  std::string tmp;
  int fd = -1;
  std::optional<CleanupSignalsHeld> held(std::in_place);  // until the cleanup knows the temporary file
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    // The process id in the name lets a later run tell the leftovers of a killed one.
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".zt%ld-%012llx.tmp", static_cast<long>(::getpid()),
                  static_cast<unsigned long long>(rng() & 0xFFFFFFFFFFFFULL));
    tmp = JoinPath(folder, suffix);
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    if (error) *error = Errno("cannot create a temporary file for", path);
    return false;
  }
  SetTemporaryInWriting(tmp.c_str());
  held.reset();
  KeepModeAndOwner(fd, path);
  bool ok = true;
  for (std::string_view piece : pieces) ok = ok && WriteAll(fd, piece);
  ok = ok && (!sync || ::fsync(fd) == 0);
  std::string why = ok ? "" : Errno("cannot write", path);
  if (::close(fd) != 0 && ok) {
    ok = false;
    why = Errno("cannot write", path);
  }
  if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
    ok = false;
    why = Errno("cannot replace", path);
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    if (error) *error = why;
  }
  SetTemporaryInWriting(nullptr);
  return ok;
}

bool WriteNewFile(const std::string& path, std::string_view bytes, std::string* error, bool* existed) {
  if (existed) *existed = false;
  if (!Allowed(DiskChange::Write, path)) {
    std::string why = Errno("cannot create", path);
    if (error) *error = why;
    return false;
  }
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (existed) *existed = errno == EEXIST;
    if (error) *error = Errno("cannot create", path);
    return false;
  }
  bool ok = WriteAll(fd, bytes);
  std::string why = ok ? "" : Errno("cannot write", path);
  if (::close(fd) != 0 && ok) {
    ok = false;
    why = Errno("cannot write", path);
  }
  if (!ok) {
    ::unlink(path.c_str());
    if (error) *error = why;
  }
  return ok;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t lf = text.find('\n', start);
    size_t end = lf == std::string_view::npos ? text.size() : lf;
    size_t cut = end;
    if (lf != std::string_view::npos && cut > start && text[cut - 1] == '\r') --cut;
    lines.emplace_back(text.substr(start, cut - start));
    if (lf == std::string_view::npos) break;
    start = lf + 1;
  }
  return lines;
}

std::optional<std::vector<std::string>> ReadTextLines(const std::string& path, std::string* error,
                                                      uint64_t maxBytes) {
  auto bytes = ReadFileBytes(path, error, maxBytes);
  if (!bytes) return std::nullopt;
  return SplitLines(*bytes);
}

void SetDiskGate(DiskGate gate) { diskGate = gate; }

bool SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

bool DeleteFile(const std::string& path) {
  if (!Allowed(DiskChange::Delete, path)) return false;
  return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool RenameFile(const std::string& from, const std::string& to) {
  if (!Allowed(DiskChange::Rename, to)) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace zantro
