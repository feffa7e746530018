// The money rules: exact cuts and roundings, the texts, the conversions and the field readers.
#include "general/money.h"

#include <gtest/gtest.h>

#include <climits>

namespace zantro {
namespace {

Money M(std::string_view text) { return StrToCurr(text); }

TEST(MoneyArithmetic, OverflowRaisesInsteadOfWrapping) {
  Money max = Money::FromRaw(INT64_MAX);
  Money min = Money::FromRaw(INT64_MIN);
  EXPECT_THROW(max + Money::FromRaw(1), MoneyOverflow);
  EXPECT_THROW(min - Money::FromRaw(1), MoneyOverflow);
  EXPECT_THROW(-min, MoneyOverflow);
  EXPECT_EQ(max - max, kZero);
  EXPECT_THROW(LineAmount(M("1000000000000"), M("1000000"), kHalf), MoneyOverflow);
  EXPECT_THROW(PercentOf(kHalf, max, M("1000")), MoneyOverflow);
  EXPECT_THROW(RoundByMode(max, M("6"), kNineTenths), MoneyOverflow);
}

TEST(MoneyRounding, AddendForMenuTags) {
  EXPECT_EQ(AddendFor(0), kHalf);
  EXPECT_EQ(AddendFor(1), kNineTenths);
  EXPECT_EQ(AddendFor(2), kZero);
  EXPECT_EQ(AddendFor(7), kHalf);
}

TEST(MoneyRounding, LineAmountWithEachAddend) {
  EXPECT_EQ(LineAmount(M("1250"), M("3"), kHalf), M("3750"));
  EXPECT_EQ(LineAmount(M("33.3"), M("3"), kHalf), M("100"));
  EXPECT_EQ(LineAmount(M("33.3"), M("3"), kNineTenths), M("100"));
  EXPECT_EQ(LineAmount(M("33.3"), M("3"), kZero), M("99"));
  // 12.05 stays 12 with the "up" addend: only a fraction of 0.1 or more goes up.
  EXPECT_EQ(LineAmount(M("12.05"), M("1"), kNineTenths), M("12"));
  EXPECT_EQ(LineAmount(M("12.1"), M("1"), kNineTenths), M("13"));
  // A product with eight decimals is exact, not rounded to four before the cut.
  EXPECT_EQ(LineAmount(M("0.0001"), M("4999.9999"), kHalf), M("0"));
}

TEST(MoneyRounding, NegativeProductsAreCutTowardZeroAfterTheAddend) {
  EXPECT_EQ(LineAmount(M("-12.3"), M("1"), kHalf), M("-11"));
  EXPECT_EQ(LineAmount(M("-12.3"), M("1"), kZero), M("-12"));
  EXPECT_EQ(LineAmount(M("-12.3"), M("1"), kNineTenths), M("-11"));
  EXPECT_EQ(Cut(M("-2.9")), M("-2"));
  EXPECT_EQ(Cut(M("2.9")), M("2"));
}

TEST(MoneyRounding, PercentOf) {
  EXPECT_EQ(PercentOf(kHalf, M("123456"), M("10")), M("12346"));
  EXPECT_EQ(PercentOf(kHalf, M("123456"), kZero), kZero);
  EXPECT_EQ(PercentOf(kZero, M("999"), M("33.3333")), M("332"));
  EXPECT_EQ(PercentOf(kHalf, M("-1005"), M("10")), M("-100"));
}

TEST(MoneyRounding, RoundByModePowersOfTen) {
  EXPECT_EQ(RoundByMode(M("1234567"), M("3"), kHalf), M("1235000"));
  EXPECT_EQ(RoundByMode(M("1234567"), M("3"), kZero), M("1234000"));
  EXPECT_EQ(RoundByMode(M("1234567"), M("1"), kNineTenths), M("1234570"));
  EXPECT_EQ(RoundByMode(M("1234567"), M("6"), kHalf), M("1000000"));
  // The mode's fraction is ignored.
  EXPECT_EQ(RoundByMode(M("1234567"), M("3.7"), kHalf), M("1235000"));
}

TEST(MoneyRounding, RoundByModeSignificantFiguresAndOthers) {
  EXPECT_EQ(RoundByMode(M("1234567"), M("9"), kHalf), M("1234000"));
  EXPECT_EQ(RoundByMode(M("1234567"), M("8"), kHalf), M("1230000"));
  EXPECT_EQ(RoundByMode(M("1234567"), M("7"), kHalf), M("1200000"));
  EXPECT_EQ(RoundByMode(M("1234567"), M("0"), kHalf), M("1234567"));
  EXPECT_EQ(RoundByMode(M("1234567"), M("10"), kHalf), M("1234567"));
  EXPECT_EQ(RoundByMode(M("1234567"), M("-3"), kHalf), M("1234567"));
  // Only whole digits count: a sign or a fraction does not take a figure away.
  EXPECT_EQ(RoundByMode(M("-1234567"), M("7"), kHalf), M("-1200000"));
  EXPECT_EQ(RoundByMode(M("12345.67"), M("8"), kHalf), M("12300"));
  EXPECT_EQ(RoundByMode(M("123.45"), M("8"), kHalf), M("123.45"));
}

TEST(MoneyRounding, SignificantRound) {
  EXPECT_EQ(SignificantRound(M("123456"), 3, kHalf), M("123000"));
  EXPECT_EQ(SignificantRound(M("123456"), 3, kNineTenths), M("124000"));
  EXPECT_EQ(SignificantRound(M("123456"), 3, kZero), M("123000"));
  EXPECT_EQ(SignificantRound(M("987"), 4, kHalf), M("987"));
  EXPECT_EQ(SignificantRound(M("987"), 2, kHalf), M("990"));
  EXPECT_EQ(SignificantRound(M("1234.5"), 3, kHalf), M("1230"));
}

TEST(MoneyRounding, QuantityAndLabourCuts) {
  Money hundred = M("100");
  EXPECT_EQ(CutQuantity(M("2.345"), 20, hundred), M("2.34"));
  EXPECT_EQ(CutQuantity(M("-2.345"), 21, hundred), M("-2.34"));
  EXPECT_EQ(CutQuantity(M("2.3456"), 22, M("1000")), M("2.345"));
  EXPECT_EQ(CutQuantity(M("2.9"), 11, hundred), M("2"));
  EXPECT_EQ(CutQuantity(M("2.9"), 50, hundred), M("2.9"));
  // A scale that leaves more than four decimals rounds the quotient to even.
  EXPECT_EQ(CutQuantity(M("1"), 20, M("3")), M("1"));
  EXPECT_EQ(CutQuantity(M("0.7"), 20, M("3")), M("0.6667"));
  EXPECT_EQ(CutLabourFactor(M("1.2349")), M("1.234"));
  EXPECT_EQ(CutLabourFactor(M("-1.2349")), M("-1.234"));
}

TEST(MoneySettings, InvalidSettingsAreReplaced) {
  CalcSettings s{M("0.3"), M("1"), M("50"), M("20"), M("0.7")};
  CheckSettings(s);
  EXPECT_EQ(s.LineRoundAddend, kHalf);
  EXPECT_EQ(s.Opt4RoundAddend, kHalf);
  EXPECT_EQ(s.QuantityScale, M("100"));
  EXPECT_EQ(s.Opt3Unit, kOne);
  EXPECT_EQ(s.Opt6RoundAddend, M("0.7"));  // not checked

  CalcSettings ok{kZero, kNineTenths, M("1000"), M("100000"), kZero};
  CalcSettings copy = ok;
  CheckSettings(copy);
  EXPECT_EQ(copy.LineRoundAddend, ok.LineRoundAddend);
  EXPECT_EQ(copy.Opt4RoundAddend, ok.Opt4RoundAddend);
  EXPECT_EQ(copy.QuantityScale, ok.QuantityScale);
  EXPECT_EQ(copy.Opt3Unit, ok.Opt3Unit);
}

TEST(MoneyText, AmountsWithSeparatorsAndNoDecimals) {
  EXPECT_EQ(MoneyText(M("1234567")), "1,234,567");
  EXPECT_EQ(MoneyText(M("-5000")), "-5,000");
  EXPECT_EQ(MoneyText(kZero), "0");
  EXPECT_EQ(MoneyText(M("999.5")), "1,000");
  EXPECT_EQ(MoneyText(M("-0.5")), "-1");
  EXPECT_EQ(MoneyText(M("-0.4")), "0");
  EXPECT_EQ(MoneyText(Money::FromRaw(INT64_MIN)), "-922,337,203,685,478");
}

TEST(MoneyText, PlainText) {
  EXPECT_EQ(MoneyToPlainText(M("12.5")), "12.5");
  EXPECT_EQ(MoneyToPlainText(M("3")), "3");
  EXPECT_EQ(MoneyToPlainText(M("-0.25")), "-0.25");
  EXPECT_EQ(MoneyToPlainText(M("0.0001")), "0.0001");
  EXPECT_EQ(MoneyToPlainText(kZero), "0");
  EXPECT_EQ(MoneyToPlainText(M("1.05")), "1.05");
  EXPECT_EQ(MoneyToPlainText(Money::FromRaw(INT64_MAX)), "922337203685477.5807");
  EXPECT_EQ(MoneyToPlainText(Money::FromRaw(INT64_MIN)), "-922337203685477.5808");
}

TEST(MoneyText, QuantityFormatsAndWidths) {
  EXPECT_EQ(QuantityText(M("1.5"), M("100")), "  1.50");
  EXPECT_EQ(QuantityText(M("1.5"), M("10")), "    1.5");
  EXPECT_EQ(QuantityText(M("1.5"), M("1000")), "1.500");
  EXPECT_EQ(QuantityText(M("12345.5"), M("1000")), "12345.500");  // wider when needed
  EXPECT_EQ(QuantityText(M("1.235"), M("100")), "  1.24");        // half away from zero
  EXPECT_EQ(QuantityText(M("-1.235"), M("100")), " -1.24");
  EXPECT_EQ(QuantityText(M("-0.004"), M("100")), "  0.00");
  EXPECT_EQ(QuantityText(M("1.5"), M("7"), "as typed"), "as typed");
  EXPECT_EQ(QuantityTextTrimmed(M("1.5"), M("100")), "1.50");
}

TEST(MoneyText, TextsWrittenInPlaceAreTheStringTexts) {
  for (int64_t raw : {int64_t{0}, int64_t{1}, int64_t{-1}, int64_t{49}, int64_t{-50}, int64_t{500}, int64_t{-4999},
                      int64_t{5000}, int64_t{10000}, int64_t{-1000}, int64_t{123456789}, int64_t{-123455},
                      INT64_MAX, INT64_MIN, INT64_MIN + 1}) {
    Money v = Money::FromRaw(raw);
    char buffer[kPlainTextMax];
    EXPECT_EQ(std::string(buffer, PlainTextAt(v, buffer)), MoneyToPlainText(v)) << raw;
    for (const char* scale : {"10", "100", "1000"})
      EXPECT_EQ(std::string(buffer, QuantityTextAt(v, M(scale), buffer)), QuantityTextTrimmed(v, M(scale)))
          << raw << " " << scale;
  }
}

TEST(MoneyConversion, StrToCurrAccepts) {
  EXPECT_EQ(StrToCurr("  12.5 "), Money::FromRaw(125000));
  EXPECT_EQ(StrToCurr("-3"), Money::FromRaw(-30000));
  EXPECT_EQ(StrToCurr("+.5"), kHalf);
  EXPECT_EQ(StrToCurr("7."), M("7"));
  EXPECT_EQ(StrToCurr("-0"), kZero);
  EXPECT_EQ(StrToCurr("99999999999999.9999"), Money::FromRaw(999999999999999999));
  EXPECT_EQ(StrToCurr("-123456789012345.6789"), Money::FromRaw(-1234567890123456789));
  EXPECT_EQ(StrToCurr("922337203685477.5807"), Money::FromRaw(INT64_MAX));
  EXPECT_EQ(StrToCurr("-922337203685477.5808"), Money::FromRaw(INT64_MIN));
}

TEST(MoneyConversion, StrToCurrRoundsExtraDecimalsToEven) {
  EXPECT_EQ(StrToCurr("0.00005"), kZero);
  EXPECT_EQ(StrToCurr("0.00015"), Money::FromRaw(2));
  EXPECT_EQ(StrToCurr("0.000050001"), Money::FromRaw(1));
  EXPECT_EQ(StrToCurr("0.00016"), Money::FromRaw(2));
  EXPECT_EQ(StrToCurr("-0.00015"), Money::FromRaw(-2));
  EXPECT_EQ(StrToCurr("1.99999"), M("2"));
}

TEST(MoneyConversion, StrToCurrRejectsQuotingTheText) {
  for (const char* bad : {"", " ", "abc", "1.2.3", "-", ".", "1e3", "1,000", "12 3", "--1",
                          "922337203685477.5808", "99999999999999999999999", "922337203685478",
                          "-922337203685477.58086", "99999999999999999999x"}) {
    EXPECT_THROW(StrToCurr(bad), ConversionError) << bad;
  }
  try {
    StrToCurr("abc");
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_NE(std::string(e.what()).find("'abc'"), std::string::npos);
  }
  EXPECT_EQ(StrToCurrDef("x", M("4")), M("4"));
}

TEST(MoneyConversion, TextToMoney) {
  EXPECT_EQ(TextToMoney(""), kZero);
  EXPECT_EQ(TextToMoney("\"\""), kZero);
  EXPECT_EQ(TextToMoney("1.08"), Money::FromRaw(10800));
  EXPECT_THROW(TextToMoney("\""), ConversionError);
}

TEST(MoneyConversion, StrToInt) {
  EXPECT_EQ(StrToInt(" -42 "), -42);
  EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_THROW(StrToInt("2147483648"), ConversionError);
  EXPECT_THROW(StrToInt("1.0"), ConversionError);
  EXPECT_THROW(StrToInt(""), ConversionError);
  EXPECT_EQ(StrToIntDef("x", 7), 7);
  EXPECT_EQ(StrToIntDef("99999999999", 0), 0);
}

TEST(MoneyFields, TakeField) {
  auto [f1, r1] = TakeField("a;b;c");
  EXPECT_EQ(f1, "a");
  EXPECT_EQ(r1, "b;c");
  auto [f2, r2] = TakeField("no separator");
  EXPECT_EQ(f2, "no separator");
  EXPECT_EQ(r2, "no separator");
  auto [f3, r3] = TakeCommaField(",x");
  EXPECT_EQ(f3, "");
  EXPECT_EQ(r3, "x");
}

TEST(MoneyFields, FieldOf) {
  EXPECT_EQ(FieldOf("CMD;12;abc;", 1), "CMD");
  EXPECT_EQ(FieldOf("CMD;12;abc;", 3), "abc");
  EXPECT_EQ(FieldOf("CMD;12;", 5), "12");       // past the end: the last terminated field
  EXPECT_EQ(FieldOf("CMD;12;tail", 3), "12");   // a trailing piece without ";" is never returned
  EXPECT_EQ(FieldOf("no fields", 1), "");
  EXPECT_EQ(FieldOf("CMD;;x;", 2), "");
}

TEST(MoneyGroups, SelectionAndLetters) {
  EXPECT_EQ(PriceGroupOf(M("12000.9999")), 0);
  EXPECT_EQ(PriceGroupOf(M("12001")), 1);
  EXPECT_EQ(PriceGroupOf(M("24000.5")), 4);
  EXPECT_EQ(PriceGroupOf(M("24001")), 5);
  EXPECT_EQ(PriceGroupOf(M("30000")), 5);
  EXPECT_EQ(PriceGroupOf(M("-5")), 0);
  EXPECT_EQ(GroupLetter(M("0"), 10), "A");
  EXPECT_EQ(GroupLetter(M("15000"), 10), "B");
  EXPECT_EQ(GroupLetter(M("15001"), 22), "c");
  EXPECT_EQ(GroupLetter(M("27000"), 12), "f");
  EXPECT_EQ(GroupLetter(M("27001"), 10), "+");
  EXPECT_EQ(GroupLetter(M("30000"), 10), "+");
  EXPECT_EQ(GroupLetter(M("-1"), 10), "+");
}

}  // namespace
}  // namespace zantro
