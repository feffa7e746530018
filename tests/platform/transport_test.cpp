// The copy-data transport over real sockets: frames, refusals that leave the window serving,
// listeners of zantro-send closed and restored, and commands arriving in the order sent.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/cp932.h"
#include "platform/companioncontrol.h"
#include "platform/files.h"
#include "platform/transport.h"
#include "testutil/process.h"
#include "testutil/tempdir.h"

using namespace zantro;
using zantro::testing::TempDir;

namespace {

const std::string kSend = std::string(ZANTRO_PROGRAM_DIR) + "/zantro-send";

// An inbox served on its own thread, recording what reaches its handler.
class ThreadWindow {
 public:
  ThreadWindow(const std::string& runtime, const char* windowClass) {
    std::string error;
    inbox_ = Inbox::Open(runtime, windowClass, &error);
    EXPECT_TRUE(inbox_) << error;
    inbox_->SetHandler([this](uint32_t id, const std::string& text) {
      std::lock_guard<std::mutex> l(m_);
      got_.push_back(std::to_string(id) + ":" + text);
    });
  }
  void Start() {
    thread_ = std::thread([this] {
      while (!stop_) PollInbox(*inbox_, 20);
    });
  }
  ~ThreadWindow() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  Inbox& inbox() { return *inbox_; }
  std::vector<std::string> Got() {
    std::lock_guard<std::mutex> l(m_);
    return got_;
  }

 private:
  std::unique_ptr<Inbox> inbox_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::mutex m_;
  std::vector<std::string> got_;
};

// A raw connection to a socket, for frames no well-behaved sender would write.
int RawConnect(const std::string& path) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::strcpy(a.sun_path, path.c_str());
  EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  return fd;
}

// What the receiver does with a raw connection: "answer", "closed" or "open" (still waiting).
std::string Outcome(int fd, int waitMs) {
  pollfd p{fd, POLLIN, 0};
  if (::poll(&p, 1, waitMs) == 0) return "open";
  char c;
  return ::recv(fd, &c, 1, 0) == 1 ? "answer" : "closed";
}

// zantro-send run with the test's runtime folder; its standard output goes to out.
pid_t Spawn(const std::string& runtime, std::vector<std::string> args, const std::string& out) {
  return zantro::testing::Spawn(kSend, std::move(args), runtime, out);
}

using zantro::testing::WaitExit;

void WaitForWindows(const std::string& runtime, const char* windowClass, size_t n) {
  for (int i = 0; i < 500 && FindWindows(runtime, windowClass).size() < n; ++i) ::usleep(10000);
  ASSERT_EQ(FindWindows(runtime, windowClass).size(), n);
}

std::string Read(const std::string& path) { return ReadFileBytes(path).value_or("<none>"); }

}  // namespace

TEST(Transport, FramesCarryIdentifierLengthAndTextUpToTheFirstNul) {
  std::string frame = EncodeFrame(1, "WM_CLOSE;");
  EXPECT_EQ(frame.size(), 8u + 10u);
  EXPECT_EQ(frame.substr(0, 8), std::string("\x01\0\0\0\x0a\0\0\0", 8));
  FrameReader r;
  EXPECT_EQ(r.Feed(frame.substr(0, 5)), FrameReader::Status::More);
  EXPECT_EQ(r.Feed(frame.substr(5, 9)), FrameReader::Status::More);
  EXPECT_EQ(r.Feed(frame.substr(14)), FrameReader::Status::Complete);
  EXPECT_EQ(r.Text(), "WM_CLOSE;");
  // A text without NUL ends at the length; bytes after the NUL belong to nothing.
  FrameReader cut;
  EXPECT_EQ(cut.Feed(std::string("\x07\0\0\0\x03\0\0\0abcdef", 14)), FrameReader::Status::Complete);
  EXPECT_EQ(cut.Id(), 7u);
  EXPECT_EQ(cut.Text(), "abc");
  FrameReader nul;
  nul.Feed(std::string("\x01\0\0\0\x05\0\0\0ab\0cd", 13));
  EXPECT_EQ(nul.Text(), "ab");
  FrameReader big;
  EXPECT_EQ(big.Feed(std::string("\x01\0\0\0\x01\0\x10\0", 8)), FrameReader::Status::TooLarge);
}

TEST(Transport, OversizedAndLateFramesAreRefusedWhileTheWindowKeepsServing) {
  TempDir rt;
  ThreadWindow w(rt.path(), "TFZANTRO");
  w.inbox().SetFrameTimeoutMs(300);
  w.Start();
  std::string path = w.inbox().SocketPath();
  EXPECT_EQ(path, rt.file("TFZANTRO." + std::to_string(::getpid()) + ".sock"));

  int oversized = RawConnect(path);
  std::string header("\x01\0\0\0\x01\0\x20\0", 8);  // 2 MiB announced
  ASSERT_EQ(::send(oversized, header.data(), header.size(), 0), 8);
  int late = RawConnect(path);
  ASSERT_EQ(::send(late, "\x01\0\0\0", 4, 0), 4);  // and then nothing

  EXPECT_EQ(Outcome(oversized, 1000), "closed");
  int64_t start = MonotonicMs();
  std::string error;
  EXPECT_EQ(SendToWindow(path, 1, "WM_DATADISP;", nullptr, 2000, &error), SendStatus::Delivered) << error;
  EXPECT_LT(MonotonicMs() - start, 250) << "a late frame held the window up";
  EXPECT_EQ(Outcome(late, 1000), "closed");
  EXPECT_EQ(w.Got(), std::vector<std::string>{"1:WM_DATADISP;"});
  ::close(oversized);
  ::close(late);
}

