// What the forms print, checked on the model before any drawing: the cover's amounts and
// texts, the rows of the 内訳書 and the 明細書 by kind, the page slices and their carries.
#include <gtest/gtest.h>

#include <QByteArray>
#include <numeric>

#include "general/container.h"
#include "general/printdata.h"
#include "platform/cp932.h"
#include "printing/layout.h"
#include "printing/model.h"
#include "printing/pdf.h"
#include "printing/style.h"

namespace zantro::printing {
namespace {

const std::string kSample = std::string(ZANTRO_SOURCE_DIR) + "/data/Sample/sample.znt2";

PrintModel SampleModel(PrintStyle style = {}, std::string reduction = "") {
  return BuildPrintModel(ParseContainer(kSample), style, ModelOptions{reduction, false});
}

TEST(PrintModel, TheCoverOfTheSampleShowsTheEstimateWithAndWithoutTax) {
  PrintModel m = SampleModel();
  const CoverData& c = m.Cover;
  EXPECT_EQ(c.Addressee1, "株式会社山田不動産");
  EXPECT_EQ(c.Addressee2, "管理部 御中");            // already addressed: nothing added
  EXPECT_EQ(c.ClientPerson, "鈴木 様");
  EXPECT_EQ(c.DateText, "令和8年12月7日");           // [DY] 38 counts from 1988
  EXPECT_EQ(c.Total, Money::Units(4597555));
  EXPECT_EQ(c.Tax, Money::Units(417960));            // the tax item of the breakdown list
  EXPECT_EQ(c.AmountWords, "金四百五十九万七千五百五十五円也");
  EXPECT_EQ(m.Construction, "山田ビル空調換気設備改修工事　（第2期）");

  PrintStyle cost;
  cost.CostSide = true;
  EXPECT_EQ(SampleModel(cost).Cover.Total, Money::Units(3088402));
  EXPECT_EQ(SampleModel(cost).Cover.Tax, kZero);     // the tax item adds no tax to the cost
}

TEST(PrintModel, BreakdownRowsFollowTheListAndTheirCarriesMakeTheDocumentTotal) {
  PrintModel m = SampleModel({}, "▲");
  ASSERT_EQ(m.Breakdown.size(), 8u);                  // 7 items and the total row
  EXPECT_EQ(m.Breakdown[0].Amount, "985,595");        // heading: in the amount column
  EXPECT_EQ(m.Breakdown[1].Indent, 1);                // member: indented, inner column
  EXPECT_EQ(m.Breakdown[1].Inner, "169,365");
  EXPECT_EQ(m.Breakdown[1].Amount, "");
  EXPECT_EQ(m.Breakdown[4].Style, RowStyle::Summary);  // the subtotal adds nothing
  EXPECT_EQ(m.Breakdown[6].Qty, "10%");
  EXPECT_EQ(m.Breakdown[7].Name, "合　　計");
  EXPECT_EQ(m.Breakdown[7].Amount, "4,597,555");
  Money sum;
  for (const auto& r : m.Breakdown) sum += r.Carry;
  EXPECT_EQ(sum, m.Cover.Total);
}

TEST(PrintModel, SheetRowsPrintEachKindAsTheClientReadsIt) {
  std::string text = Sj(
      "<TITLE>\n[NUMBER]=T-1\n[ItemMax]=1\n</TITLE>\n<ITEM>\n10;配管;5550;4000;0.5;0.5;100;1;0.5;0;0;;0;0;\n</ITEM>\n<DATA>\n"
      "1;鋼管;20A;0;0;m;20;2.5;2.5;100;120.5;0;0;0;250;301.25;0;0;0;;ねじ;\n"
      "1;値引;;0;0;式;11;1;1;50;60;0;0;0;50;60;0;0;0;;;\n"
      "1;支給品;;0;0;台;15;1;1;0;0;0;0;0;0;0;0;0;0;別途;;\n"
      "1;見出し;;0;0;;10;0;0;0;0;0;0;0;0;0;0;0;0;;;\n"
      "1;諸経費;;0;0;式;81;5;5;0;0;0;0;0;200;270;0;0;0;;;\n"
      "1;消費税;;0;0;;90;0;10;0;0;0;0;0;0;504;0;0;0;;;\n"
      "1;;;0;0;;0;0;0;0;0;0;0;0;0;0;0;0;0;;;\n"
      "</DATA>\n<PICKUP>\n</PICKUP>\n<CONFIG>\n</CONFIG>\n</EOF>\n");
  PrintModel m = BuildPrintModel(ParseContainerText(text, "t.znt2"), {}, {"", false});
  ASSERT_EQ(m.Sheets.size(), 1u);
  const auto& rows = m.Sheets[0].Rows;
  ASSERT_EQ(rows.size(), 7u);  // the blank filler at the end goes, a total row comes
  EXPECT_EQ(rows[0].Qty, "2.50");                     // decimal kind: the item's precision
  EXPECT_EQ(rows[0].Price, "120.5");                  // a fraction of a price is kept
  EXPECT_EQ(rows[0].Amount, "301.25");
  EXPECT_EQ(rows[1].Amount, "△60");                  // the style's reduction mark
  EXPECT_EQ(rows[1].Carry, -Money::Units(60));
  EXPECT_EQ(rows[2].Amount, "別途");
  EXPECT_EQ(rows[3].Qty + rows[3].Price + rows[3].Amount, "");  // a caption line prints no zeros
  EXPECT_EQ(rows[4].Qty, "1");                        // an overhead prints as one lump sum
  EXPECT_EQ(rows[5].Qty, "10%");
  EXPECT_EQ(rows[6].Name, "【合　　計】");
  EXPECT_EQ(rows[6].Amount, "5,550");
}

TEST(PrintLayout, PagesHoldEveryRowOnceAndCarryTheRunningTotal) {
  // Rows per page, worked out by hand: a list that exactly fills a page carries nothing; one
  // row more carries (19 rows and the carry-out, then the carry-in and 2 rows); 38 rows fill
  // the second page exactly.
  auto counts = [](int n) {
    std::vector<int> c;
    for (const auto& page : Paginate(std::vector<Money>(n, Money::Units(1)), 20)) c.push_back(page.Count);
    return c;
  };
  EXPECT_EQ(counts(0), std::vector<int>{0});
  EXPECT_EQ(counts(20), std::vector<int>{20});
  EXPECT_EQ(counts(21), (std::vector<int>{19, 2}));
  EXPECT_EQ(counts(38), (std::vector<int>{19, 19}));
  EXPECT_EQ(counts(39), (std::vector<int>{19, 18, 2}));
  EXPECT_EQ(counts(5), (std::vector<int>{5}));
  EXPECT_EQ(Paginate(std::vector<Money>(9, Money::Units(1)), 1).size(), 7u);  // at least 3 rows a page

  for (int n : {0, 1, 18, 19, 20, 21, 500}) {
    std::vector<Money> carries(n);
    for (int i = 0; i < n; ++i) carries[i] = Money::Units(i % 7 == 3 ? -(i + 1) : i + 1);
    auto pages = Paginate(carries, 20);
    ASSERT_FALSE(pages.empty());
    int next = 0;
    Money running;
    for (size_t p = 0; p < pages.size(); ++p) {
      const PageSlice& s = pages[p];
      EXPECT_EQ(s.First, next) << n;
      EXPECT_EQ(s.CarryIn, p > 0);
      EXPECT_EQ(s.CarryOut, p + 1 < pages.size());
      EXPECT_LE(s.Count + s.CarryIn + s.CarryOut, 20);
      EXPECT_EQ(s.Before, running);
      for (int i = s.First; i < s.First + s.Count; ++i) running += carries[i];
      EXPECT_EQ(s.After, running);
      next += s.Count;
    }
    EXPECT_EQ(next, n);
    EXPECT_EQ(running, std::accumulate(carries.begin(), carries.end(), Money{}));
  }
}

TEST(PrintLayout, OneSheetsPrintDataLeavesTheBreakdownOut) {
  PrintModel m = SampleModel();
  auto all = LayoutPages(m, FormSet{});
  EXPECT_EQ(all.front().Kind, Form::Cover);
  EXPECT_EQ(all[1].Kind, Form::Breakdown);
  EXPECT_EQ(NumberedPageCount(all), static_cast<int>(all.size()) - 1);
  m.SingleSheet = true;
  for (const auto& p : LayoutPages(m, FormSet{})) EXPECT_NE(p.Kind, Form::Breakdown);
}

TEST(PrintTexts, EraDatesAndAmountsInWords) {
  EXPECT_EQ(JapaneseDate(31, 4, 30), "平成31年4月30日");
  EXPECT_EQ(JapaneseDate(31, 5, 1), "令和元年5月1日");
  EXPECT_EQ(JapaneseDate(38, 13, 1), "");
  EXPECT_EQ(KanjiNumber(Money::Units(10000000)), "千万");
  EXPECT_EQ(KanjiNumber(Money::Units(100010)), "十万十");
  EXPECT_EQ(KanjiNumber(Money::Units(1230000000000)), "一兆二千三百億");
  EXPECT_EQ(KanjiNumber(kZero), "零");
}

TEST(PrintStyle, StyleLinesOverrideDefaultsAndBadValuesAreReported) {
  PrintStyle s;
  std::vector<std::string> warnings;
  ApplyStyleLines(s, {Sj("# 注釈=無視"), Sj("[Company]=株式会社テスト"), "[Forms]=sheets,COVER", "[Side]=cost",
                      "[Side]=both", "[Font]=", "[Colour]=red", "[Seals]="},
                  &warnings);
  EXPECT_EQ(s.Company, "株式会社テスト");
  EXPECT_EQ(s.Forms, (FormSet{true, false, true}));
  EXPECT_TRUE(s.CostSide);
  EXPECT_EQ(s.Font, PrintStyle{}.Font);
  EXPECT_TRUE(s.Seals.empty());
  EXPECT_EQ(warnings.size(), 3u);
  EXPECT_FALSE(ParseForms("cover,index"));
}

TEST(PrintData, TheDocumentNumberNamesAFileInsideThePrintDataFolder) {
  EXPECT_EQ(PrintDataPath("/p", Sj("見積-1")), "/p/printdata/見積-1.dat");
  EXPECT_EQ(PrintDataPath("/p", "../../etc/x"), "/p/printdata/.._.._etc_x.dat");
  EXPECT_EQ(PrintDataPath("/p", ""), "/p/printdata/.dat");
}

TEST(PdfText, RadicalEntriesOfTextMapsBecomeIdeographs) {
  QByteArray pdf = "<2F92> stream <2F92>\nbegincmap\n[<5FA1> <2F92> <2F2F> <2ED1>]\nendcmap <2F92>";
  QByteArray before = pdf;
  MapRadicalsToIdeographs(pdf, {{0x2ED1, 0x9577}});
  EXPECT_EQ(pdf.size(), before.size());
  EXPECT_EQ(pdf, QByteArray("<2F92> stream <2F92>\nbegincmap\n[<5FA1> <898B> <5DE5> <9577>]\nendcmap <2F92>"));
}

}  // namespace
}  // namespace zantro::printing
