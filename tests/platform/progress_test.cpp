#include "platform/progress.h"

#include <gtest/gtest.h>

#include <vector>

namespace zantro {
namespace {

using namespace std::chrono_literals;
using Time = std::chrono::steady_clock::time_point;

struct FakeClock {
  Time now{};
  ProgressGate::Clock Fn() {
    return [this] { return now; };
  }
};

TEST(Progress, GateWaitsHalfASecondThenShowsEachTenthOfAPercentOnce) {
  FakeClock clock;
  ProgressGate gate(clock.Fn());
  EXPECT_FALSE(gate.Due(0, 4000));
  clock.now += 499ms;
  EXPECT_FALSE(gate.Due(1, 4000));
  EXPECT_FALSE(gate.Shown());
  clock.now += 1ms;
  EXPECT_TRUE(gate.Due(2, 4000));  // 0.0 %, first shown
  EXPECT_TRUE(gate.Shown());
  EXPECT_FALSE(gate.Due(3, 4000));  // still 0.0 %
  EXPECT_TRUE(gate.Due(4, 4000));   // 0.1 %
  EXPECT_FALSE(gate.Due(7, 4000));
  EXPECT_TRUE(gate.Due(4000, 4000));
  EXPECT_FALSE(gate.Due(4000, 4000));
  // Once shown it stays shown, whatever the clock says.
  EXPECT_TRUE(gate.Due(0, 4000));
}

TEST(Progress, PermilleOfEdgesAndLargeCounts) {
  EXPECT_EQ(Permille(0, 0), 1000);
  EXPECT_EQ(Permille(0, 7), 0);
  EXPECT_EQ(Permille(-3, 7), 0);
  EXPECT_EQ(Permille(1, 3), 333);
  EXPECT_EQ(Permille(2, 3), 666);
  EXPECT_EQ(Permille(9, 7), 1000);
  // No overflow where done * 1000 passes 64 bits.
  EXPECT_EQ(Permille(INT64_MAX / 2, INT64_MAX), 499);
}

TEST(Progress, TerminalLineIsRedrawnInPlaceAndClearedAtTheEnd) {
  EXPECT_EQ(TerminalLine("開いています", 150, 2000), "\r開いています 150/2000 (7%)");
  EXPECT_EQ(TerminalLine("x", 2000, 2000), "\rx 2000/2000 (100%)");
  EXPECT_EQ(ClearedTerminalLine(3), "\r   \r");

  FakeClock clock;
  std::string out;
  {
    TerminalProgress p("w", [&](std::string_view s) { out += s; }, ProgressGate(clock.Fn()));
    EXPECT_TRUE(p.Step(1, 20));
    EXPECT_EQ(out, "");  // before the delay nothing is written
    clock.now += 600ms;
    EXPECT_TRUE(p.Step(9, 20));
    EXPECT_TRUE(p.Step(9, 20));
    EXPECT_TRUE(p.Step(20, 20));
  }
  EXPECT_EQ(out, "\rw 9/20 (45%)\rw 20/20 (100%)\r" + std::string(14, ' ') + "\r");
}

TEST(Progress, TerminalLineNeverWrittenLeavesNothingToClear) {
  std::string out;
  {
    TerminalProgress p("w", [&](std::string_view s) { out += s; });
    p.Step(1, 2);
  }
  EXPECT_EQ(out, "");
}

TEST(Progress, ShorterTerminalLineCoversTheLongerOne) {
  FakeClock clock;
  clock.now += 1s;
  std::string out;
  TerminalProgress p("w", [&](std::string_view s) { out = s; }, ProgressGate(clock.Fn(), 0ms));
  p.Step(100, 100);
  p.Step(1, 9);
  EXPECT_EQ(out, "\rw 1/9 (11%)" + std::string(5, ' '));
}

TEST(Progress, RecordedStepsAreOneLinePerTenthAndTheLast) {
  std::vector<std::string> lines;
  RecordedProgress p("open", [&](const std::string& s) { lines.push_back(s); });
  for (int i = 0; i <= 25; ++i) EXPECT_TRUE(p.Step(i, 25));
  EXPECT_EQ(lines, (std::vector<std::string>{"progress: open 0/25", "progress: open 3/25", "progress: open 5/25",
                                             "progress: open 8/25", "progress: open 10/25", "progress: open 13/25",
                                             "progress: open 15/25", "progress: open 18/25", "progress: open 20/25",
                                             "progress: open 23/25", "progress: open 25/25"}));
}

TEST(Progress, RecordedStopHoldsForEveryLaterStep) {
  std::vector<std::string> lines;
  RecordedProgress p("save", [&](const std::string& s) { lines.push_back(s); }, 3);
  EXPECT_TRUE(p.Step(1, 10));
  EXPECT_TRUE(p.Step(2, 10));
  EXPECT_FALSE(p.Step(3, 10));  // the step itself stops
  EXPECT_FALSE(p.Step(5, 10));
  EXPECT_FALSE(p.Step(1, 10));
  EXPECT_EQ(lines, (std::vector<std::string>{"progress: save 1/10", "progress: save 2/10", "progress: save stopped 3/10"}));
  // A stop between two steps takes the next one.
  lines.clear();
  RecordedProgress q("save", [&](const std::string& s) { lines.push_back(s); }, 3);
  EXPECT_TRUE(q.Step(2, 10));
  EXPECT_FALSE(q.Step(4, 10));
  EXPECT_EQ(lines.back(), "progress: save stopped 4/10");
}

TEST(Progress, StagesAddUpAndOnlyStoppableStagesStop) {
  std::vector<std::pair<int64_t, int64_t>> seen;
  struct Sink : Progress {
    std::vector<std::pair<int64_t, int64_t>>* seen;
    bool stop = false;
    bool Step(int64_t d, int64_t t) override {
      seen->emplace_back(d, t);
      return !stop;
    }
  } sink;
  sink.seen = &seen;
  // The second stage: 20 of its own steps over steps 10..30 of 40.
  ProgressStage second(sink, 10, 20, 40);
  EXPECT_TRUE(second.Step(5, 20));
  EXPECT_TRUE(second.Step(1, 3));    // a third of 20 steps, rounded down
  EXPECT_TRUE(second.Step(-1, 3));   // never before the stage
  EXPECT_TRUE(second.Step(9, 3));    // never past it
  EXPECT_TRUE(second.Step(0, 0));    // an empty stage is a done stage
  sink.stop = true;
  EXPECT_THROW(StepOrCancel(second, 6, 20), ProgressCancelled);
  ProgressReportOnly reporting(second);
  EXPECT_NO_THROW(StepOrCancel(reporting, 7, 20));
  EXPECT_NO_THROW(StepOrCancel(NoProgress(), 1, 1));
  EXPECT_EQ(seen, (std::vector<std::pair<int64_t, int64_t>>{
                      {15, 40}, {16, 40}, {10, 40}, {30, 40}, {30, 40}, {16, 40}, {17, 40}}));
}

}  // namespace
}  // namespace zantro