TEST(Transport, ConnectionsOfAnotherUserAreRefused) {
  TempDir rt;
  ThreadWindow w(rt.path(), "TFZANTRO");
  w.inbox().SetAcceptedUser(::getuid() + 1);
  w.Start();
  std::string error;
  EXPECT_EQ(SendToWindow(w.inbox().SocketPath(), 1, "WM_INITIALIZE;", nullptr, 2000, &error), SendStatus::Failed);
  EXPECT_TRUE(w.Got().empty());

  if (::getuid() != 0) GTEST_SKIP() << "a second user needs root";
  // A real second user: the folder and socket opened to others for this test only.
  w.inbox().SetAcceptedUser(0);
  ASSERT_EQ(::chmod(rt.path().c_str(), 0711), 0);
  ASSERT_EQ(::chmod(w.inbox().SocketPath().c_str(), 0777), 0);
  pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    ::_exit(SendToWindow(w.inbox().SocketPath(), 1, "WM_INITIALIZE;", nullptr, 2000) == SendStatus::Delivered ? 0 : 1);
  }
  EXPECT_EQ(WaitExit(child, 5000), 1);
  EXPECT_TRUE(w.Got().empty());
  EXPECT_EQ(SendToWindow(w.inbox().SocketPath(), 1, "WM_DATADISP;", nullptr, 2000), SendStatus::Delivered);
}

// Idle connections of the same user are bounded: the oldest go, and a real command still
// gets through.
TEST(Transport, IdleConnectionsAreBoundedAndTheOldestDropped) {
  TempDir rt;
  ThreadWindow w(rt.path(), "TFZANTRO");
  w.Start();
  std::vector<int> idle;
  for (int i = 0; i < 300; ++i) idle.push_back(RawConnect(w.inbox().SocketPath()));
  std::string error;
  EXPECT_EQ(SendToWindow(w.inbox().SocketPath(), 1, "WM_DATADISP;", nullptr, 5000, &error), SendStatus::Delivered)
      << error;
  for (int i = 0; i < 200 && w.Got().empty(); ++i) ::usleep(10000);
  EXPECT_EQ(w.Got(), std::vector<std::string>{"1:WM_DATADISP;"});
  EXPECT_EQ(Outcome(idle.front(), 2000), "closed");  // the first idle one was dropped
  int open = 0;
  for (int fd : idle) open += Outcome(fd, 0) == "open";
  EXPECT_LE(open, static_cast<int>(kMaxPendingConnections));
  for (int fd : idle) ::close(fd);
}

// zantro-send refuses a text Shift-JIS cannot hold (exit 2) instead of sending "?" for it.
TEST(Transport, SendRefusesCharactersShiftJisCannotHold) {
  TempDir rt;
  ThreadWindow w(rt.path(), "TFZANTRO");
  w.Start();
  EXPECT_EQ(WaitExit(Spawn(rt.path(), {"TFZANTRO", "WM_DATADISP;配管😀"}, rt.file("out")), 5000), 2);
  EXPECT_EQ(WaitExit(Spawn(rt.path(), {"TFZANTRO", "WM_DATADISP;配管"}, rt.file("out")), 5000), 0);
  for (int i = 0; i < 200 && w.Got().empty(); ++i) ::usleep(10000);
  ASSERT_EQ(w.Got().size(), 1u);
  EXPECT_EQ(w.Got()[0], "1:" + Sj("WM_DATADISP;配管"));
}

TEST(Transport, TwoWindowsSendingToEachOtherAtOnceBothGetThrough) {
  TempDir rt;
  std::string error;
  auto a = Inbox::Open(rt.path(), "TFZANTRO", &error), b = Inbox::Open(rt.path(), "TFCover_Dlg", &error);
  ASSERT_TRUE(a && b) << error;
  std::atomic<int> handled{0};
  a->SetHandler([&](uint32_t, const std::string&) { ++handled; });
  b->SetHandler([&](uint32_t, const std::string&) { ++handled; });
  std::atomic<int> ready{0}, done{0};
  // Each sends to the other and, while it waits, serves its own inbox, as QtPump does; after
  // its send its event loop goes on serving.
  auto sender = [&](Inbox& own, const std::string& to) {
    ++ready;
    while (ready < 2) {}
    SendStatus s = SendToWindow(to, 1, "WM_DATADISP;", [&own] { PollInbox(own, 0); }, 3000);
    ++done;
    while (done < 2) PollInbox(own, 5);
    return s;
  };
  SendStatus fromA, fromB;
  std::thread ta([&] { fromA = sender(*a, b->SocketPath()); });
  std::thread tb([&] { fromB = sender(*b, a->SocketPath()); });
  ta.join();
  tb.join();
  EXPECT_EQ(fromA, SendStatus::Delivered);
  EXPECT_EQ(fromB, SendStatus::Delivered);
  EXPECT_EQ(handled, 2);
}

