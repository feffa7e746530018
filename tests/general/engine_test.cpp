// The sheet and breakdown recomputations and the totals texts, on worked figures.
#include "general/engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zantro {
namespace {

Money M(std::string_view text) { return StrToCurr(text); }

LineRecord Line(int32_t flag, std::string_view costPrice = "0", std::string_view costQty = "0",
                std::string_view subPrice = "0", std::string_view subQty = "0") {
  LineRecord l{};
  l.FLAG = flag;
  l.CostPrice = M(costPrice);
  l.CostQty = M(costQty);
  l.SubPrice = M(subPrice);
  l.SubQty = M(subQty);
  return l;
}

// A priced line with the same price and quantity on both sides.
LineRecord Priced(std::string_view price, std::string_view qty, int32_t flag = 10) {
  return Line(flag, price, qty, price, qty);
}

// A range line over first..last with the same rate on both sides.
LineRecord RangeLine(int32_t flag, std::string_view first, std::string_view last, std::string_view rate) {
  return Line(flag, rate, first, rate, last);
}

// A document with one ordinary item whose sheet holds the given lines.
Document SheetDoc(std::vector<LineRecord> lines) {
  Document doc;
  doc.ItemList.push_back(NewItem());
  doc.CurrentItem = 1;
  for (const LineRecord& l : lines) doc.LineList.push_back(l);
  return doc;
}

std::vector<std::string> g_messages;
void Collect(const std::string& text) { g_messages.push_back(text); }

class SheetTest : public ::testing::Test {
 protected:
  void SetUp() override { g_messages.clear(); }
};

TEST_F(SheetTest, PricedAndReductionLines) {
  Document doc = SheetDoc({Priced("1000", "3"), Priced("500", "1", 11)});
  EXPECT_EQ(RecomputeSheet(doc, Collect), 0);
  EXPECT_EQ(doc.LineList[1].SubAmount, M("3000"));
  EXPECT_EQ(doc.LineList[2].CostAmount, M("500"));
  EXPECT_EQ(doc.Sheet.Cost, M("2500"));
  EXPECT_EQ(doc.Sheet.Sub, M("2500"));
  EXPECT_EQ(doc.ItemList[1].ALLNTOTAL, M("2500"));
  EXPECT_EQ(doc.ItemList[1].ALLGTOTAL, M("2500"));
}

TEST_F(SheetTest, ReturnsOneWhenBothTotalsAreZero) {
  Document empty = SheetDoc({});
  EXPECT_EQ(RecomputeSheet(empty, Collect), 1);
  Document cancelling = SheetDoc({Priced("500", "1"), Priced("500", "1", 11)});
  EXPECT_EQ(RecomputeSheet(cancelling, Collect), 1);
}

TEST_F(SheetTest, QuantitiesAndFactorsAreCutInPlaceAndSettingsChecked) {
  Document doc = SheetDoc({Priced("100", "2.9"), Priced("100", "1.239", 20)});
  doc.LineList[1].LabourFactor = M("1.2345");
  doc.Settings.LineRoundAddend = M("0.3");
  doc.Settings.QuantityScale = M("100");
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.Settings.LineRoundAddend, kHalf);
  EXPECT_EQ(doc.LineList[1].CostQty, M("2"));
  EXPECT_EQ(doc.LineList[1].LabourFactor, M("1.234"));
  EXPECT_EQ(doc.LineList[2].SubQty, M("1.23"));
  EXPECT_EQ(doc.LineList[2].SubAmount, M("123"));
}

TEST_F(SheetTest, UnlistedKindsEndWithZeroAmounts) {
  LineRecord comment = Line(30, "100", "1", "100", "1");
  comment.CostAmount = M("999");
  comment.SubAmount = M("999");
  LineRecord text = Line(15, "100", "1", "100", "1");
  text.SubAmount = M("5");
  Document doc = SheetDoc({Priced("1000", "1"), comment, text, Line(160, "70", "0", "80", "0"),
                           Line(140, "2000", "10", "3000", "10")});
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.LineList[2].CostAmount, kZero);
  EXPECT_EQ(doc.LineList[2].SubAmount, kZero);
  EXPECT_EQ(doc.LineList[3].SubAmount, kZero);
  EXPECT_EQ(doc.LineList[4].SubAmount, M("80"));
  EXPECT_EQ(doc.LineList[5].CostAmount, M("200"));
  EXPECT_EQ(doc.Sheet.Cost, M("1270"));
  EXPECT_EQ(doc.Sheet.Sub, M("1380"));
}

