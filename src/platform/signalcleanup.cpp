#include "signalcleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

namespace zantro {
namespace {

// The handler may only touch these: fixed buffers, flags written last, system calls that are
// safe in a signal handler (open, openat, getdents64, unlinkat, close, unlink, rmdir).
constexpr int kSlots = 4;
constexpr size_t kPathMax = 4096;
char paths[kSlots + 1][kPathMax];                // the last slot: the file in writing
volatile sig_atomic_t used[kSlots + 1] = {};
constexpr int kWritingSlot = kSlots;
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Removes what dir holds, folders to a few levels deep, with its own buffer per level.
void EmptyFolder(int dir, int depth) {
  alignas(8) char buf[4096];
  for (;;) {
    long n = ::syscall(SYS_getdents64, dir, buf, sizeof buf);
    if (n <= 0) break;
    for (long off = 0; off < n;) {
      // struct linux_dirent64: d_ino (8), d_off (8), d_reclen (2), d_type (1), d_name.
      unsigned short reclen;
      std::memcpy(&reclen, buf + off + 16, sizeof reclen);
      unsigned char type = static_cast<unsigned char>(buf[off + 18]);
      const char* name = buf + off + 19;
      off += reclen;
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
      if (type == DT_DIR && depth > 0) {
        int sub = ::openat(dir, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
        if (sub >= 0) {
          EmptyFolder(sub, depth - 1);
          ::close(sub);
        }
        ::unlinkat(dir, name, AT_REMOVEDIR);
      } else {
        ::unlinkat(dir, name, 0);
      }
    }
  }
}

// Removes a folder with what it holds; a file is simply unlinked.
void Remove(const char* path) {
  int dir = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
  if (dir < 0) {
    ::unlink(path);
    return;
  }
  EmptyFolder(dir, 4);
  ::close(dir);
  ::rmdir(path);
}

void OnSignal(int sig) {
  for (int i = 0; i <= kSlots; ++i)
    if (used[i]) Remove(paths[i]);
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

void InstallHandlers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  for (int sig : kSignals) {
    struct sigaction old{};
    if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction act{};
    act.sa_handler = OnSignal;
    sigemptyset(&act.sa_mask);
    for (int other : kSignals) sigaddset(&act.sa_mask, other);  // one cleanup at a time
    ::sigaction(sig, &act, nullptr);
  }
}

void Fill(int slot, const char* path) {
  used[slot] = 0;
  std::strncpy(paths[slot], path, kPathMax - 1);
  paths[slot][kPathMax - 1] = '\0';
  used[slot] = 1;
}

}  // namespace

RemoveOnSignal::RemoveOnSignal(const std::string& path) {
  InstallHandlers();
  for (int i = 0; i < kSlots; ++i) {
    if (!used[i]) {
      Fill(i, path.c_str());
      slot_ = i;
      return;
    }
  }
}

RemoveOnSignal::~RemoveOnSignal() {
  if (slot_ >= 0) used[slot_] = 0;
}

void RemoveTemporaryOnSignal() { InstallHandlers(); }

CleanupSignalsHeld::CleanupSignalsHeld() {
  sigset_t held;
  sigemptyset(&held);
  for (int sig : kSignals) sigaddset(&held, sig);
  ::pthread_sigmask(SIG_BLOCK, &held, &old_);
}

CleanupSignalsHeld::~CleanupSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &old_, nullptr); }

void SetTemporaryInWriting(const char* path) {
  if (path)
    Fill(kWritingSlot, path);
  else
    used[kWritingSlot] = 0;
}

}  // namespace zantro
