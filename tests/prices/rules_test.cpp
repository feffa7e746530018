// The rules over the libraries: a pick's line, a set's member quantities, the calculated
// prices, the registration export, a supplier's list, and re-pricing a whole document.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "general/container.h"
#include "general/kinds.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "prices/calc.h"
#include "prices/pick.h"
#include "prices/registration.h"
#include "prices/reprice.h"
#include "prices/supplier.h"

namespace zantro {
namespace {

Money U(int64_t v) { return Money::Units(v); }
Money R(int64_t raw) { return Money::FromRaw(raw); }

PriceEntry Valve() {
  PriceEntry e;
  e.Code = "GV-20";
  e.Name = Sj("仕切弁");
  e.Spec = Sj("10K 20A");
  e.Unit = Sj("個");
  e.LabourFactor = R(1100);
  e.CostPrice = U(3150);
  e.Prices = {U(4200), U(4410), U(4070), U(3860), U(4620)};
  e.CostExtra = U(10);
  e.Extras = {U(11), U(12), U(13), U(14), U(15)};
  e.Group = 2;
  e.Remarks = Sj("青銅");
  return e;
}

TEST(Pick, WritesTheLevelsPricesTheGroupsKeyAndTheQuantity) {
  EXPECT_EQ(PickedLine(Valve(), 2, U(3)).Encode(),
            Sj("WM_DATAWRITE;仕切弁;10K 20A;個;3150;4410;10;12;3;3;0;0;10;15001;青銅;0;0.11;0;0;0;;"));
  // No quantity: none written; a quantity with decimals keeps them (kind 20).
  EXPECT_EQ(PickedLine(Valve(), 5, std::nullopt).Encode(),
            Sj("WM_DATAWRITE;仕切弁;10K 20A;個;3150;4620;10;15;0;0;0;0;10;15001;青銅;0;0.11;0;0;0;;"));
  EXPECT_EQ(PickedLine(Valve(), 1, R(25000)).FLAG, 20);
  EXPECT_EQ(GroupSortKey(0), U(10001));
  EXPECT_EQ(GroupSortKey(5), U(24001));
  EXPECT_EQ(PriceGroupOf(GroupSortKey(3)), 3);
}

TEST(Pick, SetMembersTakeTheirRatioOfTheBaseQuantityCutToThreeDecimals) {
  PriceLibrary lib;
  lib.Family = PriceFamily::Sequence;
  for (auto [set, ratio] : {std::pair{"A", 10000}, {"A", 4000}, {"B", 10000}, {"A", 3333}}) {
    PriceEntry e = Valve();
    e.SetName = set;
    e.Ratio = R(ratio);
    lib.Entries.push_back(e);
  }
  auto sets = SetsOf(lib);
  ASSERT_EQ(sets.size(), 3u);  // a set is a run of lines: the last "A" is a set of its own
  EXPECT_EQ(sets[0].Members, (std::vector<uint32_t>{0, 1}));
  auto lines = SetLines(lib, sets[0], 1, R(125000));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Kind, Command::MultiWrite);
  EXPECT_EQ(lines[1].SubQty, U(5));
  EXPECT_EQ(MemberQuantity(U(7), R(3333)), R(23330));  // 2.3331 cut to 2.333
  EXPECT_EQ(MemberQuantity(R(-15000), R(3333)), R(-4990));
}

LineRecord Line(const char* nameSpec, int32_t kind, int64_t qty, int64_t price, int64_t amount, int64_t labour,
                int64_t extra, int64_t sort = 10001) {
  LineRecord l;
  l.NameSpec.set(Sj(nameSpec));
  l.Unit.set(Sj("m"));
  l.FLAG = kind;
  l.CostQty = l.SubQty = R(qty);
  l.CostPrice = l.SubPrice = U(price);
  l.CostAmount = l.SubAmount = U(amount);
  l.LabourFactor = R(labour);
  l.CostExtraPrice = l.SubExtraPrice = U(extra);
  l.sort = U(sort);
  return l;
}

TEST(CalculatedPrices, SumTheRowsOfTheBlockOrOfOneGroup) {
  std::vector<LineRecord> lines(1);
  lines.push_back(Line("管;25A", 10, 250000, 1160, 29000, 1000, 400));
  lines.push_back(Line("注記", 30, 0, 0, 0, 0, 0));
  lines.push_back(Line("エルボ", 10, 100000, 760, 7600, 300, 0, 12500));
  lines.push_back(Line("バンド", 20, 125000, 300, 3750, 300, 0));
  CalcResult unit = CalculatePrice(lines, 1, 9, CalcRequestOf(1, std::nullopt));
  EXPECT_EQ(unit.Rows, (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(unit.Line.SubPrice, U(40350));
  EXPECT_EQ(unit.Line.Kind, Command::CalcData);
  // Group B (tag 52) takes the elbow alone.
  CalcResult groupB = CalculatePrice(lines, 1, 4, CalcRequestOf(52, std::nullopt));
  EXPECT_EQ(groupB.Rows, (std::vector<int>{3}));
  EXPECT_EQ(groupB.Line.sort, U(12001));
  // Labour: 25 x 0.1 + 10 x 0.03 + 12.5 x 0.03 = 3.175, cut to 3.17, at the rate.
  CalcRequest labour = CalcRequestOf(2, std::nullopt);
  labour.LabourRate = U(25800);
  CalcResult l = CalculatePrice(lines, 1, 4, labour);
  EXPECT_EQ(l.Line.SubQty, R(31700));
  EXPECT_EQ(l.Line.SubPrice, U(25800));
  EXPECT_EQ(l.Line.FLAG, LineKinds::DecPriced);
  EXPECT_EQ(CalculatePrice(lines, 1, 4, CalcRequestOf(3, 71)).Line.SubPrice, U(10000));  // group A only
  CalcResult normal = CalculatePrice(lines, 1, 4, CalcRequestOf(4, std::nullopt));
  EXPECT_EQ(normal.Line.SubPrice, U(1614));  // 40350 / 25
  EXPECT_EQ(ToUtf8(normal.Line.Name), "管");
}

TEST(Registration, TheWindowsExportBecomesEntries) {
  std::string text = Sj("管;白 20A;m;0.085;0;640;890;890;890;890;890;220;310;310;310;310;310;ねじ;\r\n"
                        "\r\n"
                        "弁;;個;;;3150;4410;;;;;;;;;;;;\r\n");
  auto entries = ParseRegistration(text, "csv_inport.tmp");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].LabourFactor, R(850));
  EXPECT_EQ(entries[0].Prices[4], U(890));
  EXPECT_EQ(entries[0].Extras[0], U(310));
  EXPECT_EQ(ToUtf8(entries[0].Remarks), "ねじ");
  EXPECT_EQ(entries[1].Prices[1], kZero);
  try {
    ParseRegistration(Sj("管;;m;x;0;1;1;1;1;1;1;0;0;0;0;0;0;;\r\n"), "csv_inport.tmp");
    ADD_FAILURE();
  } catch (const LibraryError& e) {
    EXPECT_EQ(e.Line, 1);
    EXPECT_EQ(e.Column, 4);
  }
}

TEST(Supplier, MatchesByCodeElseByNameSpecUnitAndListsOnlyChanges) {
  PriceLibrary lib;
  PriceEntry a = Valve(), b = Valve();
  b.Code.clear();
  b.Spec = Sj("10K 25A");
  lib.Entries = {a, b};
  std::string csv = Sj("品番,品名,規格,単位,定価\r\n"
                       "GV-20,仕切弁,10K 20A,個,\"¥4,500\"\r\n"
                       ",仕切弁,10K 25A,個,4200\r\n"
                       "NEW,逆止弁,10K 20A,個,5200円\r\n"
                       ",,,,\r\n");
  SupplierMapping map;
  map.Code = 0, map.Name = 1, map.Spec = 2, map.Unit = 3, map.Prices[0] = 4;
  EXPECT_EQ(SupplierMapping::Decode(map.Encode()), map);
  auto changes = PlanSupplierImport(lib, ParseSupplierCsv(csv, 1), map, "s.csv");
  ASSERT_EQ(changes.size(), 2u);  // the 25A valve's price is already 4200
  EXPECT_EQ(changes[0].At, std::optional<size_t>(0));
  EXPECT_EQ(changes[0].New.Prices[0], U(4500));
  EXPECT_EQ(changes[0].New.Prices[1], U(4410));  // levels not mapped stay
  EXPECT_FALSE(changes[1].At);
  EXPECT_EQ(changes[1].Row, 4);
  ApplySupplierImport(lib, changes);
  EXPECT_EQ(lib.Entries.size(), 3u);
  EXPECT_EQ(lib.Entries[2].Prices[0], U(5200));
  EXPECT_THROW(PlanSupplierImport(lib, ParseSupplierCsv(Sj("x\r\nGV-20,a,b,c,abc\r\n"), 1), map, "s.csv"), LibraryError);
}

// The sample estimate re-priced from the example libraries at level 2: exactly the lines whose
// name, specification and unit an entry holds change, and the totals follow.
TEST(Reprice, ChangesExactlyTheMatchedLinesOfTheDocument) {
  auto dir = std::filesystem::temp_directory_path() / "zantro_reprice_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::string src = ZANTRO_SOURCE_DIR;
  std::string in = src + "/data/Sample/sample.znt2", outPath = (dir / "out.znt2").string();
  std::string lib1 = src + "/data/data/codedata1.dat";
  std::vector<std::string> words = {in, lib1, "--level", "2", outPath};
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  std::ostringstream out, err;
  ASSERT_EQ(RepriceCommand(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
  EXPECT_NE(out.str().find("変更 工種 2 行 1 配管用炭素鋼鋼管;白 20A 単価 1,150 → 890 金額差 -11,830"), std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("変更 3 行　該当なし 8 行　差額合計 -9,737"), std::string::npos) << out.str();
  ParsedDocument before = ParseContainer(in), after = ParseContainer(outPath);
  int changed = 0;
  for (auto& [n, lines] : before.Lines)
    for (size_t r = 0; r < lines.size(); ++r) {
      const LineRecord &o = lines[r], &a = after.Lines.at(n)[r];
      if (o.SubPrice != a.SubPrice) ++changed;
      EXPECT_EQ(o.NameSpec.view(), a.NameSpec.view());
      EXPECT_EQ(o.SubQty, a.SubQty);
    }
  EXPECT_EQ(changed, 3);
  EXPECT_EQ(after.Lines.at(2)[0].SubPrice, U(890));
  EXPECT_EQ(after.Lines.at(2)[0].SubAmount, U(40495));  // 45.5 x 890, the engine's
  std::vector<std::string> bad = {in, "--level", "7", outPath};
  std::vector<char*> badv;
  for (auto& w : bad) badv.push_back(w.data());
  EXPECT_EQ(RepriceCommand(static_cast<int>(badv.size()), badv.data(), out, err), 2);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zantro