TEST_F(SheetTest, AmountRangeSeesOnlyTheLinesAboveIt) {
  std::vector<LineRecord> lines(10, Priced("1000", "1"));
  lines[4] = RangeLine(50, "1", "10", "10");  // row 5
  Document doc = SheetDoc(lines);
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.LineList[5].CostAmount, M("400"));
  EXPECT_EQ(doc.LineList[5].SubAmount, M("400"));
  EXPECT_EQ(doc.Sheet.Sub, M("9400"));
}

TEST_F(SheetTest, AmountRangeByGroupSubtractsReductions) {
  LineRecord b = Priced("1000", "1");
  b.sort = M("12001");  // group B
  LineRecord reduction = Priced("300", "1", 11);
  Document doc = SheetDoc({Priced("2000", "1"), b, reduction, RangeLine(51, "1", "3", "10")});
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.LineList[4].SubAmount, M("170"));  // (2000 - 300) x 10%
}

TEST_F(SheetTest, LabourRangeSumsTheWholeRangeExactly) {
  LineRecord a = Priced("0", "2");
  a.LabourFactor = M("1.5");
  LineRecord b = Priced("0", "1");
  b.LabourFactor = M("0.25");
  LineRecord reduction = Priced("0", "1", 11);
  reduction.LabourFactor = M("1");
  LineRecord decimal = Priced("0", "1.259", 20);  // cut to 1.25 before it is summed
  decimal.LabourFactor = M("2");
  LineRecord range = RangeLine(60, "1", "5", "1000");
  Document doc = SheetDoc({a, range, b, reduction, decimal});
  RecomputeSheet(doc, Collect);
  const LineRecord& r = doc.LineList[2];
  EXPECT_EQ(r.CostExtraPrice, M("4.75"));  // 3 + 0.25 - 1 + 2.5
  EXPECT_EQ(r.SubExtraPrice, M("4.75"));
  EXPECT_EQ(r.CostAmount, M("4750"));
}

TEST_F(SheetTest, LabourRangeCutsTheSumWithItsOwnAddend) {
  LineRecord a = Priced("0", "0.33", 20);
  a.LabourFactor = M("0.333");  // 0.10989 each, 0.32967 for three
  Document doc = SheetDoc({a, a, a, RangeLine(60, "1", "3", "100")});
  doc.Settings.Opt6RoundAddend = kZero;
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.LineList[4].CostExtraPrice, M("0.32"));
  doc.Settings.Opt6RoundAddend = kHalf;
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.LineList[4].CostExtraPrice, M("0.33"));
  EXPECT_EQ(doc.LineList[4].CostAmount, M("33"));
}

TEST_F(SheetTest, LabourRangeSkipsCalculatedLines) {
  LineRecord a = Priced("0", "2");
  a.LabourFactor = M("1");
  LineRecord amountRange = RangeLine(50, "1", "1", "10");
  amountRange.LabourFactor = M("3");  // its rounding mode, not a labour factor
  LineRecord overhead = Line(81, "0", "10", "0", "10");
  overhead.LabourFactor = M("2");
  Document doc = SheetDoc({a, amountRange, overhead, RangeLine(60, "1", "4", "1")});
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.LineList[4].CostExtraPrice, M("2"));
}

TEST_F(SheetTest, IncidentalRangeLeavesOutLabourLines) {
  LineRecord a = Priced("0", "3");
  a.CostExtraPrice = M("100");
  a.SubExtraPrice = M("200");
  LineRecord labour = RangeLine(60, "1", "1", "0");
  Document doc = SheetDoc({a, labour, RangeLine(70, "1", "4", "10")});
  doc.LineList[1].LabourFactor = M("5");  // labour 15 lands in the 60 line's extra prices
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.LineList[2].CostExtraPrice, M("15"));
  EXPECT_EQ(doc.LineList[3].CostAmount, M("30"));  // 10% of 300
  EXPECT_EQ(doc.LineList[3].SubAmount, M("60"));   // 10% of 600
}

