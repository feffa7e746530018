#include "platform/transport.h"

#include <dirent.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/files.h"

namespace zantro {
namespace {

uint32_t ReadLe32(const char* p) {
  auto b = reinterpret_cast<const unsigned char*>(p);
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

void AppendLe32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

bool FillAddress(const std::string& path, sockaddr_un* addr) {
  std::memset(addr, 0, sizeof *addr);
  addr->sun_family = AF_UNIX;
  if (path.size() >= sizeof addr->sun_path) return false;
  std::memcpy(addr->sun_path, path.data(), path.size());
  return true;
}

int NewSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

// The process id of a socket name "<windowClass>.<pid>.sock", or -1 when name is not one.
long PidOfSocketName(std::string_view name, std::string_view windowClass) {
  if (name.size() <= windowClass.size() + 6 || !name.starts_with(windowClass) || name[windowClass.size()] != '.' ||
      !name.ends_with(".sock"))
    return -1;
  std::string_view digits = name.substr(windowClass.size() + 1, name.size() - windowClass.size() - 6);
  if (digits.empty() || digits.size() > 9) return -1;
  long pid = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    pid = pid * 10 + (c - '0');
  }
  return pid;
}

// Socket paths of the class in the runtime folder, by process id.
std::vector<std::string> CandidateSockets(const std::string& runtime, std::string_view windowClass) {
  std::vector<std::pair<long, std::string>> found;
  if (DIR* d = ::opendir(runtime.c_str())) {
    while (dirent* e = ::readdir(d)) {
      long pid = PidOfSocketName(e->d_name, windowClass);
      if (pid >= 0) found.emplace_back(pid, JoinPath(runtime, e->d_name));
    }
    ::closedir(d);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> paths;
  for (auto& f : found) paths.push_back(std::move(f.second));
  return paths;
}

enum class Wait { Ready, TimedOut, Broken };

// Waits until fd is ready for events or the deadline passes, running pump between short polls.
Wait WaitFor(int fd, short events, int64_t deadline, const Pump& pump) {
  for (;;) {
    if (pump) pump();
    int64_t left = deadline - MonotonicMs();
    if (left <= 0) return Wait::TimedOut;
    pollfd p{fd, events, 0};
    int slice = static_cast<int>(std::min<int64_t>(left, pump ? 5 : 1000));
    int r = ::poll(&p, 1, slice);
    if (r < 0 && errno != EINTR) return Wait::Broken;
    if (r > 0) return (p.revents & (events | POLLHUP | POLLERR)) ? Wait::Ready : Wait::Broken;
  }
}

enum class Connect { Connected, Refused, Failed };

// Connects fd to path, retrying while the listener's queue is full.
Connect ConnectTo(int fd, const std::string& path, int64_t deadline, const Pump& pump) {
  sockaddr_un addr;
  if (!FillAddress(path, &addr)) return Connect::Failed;
  for (;;) {
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return Connect::Connected;
    if (errno == EINTR) continue;
    if (errno == EINPROGRESS)
      return WaitFor(fd, POLLOUT, deadline, pump) == Wait::Ready ? Connect::Connected : Connect::Failed;
    if (errno == ECONNREFUSED || errno == ENOENT || errno == ENOTSOCK) return Connect::Refused;
    if (errno != EAGAIN) return Connect::Failed;
    // The queue is full: the window is busy, not gone.
    if (pump) pump();
    if (MonotonicMs() >= deadline) return Connect::Failed;
    ::usleep(2000);
  }
}

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

}  // namespace

int64_t MonotonicMs() {
  timespec ts;
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

bool ValidWindowClass(std::string_view windowClass) {
  if (windowClass.empty() || windowClass.size() > 64) return false;
  return std::all_of(windowClass.begin(), windowClass.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  });
}

std::string WindowSocketPath(std::string_view runtime, std::string_view windowClass, long pid) {
  return JoinPath(runtime, std::string(windowClass) + "." + std::to_string(pid) + ".sock");
}

std::string EncodeFrame(uint32_t id, std::string_view text) {
  std::string out;
  out.reserve(8 + text.size() + 1);
  AppendLe32(out, id);
  AppendLe32(out, static_cast<uint32_t>(text.size() + 1));
  out.append(text);
  out.push_back('\0');
  return out;
}

FrameReader::Status FrameReader::Feed(std::string_view bytes) {
  if (haveHeader_ && bytes_.size() >= length_) return Status::Complete;
  bytes_.append(bytes);
  if (!haveHeader_) {
    if (bytes_.size() < 8) return Status::More;
    id_ = ReadLe32(bytes_.data());
    length_ = ReadLe32(bytes_.data() + 4);
    if (length_ > kMaxFrameBytes) return Status::TooLarge;
    bytes_.erase(0, 8);
    haveHeader_ = true;
  }
  if (bytes_.size() < length_) return Status::More;
  bytes_.resize(length_);
  return Status::Complete;
}

std::string FrameReader::Text() const {
  std::string_view body(bytes_.data(), std::min<size_t>(bytes_.size(), length_));
  return std::string(body.substr(0, body.find('\0')));
}

std::vector<std::string> FindWindows(const std::string& runtime, std::string_view windowClass) {
  std::vector<std::string> live;
  if (!ValidWindowClass(windowClass)) return live;
  for (const std::string& path : CandidateSockets(runtime, windowClass)) {
    int fd = NewSocket();
    if (fd < 0) break;
    Connect c = ConnectTo(fd, path, MonotonicMs() + 1000, nullptr);
    ::close(fd);
    if (c == Connect::Refused) ::unlink(path.c_str());
    else live.push_back(path);
  }
  return live;
}

SendStatus SendToWindow(const std::string& socketPath, uint32_t id, std::string_view text, const Pump& pump,
                        int timeoutMs, std::string* error) {
  if (text.size() + 1 > kMaxFrameBytes) {
    SetError(error, "the command is longer than 1 MiB");
    return SendStatus::Failed;
  }
  int64_t deadline = timeoutMs < 0 ? INT64_MAX : MonotonicMs() + timeoutMs;
  int fd = NewSocket();
  if (fd < 0) {
    SetError(error, std::strerror(errno));
    return SendStatus::Failed;
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  switch (ConnectTo(fd, socketPath, deadline, pump)) {
    case Connect::Connected: break;
    case Connect::Refused:
      ::unlink(socketPath.c_str());  // stale: its process is gone
      SetError(error, "no window at " + socketPath);
      return SendStatus::NoWindow;
    case Connect::Failed:
      SetError(error, "cannot connect to " + socketPath + ": " + std::strerror(errno));
      return SendStatus::Failed;
  }
  std::string frame = EncodeFrame(id, text);
  size_t sent = 0;
  while (sent < frame.size()) {
    ssize_t n = ::send(fd, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (WaitFor(fd, POLLOUT, deadline, pump) == Wait::TimedOut) {
        SetError(error, "the window did not take the command in time");
        return SendStatus::Failed;
      }
    } else {
      SetError(error, "the window refused the command");
      return SendStatus::Failed;
    }
  }
  for (;;) {
    if (WaitFor(fd, POLLIN, deadline, pump) == Wait::TimedOut) {
      SetError(error, "the window did not answer in time");
      return SendStatus::Failed;
    }
    char answer;
    ssize_t n = ::recv(fd, &answer, 1, 0);
    if (n == 1) return SendStatus::Delivered;
    if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
      SetError(error, "the window refused the command");
      return SendStatus::Failed;
    }
  }
}

SendStatus SendToClass(const std::string& runtime, std::string_view windowClass, uint32_t id,
                       std::string_view text, const Pump& pump, int timeoutMs, std::string* error) {
  if (ValidWindowClass(windowClass)) {
    for (const std::string& path : CandidateSockets(runtime, windowClass)) {
      SendStatus s = SendToWindow(path, id, text, pump, timeoutMs, error);
      if (s != SendStatus::NoWindow) return s;
    }
  }
  SetError(error, "no window of class " + std::string(windowClass));
  return SendStatus::NoWindow;
}

// ---- Inbox ----

std::unique_ptr<Inbox> Inbox::Open(const std::string& runtime, std::string_view windowClass, std::string* error) {
  if (!ValidWindowClass(windowClass)) {
    SetError(error, "bad window class: " + std::string(windowClass));
    return nullptr;
  }
  std::unique_ptr<Inbox> in(new Inbox);
  in->path_ = WindowSocketPath(runtime, windowClass, ::getpid());
  // Bound under another name and renamed once it listens, so no sender finds a socket that
  // refuses and takes it for a stale one.
  std::string binding = in->path_.substr(0, in->path_.size() - 5) + ".bind";
  sockaddr_un addr;
  if (!FillAddress(binding, &addr)) {
    SetError(error, "runtime folder path too long: " + runtime);
    return nullptr;
  }
  ::unlink(binding.c_str());
  int fd = NewSocket();
  bool ok = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && ::listen(fd, 128) == 0 &&
            ::rename(binding.c_str(), in->path_.c_str()) == 0;
  if (!ok) {
    SetError(error, "cannot listen on " + in->path_ + ": " + std::strerror(errno));
    if (fd >= 0) ::close(fd);
    ::unlink(binding.c_str());
    return nullptr;
  }
  in->listenFd_ = fd;
  in->acceptedUser_ = ::getuid();
  return in;
}

Inbox::~Inbox() {
  Unregister();
  for (auto& [fd, c] : connections_) ::close(fd);
}

void Inbox::Unregister() {
  if (listenFd_ < 0) return;
  ::close(listenFd_);
  ::unlink(path_.c_str());
  listenFd_ = -1;
}

std::vector<int> Inbox::ConnectionFds() const {
  std::vector<int> fds;
  for (auto& [fd, c] : connections_) fds.push_back(fd);
  return fds;
}

void Inbox::AcceptReady() {
  while (listenFd_ >= 0) {
    int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // EAGAIN: nothing more waiting
    }
    ucred peer{};
    socklen_t len = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &len) != 0 || peer.uid != acceptedUser_) {
      std::fprintf(stderr, "zantro: refused a command from user %u\n", unsigned(peer.uid));
      ::close(fd);
      continue;
    }
    if (connections_.size() >= kMaxPendingConnections) {
      // The oldest waits longest: its deadline is the earliest.
      auto oldest = connections_.begin();
      for (auto c = connections_.begin(); c != connections_.end(); ++c)
        if (c->second.deadline < oldest->second.deadline) oldest = c;
      Drop(oldest->first, "too many connections wait for their frame");
    }
    connections_[fd].deadline = MonotonicMs() + frameTimeoutMs_;
    if (watch_) watch_(fd, true);
  }
}

