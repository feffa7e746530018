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

// Every byte of the range, alone and as the second byte after a lead byte, against the rules of
// the code page; then texts a user may meet.
TEST(Cp932, FaultFindsTheFirstByteThatIsNoShiftJis) {
  constexpr size_t kNone = std::string_view::npos;
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const bool single = b < 0x80 || (b >= 0xA1 && b <= 0xDF);
    EXPECT_EQ(Cp932Fault(one), single ? kNone : 0u) << "byte " << b;
    // After the lead byte 0x88: a trail byte makes a character, anything else is a fault there.
    const bool trail = (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
    EXPECT_EQ(Cp932Fault("a\x88" + one), trail ? kNone : 1u) << "trail " << b;
  }
  EXPECT_EQ(Cp932Fault(""), kNone);
  EXPECT_EQ(Cp932Fault(Sj("配管工事 ｱｲｳ ①Ⅱ㈱ ダクト－送風機～")), kNone);
  // UTF-8 "工事": E5 B7 | A5 | E4 BA | 8B, a lead byte left alone at the end.
  EXPECT_EQ(Cp932Fault("工事"), 5u);
  // "é" as UTF-8 is two half-width katakana in Shift-JIS: nothing tells them apart.
  EXPECT_EQ(Cp932Fault("é"), kNone);
  EXPECT_EQ(Cp932Fault("abc\xFDx"), 3u);
  EXPECT_EQ(Cp932Fault("abc\x80"), 3u);
}

// A record field cuts its text in bytes: a lead byte alone at the end of a field it fills is the
// half of a character cut there, and only then.
TEST(Cp932, LeadByteAloneAtTheEndOnlyWhereTheFieldIsFull) {
  const std::string cut = CutBytes(Sj("配管"), 3);
  EXPECT_EQ(Cp932Fault(cut, 3), std::string_view::npos);
  EXPECT_EQ(Cp932Fault(cut, 4), 2u);
  EXPECT_EQ(Cp932Fault(cut), 2u);
  EXPECT_EQ(Cp932Fault("\x82", 1), std::string_view::npos);
  // A text longer than its field is no record's cut: its end is refused like any other.
  EXPECT_EQ(Cp932Fault(cut, 2), 2u);
  EXPECT_EQ(Cp932Fault("\x82", 0), 0u);
  // Within the text a lead byte needs its trail byte whatever the field.
  EXPECT_EQ(Cp932Fault("\x82;x", 3), 0u);
}

}  // namespace
}  // namespace zantro
