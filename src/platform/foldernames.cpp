// The names of folders without regard to case, for FindNoCase. A lookup whose exact name is
// missing would otherwise list the whole folder, and a document of thousands of items looks up
// thousands of names that do not exist yet. Each folder is listed once; an inotify watch then
// reports every name created, removed or renamed in it, by this program or by any other (a
// companion writing an exchange file), so the index never goes stale. The folder's identity
// (device and inode) is checked on every lookup, so a folder replaced by another of the same
// path is listed again. Without inotify every lookup lists the folder, as it always did.
#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <span>
#include <unordered_map>
#include <vector>

#include "platform/files.h"

namespace zantro {
namespace {

std::atomic<uint64_t> scans{0};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Every entry name of folder in directory order; false when it cannot be opened.
bool ListNames(const std::string& folder, std::vector<std::string>& names) {
  ++scans;
  DIR* d = ::opendir(folder.c_str());
  if (!d) return false;
  while (dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
  ::closedir(d);
  return true;
}

class FolderNames {
 public:
  static FolderNames& Instance() {
    static FolderNames names;
    return names;
  }

  std::optional<std::string> Find(std::string_view folderView, std::string_view name) {
    std::lock_guard lock(mutex_);
    std::string folder(folderView);
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    Drain();
    for (int attempt = 0; attempt < 2; ++attempt) {
      Index* index = Current(folder, st);
      if (!index) return ScanFor(folder, name);
      auto found = index->Names.find(Lower(name));
      if (found == index->Names.end() || found->second.empty()) return std::nullopt;
      std::string path = JoinPath(folder, found->second.front());
      struct stat entry;
      if (::lstat(path.c_str(), &entry) == 0) return path;
      Forget(folder);  // cannot happen with the watch in place; list again rather than guess
    }
    return ScanFor(folder, name);
  }

  std::vector<std::string> ResolveAll(std::string_view folderView, std::span<const std::string> names) {
    std::lock_guard lock(mutex_);
    std::string folder(folderView);
    std::vector<std::string> paths;
    paths.reserve(names.size());
    struct stat st;
    const Index* index = nullptr;
    Index listed;  // without a kept index: the folder listed once for all the names
    if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      Drain();
      index = Current(folder, st);
      std::vector<std::string> all;
      if (!index && ListNames(folder, all)) {
        for (auto& n : all) Add(listed, n);
        index = &listed;
      }
    }
    for (const auto& name : names) paths.push_back(JoinPath(folder, index ? Spelling(*index, name) : name));
    return paths;
  }

  void Forget(const std::string& folder) {
    auto it = indexes_.find(folder);
    if (it == indexes_.end()) return;
    auto& keys = watches_[it->second.Watch];
    std::erase(keys, folder);
    if (keys.empty()) {
      watches_.erase(it->second.Watch);
      ::inotify_rm_watch(fd_, it->second.Watch);
    }
    indexes_.erase(it);
  }

  size_t NameCount() {
    std::lock_guard lock(mutex_);
    Drain();
    size_t count = 0;
    for (const auto& [folder, index] : indexes_) count += index.Names.size();
    return count;
  }

  void ForgetLocked(const std::string& folder) {
    std::lock_guard lock(mutex_);
    Forget(folder);
  }

 private:
  struct Index {
    dev_t Device = 0;
    ino_t Inode = 0;
    int Watch = -1;
    std::unordered_map<std::string, std::vector<std::string>> Names;  // by lower-case name
  };

  FolderNames() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

  // The index of folder, listed now when there is none or the path names another folder.
  Index* Current(const std::string& folder, const struct stat& st) {
    auto it = indexes_.find(folder);
    if (it != indexes_.end() && it->second.Device == st.st_dev && it->second.Inode == st.st_ino)
      return &it->second;
    if (it != indexes_.end()) Forget(folder);
    if (fd_ < 0) return nullptr;
    // The watch first: a name that appears while the folder is listed is then reported too.
    constexpr uint32_t kEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                                 IN_MOVE_SELF | IN_ONLYDIR;
    int watch = ::inotify_add_watch(fd_, folder.c_str(), kEvents);
    if (watch < 0) return nullptr;
    std::vector<std::string> names;
    if (!ListNames(folder, names)) {
      if (watches_.find(watch) == watches_.end()) ::inotify_rm_watch(fd_, watch);
      return nullptr;
    }
    Index& index = indexes_[folder];
    index.Device = st.st_dev;
    index.Inode = st.st_ino;
    index.Watch = watch;
    for (auto& n : names) Add(index, n);
    watches_[watch].push_back(folder);
    Drain();
    auto again = indexes_.find(folder);
    return again == indexes_.end() ? nullptr : &again->second;
  }

  static void Add(Index& index, const std::string& name) {
    auto& spellings = index.Names[Lower(name)];
    if (std::find(spellings.begin(), spellings.end(), name) == spellings.end()) spellings.push_back(name);
  }

  // The exact name when the folder holds it, else its first spelling there, else name itself.
  static std::string_view Spelling(const Index& index, std::string_view name) {
    auto it = index.Names.find(Lower(name));
    if (it == index.Names.end() || it->second.empty()) return name;
    for (const auto& n : it->second)
      if (n == name) return name;
    return it->second.front();
  }

  // A name gone drops its key too: every atomic write passes through a temporary name of its
  // own, and a key kept for each would grow the index for as long as the program runs.
  static void Remove(Index& index, const std::string& name) {
    auto it = index.Names.find(Lower(name));
    if (it == index.Names.end()) return;
    std::erase(it->second, name);
    if (it->second.empty()) index.Names.erase(it);
  }

  // Applies the events that arrived since the last lookup.
  void Drain() {
    if (fd_ < 0) return;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
      ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n <= 0) return;  // EAGAIN: nothing more
      for (ssize_t at = 0; at < n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
        Apply(*e, e->len ? std::string(e->name) : std::string());
        at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
      }
    }
  }

