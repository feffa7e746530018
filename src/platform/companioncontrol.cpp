#include "platform/companioncontrol.h"

#include <poll.h>

#include <algorithm>
#include <set>

namespace zantro {
namespace {

// Lets the event loop run for about ms milliseconds without spinning.
void Idle(int ms, const Pump& pump) {
  int64_t until = MonotonicMs() + ms;
  do {
    if (pump) pump();
    ::poll(nullptr, 0, pump ? 5 : ms);
  } while (MonotonicMs() < until);
}

}  // namespace

void CloseCompanions(const std::string& runtime, std::initializer_list<const char*> classes, const Pump& pump,
                     std::ostream& report) {
  const int64_t deadline = MonotonicMs() + kCloseWaitMs;
  for (const char* windowClass : classes) {
    // A class reached after the deadline still gives its windows a moment to go.
    const int64_t classDeadline = std::max(deadline, MonotonicMs() + 300);
    std::set<std::string> asked;
    for (;;) {
      std::vector<std::string> live = FindWindows(runtime, windowClass);
      if (live.empty()) break;
      for (const std::string& w : live) {
        if (!asked.insert(w).second) continue;
        // Past the deadline each window still gets its command, with a short bound.
        int left = static_cast<int>(std::max<int64_t>(deadline - MonotonicMs(), 200));
        SendToWindow(w, kCommandIdentifier, "WM_CLOSE;", pump, left);
      }
      if (MonotonicMs() >= classDeadline) {
        for (const std::string& w : FindWindows(runtime, windowClass))
          report << "zantro: companion " << w << " did not close; left running\n";
        break;
      }
      Idle(20, pump);
    }
  }
}

bool RestoreCompanion(const std::string& runtime, const char* windowClass, const Pump& pump) {
  return SendToClass(runtime, windowClass, kCommandIdentifier, "WM_Restore;", pump, kCloseWaitMs) !=
         SendStatus::NoWindow;
}

}  // namespace zantro
