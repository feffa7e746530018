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
}

}  // namespace
}  // namespace zantro
