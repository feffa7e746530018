// zantro-send: a command string to a window from a shell, or a window that prints what it
// receives. Texts are UTF-8 here and Shift-JIS on the wire, as the windows exchange them.
//   zantro-send [--id N] CLASS TEXT     exit 0 when delivered, 1 when no window took it, 2 for a
//                                       text Shift-JIS cannot hold
//   zantro-send --listen CLASS          one line per received text; ends on "WM_CLOSE;"
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/cp932.h"
#include "platform/runtime.h"
#include "platform/transport.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

int Usage() {
  std::fputs("usage: zantro-send [--id N] CLASS TEXT\n       zantro-send --listen CLASS\n", stderr);
  return 2;
}

int Listen(const std::string& runtime, const std::string& windowClass) {
  std::string error;
  auto inbox = zantro::Inbox::Open(runtime, windowClass, &error);
  if (!inbox) {
    std::fprintf(stderr, "zantro-send: %s\n", error.c_str());
    return 1;
  }
  bool closed = false;
  inbox->SetHandler([&](uint32_t id, const std::string& text) {
    std::string line = zantro::ToUtf8(text);
    if (id == zantro::kCommandIdentifier) std::printf("%s\n", line.c_str());
    else std::printf("[%u] %s\n", unsigned(id), line.c_str());  // not a command
    std::fflush(stdout);
    if (id == zantro::kCommandIdentifier && text == "WM_CLOSE;") {
      inbox->Unregister();  // gone before the sender hears the answer
      closed = true;
    }
  });
  // A terminated listener takes its socket with it.
  std::signal(SIGTERM, [](int) { g_stop = 1; });
  std::signal(SIGINT, [](int) { g_stop = 1; });
  while (!closed && !g_stop) zantro::PollInbox(*inbox, 200);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  auto runtime = zantro::RuntimeFolder(&error);
  if (!runtime) {
    std::fprintf(stderr, "zantro-send: %s\n", error.c_str());
    return 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "--listen") == 0) return Listen(*runtime, argv[2]);
  int i = 1;
  uint32_t id = zantro::kCommandIdentifier;
  if (argc > 2 && std::strcmp(argv[1], "--id") == 0) {
    char* end = nullptr;
    unsigned long v = std::strtoul(argv[2], &end, 10);
    if (!*argv[2] || *end || v > 0xFFFFFFFFul) return Usage();
    id = static_cast<uint32_t>(v);
    i = 3;
  }
  if (argc - i != 2) return Usage();
  std::string windowClass = argv[i];
  // A character the windows cannot hold is refused, not sent as "?" in its place.
  std::string offending;
  auto text = zantro::ToCp932Exact(argv[i + 1], &offending);
  if (!text) {
    std::fprintf(stderr, "zantro-send: the text holds \"%s\", which Shift-JIS cannot hold\n", offending.c_str());
    return 2;
  }
  switch (zantro::SendToClass(*runtime, windowClass, id, *text, nullptr, -1, &error)) {
    case zantro::SendStatus::Delivered: return 0;
    case zantro::SendStatus::NoWindow:
      std::fprintf(stderr, "zantro-send: no window of class %s runs\n", windowClass.c_str());
      return 1;
    case zantro::SendStatus::Failed: break;
  }
  std::fprintf(stderr, "zantro-send: %s\n", error.c_str());
  return 1;
}