void Inbox::ReadReady(int fd) {
  auto it = connections_.find(fd);
  if (it == connections_.end()) return;
  char buf[65536];
  FrameReader::Status status = FrameReader::Status::More;
  for (;;) {
    ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n > 0) {
      status = it->second.reader.Feed(std::string_view(buf, static_cast<size_t>(n)));
      if (status != FrameReader::Status::More) break;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return;  // the rest comes later
    return Drop(fd, nullptr);              // closed early: a probe, or a sender that gave up
  }
  if (status == FrameReader::Status::TooLarge) return Drop(fd, "the frame is larger than 1 MiB");
  FrameReader frame = std::move(it->second.reader);
  connections_.erase(it);
  if (watch_) watch_(fd, false);
  Handler handler = handler_;  // the handler may destroy this inbox
  if (handler) handler(frame.Id(), frame.Text());
  char answer = 1;
  (void)!::send(fd, &answer, 1, MSG_NOSIGNAL);
  ::close(fd);
}

int Inbox::Expire() {
  int64_t now = MonotonicMs();
  std::vector<int> late;
  int64_t next = -1;
  for (auto& [fd, c] : connections_) {
    if (c.deadline <= now) late.push_back(fd);
    else if (next < 0 || c.deadline - now < next) next = c.deadline - now;
  }
  for (int fd : late) Drop(fd, "the frame did not arrive in time");
  return static_cast<int>(next);
}

void Inbox::Drop(int fd, const char* why) {
  if (why) std::fprintf(stderr, "zantro: refused a command: %s\n", why);
  connections_.erase(fd);
  if (watch_) watch_(fd, false);
  ::close(fd);
}

void PollInbox(Inbox& inbox, int timeoutMs) {
  std::vector<pollfd> fds;
  if (inbox.ListenFd() >= 0) fds.push_back({inbox.ListenFd(), POLLIN, 0});
  for (int fd : inbox.ConnectionFds()) fds.push_back({fd, POLLIN, 0});
  int next = inbox.Expire();
  int wait = next >= 0 && (timeoutMs < 0 || next < timeoutMs) ? next + 1 : timeoutMs;
  if (::poll(fds.data(), fds.size(), wait) > 0) {
    for (const pollfd& p : fds) {
      if (!p.revents) continue;
      if (p.fd == inbox.ListenFd()) inbox.AcceptReady();
      else inbox.ReadReady(p.fd);
    }
  }
  inbox.Expire();
}

}  // namespace zantro
