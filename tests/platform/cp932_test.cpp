#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace zantro {
namespace {

TEST(Cp932, RoundTripsJapaneseAndTheCharactersShiftJisLacks) {
  // "－" and "～" exist in CP932 but not in plain Shift-JIS: the conversion must use CP932.
  for (std::string text : {"配管工事", "ダクト－送風機～", "ｱｲｳ半角", "①Ⅱ㈱", "abc 123"}) {
    std::string sj = ToCp932(text);
    EXPECT_EQ(ToUtf8(sj), text);
  }
  EXPECT_EQ(ToCp932("消費税"), std::string("\x8F\xC1\x94\xEF\x90\xC5"));
}

TEST(Cp932, UnmappableBecomesQuestionMark) {
  EXPECT_EQ(ToCp932("a😀b"), "a?b");
  EXPECT_EQ(ToCp932("ä"), "?");
  EXPECT_EQ(ToCp932("x\xFFy"), "x?y");  // invalid UTF-8 byte
}

// Where a guess would change what the user wrote, the exact conversion refuses and names the
// character.
TEST(Cp932, ExactConversionNamesTheCharacterItCannotHold) {
  EXPECT_EQ(ToCp932Exact("配管;SGP"), Sj("配管;SGP"));
  EXPECT_EQ(ToCp932Exact(""), "");
  std::string offending;
  EXPECT_FALSE(ToCp932Exact("WM_DATADISP;a😀b", &offending));
  EXPECT_EQ(offending, "😀");
  EXPECT_FALSE(ToCp932Exact("für", &offending));
  EXPECT_EQ(offending, "ü");
  EXPECT_FALSE(ToCp932Exact("x\xFFy", &offending));
  EXPECT_EQ(offending, "\xFF");
}

TEST(Cp932, InvalidByteBecomesReplacementAndDanglingLeadIsDropped) {
  EXPECT_EQ(ToUtf8("a\xA0z"), "a\xEF\xBF\xBDz");
  std::string cut = CutBytes(ToCp932("配管"), 3);  // the second character loses its trail byte
  ASSERT_EQ(cut.size(), 3u);
  EXPECT_EQ(ToUtf8(cut), "配");
  EXPECT_EQ(ToUtf8(std::string_view("\x82", 1)), "");
}

TEST(Cp932, LeadBytes) {
  EXPECT_TRUE(IsLeadByte(0x81));
  EXPECT_TRUE(IsLeadByte(0x9F));
  EXPECT_TRUE(IsLeadByte(0xE0));
  EXPECT_FALSE(IsLeadByte(0xA0));  // half-width katakana are single bytes
  EXPECT_FALSE(IsLeadByte('A'));
}

}  // namespace
}  // namespace zantro
