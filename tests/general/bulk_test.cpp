// The bulk price and quantity rules over a selection of lines.
#include "general/bulk.h"

#include <gtest/gtest.h>

#include <climits>

namespace zantro {
namespace {

Money M(std::string_view text) { return StrToCurr(text); }

LineRecord Line(int32_t flag, std::string_view costPrice, std::string_view subPrice,
                std::string_view costQty = "0", std::string_view subQty = "0") {
  LineRecord l{};
  l.FLAG = flag;
  l.CostPrice = M(costPrice);
  l.SubPrice = M(subPrice);
  l.CostQty = M(costQty);
  l.SubQty = M(subQty);
  return l;
}

// Index 0 is the pick buffer, as in the document.
std::vector<LineRecord> Lines(std::vector<LineRecord> lines) {
  lines.insert(lines.begin(), LineRecord{});
  return lines;
}

TEST(Bulk, ScaleSubPriceInEachVariantAndOnlyPricedKinds) {
  const Money factor = M("1.08");
  struct Case {
    int32_t tag;
    const char* expected;
  };
  for (Case c : {Case{0, "1333"}, Case{1, "1333"}, Case{2, "1332"}}) {
    auto lines = Lines({Line(10, "0", "1234"), Line(50, "0", "1234")});
    EXPECT_EQ(ScaleSubPrice(lines, {1, 2}, AddendFor(c.tag), factor), 1);
    EXPECT_EQ(lines[1].SubPrice, M(c.expected)) << "tag " << c.tag;
    EXPECT_EQ(lines[2].SubPrice, M("1234"));
  }
}

TEST(Bulk, SubPriceFromCostChangesEveryKind) {
  auto lines = Lines({Line(10, "1000", "0"), Line(30, "100", "0"), Line(50, "10", "10")});
  EXPECT_EQ(SubPriceFromCost(lines, {1, 3}, kHalf, M("0.9")), 3);
  EXPECT_EQ(lines[1].SubPrice, M("900"));
  EXPECT_EQ(lines[2].SubPrice, M("90"));
  EXPECT_EQ(lines[3].SubPrice, M("9"));
}

TEST(Bulk, QuantitiesBecomeWholeWhateverThePrecision) {
  auto lines = Lines({Line(20, "0", "0", "0", "2.35")});
  ScaleSubQty(lines, {1, 1}, AddendFor(2), kOne);
  EXPECT_EQ(lines[1].SubQty, M("2"));
  lines[1].SubQty = M("2.35");
  ScaleSubQty(lines, {1, 1}, AddendFor(1), kOne);
  EXPECT_EQ(lines[1].SubQty, M("3"));
  auto fromCost = Lines({Line(60, "0", "0", "4", "1")});
  SubQtyFromCost(fromCost, {1, 1}, kZero, M("2.5"));
  EXPECT_EQ(fromCost[1].SubQty, M("10"));
}

TEST(Bulk, WholeQuantitiesChangeTheKind) {
  auto lines = Lines({Line(20, "0", "0", "1.4", "2.6"), Line(10, "0", "0", "1.4", "2.6"), Line(21, "0", "0"),
                      Line(22, "0", "0"), Line(25, "0", "0"), Line(30, "0", "0")});
  EXPECT_EQ(WholeQuantities(lines, {1, 6}, kHalf), 5);
  EXPECT_EQ(lines[1].CostQty, M("1"));
  EXPECT_EQ(lines[1].SubQty, M("3"));
  EXPECT_EQ(lines[1].FLAG, 10);
  EXPECT_EQ(lines[2].SubQty, M("2.6"));  // kind 10 untouched
  EXPECT_EQ(lines[2].FLAG, 10);
  EXPECT_EQ(lines[3].FLAG, 11);
  EXPECT_EQ(lines[4].FLAG, 12);
  EXPECT_EQ(lines[5].FLAG, 15);
  EXPECT_EQ(lines[6].FLAG, 20);
}

TEST(Bulk, SignificantPrices) {
  auto lines = Lines({Line(10, "0", "123456"), Line(10, "0", "987"), Line(90, "0", "123456")});
  SignificantPrice(lines, {1, 3}, 3, kHalf);
  EXPECT_EQ(lines[1].SubPrice, M("123000"));
  EXPECT_EQ(lines[2].SubPrice, M("987"));
  EXPECT_EQ(lines[3].SubPrice, M("123456"));  // not a priced kind
  SignificantPrice(lines, {1, 1}, 2, kNineTenths);
  EXPECT_EQ(lines[1].SubPrice, M("130000"));
  SignificantPrice(lines, {2, 2}, 4, kHalf);
  EXPECT_EQ(lines[2].SubPrice, M("987"));
}

TEST(Bulk, SelectionPastTheListAndThePickBuffer) {
  auto lines = Lines({Line(10, "0", "100"), Line(10, "0", "200")});
  lines[0].SubPrice = M("5");
  EXPECT_EQ(ScaleSubPrice(lines, {0, 50}, kHalf, M("2")), 2);
  EXPECT_EQ(lines[0].SubPrice, M("5"));
  EXPECT_EQ(lines[2].SubPrice, M("400"));
  EXPECT_EQ(lines.size(), 3u);
  EXPECT_EQ(ScaleSubPrice(lines, {5, 9}, kHalf, M("2")), 0);
}

TEST(Bulk, EmptyFactorGivesZeroAndOverflowChangesNothing) {
  auto lines = Lines({Line(10, "0", "100"), Line(10, "0", "100000000000")});
  ScaleSubPrice(lines, {1, 1}, kNineTenths, TextToMoney(""));
  EXPECT_EQ(lines[1].SubPrice, kZero);
  lines[1].SubPrice = M("100");
  EXPECT_THROW(ScaleSubPrice(lines, {1, 2}, kHalf, M("100000")), MoneyOverflow);
  EXPECT_EQ(lines[1].SubPrice, M("100"));
}

}  // namespace
}  // namespace zantro
