// Long work (opening, saving, printing or exporting a document of thousands of items, the batch
// commands) reports its steps to a Progress, which may be a bar in the window, a line on a
// terminal, the lines of a script, or nothing. Step answers false when the user asked to stop:
// work that can stop then raises ProgressCancelled before it has changed anything, so a stopped
// command leaves every file and the open document as they were.
#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zantro {

class Progress {
 public:
  virtual ~Progress() = default;
  // done of total steps are finished (0 <= done <= total). False when the user asked to stop.
  virtual bool Step(int64_t done, int64_t total) = 0;
};

// Reports nothing and never stops.
Progress& NoProgress();

// The user stopped the work. Raised only before the work changed anything; the event boundary
// of the window takes it silently, the batch commands end with status 1.
class ProgressCancelled : public std::runtime_error {
 public:
  ProgressCancelled() : std::runtime_error("中止しました") {}
};

// Step, raising ProgressCancelled when the user asked to stop.
void StepOrCancel(Progress& p, int64_t done, int64_t total);

// One stage of a longer work: the stage's steps done of stageTotal are reported as the share
// of span steps after offset, of the whole's wholeTotal steps. So a stage can count in its own
// units (files, pages) while the whole counts in another.
class ProgressStage : public Progress {
 public:
  ProgressStage(Progress& whole, int64_t offset, int64_t span, int64_t wholeTotal)
      : whole_(whole), offset_(offset), span_(span), total_(wholeTotal) {}
  bool Step(int64_t done, int64_t stageTotal) override;

 private:
  Progress& whole_;
  int64_t offset_;
  int64_t span_;
  int64_t total_;
};

// A stage that cannot stop (the work has begun to replace files and must run to its end): it
// reports its steps and ignores a request to stop.
class ProgressReportOnly : public Progress {
 public:
  explicit ProgressReportOnly(Progress& whole) : whole_(whole) {}
  bool Step(int64_t done, int64_t total) override {
    whole_.Step(done, total);
    return true;
  }

 private:
  Progress& whole_;
};

// When a display of progress is due. Work that ends within the delay shows nothing; after it
// the display is shown and then updated only when the shown value (tenths of a percent)
// changes, so thousands of steps cost a thousand updates at most.
class ProgressGate {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::chrono::milliseconds kDelay{500};
  explicit ProgressGate(Clock clock = std::chrono::steady_clock::now, std::chrono::milliseconds delay = kDelay);
  // True when done/total is to be shown now.
  bool Due(int64_t done, int64_t total);
  bool Shown() const { return shown_; }

 private:
  Clock clock_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::milliseconds delay_;
  bool shown_ = false;
  int64_t lastPermille_ = -1;
};

// Tenths of a percent of done/total, 0..1000 (1000 for an empty work).
int64_t Permille(int64_t done, int64_t total);

// The progress line of a batch command on a terminal: "\rLABEL N/M (P%)", and the text that
// clears a line of width characters and puts the cursor back at its start.
std::string TerminalLine(std::string_view label, int64_t done, int64_t total);
std::string ClearedTerminalLine(size_t width);

// Progress as a line on a terminal, redrawn in place; the line is cleared when the work ends
// (the object goes), so the command's own messages start on an empty line. Never stops.
class TerminalProgress : public Progress {
 public:
  using Write = std::function<void(std::string_view)>;
  TerminalProgress(std::string label, Write write, ProgressGate gate = ProgressGate());
  ~TerminalProgress() override;
  bool Step(int64_t done, int64_t total) override;

 private:
  std::string label_;
  Write write_;
  ProgressGate gate_;
  size_t width_ = 0;  // bytes of the longest line written
};

// The progress of a batch command: a TerminalProgress on standard error when it is a
// terminal, else a sink that reports nothing.
std::unique_ptr<Progress> BatchProgress(std::string label);

// Progress as a script sees it: the line "progress: LABEL N/M" at the first step, at every
// step that reaches a further tenth of the work and at the last step; with stopAt, the user
// stops at the first step whose done reaches it ("progress: LABEL stopped N/M"), and every
// later step answers false too.
class RecordedProgress : public Progress {
 public:
  using Say = std::function<void(const std::string&)>;
  RecordedProgress(std::string label, Say say, std::optional<int64_t> stopAt = std::nullopt);
  bool Step(int64_t done, int64_t total) override;

 private:
  std::string label_;
  Say say_;
  std::optional<int64_t> stopAt_;
  bool stopped_ = false;
  int64_t lastTenth_ = -1;
};

}  // namespace zantro
