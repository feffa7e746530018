// Numbers as people type them in the dialogs and input boxes.
#include <gtest/gtest.h>

#include "general/errors.h"
#include "general/money.h"

namespace zantro {
namespace {

TEST(TypedNumber, SeparatorsFullWidthDigitsMinusAndPointAreNumbers) {
  EXPECT_EQ(TextToMoney(TypedNumber("1,200")), Money::Units(1200));
  EXPECT_EQ(TextToMoney(TypedNumber("１５００")), Money::Units(1500));
  EXPECT_EQ(TextToMoney(TypedNumber("－１，２３４．５")), TextToMoney("-1234.5"));
  EXPECT_EQ(StrToInt(TypedNumber("２０２６")), 2026);
  // Anything else is left for the conversion to refuse.
  EXPECT_EQ(TypedNumber("12a"), "12a");
  EXPECT_THROW(TextToMoney(TypedNumber("１２ａ")), ConversionError);
  EXPECT_EQ(TypedNumber("円"), "円");
  // Commas count only as thousands separators of the whole part; a decimal comma is refused.
  EXPECT_EQ(TypedNumber("12,345,678.25"), "12345678.25");
  EXPECT_EQ(TypedNumber("+1,000"), "+1000");
  for (const char* bad : {"12,5", "1234,567", ",123", "1,23,456", "1,2345", "1,", "0.1,5"})
    EXPECT_THROW(TextToMoney(TypedNumber(bad)), ConversionError) << bad;
}

}  // namespace
}  // namespace zantro
