// The cost summary against sums taken line by line here, over the sample and random
// documents; the bill of materials; the shares; the text and CSV forms; the batch command.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <utility>
#include <sstream>

#include "breakdown/batch.h"
#include "general/doccheck.h"
#include "general/document.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "summary/command.h"
#include "summary/materials.h"
#include "summary/summary.h"
#include "summary/tables.h"
#include "testutil/randomdocument.h"
#include "testutil/tempdir.h"

namespace zantro::summary {
namespace {

using testing::TempDir;
using Int128 = __int128;

const std::string kSample = std::string(ZANTRO_SOURCE_DIR) + "/data/Sample/sample.znt2";

Money M(int64_t units) { return Money::Units(units); }
Money Raw(int64_t raw) { return Money::FromRaw(raw); }

// ---- The independent computation: plain 128-bit sums over the engine's line amounts. ----

int GroupByThreshold(Money sort) {
  const int64_t bounds[] = {12001, 15001, 18001, 21001, 24001};
  int g = 0;
  while (g < 5 && sort.raw >= bounds[g] * 10000) ++g;
  return g;
}

struct Expected {
  Int128 groupCost[6] = {}, groupSub[6] = {}, otherCost = 0, otherSub = 0;
  std::map<int32_t, std::pair<int64_t, int64_t>> labour;  // item -> cost, submitted labour (raw)
};

// Cut(L x scale + addend) / scale on the exact sum L of quantity x factor (value x 10^8).
int64_t CutLabour(Int128 exact8, Money scale, Money addend) {
  const int64_t units = scale.raw / 10000;
  Int128 x = exact8 * units + static_cast<Int128>(addend.raw) * 10000;
  Int128 k = x / 100000000;  // toward zero, as Cut
  return static_cast<int64_t>(k * 10000 / units);
}

Expected TakeLineByLine(const ParsedDocument& doc) {
  Expected e;
  for (int32_t n = 1; n <= doc.ItemCount(); ++n) {
    const ItemRecord& item = doc.Items[n - 1];
    if (!ItemHasSheet(item.ItemKind)) continue;
    Int128 lc = 0, ls = 0;
    auto it = doc.Lines.find(n);
    if (it != doc.Lines.end())
      for (const LineRecord& l : it->second) {
        const int sign = (l.FLAG == 11 || l.FLAG == 21) ? -1 : 1;
        if (l.FLAG >= 50 && l.FLAG <= 99) {
          e.otherCost += sign * l.CostAmount.raw;
          e.otherSub += sign * l.SubAmount.raw;
        } else {
          e.groupCost[GroupByThreshold(l.sort)] += sign * l.CostAmount.raw;
          e.groupSub[GroupByThreshold(l.sort)] += sign * l.SubAmount.raw;
        }
        const bool rangeOrOverhead = (l.FLAG >= 50 && l.FLAG <= 76) || (l.FLAG >= 81 && l.FLAG <= 84);
        if (!rangeOrOverhead) {
          lc += sign * static_cast<Int128>(l.CostQty.raw) * l.LabourFactor.raw;
          ls += sign * static_cast<Int128>(l.SubQty.raw) * l.LabourFactor.raw;
        }
      }
    CalcSettings s = item.Settings();
    CheckSettings(s);
    e.labour[n] = {CutLabour(lc, s.QuantityScale, s.Opt6RoundAddend), CutLabour(ls, s.QuantityScale, s.Opt6RoundAddend)};
  }
  return e;
}

void ExpectMatches(const ParsedDocument& computed, const Summary& s, const std::string& what) {
  Expected e = TakeLineByLine(computed);
  Int128 all = 0;
  for (int g = 0; g < 6; ++g) {
    EXPECT_EQ(s.Groups[g].Cost.raw, static_cast<int64_t>(e.groupCost[g])) << what << " group " << g;
    EXPECT_EQ(s.Groups[g].Sub.raw, static_cast<int64_t>(e.groupSub[g])) << what << " group " << g;
    all += e.groupSub[g];
  }
  EXPECT_EQ(s.Calculated.Cost.raw, static_cast<int64_t>(e.otherCost)) << what;
  EXPECT_EQ(s.Calculated.Sub.raw, static_cast<int64_t>(e.otherSub)) << what;
  // Every sheet's groups and calculated lines make its total, and the totals the sum.
  EXPECT_EQ(s.Sheets.Sub.raw, static_cast<int64_t>(all + e.otherSub)) << what;
  Int128 itemsCost = 0, itemsSub = 0;
  for (const ItemSummary& i : s.Items) {
    const ItemRecord& rec = computed.Items[i.Number - 1];
    EXPECT_EQ(i.Total, (Pair{rec.ALLNTOTAL, rec.ALLGTOTAL})) << what << " item " << i.Number;
    Pair sum = i.Calculated;
    for (const Pair& p : i.Groups) sum += p;
    EXPECT_EQ(sum, i.Total) << what << " item " << i.Number;
    EXPECT_EQ(i.Labour.Cost.raw, e.labour.at(i.Number).first) << what << " item " << i.Number;
    EXPECT_EQ(i.Labour.Sub.raw, e.labour.at(i.Number).second) << what << " item " << i.Number;
    itemsCost += rec.ALLNTOTAL.raw;
    itemsSub += rec.ALLGTOTAL.raw;
  }
  EXPECT_EQ(s.Items.size(), e.labour.size()) << what;
  EXPECT_EQ(s.Sheets.Cost.raw, static_cast<int64_t>(itemsCost)) << what;
  EXPECT_EQ(s.Sheets.Sub.raw, static_cast<int64_t>(itemsSub)) << what;
  EXPECT_EQ(s.Document, (Pair{computed.Title.ALLNTOTAL, computed.Title.ALLGTOTAL})) << what;
}

ParsedDocument ReadComputed(const std::string& path) {
  ParsedDocument doc = ParseDocumentFile(path);
  CheckRecomputation(doc, path);
  return doc;
}

TEST(Summary, SampleEqualsTheLineByLineSums) {
  ParsedDocument doc = ReadComputed(kSample);
  Summary s = Summarize(doc);
  ExpectMatches(doc, s, "sample");
  // Figures of the sample checked by hand: item 2's labour 45.5 x 0.085 + 32.25 x 0.1 + 24 x
  // 0.02 = 7.5725, cut to two decimals with 0.5 added at the last place: 7.57; item 3 at one
  // decimal: 86.5 x 0.35 + 12 x 0.3 = 33.875 -> 33.9. No labour line: no rate, no amount.
  ASSERT_EQ(s.Items.size(), 3u);
  EXPECT_EQ(s.Items[0].Labour.Cost, Raw(75700));
  EXPECT_EQ(s.Items[1].Labour.Cost, Raw(339000));
  EXPECT_EQ(s.Labour.Sub, Raw(75700 + 339000));
  EXPECT_EQ(s.Source, RateSource::None);
  EXPECT_EQ(s.LabourAmount, Pair{});
  EXPECT_EQ(s.Document, (Pair{M(3088402), M(4597555)}));
  // The groups: 鋼管 (A) of item 2 lines 1-4, 雑材 (F) its supports, ダクト (D) item 3, 機器 (E)
  // item 4 with its overhead line among the calculated ones.
  EXPECT_EQ(s.Groups[0], (Pair{M(37310 + 34830 + 2280 + 29575), M(52325 + 47730 + 3360 + 40950)}));
  EXPECT_EQ(s.Groups[5], (Pair{M(18000), M(25000)}));
  EXPECT_EQ(s.Groups[3], (Pair{M(593340), M(816230)}));
  EXPECT_EQ(s.Groups[4], (Pair{M(2120000), M(2670000)}));
  EXPECT_EQ(s.Calculated, (Pair{M(106000), M(214000)}));
  EXPECT_EQ(ToUtf8(s.GroupNames[3]), "ダクト");
  // The document's totals are those of the breakdown list as the window computes it.
  Document shown = OpenForReport(kSample);
  EXPECT_EQ(s.Document, (Pair{shown.Breakdown.Cost, shown.Breakdown.Sub}));
}

// ---- Random documents (testutil/randomdocument.h). ----

using testing::RandomDocument;

TEST(Summary, RandomDocumentsEqualTheLineByLineSumsAndTheWindowsTotals) {
  std::mt19937 rng(2807);
  TempDir dir;
  int withLabourLine = 0;
  for (int round = 0; round < 300; ++round) {
    ParsedDocument doc = RandomDocument(rng);
    const std::string path = dir.file("r.znt2");
    ASSERT_TRUE(WriteFileAtomic(path, ContainerText(doc, false, 0)));
    ParsedDocument computed = ReadComputed(path);
    ExpectMatches(computed, Summarize(computed), "round " + std::to_string(round));
    // The file as the window opens it: its totals are the document's of the summary.
    Summary s = SummarizeFile(path);
    Document shown = OpenForReport(path);
    EXPECT_EQ(s.Document, (Pair{shown.Breakdown.Cost, shown.Breakdown.Sub})) << "round " << round;
    EXPECT_EQ(s.Sheets, Summarize(computed).Sheets);
    // The labour amount at a typed rate, and at the first labour line's.
    Summary typed = Summarize(computed, Raw(123456789));
    Pair labourAmount;
    for (const ItemSummary& i : typed.Items) {
      CalcSettings st = computed.Items[i.Number - 1].Settings();
      CheckSettings(st);
      EXPECT_EQ(i.LabourAmount.Cost, LineAmount(Raw(123456789), i.Labour.Cost, st.LineRoundAddend));
      labourAmount += i.LabourAmount;
    }
    EXPECT_EQ(typed.LabourAmount, labourAmount);
    if (s.Source == RateSource::LabourLine) ++withLabourLine;
    if (round < 30) {
      // The same document as the window's working copy: the same sums, and the document's
      // totals as its head stores them.
      TempDir work;
      WriteWorkFiles(computed, work.path());
      Summary copy = SummarizeWorkFiles(work.path());
      EXPECT_EQ(copy.Sheets, s.Sheets) << "round " << round;
      EXPECT_EQ(copy.Groups, s.Groups) << "round " << round;
      EXPECT_EQ(copy.Labour, s.Labour) << "round " << round;
      EXPECT_EQ(copy.Materials.size(), s.Materials.size()) << "round " << round;
      EXPECT_EQ(copy.Document, (Pair{computed.Title.ALLNTOTAL, computed.Title.ALLGTOTAL})) << "round " << round;
    }
  }
  EXPECT_GT(withLabourLine, 50);
}

// ---- The bill of materials. ----

LineRecord Priced(int32_t flag, const char* nameSpec, const char* unit, int64_t qtyRaw, int64_t price) {
  LineRecord l{};
  l.FLAG = flag;
  l.NameSpec.set(Sj(nameSpec));
  l.Unit.set(Sj(unit));
  l.CostQty = l.SubQty = Raw(qtyRaw);
  l.CostPrice = M(price);
  l.SubPrice = M(price + 100);
  l.LabourFactor = Raw(850);
  l.sort = M(10001);
  return l;
}

ParsedDocument TwoSheetsOfPipe() {
  ParsedDocument doc;
  doc.Title = EmptyDocumentTitle();
  for (int n = 1; n <= 2; ++n) {
    doc.Items.push_back(NewItem());
    doc.Items.back().ItemName.set(Sj(n == 1 ? "冷温水" : "冷却水"));
  }
  doc.Lines[1] = {Priced(20, "配管用炭素鋼鋼管;白 20A", "m", 455000, 820), Priced(10, "エルボ;白 20A", "個", 240000, 95),
                  Priced(30, "配管用炭素鋼鋼管;白 20A", "m", 10000, 0)};
  doc.Lines[2] = {Priced(20, "配管用炭素鋼鋼管;白 20A", "m", 322500, 820), Priced(20, "配管用炭素鋼鋼管;白 20A", "本", 30000, 4000),
                  Priced(21, "配管用炭素鋼鋼管;白 20A", "m", 20000, 820), Priced(10, "", "", 0, 0),
                  Priced(10, "", "式", 0, 0), Priced(10, "支持金物", "", 10000, 0)};
  for (LineRecord* l : {&doc.Lines[2][4], &doc.Lines[2][5]}) {
    l->SubPrice = kZero;  // lines of no amount and no labour
    l->LabourFactor = kZero;
  }
  for (auto& [n, lines] : doc.Lines)
    for (auto& l : lines) l.ItemNo = n;
  CheckRecomputation(doc, "pipes");
  return doc;
}

TEST(Summary, TheSamePipeOfTwoSheetsIsSummedOnce) {
  Summary s = Summarize(TwoSheetsOfPipe());
  ASSERT_EQ(s.Materials.size(), 5u);
  const MaterialRow& pipe = s.Materials[0];
  EXPECT_EQ(ToUtf8(pipe.Name), "配管用炭素鋼鋼管");
  EXPECT_EQ(ToUtf8(pipe.Spec), "白 20A");
  EXPECT_EQ(ToUtf8(pipe.Unit), "m");
  // 45.5 + 32.25 - 2 (a reduction), the comment line not counted: 75.75 m.
  EXPECT_EQ(pipe.CostQty, Raw(757500));
  EXPECT_EQ(pipe.SubQty, Raw(757500));
  EXPECT_EQ(pipe.Amount, (Pair{M(37310 + 26445 - 1640), M(41860 + 29670 - 1840)}));
  EXPECT_EQ(pipe.Lines, 3);
  EXPECT_EQ(ToUtf8(s.Materials[1].Name), "エルボ");
  EXPECT_EQ(ToUtf8(s.Materials[2].Unit), "本");  // another unit is another row
  EXPECT_EQ(s.Materials[2].Amount.Cost, M(12000));
  // A line with only a unit is kept (an empty line is not); a name without ";" has no
  // specification.
  EXPECT_EQ(ToUtf8(s.Materials[3].Unit), "式");
  EXPECT_EQ(s.Materials[3].Lines, 1);
  EXPECT_EQ(ToUtf8(s.Materials[4].Name), "支持金物");
  EXPECT_EQ(s.Materials[4].Spec, "");
  EXPECT_EQ(s.Materials[4].CostQty, M(1));
  // The bill of materials holds every priced amount of the document.
  Pair all;
  for (const MaterialRow& m : s.Materials) all += m.Amount;
  EXPECT_EQ(all, s.Sheets);
  // Labour of item 2: (32.25 + 3 - 2) x 0.085 = 2.82625 -> 2.83 (two decimals, 0.5 added).
  EXPECT_EQ(s.Items[1].Labour.Cost, Raw(28300));
}

TEST(Summary, TheFirstLabourLineGivesTheRate) {
  ParsedDocument doc = TwoSheetsOfPipe();
  LineRecord labour{};
  labour.FLAG = 60;
  labour.CostQty = M(1);
  labour.SubQty = M(2);
  labour.CostPrice = M(20000);
  labour.SubPrice = M(25000);
  labour.ItemNo = 2;
  doc.Lines[2].push_back(labour);
  labour.CostPrice = M(1);
  doc.Lines[2].push_back(labour);
  CheckRecomputation(doc, "labour");
  Summary s = Summarize(doc);
  EXPECT_EQ(s.Source, RateSource::LabourLine);
  EXPECT_EQ(s.Rate, (Pair{M(20000), M(25000)}));
  // Item 1: (45.5 + 24 + 1) x 0.085 = 5.9925 -> 5.99; at 20000 and 25000.
  EXPECT_EQ(s.Items[0].Labour.Cost, Raw(59900));
  EXPECT_EQ(s.Items[0].LabourAmount, (Pair{M(119800), M(149750)}));
  // A labour line of the first item comes first.
  ParsedDocument first = doc;
  labour.ItemNo = 1;
  labour.SubPrice = M(7);
  first.Lines[1].push_back(labour);
  CheckRecomputation(first, "labour");
  EXPECT_EQ(Summarize(first).Rate, (Pair{M(1), M(7)}));
  // An item without a sheet after it changes nothing.
  ParsedDocument withOverhead = first;
  withOverhead.Items[1].ItemKind = 81;
  withOverhead.Lines.erase(2);
  EXPECT_EQ(Summarize(withOverhead).Rate, (Pair{M(1), M(7)}));
  // A sheet with no lines before the labour line is passed over.
  ParsedDocument emptyFirst = doc;
  emptyFirst.Lines.erase(1);
  EXPECT_EQ(Summarize(emptyFirst).Rate, (Pair{M(20000), M(25000)}));
  Summary typed = Summarize(doc, M(10000));
  EXPECT_EQ(typed.Source, RateSource::Typed);
  EXPECT_EQ(typed.Items[0].LabourAmount, (Pair{M(59900), M(59900)}));
}

TEST(Summary, TheBillOfMaterialsNarrowedAndOrdered) {
  auto row = [](const char* name, const char* spec, int64_t qty, int64_t cost, int64_t sub) {
    return MaterialRow{Sj(name), Sj(spec), Sj("m"), M(qty), M(qty), Pair{M(cost), M(sub)}, 1};
  };
  const std::vector<MaterialRow> rows = {row("鋼管", "SGP 20A", 5, 300, 900), row("エルボ", "sgp 25a", 9, 300, 100),
                                         row("鋼管", "SGP 15A", 1, 700, 500), row("バルブ", "", 2, -50, 0)};
  auto names = [](const std::vector<MaterialRow>& rs) {
    std::string out;
    for (const MaterialRow& r : rs) out += ToUtf8(r.Name) + "/" + ToUtf8(r.Spec) + " ";
    return out;
  };
  EXPECT_EQ(names(SelectMaterials(rows, "", MaterialOrder::AsFound)), "鋼管/SGP 20A エルボ/sgp 25a 鋼管/SGP 15A バルブ/ ");
  // ASCII letters without regard to case, in the name, the specification or the unit.
  EXPECT_EQ(names(SelectMaterials(rows, "Sgp", MaterialOrder::AsFound)), "鋼管/SGP 20A エルボ/sgp 25a 鋼管/SGP 15A ");
  EXPECT_EQ(names(SelectMaterials(rows, "25A", MaterialOrder::AsFound)), "エルボ/sgp 25a ");
  EXPECT_EQ(names(SelectMaterials(rows, "鋼管", MaterialOrder::AsFound)), "鋼管/SGP 20A 鋼管/SGP 15A ");
  EXPECT_EQ(SelectMaterials(rows, "M", MaterialOrder::AsFound).size(), 4u);  // the unit
  EXPECT_TRUE(SelectMaterials(rows, "ダクト", MaterialOrder::AsFound).empty());
  EXPECT_EQ(SelectMaterials({row("Z形鋼", "", 1, 1, 1)}, "z", MaterialOrder::AsFound).size(), 1u);
  // Rows of the same name, specification and unit (a caller's own list) keep their order.
  auto same = SelectMaterials({row("管", "", 1, 1, 1), row("管", "", 2, 2, 2), row("管", "", 3, 3, 3)}, "",
                              MaterialOrder::Name);
  EXPECT_EQ(same[0].CostQty, M(1));
  EXPECT_EQ(same[1].CostQty, M(2));
  EXPECT_EQ(same[2].CostQty, M(3));
  // Names in Shift-JIS byte order (katakana before kanji), then the specification.
  EXPECT_EQ(names(SelectMaterials(rows, "", MaterialOrder::Name)), "エルボ/sgp 25a バルブ/ 鋼管/SGP 15A 鋼管/SGP 20A ");
  // Largest first; equal amounts keep the order found.
  EXPECT_EQ(names(SelectMaterials(rows, "", MaterialOrder::CostAmount)), "鋼管/SGP 15A 鋼管/SGP 20A エルボ/sgp 25a バルブ/ ");
  EXPECT_EQ(names(SelectMaterials(rows, "", MaterialOrder::SubAmount)), "鋼管/SGP 20A 鋼管/SGP 15A エルボ/sgp 25a バルブ/ ");
  EXPECT_EQ(names(SelectMaterials(rows, "", MaterialOrder::CostQuantity)), "エルボ/sgp 25a 鋼管/SGP 20A バルブ/ 鋼管/SGP 15A ");
}

// ---- Shares, text and CSV. ----

TEST(SummaryText, SharesAreExactPercentagesWithTwoDecimals) {
  EXPECT_EQ(ShareText(M(1), M(3)), "33.33");
  EXPECT_EQ(ShareText(M(2), M(3)), "66.67");
  EXPECT_EQ(ShareText(M(-1), M(8)), "-12.50");
  EXPECT_EQ(ShareText(M(1), M(-8)), "-12.50");
  EXPECT_EQ(ShareText(M(-1), M(-8)), "12.50");
  EXPECT_EQ(ShareText(M(5), M(5)), "100.00");
  EXPECT_EQ(ShareText(M(3), M(2)), "150.00");
  EXPECT_EQ(ShareText(M(1), M(20000)), "0.01");   // 0.005 % rounds up
  EXPECT_EQ(ShareText(M(1), M(20001)), "0.00");   // just under
  EXPECT_EQ(ShareText(M(-1), M(20000)), "-0.01");
  EXPECT_EQ(ShareText(kZero, M(7)), "0.00");
  EXPECT_EQ(ShareText(M(7), kZero), "");
  EXPECT_EQ(ShareText(Raw(INT64_MAX), Raw(INT64_MAX)), "100.00");
  EXPECT_EQ(ShareValue(M(1), M(8)), Raw(125000));
  EXPECT_FALSE(ShareValue(M(1), kZero));
  EXPECT_THROW(ShareValue(Raw(INT64_MAX), Raw(1)), MoneyOverflow);
}

TEST(SummaryText, TheTablesAsText) {
  Summary s = Summarize(TwoSheetsOfPipe());
  std::string text = TablesText(SummaryTables(s));
  // Sheets: 37310 + 2280 = 39590 / 41860 + 4680 = 46540; 26445 + 12000 - 1640 = 36805 /
  // 29670 + 12300 - 1840 = 40130; document 76395 / 86670. Labour of item 1 counts the
  // comment line's quantity as a labour line would: (45.5 + 24 + 1) x 0.085 = 5.9925.
  const std::string groups =
      "[価格グループ別]\n"
      "グループ\t名称\t原価\t原価構成比\t提出金額\t提出構成比\t差額\n"
      "A\t\t76,395\t100.00\t86,670\t100.00\t10,275\n"
      "B\t\t0\t0.00\t0\t0.00\t0\n";
  EXPECT_EQ(text.substr(0, groups.size()), groups);
  EXPECT_NE(text.find("\n計算\t範囲計算・諸経費・消費税の行\t0\t0.00\t0\t0.00\t0\n明細計\t\t76,395\t100.00\t86,670\t100.00\t10,275\n"
                      "内訳\t内訳の諸経費・値引・消費税\t0\t0.00\t0\t0.00\t0\n総合計\t\t76,395\t100.00\t86,670\t100.00\t10,275\n\n"
                      "[工種別]\n番号\t工種名\t原価\t原価構成比\t提出金額\t提出構成比\t差額\n"
                      "1\t冷温水\t39,590\t51.82\t46,540\t53.70\t6,950\n2\t冷却水\t36,805\t48.18\t40,130\t46.30\t3,325\n"
                      "明細計\t\t76,395\t100.00\t86,670\t100.00\t10,275\n\n"
                      "[工種別グループ別]\n番号\t工種名\tグループ\t名称\t原価\t原価構成比\t提出金額\t提出構成比\t差額\n"
                      "1\t冷温水\tA\t\t39,590\t100.00\t46,540\t100.00\t6,950\n"
                      "2\t冷却水\tA\t\t36,805\t100.00\t40,130\t100.00\t3,325\n\n"
                      "[労務]\n番号\t工種名\t原価人工\t提出人工\t原価労務費\t提出労務費\n"
                      "1\t冷温水\t5.99\t5.99\t0\t0\n2\t冷却水\t2.83\t2.83\t0\t0\n合計\t\t8.82\t8.82\t0\t0\n"
                      "単価\t労務単価なし\t\t\t0\t0\n\n"
                      "[資材集計]\n名称\t規格\t単位\t原価数量\t原価金額\t提出数量\t提出金額\t行数\n"
                      "配管用炭素鋼鋼管\t白 20A\tm\t75.75\t62,115\t75.75\t69,690\t3\n"
                      "エルボ\t白 20A\t個\t24\t2,280\t24\t4,680\t1\n"
                      "配管用炭素鋼鋼管\t白 20A\t本\t3\t12,000\t3\t12,300\t1\n"
                      "\t\t式\t0\t0\t0\t0\t1\n支持金物\t\t\t1\t0\t1\t0\t1\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.back(), '\n');
}

TEST(SummaryText, TheBillOfMaterialsAsCsvIsShiftJisWithCrLf) {
  std::vector<MaterialRow> rows = {
      MaterialRow{Sj("管,継手"), Sj("\"20A\""), Sj("m"), Raw(12345), Raw(-5000), Pair{M(1234567), M(-3)}, 2}};
  std::string csv = TableCsv(MaterialTable(rows));
  EXPECT_EQ(csv, Sj("名称,規格,単位,原価数量,原価金額,提出数量,提出金額,行数\r\n"
                    "\"管,継手\",\"\"\"20A\"\"\",m,1.2345,1234567,-0.5,-3,2\r\n"));
}

// ---- The command. ----

TEST(SummaryCommand, RefusesWrongArgumentsAndDamagedDocuments) {
  TempDir dir;
  std::ostringstream err;
  std::string text;
  EXPECT_EQ(SummaryCommand({}, err, nullptr, &text), 2);
  EXPECT_NE(err.str().find("usage: zantro --summary"), std::string::npos);
  EXPECT_EQ(SummaryCommand({kSample, kSample}, err, nullptr, &text), 2);
  EXPECT_EQ(SummaryCommand({kSample, "--xlsx"}, err, nullptr, &text), 2);
  EXPECT_EQ(SummaryCommand({kSample, "--bogus"}, err, nullptr, &text), 2);
  err.str("");
  EXPECT_EQ(SummaryCommand({"--bogus"}, err, nullptr, &text), 2);
  EXPECT_EQ(err.str().rfind("zantro: usage: zantro --summary", 0), 0u) << err.str();
  err.str("");
  EXPECT_EQ(SummaryCommand({kSample, "--xlsx", dir.file("a.xlsx"), "--pdf", dir.file("a.pdf")}, err, nullptr, &text), 2);
  EXPECT_EQ(err.str().rfind("zantro: usage: zantro --summary", 0), 0u) << err.str();
  EXPECT_FALSE(FileExists(dir.file("a.xlsx")));
  err.str("");
  EXPECT_EQ(SummaryCommand({kSample, "--rate", "abc"}, err, nullptr, &text), 2);
  EXPECT_NE(err.str().find("zantro: --rate: 'abc'"), std::string::npos) << err.str();
  err.str("");
  EXPECT_EQ(SummaryCommand({kSample, "--pdf", dir.file("x.pdf")}, err, nullptr, &text), 2);
  EXPECT_TRUE(text.empty());
  // A damaged document: its reason names the file and the line.
  std::string bytes = *ReadFileBytes(kSample);
  bytes.replace(bytes.find("\r\n2;") + 2, 2, "9;");  // a data line of an item the list lacks
  ASSERT_TRUE(WriteFileAtomic(dir.file("bad.znt2"), bytes));
  err.str("");
  EXPECT_EQ(SummaryCommand({dir.file("bad.znt2")}, err, nullptr, &text), 2);
  EXPECT_EQ(err.str().rfind("zantro: " + dir.file("bad.znt2") + ": line ", 0), 0u) << err.str();
  // The workbook never replaces the document it summarises.
  ASSERT_TRUE(WriteFileAtomic(dir.file("doc.znt2"), *ReadFileBytes(kSample)));
  err.str("");
  EXPECT_EQ(SummaryCommand({dir.file("doc.znt2"), "--xlsx", dir.file("doc.znt2")}, err, nullptr, &text), 1);
  EXPECT_EQ(*ReadFileBytes(dir.file("doc.znt2")), *ReadFileBytes(kSample));
}

TEST(SummaryCommand, ReadsVersion1Documents) {
  // One item, one line of kind 10: 3 at 500 on both sides.
  std::string v1(464 + 4 + 140 + 228, '\0');
  int32_t one = 1, ten = 10;
  std::memcpy(&v1[464], &one, 4);
  std::memcpy(&v1[468], &ten, 4);
  const size_t line = 468 + 140;
  std::memcpy(&v1[line], &one, 4);
  std::memcpy(&v1[line + 112], &ten, 4);
  int64_t three = 3 * Money::kScale, price = 500 * Money::kScale;
  std::memcpy(&v1[line + 116], &three, 8);
  std::memcpy(&v1[line + 124], &three, 8);
  std::memcpy(&v1[line + 132], &price, 8);
  std::memcpy(&v1[line + 140], &price, 8);
  TempDir dir;
  ASSERT_TRUE(WriteFileAtomic(dir.file("old.znt"), v1));
  std::ostringstream err;
  std::string text;
  ASSERT_EQ(SummaryCommand({dir.file("old.znt")}, err, nullptr, &text), 0) << err.str();
  EXPECT_EQ(text.substr(0, text.find("B\t")),
            "[価格グループ別]\nグループ\t名称\t原価\t原価構成比\t提出金額\t提出構成比\t差額\nA\t\t1,500\t100.00\t1,500\t100.00\t0\n");
}

TEST(SummaryCommand, OnlyThePdfNeedsPrinting) {
  EXPECT_TRUE(NeedsPrinting({kSample, "--pdf", "x.pdf"}));
  EXPECT_FALSE(NeedsPrinting({kSample, "--xlsx", "x.pdf"}));
  EXPECT_FALSE(NeedsPrinting({}));
}

TEST(SummaryCommand, TypedRateAndWorkbook) {
  TempDir dir;
  std::ostringstream err;
  std::string text;
  ASSERT_EQ(SummaryCommand({"--rate", "２０，０００", kSample}, err, nullptr, &text), 0) << err.str();
  // 7.57 and 33.9 人工 at 20000.
  EXPECT_NE(text.find("\n合計\t\t41.47\t41.47\t829,400\t829,400\n単価\t入力した労務単価\t\t\t20,000\t20,000\n"),
            std::string::npos)
      << text;
  ASSERT_EQ(SummaryCommand({kSample, "--xlsx", dir.file("s.xlsx")}, err, nullptr, &text), 0) << err.str();
  std::string book = *ReadFileBytes(dir.file("s.xlsx"));
  EXPECT_EQ(book.substr(0, 2), "PK");
}

}  // namespace
}  // namespace zantro::summary
