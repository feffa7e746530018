// Round trips of the copy-data transport: connect, frame, handler, answer. A window served by
// a poll loop on its own thread, a sender on the benchmark's thread, as between two programs.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "platform/transport.h"

namespace {

void BM_TransportRoundTrip(benchmark::State& state) {
  char folder[] = "/tmp/zantro-bench-XXXXXX";
  std::string runtime = ::mkdtemp(folder);
  std::string error;
  auto inbox = zantro::Inbox::Open(runtime, "TFZANTRO", &error);
  int64_t handled = 0;
  inbox->SetHandler([&](uint32_t, const std::string&) { ++handled; });
  std::atomic<bool> stop{false};
  std::thread window([&] {
    while (!stop) zantro::PollInbox(*inbox, 20);
  });
  std::string text = "WM_DATAWRITE;" + std::string(static_cast<size_t>(state.range(0)), 'x') + ";";
  for (auto _ : state) {
    if (zantro::SendToWindow(inbox->SocketPath(), 1, text, nullptr, 5000) != zantro::SendStatus::Delivered)
      state.SkipWithError("not delivered");
  }
  stop = true;
  window.join();
  state.SetItemsProcessed(state.iterations());
  inbox.reset();
  std::filesystem::remove_all(runtime);
}
BENCHMARK(BM_TransportRoundTrip)->Arg(100)->Arg(64 << 10)->Arg(1000 << 10)->UseRealTime();

}  // namespace