TEST_F(SheetTest, RangeBoundsStayInsideTheSheet) {
  // End past the last line: the lines that exist.
  Document past = SheetDoc({Priced("1000", "1"), Priced("1000", "1"), RangeLine(60, "0", "99999999", "1")});
  past.LineList[1].LabourFactor = M("1");
  RecomputeSheet(past, Collect);
  EXPECT_EQ(past.LineList[3].CostExtraPrice, M("1"));
  // Start past the last line: nothing.
  Document empty = SheetDoc({Priced("1000", "1"), RangeLine(50, "7", "9", "10")});
  RecomputeSheet(empty, Collect);
  EXPECT_EQ(empty.LineList[2].CostAmount, kZero);
  // Negative bounds become 1.
  Document negative = SheetDoc({Priced("1000", "1"), RangeLine(50, "-5", "-1", "10")});
  RecomputeSheet(negative, Collect);
  EXPECT_EQ(negative.LineList[2].CostAmount, M("100"));
}

TEST_F(SheetTest, FoldedOverheadRoundsTheRunningTotal) {
  LineRecord overhead = Line(83, "0", "10", "0", "10");
  Document doc = SheetDoc({Priced("123456", "1"), overhead});
  doc.Settings.Opt3Unit = M("1000");
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.LineList[2].SubAmount, M("11544"));
  EXPECT_EQ(doc.LineList[2].CostAmount, M("12346"));  // the cost side is not folded
  EXPECT_EQ(doc.Sheet.Sub, M("135000"));
}

TEST_F(SheetTest, ExcludedLinesCountInTotalsButNotInOverheadBase) {
  Document doc = SheetDoc({Priced("1000", "1"), Priced("500", "1", 12), Line(81, "0", "10", "0", "10")});
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.LineList[3].SubAmount, M("100"));
  EXPECT_EQ(doc.Sheet.Sub, M("1600"));
}

TEST_F(SheetTest, OverheadRoundingAndOuterOverheads) {
  LineRecord in = Line(81, "0", "10", "0", "10");
  in.LabourFactor = M("2");      // to hundreds
  in.SecondRoundMode = M("3");   // then to thousands
  LineRecord out = Line(82, "0", "10", "0", "10");
  LineRecord excl = Line(84, "0", "10", "0", "10");
  Document doc = SheetDoc({Priced("123456", "1"), in, out, excl});
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.LineList[2].SubAmount, M("12000"));  // 12346 -> 12300 -> 12000
  EXPECT_EQ(doc.LineList[3].SubAmount, M("13546"));  // 10% of 135456
  // 84 leaves the outer overhead out of its base: 10% of 149002 - 13546.
  EXPECT_EQ(doc.LineList[4].SubAmount, M("13546"));
}

TEST_F(SheetTest, TaxOnTheSubmittedSideOnly) {
  LineRecord tax = Line(90, "7", "0", "0", "10");
  Document doc = SheetDoc({Priced("1005", "1"), tax});
  RecomputeSheet(doc, Collect);
  const LineRecord& t = doc.LineList[2];
  EXPECT_EQ(t.SubAmount, M("101"));  // Cut(100.5 + 0.5)
  EXPECT_EQ(t.CostAmount, kZero);
  EXPECT_EQ(t.CostPrice, kZero);
  EXPECT_EQ(doc.Sheet.Sub, M("1106"));
  EXPECT_EQ(doc.Sheet.Cost, M("1005"));
  EXPECT_EQ(doc.ItemList[1].TAXNTOTAL, M("101"));
  EXPECT_EQ(doc.ItemList[1].TAXGTOTAL, kZero);
  EXPECT_EQ(doc.TaxSeen, 1);
}

TEST_F(SheetTest, TaxOnBothSides) {
  Document doc = SheetDoc({Priced("1000", "1"), Line(90, "0", "8", "0", "10")});
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.LineList[2].CostQty, M("10"));
  EXPECT_EQ(doc.LineList[2].CostAmount, M("100"));
  EXPECT_EQ(doc.Sheet.Cost, M("1100"));
  EXPECT_EQ(doc.ItemList[1].TAXGTOTAL, M("100"));
}

TEST_F(SheetTest, DuplicateTaxIsReportedAndTheLastOneCounts) {
  Document doc = SheetDoc({Priced("1000", "1"), Line(90, "0", "0", "0", "5"), Line(90, "0", "0", "0", "10")});
  RecomputeSheet(doc, Collect);
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_messages[0], "消費税が重複しています");
  EXPECT_EQ(doc.LineList[2].SubAmount, kZero);
  EXPECT_EQ(doc.LineList[3].SubAmount, M("100"));
  RecomputeSheet(doc, nullptr);  // no sink: nothing to report to, still computed
  EXPECT_EQ(doc.Sheet.Sub, M("1100"));
}