  void Apply(const inotify_event& e, const std::string& name) {
    if (e.mask & IN_Q_OVERFLOW) {  // events were lost: list every folder again when asked
      std::vector<std::string> all;
      for (auto& [folder, index] : indexes_) all.push_back(folder);
      for (auto& folder : all) Forget(folder);
      return;
    }
    auto keys = watches_.find(e.wd);
    if (keys == watches_.end()) return;
    if (e.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
      std::vector<std::string> folders = keys->second;  // Forget changes the list
      for (const auto& folder : folders) Forget(folder);
      return;
    }
    for (const auto& folder : keys->second) {
      Index& index = indexes_[folder];
      if (e.mask & (IN_CREATE | IN_MOVED_TO)) Add(index, name);
      if (e.mask & (IN_DELETE | IN_MOVED_FROM)) Remove(index, name);
    }
  }

  // Without an index: the listing every lookup used to make.
  static std::optional<std::string> ScanFor(const std::string& folder, std::string_view name) {
    std::vector<std::string> names;
    if (!ListNames(folder, names)) return std::nullopt;
    for (const auto& n : names)
      if (EqualsNoCase(n, name)) return JoinPath(folder, n);
    return std::nullopt;
  }

  std::mutex mutex_;
  int fd_;
  std::unordered_map<std::string, Index> indexes_;               // by folder as given
  std::unordered_map<int, std::vector<std::string>> watches_;    // folders of each watch
};

}  // namespace

std::optional<std::string> FindNoCase(std::string_view folder, std::string_view name) {
  std::string exact = JoinPath(folder, name);
  struct stat st;
  if (::lstat(exact.c_str(), &st) == 0) return exact;
  return FolderNames::Instance().Find(folder, name);
}

std::vector<std::string> ResolveAllNoCase(std::string_view folder, std::span<const std::string> names) {
  return FolderNames::Instance().ResolveAll(folder, names);
}

void ForgetFolderNames(std::string_view folder) { FolderNames::Instance().ForgetLocked(std::string(folder)); }

uint64_t FolderScans() { return scans.load(); }

size_t FolderNameCount() { return FolderNames::Instance().NameCount(); }

}  // namespace zantro
