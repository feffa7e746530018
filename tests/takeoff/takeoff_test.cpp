// The takeoff module: exact expressions, the records of WITEMn.PUP, 明細へ反映 into the
// working copy, and the aggregation with its sort file.
#include <gtest/gtest.h>

#include <cstring>

#include "general/errors.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "takeoff/aggregate.h"
#include "takeoff/apply.h"
#include "takeoff/expression.h"
#include "takeoff/sheet.h"
#include "takeoff/statement.h"
#include "testutil/tempdir.h"

namespace zantro::takeoff {
namespace {

using zantro::testing::TempDir;

Money M(const char* t) { return StrToCurr(t); }

std::string Value(const char* expr) {
  Evaluation e = Evaluate(Sj(expr));
  if (!e.Ok) return "error: " + e.Error;
  Money m;
  if (!ToMoney(e.Value, m)) return "too large";
  return MoneyToPlainText(m);
}

TEST(TakeoffExpression, ExactValues) {
  EXPECT_EQ(Value("3.5+2.4*2+1.2"), "9.5");
  EXPECT_EQ(Value("4*6"), "24");
  EXPECT_EQ(Value("(4+2) * 6 - 1"), "35");
  EXPECT_EQ(Value("-2.5+1"), "-1.5");
  EXPECT_EQ(Value("2×3÷4"), "1.5");
  EXPECT_EQ(Value("0.1+0.2"), "0.3");  // no binary fractions
  // 1/3 is kept exact until the end: ×3 gives 1 exactly, not 0.9999.
  EXPECT_EQ(Value("1/3*3"), "1");
  EXPECT_EQ(Value("2/3"), "0.6667");  // one rounding, half away from zero
  EXPECT_EQ(Value("-2/3"), "-0.6667");
  EXPECT_EQ(Value("0.0001*0.5"), "0.0001");
  EXPECT_EQ(Value("1.2345 * 1.2345"), "1.524");  // 1.52399025
  EXPECT_EQ(Value("12345678901234.5678"), "12345678901234.5678");
}

TEST(TakeoffExpression, RefusedWithTheReason) {
  EXPECT_EQ(Value(""), "error: 式が入力されていません");
  EXPECT_EQ(Value("3.5+"), "error: 式が途中で終わっています");
  EXPECT_EQ(Value("3.5+a"), "error: 数値がありません（5文字目）");
  EXPECT_EQ(Value("1/0"), "error: 0で割ることはできません");
  EXPECT_EQ(Value("1/(2-2)"), "error: 0で割ることはできません");
  EXPECT_EQ(Value("(1+2"), "error: 括弧「(」が閉じていません");
  EXPECT_EQ(Value("1+2)"), "error: 閉じ括弧「)」に対応する「(」がありません（4文字目）");
  EXPECT_EQ(Value("1.23456"), "error: 小数は4桁までです（7文字目）");
  EXPECT_EQ(Value("2 3"), "error: 演算子がありません（3文字目）");
  EXPECT_EQ(Value("１+2"), "error: 数値がありません（1文字目）");
  EXPECT_EQ(Value("999999999999999*999999999999999*999999999999999"), "error: 桁があふれました");
}

Row PipeRow(const char* name, const char* spec, const char* expr, const char* mult = "1") {
  Row r;
  r.System = Sj("給水");
  r.Floor = "1F";
  r.Drawing = "P-101";
  r.Name = Sj(name);
  r.Spec = Sj(spec);
  r.Unit = "m";
  r.Expression = Sj(expr);
  r.Multiplier = M(mult);
  r.Result = *Compute(r, nullptr);
  return r;
}

TEST(TakeoffRows, ResultsOfPipeAndDuctRows) {
  EXPECT_EQ(PipeRow("鋼管", "20A", "3.5+2.4*2+1.2", "2").Result, M("19"));
  Row duct;
  duct.Expression = "2.5";
  duct.Width = M("400");
  duct.Height = M("250");
  // 2 × (0.4 + 0.25) × 2.5 m
  EXPECT_EQ(*Compute(duct, nullptr), M("3.25"));
  duct.Multiplier = M("3");
  EXPECT_EQ(*Compute(duct, nullptr), M("9.75"));
  std::string why;
  duct.Expression = "2.5*";
  EXPECT_FALSE(Compute(duct, &why));
  EXPECT_EQ(why, "式が途中で終わっています");
}

TEST(TakeoffRows, RecordsRoundTripWithEveryText) {
  Row r = PipeRow("硬質塩化ビニル管", "VP 50A", "12.5+3*4", "1.5");
  r.Drawing = Sj("衛生設備図 P-1012345");  // 20 bytes of the 28 the drawing holds
  r.System = Sj("排水通気系統（共用部）");
  r.WrittenBy = 2;
  TakeoffRecord rec = ToRecord(r, 2, 7);
  EXPECT_EQ(rec.ItemNo, 2);
  EXPECT_EQ(rec.Int1, 7);
  EXPECT_EQ(rec.Int2, 1);
  EXPECT_EQ(rec.Value1_2[1], M("36.75"));
  EXPECT_EQ(rec.Text1.str(), "12.5+3*4");
  Row back = FromRecord(rec);
  EXPECT_EQ(back.System, r.System);
  EXPECT_EQ(back.Drawing, r.Drawing);
  EXPECT_EQ(back.Floor, "1F");
  EXPECT_EQ(back.Name + ";" + back.Spec, r.Name + ";" + r.Spec);
  EXPECT_EQ(back.Multiplier, M("1.5"));
  EXPECT_EQ(back.WrittenBy, 2);
  // A text of the whole capacity of the packed numbers, with a byte above 0x7F at the end.
  int32_t ints[8];
  std::string full(31, 'x');
  full += '\x9f';
  PackText(full, ints, 8);
  EXPECT_EQ(UnpackText(ints, 8), full);
}

TEST(TakeoffRows, DamagedFileRefusedNamingRecordAndField) {
  std::vector<Row> rows{PipeRow("鋼管", "20A", "4*6"), PipeRow("鋼管", "25A", "3")};
  std::string bytes = EncodeRows(rows, 2);
  EXPECT_EQ(bytes.size(), 768u);
  EXPECT_EQ(DecodeRows(bytes, "WITEM2.PUP", 2).size(), 2u);
  auto refused = [&](std::string b) {
    try {
      DecodeRows(b, "WITEM2.PUP", 2);
    } catch (const FileError& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(refused(bytes.substr(0, 700)), "WITEM2.PUP: 2件目のレコード（長さ）: レコードが途中で切れています（700バイト）");
  std::string other = bytes;
  other[384] = 3;
  EXPECT_EQ(refused(other), "WITEM2.PUP: 2件目のレコード（項目番号）: 3は2ではありません");
  std::string longUnit = bytes;
  longUnit[136] = 9;
  EXPECT_EQ(refused(longUnit), "WITEM2.PUP: 1件目のレコード（単位）: 文字数が欄を越えています");
  std::string badExpr = bytes;
  badExpr[384 + 201] = '+';  // "3" becomes "+"
  EXPECT_EQ(refused(badExpr), "WITEM2.PUP: 2件目のレコード（計算式）: 式が途中で終わっています");
  std::string badResult = bytes;
  int64_t raw = 240001;  // 24 becomes 24.0001
  std::memcpy(badResult.data() + 128, &raw, 8);
  EXPECT_EQ(refused(badResult), "WITEM2.PUP: 1件目のレコード（結果）: 24.0001は計算式の値24と違います");
}

LineRecord Line(const char* name, int32_t kind, const char* qty, const char* price = "0") {
  LineRecord l{};
  l.ItemNo = 2;
  l.NameSpec.set(Sj(name));
  l.Unit.set("m");
  l.FLAG = kind;
  l.CostQty = l.SubQty = M(qty);
  l.CostPrice = l.SubPrice = M(price);
  l.sort = Money::Units(10001);
  l.SubAmount = LineAmount(l.SubPrice, l.SubQty, kHalf);
  return l;
}

std::string Show(const std::vector<LineRecord>& lines) {
  std::string out;
  for (const LineRecord& l : lines)
    out += ToUtf8(l.NameSpec.str()) + "|" + std::to_string(l.FLAG) + "|" + MoneyToPlainText(l.SubQty) + "|" +
           MoneyToPlainText(l.SubPrice) + "|" + MoneyToPlainText(l.SubAmount) + "\n";
  return out;
}

TEST(TakeoffApply, SumsRoundedWithTheSheetSettings) {
  std::vector<Row> rows{PipeRow("鋼管", "20A", "3.333"), PipeRow("鋼管", "25A", "4*6"), PipeRow("鋼管", "20A", "1.111"),
                        PipeRow("鋼管", "25A", "0.5")};
  CalcSettings s;
  auto summed = SumRows(rows, s);
  ASSERT_EQ(summed.size(), 2u);
  EXPECT_EQ(summed[0].Quantity, M("4.44"));  // 4.444 at two decimals, half up
  EXPECT_EQ(summed[1].Quantity, M("24.5"));
  s.QuantityScale = Money::Units(10);
  s.Opt6RoundAddend = M("0.9");
  EXPECT_EQ(SumRows(rows, s)[0].Quantity, M("4.5"));  // 44.44 + 0.9 cut
  s.Opt6RoundAddend = kZero;
  EXPECT_EQ(SumRows(rows, s)[0].Quantity, M("4.4"));
  s.QuantityScale = Money::Units(1000);
  EXPECT_EQ(SumRows(rows, s)[0].Quantity, M("4.444"));
}

TEST(TakeoffApply, ReplacesTakeoffLinesInPlaceKeepingOthers) {
  CalcSettings s;
  std::vector<LineRecord> sheet{Line("既設;", 10, "1", "100"), Line("鋼管;20A", 170, "9", "1200"),
                                Line("手入力;", 10, "2", "50"), Line("鋼管;25A", 150, "1.5", "1500"),
                                Line("鋼管;32A", 170, "3", "1800"), LineRecord{}};
  std::vector<SummedLine> summed{{Sj("鋼管"), "25A", "m", M("7.25")}, {Sj("鋼管"), "20A", "m", M("12")}};
  EXPECT_EQ(Show(MergeLines(sheet, summed, 2, s)),
            "既設;|10|1|100|100\n"
            "鋼管;25A|150|7.25|1500|10875\n"
            "手入力;|10|2|50|100\n"
            "鋼管;20A|170|12|1200|14400\n"
            "|0|0|0|0\n");
  // More lines than places: the rest follow the last place. None before: before the fillers.
  summed.push_back({Sj("継手"), "", "m", M("4")});
  std::vector<LineRecord> two{sheet[0], sheet[1], sheet[2], LineRecord{}};
  EXPECT_EQ(Show(MergeLines(two, summed, 2, s)),
            "既設;|10|1|100|100\n鋼管;25A|150|7.25|0|0\n鋼管;20A|170|12|1200|14400\n継手;|170|4|0|0\n手入力;|10|2|50|100\n|0|0|0|0\n");
  std::vector<LineRecord> none{sheet[0], LineRecord{}, LineRecord{}};
  PriceLookup lookup = [](const SummedLine& l) -> std::optional<LineRecord> {
    if (l.Spec != "20A") return std::nullopt;
    LineRecord r{};
    r.SubPrice = r.CostPrice = Money::Units(999);
    return r;
  };
  EXPECT_EQ(Show(MergeLines(none, summed, 2, s, lookup)),
            "既設;|10|1|100|100\n鋼管;25A|150|7.25|0|0\n鋼管;20A|170|12|999|11988\n継手;|170|4|0|0\n|0|0|0|0\n|0|0|0|0\n");
}

void WriteBytes(const std::string& path, const std::string& bytes) { ASSERT_TRUE(WriteFileAtomic(path, bytes)); }

TEST(TakeoffApply, WholeRunOnAFolderAndRefusals) {
  TempDir dir;
  std::vector<LineRecord> sheet{Line("手入力;", 10, "2", "50")};
  SaveSheetLines(dir.path(), 2, sheet);
  WriteBytes(dir.file("digit.temp"), "[CUTLEVEL1]=0.5\r\n[CUTLEVEL2]=0.5\r\n[CUTLEVEL3]=10\r\n[CUTLEVEL4]=1\r\n[CUTLEVEL5]=0\r\n");
  std::vector<Row> rows{PipeRow("鋼管", "20A", "3.38"), PipeRow("鋼管", "20A", "1")};
  ApplyToSheet(dir.path(), 2, rows);
  EXPECT_EQ(Show(LoadSheetLines(dir.path(), 2)), "手入力;|10|2|50|100\n鋼管;20A|150|4.3|0|0\n");
  EXPECT_EQ(LoadRows(dir.path(), 2).size(), 2u);
  // A bad digit.temp, a damaged working copy: refused, nothing written.
  std::string pup = *ReadFileBytes(dir.file("WITEM2.PUP"));
  std::string wrk = *ReadFileBytes(dir.file("WITEM2.WRK"));
  WriteBytes(dir.file("digit.temp"), "[CUTLEVEL3]=abc\r\n");
  EXPECT_THROW(
      {
        try {
          ApplyToSheet(dir.path(), 2, {rows[0]});
        } catch (const FileError& e) {
          EXPECT_STREQ(e.what(), "digit.temp: 1行目: 数値ではありません");
          throw;
        }
      },
      FileError);
  WriteBytes(dir.file("digit.temp"), "");
  WriteBytes(dir.file("WITEM2.WRK"), wrk + "xx");
  try {
    ApplyToSheet(dir.path(), 2, {rows[0]});
    ADD_FAILURE();
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "WITEM2.WRK: 3件目のレコードが途中で切れています（578バイト）");
  }
  EXPECT_EQ(*ReadFileBytes(dir.file("WITEM2.PUP")), pup);
}

TEST(TakeoffAggregate, OrdersByGroupAndNameWithSubtotals) {
  TempDir dir;
  std::vector<LineRecord> sheet{Line("継手;20A", 170, "4", "300"), Line("手入力;", 10, "2", "50"),
                                Line("鋼管;25A", 170, "2", "1500"), Line("鋼管;20A", 150, "1.5", "1200"),
                                Line("弁;20A", 170, "1", "5000")};
  sheet[4].sort = Money::Units(12001);  // group B
  SaveSheetLines(dir.path(), 2, sheet);
  AggregateSheet(dir.path(), 2);
  EXPECT_EQ(Show(LoadSheetLines(dir.path(), 2)),
            "継手;20A|170|4|300|1200\n手入力;|10|2|50|100\n鋼管;20A|150|1.5|1200|1800\n鋼管;25A|170|2|1500|3000\n"
            "小計（A）;|130|0|0|0\n弁;20A|170|1|5000|5000\n小計（B）;|130|0|0|0\n");
  auto lines = LoadSheetLines(dir.path(), 2);
  EXPECT_EQ(lines[4].AmountText.str(), "6,000");
  EXPECT_EQ(*ReadFileBytes(dir.file("DATASORT2.WRK")),
            Sj("TAKESUM\t1\r\nL\tA\t継手\t20A\tm\t4\t1200\r\nL\tA\t鋼管\t20A\tm\t1.5\t1800\r\nL\tA\t鋼管\t25A\tm\t2\t3000\r\n"
               "S\tA\t3\t6000\r\nL\tB\t弁\t20A\tm\t1\t5000\r\nS\tB\t1\t5000\r\n"));
  // Run again: the same lines, the subtotals not counted twice.
  std::string before = *ReadFileBytes(dir.file("WITEM2.WRK"));
  AggregateSheet(dir.path(), 2);
  EXPECT_EQ(*ReadFileBytes(dir.file("WITEM2.WRK")), before);
  // A damaged sort file: refused with its line, nothing written.
  WriteBytes(dir.file("DATASORT2.WRK"), "TAKESUM\t1\r\nL\tA\tx\ty\tm\t1,5\t0\r\n");
  SaveSheetLines(dir.path(), 2, sheet);
  try {
    AggregateSheet(dir.path(), 2);
    ADD_FAILURE();
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "DATASORT2.WRK: 2行目: 6欄目（数量）「1,5」が数値ではありません");
  }
  EXPECT_EQ(Show(LoadSheetLines(dir.path(), 2)), Show(sheet));
}

}  // namespace
}  // namespace zantro::takeoff