TEST(Transport, ListenersOfOneClassAreAllClosedAndStaleSocketsRemoved) {
  TempDir rt;
  // A socket left by a process that died: found, refused, removed.
  std::string stale = WindowSocketPath(rt.path(), "TfPICKDATA_Dlg", 99999);
  {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strcpy(a.sun_path, stale.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ::close(fd);
  }
  pid_t a = Spawn(rt.path(), {"--listen", "TfPICKDATA_Dlg"}, rt.file("a.out"));
  pid_t b = Spawn(rt.path(), {"--listen", "TfPICKDATA_Dlg"}, rt.file("b.out"));
  WaitForWindows(rt.path(), "TfPICKDATA_Dlg", 2);
  EXPECT_FALSE(FileExists(stale));

  EXPECT_TRUE(RestoreCompanion(rt.path(), "TfPICKDATA_Dlg", nullptr));
  EXPECT_FALSE(RestoreCompanion(rt.path(), "TFCover_Dlg", nullptr));
  std::ostringstream report;
  int64_t start = MonotonicMs();
  CloseCompanions(rt.path(), {"TFCover_Dlg", "TfPICKDATA_Dlg"}, nullptr, report);
  EXPECT_LT(MonotonicMs() - start, 1000);
  EXPECT_EQ(report.str(), "");
  EXPECT_EQ(WaitExit(a, 2000), 0);
  EXPECT_EQ(WaitExit(b, 2000), 0);
  std::string first = Read(rt.file("a.out")), second = Read(rt.file("b.out"));
  // The restore went to one of them (the lower process id), the close to both.
  EXPECT_EQ(first + second, "WM_Restore;\nWM_CLOSE;\nWM_CLOSE;\n");
  EXPECT_TRUE(FindWindows(rt.path(), "TfPICKDATA_Dlg").empty());
}

TEST(Transport, ACompanionThatDoesNotCloseIsLeftAndReported) {
  TempDir rt;
  ThreadWindow stubborn(rt.path(), "TFCover_Dlg");  // answers, but stays
  stubborn.Start();
  std::ostringstream report;
  int64_t start = MonotonicMs();
  CloseCompanions(rt.path(), {"TFCover_Dlg"}, nullptr, report);
  int64_t took = MonotonicMs() - start;
  EXPECT_GE(took, kCloseWaitMs);
  EXPECT_LT(took, kCloseWaitMs + 1000);
  EXPECT_NE(report.str().find("TFCover_Dlg." + std::to_string(::getpid()) + ".sock did not close"), std::string::npos)
      << report.str();
  EXPECT_EQ(stubborn.Got(), std::vector<std::string>{"1:WM_CLOSE;"});  // asked once, not in a loop
}

TEST(Transport, AThousandCommandsArriveInTheOrderSent) {
  TempDir rt;
  pid_t listener = Spawn(rt.path(), {"--listen", "TFZANTRO"}, rt.file("listen.out"));
  WaitForWindows(rt.path(), "TFZANTRO", 1);
  std::string expected;
  for (int i = 1; i <= 1000; ++i) {
    std::string text = "WM_DATAWRITE;" + std::to_string(i) + ";";
    ASSERT_EQ(SendToClass(rt.path(), "TFZANTRO", 1, text, nullptr, 2000), SendStatus::Delivered) << i;
    expected += text + "\n";
  }
  // The command-line sender: identifier other than 1 is not a command, Japanese text goes as
  // Shift-JIS and comes back as UTF-8, and the close ends the listener.
  EXPECT_EQ(WaitExit(Spawn(rt.path(), {"--id", "2", "TFZANTRO", "WM_CLOSE;"}, rt.file("s1")), 5000), 0);
  EXPECT_EQ(WaitExit(Spawn(rt.path(), {"TFZANTRO", "WM_KEITO;空調設備;"}, rt.file("s2")), 5000), 0);
  EXPECT_EQ(WaitExit(Spawn(rt.path(), {"TFZANTRO", "WM_CLOSE;"}, rt.file("s3")), 5000), 0);
  EXPECT_EQ(WaitExit(listener, 2000), 0);
  EXPECT_EQ(Read(rt.file("listen.out")), expected + "[2] WM_CLOSE;\nWM_KEITO;空調設備;\nWM_CLOSE;\n");
  EXPECT_EQ(WaitExit(Spawn(rt.path(), {"TFZANTRO", "WM_CLOSE;"}, rt.file("s4")), 5000), 1);
}
