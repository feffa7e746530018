// The command table: one entry per word and mode, a second registration refused.
#include "uzantro/commandtable.h"

#include <gtest/gtest.h>

namespace zantro {
namespace {

TEST(CommandTable, AWordServesEachModeOnce) {
  CommandTable table;
  QString ran;
  table.Register("copy", CommandMode::Sheet, [&](QObject*) { ran = "sheet"; });
  table.Register("copy", CommandMode::Breakdown, [&](QObject*) { ran = "breakdown"; });
  table.Register("close", CommandMode::Both, [&](QObject*) { ran = "close"; });
  (*table.Find("copy", false))(nullptr);
  EXPECT_EQ(ran, "breakdown");
  (*table.Find("copy", true))(nullptr);
  EXPECT_EQ(ran, "sheet");
  EXPECT_NE(table.Find("close", false), nullptr);
  EXPECT_NE(table.Find("close", true), nullptr);

  EXPECT_THROW(table.Register("copy", CommandMode::Sheet, [](QObject*) {}), std::logic_error);
  EXPECT_THROW(table.Register("close", CommandMode::Breakdown, [](QObject*) {}), std::logic_error);
  table.Register("erase", CommandMode::Sheet, [](QObject*) {});
  EXPECT_THROW(table.Register("erase", CommandMode::Both, [](QObject*) {}), std::logic_error);
  EXPECT_EQ(table.Find("erase", false), nullptr);
  EXPECT_TRUE(table.Knows("erase"));
  EXPECT_FALSE(table.Knows("sum_line"));
}

}  // namespace
}  // namespace zantro