namespace zantro::takeoff {
namespace {

TEST(TakeoffStatement, PerSystemAndFloorThenTotals) {
  std::vector<Row> rows{PipeRow("鋼管", "20A", "3.5+2.4*2+1.2"), PipeRow("鋼管", "25A", "4*6")};
  rows.push_back(PipeRow("鋼管", "20A", "1/3"));
  rows[2].Floor = "2F";
  rows.push_back(PipeRow("鋼管", "20A", "2", "3"));
  Row duct;
  duct.System = Sj("給水");
  duct.Floor = "1F";
  duct.Name = Sj("角ダクト");
  duct.Unit = "m2";
  duct.Expression = "2.5";
  duct.Width = M("400");
  duct.Height = M("250");
  duct.Result = *Compute(duct, nullptr);
  rows.push_back(duct);
  std::string out;
  for (const StatementLine& l : StatementOf(rows)) {
    out += std::to_string(static_cast<int>(l.Kind));
    for (const std::string& c : l.Cells) out += "|" + c;
    out += "\n";
  }
  EXPECT_EQ(out,
            "0|系統：給水　階：1F||||||\n"
            "1|P-101|鋼管|20A|3.5+2.4*2+1.2|1|9.5|m\n"
            "1|P-101|鋼管|25A|4*6|1|24|m\n"
            "1|P-101|鋼管|20A|2|3|6|m\n"
            "1||角ダクト||2.5（400×250）|1|3.25|m2\n"
            "0|系統：給水　階：2F||||||\n"
            "1|P-101|鋼管|20A|1/3|1|0.3333|m\n"
            "2|名称・仕様別集計||||||\n"
            "3||鋼管|20A|||15.8333|m\n"
            "3||鋼管|25A|||24|m\n"
            "3||角ダクト||||3.25|m2\n");
}

}  // namespace
}  // namespace zantro::takeoff