TEST_F(SheetTest, ItemFieldsOnlyForAnItemWithASheet) {
  Document doc = SheetDoc({Priced("1000", "1")});
  doc.ItemList[1].ItemKind = ItemKinds::Tax;
  doc.ItemList[1].ALLGTOTAL = M("5");
  RecomputeSheet(doc, Collect);
  EXPECT_EQ(doc.ItemList[1].ALLGTOTAL, M("5"));
  EXPECT_EQ(doc.Sheet.Sub, M("1000"));
  doc.CurrentItem = 7;  // past the list
  EXPECT_EQ(RecomputeSheet(doc, Collect), 0);
  EXPECT_EQ(doc.ItemList.size(), 2u);
}

// ---- Breakdown ----

ItemRecord Item(int32_t kind, std::string_view sub = "0", std::string_view cost = "0") {
  ItemRecord it = NewItem();
  it.ItemKind = kind;
  it.ALLGTOTAL = M(sub);
  it.ALLNTOTAL = M(cost);
  return it;
}

ItemRecord Ranged(int32_t kind, std::string_view first, std::string_view last) {
  ItemRecord it = Item(kind);
  it.LineRoundAddend = M(first);
  it.Opt4RoundAddend = M(last);
  return it;
}

Document BreakdownDoc(std::vector<ItemRecord> items) {
  Document doc;
  for (const ItemRecord& it : items) doc.ItemList.push_back(it);
  return doc;
}

TEST(Breakdown, ReductionAndTaxItem) {
  ItemRecord tax = Item(93);
  tax.QuantityScale = M("10");  // rate
  tax.LineRoundAddend = kOne;   // tax on the cost side too
  Document doc = BreakdownDoc({Item(10, "100", "80"), Item(91, "20", "10"), tax});
  RecomputeBreakdown(doc);
  EXPECT_EQ(doc.ItemList[3].ALLGTOTAL, M("8"));
  EXPECT_EQ(doc.ItemList[3].ALLNTOTAL, M("8"));
  EXPECT_EQ(doc.Title.ALLGTOTAL, M("88"));
  EXPECT_EQ(doc.Title.ALLNTOTAL, M("78"));
  EXPECT_EQ(doc.Title.TAXGTOTAL, M("8"));
  EXPECT_EQ(doc.Title.Opt2Int, 2);
  EXPECT_EQ(doc.TaxSeen, 1);
  doc.ItemList[3].LineRoundAddend = kZero;
  RecomputeBreakdown(doc);
  EXPECT_EQ(doc.ItemList[3].ALLNTOTAL, kZero);
  EXPECT_EQ(doc.Title.ALLNTOTAL, M("70"));
}

TEST(Breakdown, TaxMarkerFromEitherSheetTaxAndLastSettingWins) {
  ItemRecord sheetTax = Item(10, "110", "100");
  sheetTax.TAXNTOTAL = M("10");  // submitted-side tax only
  Document doc = BreakdownDoc({sheetTax});
  doc.Title.Opt2Int = 5;
  RecomputeBreakdown(doc);
  EXPECT_EQ(doc.Title.Opt2Int, 1);
  EXPECT_EQ(doc.Title.TAXNTOTAL, M("10"));

  ItemRecord tax = Item(93);
  tax.QuantityScale = M("10");
  Document later = BreakdownDoc({Item(10, "100"), tax, sheetTax});
  RecomputeBreakdown(later);
  EXPECT_EQ(later.Title.Opt2Int, 1);
  Document none = BreakdownDoc({Item(10, "100")});
  none.Title.Opt2Int = 2;
  RecomputeBreakdown(none);
  EXPECT_EQ(none.Title.Opt2Int, 0);
}

