// The revision comparison over documents built in memory: the pairing rule, the rows of every
// kind of difference with exact figures, and the report text.
#include <gtest/gtest.h>

#include "compare/compare.h"
#include "compare/report.h"
#include "general/doccheck.h"
#include "general/document.h"
#include "platform/cp932.h"

namespace zantro::compare {
namespace {

Money M(int64_t units) { return Money::Units(units); }

ItemRecord Item(const char* name, int32_t kind = 10) {
  ItemRecord it = NewItem();
  it.ItemKind = kind;
  it.ItemName.set(ToCp932(name));
  return it;
}

LineRecord Line(const char* nameSpec, const char* unit, int64_t qty, int64_t costPrice, int64_t subPrice,
                int32_t kind = 10) {
  LineRecord l;
  l.NameSpec.set(ToCp932(nameSpec));
  l.Unit.set(ToCp932(unit));
  l.FLAG = kind;
  l.CostQty = l.SubQty = M(qty);
  l.CostPrice = M(costPrice);
  l.SubPrice = M(subPrice);
  return l;
}

// Two sheets and a subtotal, recomputed as a document read from a file is.
ParsedDocument Sample() {
  ParsedDocument d;
  d.Title.KETA = 1;
  d.Title.CUTLEVEL = kHalf;
  d.Items = {Item("配管工事"), Item("機器工事"), Item("小計", 95)};
  d.Items[2].SetSettings({M(1), M(2), kZero, kZero, kZero});
  d.Lines[1] = {Line("白ガス管;20A", "m", 10, 800, 1000), Line("エルボ;20A", "個", 4, 90, 120),
                Line("保温;GW", "m", 10, 300, 400)};
  d.Lines[2] = {Line("ポンプ;40A", "台", 1, 150000, 200000), LineRecord{}, Line("据付費", "式", 1, 20000, 30000)};
  return d;
}

Result Compared(ParsedDocument oldDoc, ParsedDocument newDoc) {
  CheckRecomputation(oldDoc, "old");
  CheckRecomputation(newDoc, "new");
  return Compare(oldDoc, newDoc);
}

std::string Body(const Result& r) {
  std::string text = ReportText(r);
  text.erase(0, text.find('\n') + 1);  // the heading line
  return text;
}

TEST(PairElements, ByKeyOccurrenceThenByPositionInTheSameGap) {
  // Keys pair occurrence by occurrence, moves included.
  EXPECT_EQ(PairElements({"a", "b", "a"}, {"b", "a", "a"}), (std::vector<int>{1, 0, 2}));
  // "x" renamed "y" between the same neighbours pairs by position, after a removal above too.
  EXPECT_EQ(PairElements({"a", "gone", "b", "x", "c"}, {"a", "b", "y", "c"}), (std::vector<int>{0, -1, 1, 2, 3}));
  // Left-overs in different gaps stay apart; in one gap they pair in order, the rest added.
  EXPECT_EQ(PairElements({"p", "a", "q"}, {"a", "r", "s"}), (std::vector<int>{-1, 0, 1}));
  EXPECT_EQ(PairElements({"p", "a"}, {"r", "s", "a"}), (std::vector<int>{0, 2}));
  EXPECT_EQ(PairElements({}, {"a"}), std::vector<int>{});
  EXPECT_EQ(PairElements({"a", "a"}, {"a"}), (std::vector<int>{0, -1}));
}

TEST(Figures, ExactWithSeparatorsAndSigns) {
  EXPECT_EQ(Figure(Money::FromRaw(12345000)), "1,234.5");
  EXPECT_EQ(Figure(Money::FromRaw(-1000000001)), "-100,000.0001");
  EXPECT_EQ(Figure(kZero), "0");
  EXPECT_EQ(Figure(M(999)), "999");
  EXPECT_EQ(Figure(M(1000)), "1,000");
  EXPECT_EQ(Figure(Money::FromRaw(INT64_MIN)), "-922,337,203,685,477.5808");
  EXPECT_EQ(SignedFigure(M(5)), "+5");
  EXPECT_EQ(SignedFigure(M(-5)), "-5");
  EXPECT_EQ(SignedFigure(kZero), "0");
  EXPECT_EQ(DifferenceText(Money::FromRaw(INT64_MIN), Money::FromRaw(INT64_MAX)), "+1,844,674,407,370,955.1615");
  EXPECT_EQ(DifferenceText(M(3), M(1)), "-2");
}

TEST(Compare, TheSameDocumentHasNoRowsAndTheSameTotals) {
  Result r = Compared(Sample(), Sample());
  EXPECT_TRUE(r.Rows.empty());
  EXPECT_EQ(r.ChangedElements, 0);
  EXPECT_FALSE(r.Differs());
  EXPECT_EQ(r.Sums.OldSub, r.Sums.NewSub);
  EXPECT_EQ(Figure(r.Sums.NewSub), "244,480");
  EXPECT_EQ(ReportText(r),
            "状態\t工種\t工種名\t行\t明細\t項目\t旧\t新\t差額\n"
            "合計\t\t\t\t\t提出金額\t244,480\t244,480\t0\n"
            "合計\t\t\t\t\t原価金額\t181,360\t181,360\t0\n");
}

TEST(Compare, AddedItemRemovedLineChangedPriceAndQuantity) {
  ParsedDocument now = Sample();
  now.Items.insert(now.Items.begin() + 2, Item("衛生工事"));
  now.Lines[3] = {Line("便器;洋風", "組", 2, 45000, 60000)};
  now.Lines[1].erase(now.Lines[1].begin() + 1);   // エルボ
  now.Lines[1][1].SubPrice = M(450);               // 保温, now row 2
  now.Lines[2][2].SubQty = M(2);                   // 据付費 (row 3, below a blank line)
  Result r = Compared(Sample(), now);
  EXPECT_EQ(r.ChangedElements, 4);
  EXPECT_TRUE(r.Differs());
  EXPECT_EQ(Body(r),
            "削除\t1\t配管工事\t2\tエルボ　20A\t提出金額\t480\t\t-480\n"
            "削除\t1\t配管工事\t2\tエルボ　20A\t原価金額\t360\t\t-360\n"
            "変更\t1\t配管工事\t2\t保温　GW\t提出単価\t400\t450\t+50\n"
            "変更\t1\t配管工事\t2\t保温　GW\t提出金額\t4,000\t4,500\t+500\n"
            "変更\t1\t配管工事\t2\t保温　GW\t原価金額\t3,000\t3,000\t0\n"
            "変更\t2\t機器工事\t3\t据付費\t提出数量\t1\t2\t+1\n"
            "変更\t2\t機器工事\t3\t据付費\t提出金額\t30,000\t60,000\t+30,000\n"
            "変更\t2\t機器工事\t3\t据付費\t原価金額\t20,000\t20,000\t0\n"
            "追加\t3\t衛生工事\t\t\t提出金額\t\t120,000\t+120,000\n"
            "追加\t3\t衛生工事\t\t\t原価金額\t\t90,000\t+90,000\n"
            "合計\t\t\t\t\t提出金額\t244,480\t394,500\t+150,020\n"
            "合計\t\t\t\t\t原価金額\t181,360\t271,000\t+89,640\n");
  // A removal names its place in the old document; the rest their place in the new one.
  EXPECT_FALSE(r.Rows[0].InNew);
  EXPECT_TRUE(r.Rows[2].InNew);
  EXPECT_TRUE(r.Rows[2].Numeric);
  EXPECT_EQ(r.Rows[2].NewValue, M(450));
}

TEST(Compare, RenamedItemAndLinePairByPositionAndListEveryChangedField) {
  ParsedDocument now = Sample();
  now.Items[0].ItemName.set(ToCp932("配管設備工事"));
  now.Items[0].ItemNote.set(ToCp932("支給品除く"));
  LineRecord& l = now.Lines[1][0];
  l.NameSpec.set(ToCp932("白ガス管;25A"));
  l.Unit.set(ToCp932("本"));
  l.FLAG = 20;
  l.LabourFactor = Money::FromRaw(850);
  l.sort = M(15001);
  l.Remarks.set(ToCp932("ねじ"));
  Result r = Compared(Sample(), now);
  EXPECT_EQ(r.ChangedElements, 2);
  EXPECT_EQ(Body(r),
            "変更\t1\t配管設備工事\t\t\t名称\t配管工事\t配管設備工事\t\n"
            "変更\t1\t配管設備工事\t\t\t備考\t\t支給品除く\t\n"
            "変更\t1\t配管設備工事\t\t\t提出金額\t14,480\t14,480\t0\n"
            "変更\t1\t配管設備工事\t\t\t原価金額\t11,360\t11,360\t0\n"
            "変更\t1\t配管設備工事\t1\t白ガス管　25A\t規格\t20A\t25A\t\n"
            "変更\t1\t配管設備工事\t1\t白ガス管　25A\t単位\tm\t本\t\n"
            "変更\t1\t配管設備工事\t1\t白ガス管　25A\t種別\t10\t20\t\n"
            "変更\t1\t配管設備工事\t1\t白ガス管　25A\t歩掛\t0\t0.085\t+0.085\n"
            "変更\t1\t配管設備工事\t1\t白ガス管　25A\tグループ\tA\tC\t\n"
            "変更\t1\t配管設備工事\t1\t白ガス管　25A\t備考\t\tねじ\t\n"
            "変更\t1\t配管設備工事\t1\t白ガス管　25A\t提出金額\t10,000\t10,000\t0\n"
            "変更\t1\t配管設備工事\t1\t白ガス管　25A\t原価金額\t8,000\t8,000\t0\n"
            "合計\t\t\t\t\t提出金額\t244,480\t244,480\t0\n"
            "合計\t\t\t\t\t原価金額\t181,360\t181,360\t0\n");
}

TEST(Compare, EveryEnteredFieldOfALineIsCompared) {
  ParsedDocument now = Sample();
  LineRecord& l = now.Lines[2][0];
  l.NameSpec.set(ToCp932("ポンプ2;40A"));  // renamed: pairs by position
  l.CostQty = M(2);
  l.CostPrice = M(140000);
  l.CostExtraPrice = M(10);
  l.SubExtraPrice = M(20);
  l.SecondRoundMode = M(3);
  l.AmountText.set(ToCp932("別途"));
  Result r = Compared(Sample(), now);
  std::vector<std::string> fields;
  for (const DiffRow& d : r.Rows) fields.push_back(d.Field);
  EXPECT_EQ(fields, (std::vector<std::string>{"名称", "原価数量", "原価単価", "原価付帯単価", "提出付帯単価",
                                              "第二端数処理", "金額欄", "提出金額", "原価金額"}));
  EXPECT_EQ(r.Rows[3].Difference, "+10");
}

TEST(Compare, ComputedLabourOfLabourLinesAndBlankLinesAreNoDifference) {
  ParsedDocument old = Sample(), now = Sample();
  LineRecord labour = Line("労務費", "式", 0, 0, 0, 60);
  labour.CostQty = M(1);
  labour.SubQty = M(3);
  old.Lines[1].push_back(labour);
  labour.CostExtraPrice = M(7);  // summed by the engine on kinds 60-66, never entered
  now.Lines[1].push_back(labour);
  now.Lines[1].push_back(LineRecord{});
  now.Lines[2].insert(now.Lines[2].begin(), LineRecord{});
  Result r = Compared(old, now);
  EXPECT_TRUE(r.Rows.empty()) << ReportText(r);
}

TEST(Compare, RemovedItemAndChangedItemSettings) {
  ParsedDocument now = Sample();
  now.Items.erase(now.Items.begin());  // 配管工事 and its sheet
  now.Lines.erase(1);
  now.Lines[1] = now.Lines[2];
  now.Lines.erase(2);
  now.Items[1].SetSettings({M(1), M(1), kZero, kZero, kZero});  // the subtotal now ends at 1
  now.Items[0].SetSettings({kHalf, kHalf, M(10), M(10), kHalf});
  Result r = Compared(Sample(), now);
  EXPECT_EQ(Body(r),
            "削除\t1\t配管工事\t\t\t提出金額\t14,480\t\t-14,480\n"
            "削除\t1\t配管工事\t\t\t原価金額\t11,360\t\t-11,360\n"
            "変更\t1\t機器工事\t\t\t数量桁\t100\t10\t-90\n"
            "変更\t1\t機器工事\t\t\t金額単位\t1\t10\t+9\n"
            "変更\t1\t機器工事\t\t\t提出金額\t230,000\t230,000\t0\n"
            "変更\t1\t機器工事\t\t\t原価金額\t170,000\t170,000\t0\n"
            "変更\t2\t小計\t\t\t範囲終了\t2\t1\t-1\n"
            "変更\t2\t小計\t\t\t提出金額\t244,480\t230,000\t-14,480\n"
            "変更\t2\t小計\t\t\t原価金額\t181,360\t170,000\t-11,360\n"
            "合計\t\t\t\t\t提出金額\t244,480\t230,000\t-14,480\n"
            "合計\t\t\t\t\t原価金額\t181,360\t170,000\t-11,360\n");
}

TEST(Compare, MovedLinesKeepTheirPartnersAndACommentIsALine) {
  ParsedDocument now = Sample();
  std::swap(now.Lines[1][0], now.Lines[1][2]);  // 白ガス管 and 保温 change places
  EXPECT_TRUE(Compared(Sample(), now).Rows.empty());
  LineRecord comment;
  comment.NameSpec.set(ToCp932("【支持金物】"));
  comment.FLAG = 30;
  LineRecord remark;  // a blank kind with a remark is no filler
  remark.Remarks.set(ToCp932("別途"));
  now.Lines[2].push_back(comment);
  now.Lines[2].push_back(remark);
  Result r = Compared(Sample(), now);
  ASSERT_EQ(r.Rows.size(), 4u);
  EXPECT_EQ(r.Rows[0].LineName, "【支持金物】");
  EXPECT_EQ(r.Rows[0].Row, 4);
  EXPECT_EQ(r.Rows[2].Row, 5);
  EXPECT_EQ(r.Rows[2].Kind, State::Added);
}

TEST(Compare, TheGroupFollowsTheSortKeyAndTheKind) {
  ParsedDocument now = Sample();
  now.Lines[1][0].sort = M(15001);  // A -> C
  now.Lines[1][1].FLAG = 12;        // A -> a
  Result r = Compared(Sample(), now);
  std::vector<std::string> rows;
  for (const DiffRow& d : r.Rows)
    if (d.Field != "提出金額" && d.Field != "原価金額") rows.push_back(d.Field + " " + d.Old + " " + d.New);
  EXPECT_EQ(rows, (std::vector<std::string>{"グループ A C", "種別 10 12", "グループ A a"}));
}

TEST(Compare, IncidentalPricesAreComparedOnlyWhereBothSidesEnterThem) {
  ParsedDocument old = Sample(), now = Sample();
  for (int32_t kind : {60, 66}) {
    LineRecord labour = Line("労務費", "式", 1, 0, 0, kind);
    old.Lines[2].push_back(labour);
    labour.SubExtraPrice = M(9);
    now.Lines[2].push_back(labour);
  }
  EXPECT_TRUE(Compared(old, now).Rows.empty());
  LineRecord priced = Line("雑材", "式", 1, 100, 100, 10);
  priced.CostExtraPrice = M(5);
  old.Lines[1].push_back(priced);
  priced.FLAG = 60;
  priced.CostExtraPrice = M(7);
  now.Lines[1].push_back(priced);
  std::vector<std::string> fields;
  for (const DiffRow& d : Compared(old, now).Rows) fields.push_back(d.Field);
  EXPECT_EQ(fields, (std::vector<std::string>{"種別", "提出金額", "原価金額"}));
}

TEST(Compare, SettingFieldsAreNamedAfterWhatTheKindKeepsThere) {
  // Read as they are, without a recomputation: only the names of the first setting count.
  auto firstSetting = [](int32_t kind) {
    ParsedDocument a, b;
    a.Items = {Item("x", kind)};
    b.Items = {Item("x", kind)};
    CalcSettings s = b.Items[0].Settings();
    s.LineRoundAddend = M(3);
    b.Items[0].SetSettings(s);
    return Compare(a, b).Rows.at(0).Field;
  };
  EXPECT_EQ(firstSetting(10), "端数処理");
  EXPECT_EQ(firstSetting(19), "端数処理");
  EXPECT_EQ(firstSetting(20), "範囲開始");
  EXPECT_EQ(firstSetting(29), "範囲開始");
  EXPECT_EQ(firstSetting(30), "端数処理");
  EXPECT_EQ(firstSetting(95), "範囲開始");
  EXPECT_EQ(firstSetting(80), "端数処理");
  EXPECT_EQ(firstSetting(81), "原価率");
  EXPECT_EQ(firstSetting(84), "原価率");
  EXPECT_EQ(firstSetting(85), "端数処理");
  EXPECT_EQ(firstSetting(93), "原価にも加算");
}

TEST(Compare, OnlyTheTotalsDifferingStillDiffers) {
  ParsedDocument now = Sample();
  Result r = Compared(Sample(), now);
  r.Sums.NewCost = r.Sums.NewCost + M(1);
  EXPECT_TRUE(r.Differs());
  r.Sums.NewCost = r.Sums.OldCost;
  r.Sums.NewSub = r.Sums.NewSub + M(1);
  EXPECT_TRUE(r.Differs());
}

}  // namespace
}  // namespace zantro::compare
