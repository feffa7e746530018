// Duct areas, plate thickness, fitting areas and pipe-run lines, over the example price data
// the program folder ships, and the refusals of a thickness table that does not check.
#include <gtest/gtest.h>

#include "general/errors.h"
#include "pipeduct/ductcalc.h"
#include "pipeduct/pipelines.h"
#include "pipeduct/pricefiles.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace zantro {
namespace {

Money U(int64_t v) { return Money::Units(v); }
Money R(int64_t raw) { return Money::FromRaw(raw); }
const std::string kEx = std::string(ZANTRO_SOURCE_DIR) + "/data/ex_data";
const std::string kDx = std::string(ZANTRO_SOURCE_DIR) + "/data/dx_data";

TEST(DuctArea, PerimeterTimesLengthWithTheAllowance) {
  Computation c = RectDuctArea(U(600), U(400), R(125000), kZero);
  EXPECT_EQ(c.Quantity, U(25));
  EXPECT_EQ(c.Text, "2×(600+400)×12.5 m = 25.0 m²");
  c = RectDuctArea(U(600), U(400), R(125000), U(10));
  EXPECT_EQ(c.Quantity, R(275000));
  EXPECT_EQ(c.Text, "2×(600+400)×12.5 m×(1+10%) = 27.5 m²");
  // 2 x 0.35 m x 3.333 m = 2.3331 m2: cut, not rounded, to three decimals.
  EXPECT_EQ(RectDuctArea(U(200), U(150), R(33330), kZero).Quantity, R(23330));
  // A fractional allowance: 2 x 0.5 x 1 x 1.075 = 1.075.
  EXPECT_EQ(RectDuctArea(U(250), U(250), U(1), R(75000)).Quantity, R(10750));
  EXPECT_THROW(RectDuctArea(U(900000000), U(900000000), U(900000000), kZero), MoneyOverflow);
}

TEST(DuctArea, FittingsCountAsStraightDuct) {
  Computation c = FittingArea(U(600), U(400), R(12000), U(3));
  EXPECT_EQ(c.Quantity, R(72000));
  EXPECT_EQ(c.Text, "2×(600+400)×1.2 m×3 = 7.2 m²");
  EXPECT_EQ(Pieces("VHS 200×150", U(4), "個").Text, "VHS 200×150 × 4 個");
  EXPECT_EQ(RoundDuctLength(U(200), R(125000)).Text, "φ200 12.5 m");
}

TEST(PlateThickness, ByTheLongSideFromTheShippedTable) {
  auto bytes = ReadFileBytes(kDx + "/" + kThicknessFile);
  ASSERT_TRUE(bytes);
  auto table = ParseThicknessTable(*bytes, kThicknessFile);
  EXPECT_EQ(ThicknessFor(table, U(450)), R(5000));
  EXPECT_EQ(ThicknessFor(table, U(451)), R(6000));
  EXPECT_EQ(ThicknessFor(table, U(600)), R(6000));
  EXPECT_EQ(ThicknessFor(table, U(1500)), R(8000));
  EXPECT_EQ(ThicknessFor(table, U(2200)), U(1));
  EXPECT_EQ(ThicknessFor(table, U(5000)), R(12000));
  // Without an open last row a longer side has no thickness.
  auto closed = ParseThicknessTable(Sj("長辺(mm以下),板厚(mm)\r\n450,0.5\r\n"), "t.csv");
  EXPECT_EQ(ThicknessFor(closed, U(451)), std::nullopt);
}

TEST(PlateThickness, ATableThatDoesNotCheckNamesLineAndColumn) {
  auto fault = [](const std::string& utf8) -> std::string {
    try {
      ParseThicknessTable(Sj(utf8), "t.csv");
    } catch (const LibraryError& e) {
      return e.what();
    }
    return "accepted";
  };
  EXPECT_EQ(fault("#note\r\n長辺,板厚\r\n450,0.5\r\n7S0,0.6\r\n"), "t.csv: 4行目 1列目（長辺(mm以下)）: 正の数ではありません");
  EXPECT_EQ(fault("長辺,板厚\r\n450,\r\n"), "t.csv: 2行目 2列目（板厚(mm)）: 正の数ではありません");
  EXPECT_EQ(fault("長辺,板厚\r\n450\r\n"), "t.csv: 2行目 2列目（板厚(mm)）: 板厚がありません");
  EXPECT_EQ(fault("長辺,板厚\r\n750,0.6\r\n450,0.5\r\n"), "t.csv: 3行目 1列目（長辺(mm以下)）: 長辺は上の行より大きくしてください");
  EXPECT_EQ(fault("長辺,板厚\r\n,0.6\r\n900,0.8\r\n"), "t.csv: 3行目 1列目（長辺(mm以下)）: 長辺は上の行より大きくしてください");
  EXPECT_EQ(fault("長辺,板厚\r\n"), "t.csv: 1行目: 板厚の行がありません");
}

TEST(DuctPrices, TheThicknessAndDiameterPickTheirEntries) {
  PriceLibrary sheet = ReadPriceFile(kDx, kSheetDuctFile, PriceFamily::Code);
  const PriceEntry* e = EntryByNumber(sheet, R(6000));
  ASSERT_TRUE(e);
  EXPECT_EQ(ToUtf8(e->Spec), "低圧 板厚0.6mm");
  EXPECT_EQ(e->Prices[1], U(7770));
  EXPECT_EQ(EntryByNumber(sheet, R(7000)), nullptr);
  PriceLibrary spiral = ReadPriceFile(kDx, kSpiralDuctFile, PriceFamily::Code);
  ASSERT_TRUE(EntryByNumber(spiral, U(200)));
  EXPECT_EQ(ToUtf8(EntryByNumber(spiral, U(200))->Spec), "φ200 亜鉛鉄板");
  // Every file of both folders reads.
  for (const char* f : {kAirTerminalFile, kDamperFile, kDuctEquipmentFile, kDuctSundriesFile})
    EXPECT_FALSE(ReadPriceFile(kDx, f, PriceFamily::Code).Entries.empty()) << f;
  for (int v : {1, 2}) EXPECT_EQ(ReadPriceFile(kDx, DuctFittingFile(v), PriceFamily::Sequence).Entries.size(), 3u);
  for (int g = 1; g <= 5; ++g) EXPECT_FALSE(ReadPriceFile(kEx, PipeFittingFile(g), PriceFamily::Code).Entries.empty());
  EXPECT_THROW(ReadPriceFile(kDx, "nothing.dat", PriceFamily::Code), FileError);
}

TEST(PipeRun, PipeJointsSupportsAndInsulationEachForTheLength) {
  PriceLibrary lib = ReadPriceFile(kEx, kPipeMaterialFile, PriceFamily::Tree);
  auto materials = PipeMaterials(lib);
  ASSERT_EQ(materials.size(), 6u);
  EXPECT_EQ(ToUtf8(materials[0]), "配管用炭素鋼鋼管(白)");
  EXPECT_EQ(PipeSizes(lib, materials[0]).size(), 9u);
  PipeRun run{materials[0], "25A", U(20), true, true, false};
  auto lines = PipeRunLines(lib, run, 2);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].Encode(), Sj("WM_MULTIWRITE;配管用炭素鋼鋼管(白);25A;m;860;1210;0;0;20;20;0;0;10;10001;ねじ接合;0;0.1;0;0;0;;"));
  EXPECT_EQ(lines[1].Encode(), Sj("WM_MULTIWRITE;配管用炭素鋼鋼管(白) 継手;25A;m;390;550;0;0;20;20;0;0;10;10001;管1m当り;0;0.02;0;0;0;;"));
  EXPECT_EQ(lines[2].Encode(), Sj("WM_MULTIWRITE;配管用炭素鋼鋼管(白) 支持金物;25A;m;130;180;0;0;20;20;0;0;10;10001;管1m当り;0;0.01;0;0;0;;"));
  // PVC pipe has no insulation: the run is refused as a whole, naming the part.
  PipeRun pvc{Sj("硬質ポリ塩化ビニル管"), "25A", R(25000), true, false, true};
  try {
    PipeRunLines(lib, pvc, 1);
    FAIL();
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "硬質ポリ塩化ビニル管 25Aの保温は単価データにありません");
  }
  pvc.Insulation = false;
  lines = PipeRunLines(lib, pvc, 1);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].SubQty, R(25000));
  EXPECT_EQ(lines[0].FLAG, 20);  // a length with decimals keeps them
}

TEST(PipeFittings, ItemsSizesAndTheCountedLine) {
  PriceLibrary lib = ReadPriceFile(kEx, PipeFittingFile(3), PriceFamily::Code);
  auto items = FittingItems(lib);
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(ToUtf8(items[0]), "洋風便器");
  auto sizes = FittingSizes(lib, items[0]);
  ASSERT_EQ(sizes.size(), 2u);
  const PriceEntry* e = FittingEntry(lib, items[0], sizes[1]);
  ASSERT_TRUE(e);
  EXPECT_EQ(QuantityLine(*e, 1, U(4)).Encode(),
            Sj("WM_MULTIWRITE;洋風便器;床置 フラッシュバルブ式;組;64500;86000;0;0;4;4;0;0;10;15001;;0;1.4;0;0;0;;"));
  EXPECT_EQ(FittingEntry(lib, items[0], "none"), nullptr);
}

}  // namespace
}  // namespace zantro
