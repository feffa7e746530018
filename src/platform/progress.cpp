#include "platform/progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace zantro {

namespace {

class NullProgress : public Progress {
 public:
  bool Step(int64_t, int64_t) override { return true; }
};

}  // namespace

Progress& NoProgress() {
  static NullProgress none;
  return none;
}

void StepOrCancel(Progress& p, int64_t done, int64_t total) {
  if (!p.Step(done, total)) throw ProgressCancelled();
}

bool ProgressStage::Step(int64_t done, int64_t stageTotal) {
  int64_t part = span_;
  if (stageTotal > 0 && done < stageTotal)
    part = done <= 0 ? 0 : static_cast<int64_t>(static_cast<__int128>(done) * span_ / stageTotal);
  return whole_.Step(offset_ + part, total_);
}

int64_t Permille(int64_t done, int64_t total) {
  if (total <= 0 || done >= total) return 1000;
  if (done <= 0) return 0;
  return static_cast<int64_t>(static_cast<__int128>(done) * 1000 / total);
}

ProgressGate::ProgressGate(Clock clock, std::chrono::milliseconds delay)
    : clock_(std::move(clock)), start_(clock_()), delay_(delay) {}

bool ProgressGate::Due(int64_t done, int64_t total) {
  if (!shown_) {
    if (clock_() - start_ < delay_) return false;
    shown_ = true;
  }
  int64_t permille = Permille(done, total);
  if (permille == lastPermille_) return false;
  lastPermille_ = permille;
  return true;
}

std::string TerminalLine(std::string_view label, int64_t done, int64_t total) {
  std::string line = "\r";
  line += label;
  line += ' ' + std::to_string(done) + '/' + std::to_string(total) + " (" + std::to_string(Permille(done, total) / 10) +
          "%)";
  return line;
}

std::string ClearedTerminalLine(size_t width) { return "\r" + std::string(width, ' ') + "\r"; }

TerminalProgress::TerminalProgress(std::string label, Write write, ProgressGate gate)
    : label_(std::move(label)), write_(std::move(write)), gate_(std::move(gate)) {}

TerminalProgress::~TerminalProgress() {
  if (width_ > 0) write_(ClearedTerminalLine(width_));
}

bool TerminalProgress::Step(int64_t done, int64_t total) {
  if (!gate_.Due(done, total)) return true;
  std::string line = TerminalLine(label_, done, total);
  size_t width = line.size() - 1;  // without the CR
  if (width < width_) line.append(width_ - width, ' ');  // a shorter line covers the longer one
  width_ = std::max(width_, width);
  write_(line);
  return true;
}

std::unique_ptr<Progress> BatchProgress(std::string label) {
  if (::isatty(2) != 1) return std::make_unique<NullProgress>();
  return std::make_unique<TerminalProgress>(std::move(label), [](std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
  });
}

RecordedProgress::RecordedProgress(std::string label, Say say, std::optional<int64_t> stopAt)
    : label_(std::move(label)), say_(std::move(say)), stopAt_(stopAt) {}

bool RecordedProgress::Step(int64_t done, int64_t total) {
  if (stopped_) return false;
  std::string at = std::to_string(done) + "/" + std::to_string(total);
  if (stopAt_ && done >= *stopAt_) {
    stopped_ = true;
    say_("progress: " + label_ + " stopped " + at);
    return false;
  }
  int64_t tenth = Permille(done, total) / 100;
  if (tenth != lastTenth_ || done == total) {
    lastTenth_ = tenth;
    say_("progress: " + label_ + " " + at);
  }
  return true;
}

}  // namespace zantro
