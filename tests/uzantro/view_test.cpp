// Row texts of the sheet, the scripted dialogs and the output escaping of the headless front.
#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "platform/gui/dialogs.h"
#include "uzantro/headless.h"
#include "uzantro/rowtext.h"

using namespace zantro;

namespace {

LineRecord Line(int kind, const char* nameSpec, int64_t sortUnits = 10001) {
  LineRecord l{};
  l.FLAG = kind;
  l.NameSpec.set(ToCp932(nameSpec));
  l.sort = Money::Units(sortUnits);
  return l;
}

}  // namespace

TEST(RowText, NineColumnsJoinNameAndSpecWithOneBlank) {
  RowView v;
  v.Layout = ColumnLayout::Nine;
  EXPECT_EQ(FormatRowTexts(Line(10, "管"), v)[1], "管 ");
  EXPECT_EQ(FormatRowTexts(Line(10, "管;20A;x"), v)[1], "管 20A;x");
  v.Layout = ColumnLayout::Ten;
  auto t = FormatRowTexts(Line(10, "管;20A"), v);
  EXPECT_EQ(t[1], "管");
  EXPECT_EQ(t[2], "20A");
}

TEST(RowText, IncidentalPriceKindShowsIncidentalAmountsExceptForRates) {
  RowView v;
  v.PriceKind = 1;
  v.QuantityScale = Money::Units(100);
  LineRecord l = Line(10, "管");
  l.SubQty = Money::Units(3);
  l.SubExtraPrice = Money::FromRaw(1005000);  // 100.5
  auto t = FormatRowTexts(l, v);
  EXPECT_EQ(t[7], "101");   // MoneyText of 100.5 rounds half away
  EXPECT_EQ(t[8], "302");   // Cut(3 x 100.5 + 0.5)
  LineRecord r = Line(72, "率");
  r.SubPrice = Money::Units(7);
  r.SubAmount = Money::Units(70);
  t = FormatRowTexts(r, v);
  EXPECT_EQ(t[6], "7%");
  EXPECT_EQ(t[7], "");
  EXPECT_EQ(t[8], "70");
}

TEST(RowText, ARowReformattedAfterAKindChangeKeepsNoStaleCell) {
  RowView v;
  LineRecord l = Line(10, "x");
  l.SubPrice = Money::Units(5);
  EXPECT_EQ(FormatRowTexts(l, v)[7], "5");
  l.FLAG = 15;
  EXPECT_EQ(FormatRowTexts(l, v)[7], "");
}

TEST(RowText, HeadersFollowSideAndPriceKind) {
  RowView v;
  EXPECT_EQ(SheetHeaders(v)[8], "金    額");  // the designed tag 6
  v.AmountSide = 0;
  EXPECT_EQ(SheetHeaders(v)[8], "金  額[提 出]");
  v.AmountSide = 1;
  v.PriceKind = 1;
  EXPECT_EQ(SheetHeaders(v)[8], "金  額[原 価]");
  EXPECT_EQ(SheetHeaders(v)[7], "付帯単価");
  EXPECT_EQ(DigitNote(Money::Units(9)), "※有効4桁");
  EXPECT_EQ(DigitNote(Money::Units(10)), "");
}

TEST(LineProperties, GroupLineEmptyOutsideTheRangesAndRangeKindsNameTheirGroup) {
  std::array<std::string, 6> groups = {"a", "b", "c", "d", "e", "f"};
  std::string plus = LinePropertiesText(1, Line(10, "x", 27001), "x ", groups);
  EXPECT_NE(plus.find("====\r\n名       称  =  x \r\n\r\n経 費"), std::string::npos);
  std::string range = LinePropertiesText(2, Line(53, "r", 0), "r", groups);
  EXPECT_NE(range.find("指定範囲内c単価合計×掛率"), std::string::npos);
  EXPECT_NE(range.find("掛 け 率  =  0%"), std::string::npos);
  EXPECT_EQ(range.find("提 出 数 量"), std::string::npos);
}

TEST(ScriptedDialogs, AnswersInOrderUnansweredAndMismatch) {
  QStringList out;
  ScriptedDialogs d([&](const QString& l) { out << l; });
  ScriptAnswer yes;
  yes.kind = ScriptAnswer::Ask;
  yes.yes = true;
  d.Queue(yes);
  EXPECT_TRUE(d.AskExecute("q", "実行", "キャンセル"));
  EXPECT_FALSE(d.AskExecute("q", "実行", "キャンセル"));
  EXPECT_EQ(out.last(), "unanswered: ask");
  ScriptAnswer input;
  input.kind = ScriptAnswer::Input;
  d.Queue(input);
  EXPECT_THROW(d.AskExecute("q", "a", "b"), ScriptMismatch);
  EXPECT_EQ(d.FlushUnused(), 1);
  EXPECT_EQ(out.last(), "unused: input");
}

TEST(HeadlessOutput, EscapesAndNamesTheProgramFolder) {
  EXPECT_EQ(EscapeOutput("a\\b\tc\r\nd\re\nf /p/x", "/p"), "a\\\\b\\tc\\nd\\ne\\nf $PROGRAM/x");
}
