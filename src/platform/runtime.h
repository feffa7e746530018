// The process-level stand-ins: the runtime folder, the single-instance lock, the program
// folder and the edition taken from the executable's name.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantro {

// $ZANTRO_RUNTIME_DIR alone when it is set; else the first that works of
// $XDG_RUNTIME_DIR/zantro (when that folder is the caller's), /tmp/zantro-<uid> and
// $HOME/.zantro-run (which another user cannot take first). Created with mode 0700 and then
// checked with lstat: a directory, not a link, owned by the caller, not writable by group or
// others, short enough for a socket name in it. On failure nullopt and *error names every
// folder tried, each with its reason.
inline constexpr size_t kMaxRuntimeFolderLength = 64;
std::optional<std::string> RuntimeFolder(std::string* error);
// The first of candidates that can be the runtime folder, by the rules above.
std::optional<std::string> FirstRuntimeFolder(const std::vector<std::string>& candidates, std::string* error);

// The named lock "ZANTRO": flock on <folder>/ZANTRO.lock. The window takes it in its runtime
// folder and in the program folder, whose work files admit one writer only. The file is never
// deleted, so a crash cannot leave a stale lock; the kernel drops the lock with the process.
class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // False when another process holds the lock (or the file cannot be opened).
  bool Acquire(const std::string& folder);
  void Release();
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// True when files can be created in folder (the work files live there).
bool FolderWritable(const std::string& folder);

// The last path component, links not resolved: a link named std_zantro stays std_zantro.
std::string BaseName(std::string_view path);
// The folder part of a path ("." when there is none).
std::string DirName(std::string_view path);
// An absolute form of path (relative to the working directory), links not resolved.
std::string AbsolutePath(const std::string& path);

// 0 (standalone) for the executable name std_zantro (".exe" and case ignored), else 1.
int EditionFromName(std::string_view exeName);

}  // namespace zantro
