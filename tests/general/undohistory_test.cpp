// The history of undo steps: its bounds and its two sides.
#include <gtest/gtest.h>

#include "general/undohistory.h"

namespace zantro {
namespace {

UndoStep Step(const std::string& bytes, int32_t item = 1) {
  UndoStep s;
  s.Files["HEAD.WRK"] = bytes;
  s.CurrentItem = item;
  return s;
}

TEST(UndoHistory, UndoRedoAndANewCommandClearingTheRedoSide) {
  UndoHistory h;
  h.Push(Step("a"));
  h.Push(Step("b"));
  auto now = [](const std::string& bytes) { return [bytes](const UndoStep&) { return Step(bytes); }; };
  auto back = h.Undo(now("c"));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back->Files["HEAD.WRK"], "b");
  auto again = h.Redo(now("b"));
  ASSERT_TRUE(again);
  EXPECT_EQ(*again->Files["HEAD.WRK"], "c");  // what the files held when the step was undone
  h.Undo(now("c"));
  h.Push(Step("d"));
  EXPECT_FALSE(h.CanRedo());
  EXPECT_FALSE(h.Redo(now("x")));
}

TEST(UndoHistory, AtMostSixtyFourStepsAndSixtyFourMegabytesTheOldestFirst) {
  UndoHistory h;
  for (int i = 0; i < 70; ++i) h.Push(Step(std::to_string(i)));
  EXPECT_EQ(h.Steps(), UndoHistory::kMaxSteps);
  h.Clear();
  const std::string tenMegabytes(10u << 20, 'x');
  for (int i = 0; i < 8; ++i) h.Push(Step(tenMegabytes + std::to_string(i)));
  EXPECT_EQ(h.Steps(), 6u);
  auto last = h.Undo([](const UndoStep&) { return UndoStep{}; });
  EXPECT_EQ(last->Files["HEAD.WRK"]->substr(10u << 20), "7");
}

}  // namespace
}  // namespace zantro
