// Window classes and copy-data messages between the window and its companion programs.
//
// A window that receives command strings listens on a Unix stream socket
// <runtime>/<WindowClass>.<pid>.sock. Sending a command is one connection carrying one frame:
// identifier (4 bytes, little endian), length (4 bytes, little endian: the text and its NUL),
// the Shift-JIS text and its NUL. The receiver handles the command completely and then answers
// one byte and closes; the sender waits for that byte while its own event loop keeps serving
// the commands sent to it, so two windows sending to each other at once never lock up.
//
// The receiver refuses a peer of another user, a length above kMaxFrameBytes and a frame that
// has not arrived kFrameTimeoutMs after the connection was accepted; none of these reaches its
// handler, and the sender sees the connection closed without an answer.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zantro {

inline constexpr uint32_t kMaxFrameBytes = 1u << 20;
// Connections a window keeps waiting for their frame: a sender that opens connections and
// sends nothing would otherwise hold a descriptor and a buffer each until the window runs out
// of descriptors (and then cannot write its work files). Past this many, the oldest goes.
inline constexpr size_t kMaxPendingConnections = 64;
inline constexpr int kFrameTimeoutMs = 3000;
// The identifier (dwData) of the command strings; frames with another one are not commands.
inline constexpr uint32_t kCommandIdentifier = 1;

// Letters, digits and "_" only, so a class name can never leave the runtime folder.
bool ValidWindowClass(std::string_view windowClass);

// <runtime>/<windowClass>.<pid>.sock
std::string WindowSocketPath(std::string_view runtime, std::string_view windowClass, long pid);

// The bytes of one frame.
std::string EncodeFrame(uint32_t id, std::string_view text);

// Collects one frame from bytes that arrive in pieces.
class FrameReader {
 public:
  enum class Status { More, Complete, TooLarge };
  // Takes bytes; bytes after a complete frame are ignored.
  Status Feed(std::string_view bytes);
  uint32_t Id() const { return id_; }
  // The text up to its first NUL and never past the frame's length.
  std::string Text() const;

 private:
  std::string bytes_;
  uint32_t id_ = 0;
  uint32_t length_ = 0;
  bool haveHeader_ = false;
};

// Run by a sender between waits of a few milliseconds: the caller's event loop serves the
// commands sent to its own windows there. May be empty.
using Pump = std::function<void()>;

// Sockets of the windows of the class that accept a connection, in order of their process
// ids. A socket that refuses is stale (its process is gone) and is removed.
std::vector<std::string> FindWindows(const std::string& runtime, std::string_view windowClass);

enum class SendStatus { Delivered, NoWindow, Failed };

// Sends one command to the window listening on socketPath and waits for its answer.
// timeoutMs < 0 waits as long as the receiver lives. On failure *error says why.
SendStatus SendToWindow(const std::string& socketPath, uint32_t id, std::string_view text, const Pump& pump,
                        int timeoutMs, std::string* error = nullptr);
// Sends to the first window of the class that accepts (NoWindow when none does).
SendStatus SendToClass(const std::string& runtime, std::string_view windowClass, uint32_t id,
                       std::string_view text, const Pump& pump, int timeoutMs, std::string* error = nullptr);

// The receiving end of one window: the listening socket and the connections whose frames are
// still arriving. It does not wait on anything itself; an event loop (QtInbox, the poll loop
// of zantro-send) watches the descriptors and calls AcceptReady, ReadReady and Expire.
class Inbox {
 public:
  using Handler = std::function<void(uint32_t id, const std::string& text)>;

  // Registers a window of windowClass for this process. nullptr and *error when the class
  // name is bad or the socket cannot be made.
  static std::unique_ptr<Inbox> Open(const std::string& runtime, std::string_view windowClass,
                                     std::string* error);
  ~Inbox();
  Inbox(const Inbox&) = delete;
  Inbox& operator=(const Inbox&) = delete;

  // Runs for every accepted frame. The handler may send commands itself, and may even
  // destroy this inbox: nothing of it is touched after the handler returns.
  void SetHandler(Handler h) { handler_ = std::move(h); }
  // Told when a connection's descriptor must be watched for reading, or no longer.
  void SetWatch(std::function<void(int fd, bool watch)> w) { watch_ = std::move(w); }

  int ListenFd() const { return listenFd_; }
  const std::string& SocketPath() const { return path_; }
  std::vector<int> ConnectionFds() const;

  // The listening socket is readable: accepts every waiting connection.
  void AcceptReady();
  // A connection is readable: a whole frame runs the handler, then the answer is sent.
  void ReadReady(int fd);
  // Refuses connections whose frame is late; returns the milliseconds until the next
  // deadline, or -1 when no connection is waiting.
  int Expire();

  // Stops receiving at once: the socket disappears, so the window is no longer found.
  void Unregister();

  // The user whose connections are accepted (the caller's own); tests set another one.
  void SetAcceptedUser(uid_t uid) { acceptedUser_ = uid; }
  // How long a frame may take to arrive (kFrameTimeoutMs); tests shorten it.
  void SetFrameTimeoutMs(int ms) { frameTimeoutMs_ = ms; }

 private:
  Inbox() = default;
  struct Connection {
    FrameReader reader;
    int64_t deadline = 0;  // monotonic milliseconds
  };
  void Drop(int fd, const char* why);

  int listenFd_ = -1;
  std::string path_;
  uid_t acceptedUser_ = 0;
  int frameTimeoutMs_ = kFrameTimeoutMs;
  std::map<int, Connection> connections_;
  Handler handler_;
  std::function<void(int, bool)> watch_;
};

// Serves an inbox without another event loop (zantro-send, tests): waits up to timeoutMs for
// a connection or a frame, handles what is ready and refuses late frames.
void PollInbox(Inbox& inbox, int timeoutMs);

// Monotonic clock in milliseconds.
int64_t MonotonicMs();

}  // namespace zantro