TEST(Breakdown, HeadingsAndSubtotalsOverClampedRanges) {
  Document doc = BreakdownDoc({Ranged(20, "2", "50"), Item(30, "100", "90"), Item(31, "50", "40"),
                               Item(10, "7", "7"), Item(91, "5", "5"), Item(96, "3", "3"),
                               Ranged(95, "0", "99")});
  RecomputeBreakdown(doc);
  EXPECT_EQ(doc.ItemList[1].ALLGTOTAL, M("150"));
  EXPECT_EQ(doc.ItemList[1].ALLNTOTAL, M("130"));
  EXPECT_EQ(doc.ItemList[6].ALLGTOTAL, kZero);  // note
  EXPECT_EQ(doc.ItemList[7].ALLGTOTAL, M("152"));  // 100 + 50 + 7 - 5, heading skipped
  EXPECT_EQ(doc.Title.ALLGTOTAL, M("152"));     // headings and subtotals do not add
  Document empty = BreakdownDoc({Item(30, "100", "90"), Ranged(20, "5", "9")});
  RecomputeBreakdown(empty);
  EXPECT_EQ(empty.ItemList[2].ALLGTOTAL, kZero);
}

TEST(Breakdown, OverheadItemsRoundFoldAndLeaveOutOuter) {
  auto overhead = [](int32_t kind, std::string_view rate, std::string_view mode) {
    ItemRecord it = Item(kind);
    it.LineRoundAddend = M(rate);
    it.Opt4RoundAddend = M(rate);
    it.QuantityScale = M(mode);
    return it;
  };
  Document doc = BreakdownDoc({Item(10, "123456", "100000"), overhead(82, "10", "2"), overhead(84, "10", "0"),
                               overhead(83, "5", "0")});
  doc.Title.CUTLEVEL = kHalf;
  doc.Title.KETA = 1000;
  RecomputeBreakdown(doc);
  EXPECT_EQ(doc.ItemList[2].ALLGTOTAL, M("12300"));  // 12346 to hundreds
  EXPECT_EQ(doc.ItemList[2].ALLNTOTAL, M("10000"));
  // 84: 10% of 123456 = 12346; S = 148102, folded to 148000.
  EXPECT_EQ(doc.ItemList[3].ALLGTOTAL, M("12244"));
  EXPECT_EQ(doc.ItemList[3].ALLNTOTAL, M("10000"));
  // 83: 5% of 148000 = 7400, S = 155400 -> 155000.
  EXPECT_EQ(doc.ItemList[4].ALLGTOTAL, M("7000"));
  EXPECT_EQ(doc.Title.ALLGTOTAL, M("155000"));
}

TEST(Breakdown, DocumentSettingsAreFixed) {
  Document doc = BreakdownDoc({Item(10, "1")});
  doc.Title.DATALEVEL = 3;
  doc.Title.KETA = 0;
  RecomputeBreakdown(doc);
  EXPECT_EQ(doc.Title.DATALEVEL, 15);
  EXPECT_EQ(doc.Title.KETA, 1);
}

// ---- Totals panel ----

TEST(Totals, Margins) {
  EXPECT_EQ(MarginText(M("1000"), M("800")), "20%");
  EXPECT_EQ(MarginText(M("1000"), kZero), "100%");
  EXPECT_EQ(MarginText(kZero, M("800")), "  0%");
  EXPECT_EQ(MarginText(M("800"), M("1000")), "-25%");
  EXPECT_EQ(MarginText(M("3"), M("1")), "67%");  // 100 - Cut(33.33)
}

TEST(Totals, ShowTotalsModes) {
  Document doc = SheetDoc({Priced("1000", "1"), Line(10, "800", "1", "0", "0")});
  doc.LineList[2].SubPrice = M("234567");
  doc.LineList[2].SubQty = kOne;
  TotalsTexts t = ShowTotals(doc, 0, nullptr);
  EXPECT_EQ(t.SUBGBOX, "235,567");
  EXPECT_EQ(t.SUBNBOX, "1,800");
  EXPECT_EQ(t.gsagaku, "233,767");
  EXPECT_EQ(t.GTOTALBOX, "235,567");
  EXPECT_EQ(t.AV2PL, "100%");
  doc.LineList[1].SubPrice = M("5000");  // not recomputed by modes other than 0
  TotalsTexts blank = ShowTotals(doc, 1, nullptr);
  EXPECT_EQ(blank.SUBGBOX, "");
  EXPECT_EQ(blank.gsagaku, "");
  EXPECT_EQ(blank.NTOTALBOX, "1,800");
  EXPECT_EQ(ShowTotals(doc, 2, nullptr).SUBGBOX, "235,567");
}

}  // namespace
}  // namespace zantro
