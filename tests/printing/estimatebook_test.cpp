// The estimate workbook's sheets as cells: names, captions, the figures as numbers under
// formats that show them as the forms print them, both sides, and the command's refusals.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "general/container.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "printing/estimatebook.h"
#include "testutil/tempdir.h"

namespace zantro::printing {
namespace {

// Two items of the same name with lines, a reduction, an item without lines and the total.
const char* kDocument =
    "<TITLE>\n[NUMBER]=T-9\n[CONSTRACT_1]=改修工事\n[ALLGTOTAL]=6549.5\n[ALLNTOTAL]=5000\n[ItemMax]=5\n</TITLE>\n"
    "<ITEM>\n"
    "10;配管/屋内;5550;4000;0.5;0.5;100;1;0.5;0;0;一式;0;0;\n"
    "91;値引;1000.5;500;0.5;0.5;100;1;0.5;0;0;;0;0;\n"
    "10;空;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\n"
    "10;配管/屋内;2000;1500;0.5;0.5;100;1;0.5;0;0;;0;0;\n"
    "99;総合計;0;0;0;0;0;0;0;0;0;;0;0;\n"
    "</ITEM>\n<DATA>\n"
    "1;鋼管;20A;0;0;m;20;2;2.5;100;120.5;0;0;0;200;301.25;0;0;0;;ねじ;\n"
    "1;値引;;0;0;式;11;1;1;50;60;0;0;0;50;60;0;0;0;;;\n"
    "1;支給品;;0;0;台;15;1;1;0;0;0;0;0;0;0;0;0;0;別途;;\n"
    "4;継手;;0;0;個;10;4;4;375;500;0;0;0;1500;2000;0;0;0;;;\n"
    "</DATA>\n<PICKUP>\n</PICKUP>\n<CONFIG>\n</CONFIG>\n</EOF>\n";

std::vector<BookSheet> Sheets(PrintStyle style = {}) {
  ParsedDocument doc = ParseContainerText(Sj(kDocument), "t.znt2");
  PrintStyle cost = style;
  cost.CostSide = true;
  return EstimateBookSheets(BuildPrintModel(doc, style, {"", false}), BuildPrintModel(doc, cost, {"", false}));
}

std::vector<std::string> Texts(const std::vector<BookCell>& row) {
  std::vector<std::string> out;
  for (const auto& c : row) out.push_back(c.Text);
  return out;
}

// A number cell: its stored value and the format that shows it.
void ExpectNumber(const BookCell& c, Money value, const std::string& text, const std::string& format) {
  ASSERT_TRUE(c.Value.has_value()) << c.Text;
  EXPECT_EQ(*c.Value, value) << c.Text;
  EXPECT_EQ(c.Text, text);
  EXPECT_EQ(c.Format, format) << c.Text;
}

Money M(const char* text) { return TextToMoney(text); }

TEST(EstimateBookFormat, FiguresAreShownAsTheFormsPrintThem) {
  EXPECT_EQ(FigureFormat("1,234", "", false), "#,##0;\"-\"#,##0");
  EXPECT_EQ(FigureFormat("-5,000", "", false), "#,##0;\"-\"#,##0");
  EXPECT_EQ(FigureFormat("120.5", "", false), "#,##0.0;\"-\"#,##0.0");
  EXPECT_EQ(FigureFormat("1234.50", "", false), "0.00;\"-\"0.00");  // a quantity: no separators
  EXPECT_EQ(FigureFormat("(2,500)", "", false), "\"(\"#,##0\")\";\"(-\"#,##0\")\"");
  EXPECT_EQ(FigureFormat("10%", "", false), "#,##0\"%\";\"-\"#,##0\"%\"");
  EXPECT_EQ(FigureFormat("￥4,597,555", "￥", false), "\"￥\"#,##0;\"￥-\"#,##0");
  // A reduction is stored below zero and still prints its digits after the mark alone.
  EXPECT_EQ(FigureFormat("△1,000.5", "△", true), "\"△-\"#,##0.0;\"△\"#,##0.0;\"△\"#,##0.0");
  EXPECT_EQ(FigureFormat("a\"b7", "a\"b", false), "\"a\"\\\"\"b\"#,##0;\"a\"\\\"\"b-\"#,##0");
  for (const char* text : {"", "別途", "-", "12.", ".5", "1,2a", ",100", "1,000,", "△60", "(12", "1%2"})
    EXPECT_EQ(FigureFormat(text, "", false), std::nullopt) << text;
  EXPECT_EQ(FigureFormat("60", "△", true), std::nullopt);  // the mark is missing
}

TEST(EstimateBook, EveryItemWithLinesHasASheetUnderANameASpreadsheetTakes) {
  auto sheets = Sheets();
  std::vector<std::string> names;
  for (const auto& s : sheets) names.push_back(s.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"表紙", "内訳書", "配管_屋内", "配管_屋内 (2)"}));
  EXPECT_FALSE(sheets[0].Captions);
  for (size_t i = 1; i < sheets.size(); ++i) {
    EXPECT_TRUE(sheets[i].Captions);
    for (const auto& caption : sheets[i].Rows[0]) EXPECT_TRUE(caption.Bold) << caption.Text;
    EXPECT_EQ(sheets[i].Widths.size(), sheets[i].Rows[0].size());
  }
  EXPECT_EQ(Texts(sheets[1].Rows[0]),
            (std::vector<std::string>{"名称", "数量", "単位", "内訳金額", "金額", "備考", "原価内訳金額", "原価金額"}));
  EXPECT_EQ(Texts(sheets[2].Rows[0]), (std::vector<std::string>{"名称", "規格・仕様", "数量", "単位", "単価", "金額",
                                                                "備考", "原価数量", "原価単価", "原価金額"}));
  // Widths follow the widest text: "規格・仕様" is five wide characters, "20A" three narrow.
  EXPECT_EQ(sheets[2].Widths[1], 12);
  EXPECT_EQ(sheets[2].Widths[3], 6);  // never narrower than six
}

TEST(EstimateBook, TheBreakdownShowsBothSidesAndItsAmountsSumToTheTotal) {
  const auto sheets = Sheets();
  const auto& rows = sheets[1].Rows;
  ASSERT_EQ(rows.size(), 6u);  // captions, four items, the total row
  EXPECT_EQ(rows[1][0].Text, "配管/屋内");
  ExpectNumber(rows[1][1], kOne, "1", "#,##0;\"-\"#,##0");
  EXPECT_EQ(rows[1][2].Text, "式");
  EXPECT_FALSE(rows[1][3].Value);
  ExpectNumber(rows[1][4], M("5550"), "5,550", "#,##0;\"-\"#,##0");
  EXPECT_EQ(rows[1][5].Text, "一式");
  ExpectNumber(rows[1][7], M("4000"), "4,000", "#,##0;\"-\"#,##0");
  // The reduction subtracts on both sides, shown with its mark.
  ExpectNumber(rows[2][4], M("-1000.5"), "△1,000.5", "\"△-\"#,##0.0;\"△\"#,##0.0;\"△\"#,##0.0");
  ExpectNumber(rows[2][7], M("-500"), "△500", "\"△-\"#,##0;\"△\"#,##0;\"△\"#,##0");
  ExpectNumber(rows[3][4], kZero, "0", "#,##0;\"-\"#,##0");
  EXPECT_EQ(rows[5][0].Text, "総合計");
  EXPECT_TRUE(rows[5][0].Bold && rows[5][4].Bold);
  ExpectNumber(rows[5][4], M("6549.5"), "6,549.5", "#,##0.0;\"-\"#,##0.0");
  ExpectNumber(rows[5][7], M("5000"), "5,000", "#,##0;\"-\"#,##0");
  Money sub, cost;
  for (size_t r = 1; r < 5; ++r) sub += *rows[r][4].Value, cost += *rows[r][7].Value;
  EXPECT_EQ(sub, *rows[5][4].Value);
  EXPECT_EQ(cost, *rows[5][7].Value);
}

TEST(EstimateBook, DetailRowsCarryThePrintedColumnsThenTheCostSide) {
  auto sheets = Sheets();
  const auto& rows = sheets[2].Rows;
  ASSERT_EQ(rows.size(), 5u);  // captions, three lines, the total row the forms add
  EXPECT_EQ(Texts(rows[1]).at(0) + "|" + rows[1][1].Text + "|" + rows[1][3].Text + "|" + rows[1][6].Text,
            "鋼管|20A|m|ねじ");
  ExpectNumber(rows[1][2], M("2.5"), "2.50", "#,##0.00;\"-\"#,##0.00");
  ExpectNumber(rows[1][4], M("120.5"), "120.5", "#,##0.0;\"-\"#,##0.0");
  ExpectNumber(rows[1][5], M("301.25"), "301.25", "#,##0.00;\"-\"#,##0.00");
  ExpectNumber(rows[1][7], M("2"), "2.00", "#,##0.00;\"-\"#,##0.00");  // the cost side's own quantity
  ExpectNumber(rows[1][8], M("100"), "100", "#,##0;\"-\"#,##0");
  ExpectNumber(rows[1][9], M("200"), "200", "#,##0;\"-\"#,##0");
  ExpectNumber(rows[2][4], M("-60"), "△60", "\"△-\"#,##0;\"△\"#,##0;\"△\"#,##0");
  ExpectNumber(rows[2][5], M("-60"), "△60", "\"△-\"#,##0;\"△\"#,##0;\"△\"#,##0");
  ExpectNumber(rows[2][9], M("-50"), "△50", "\"△-\"#,##0;\"△\"#,##0;\"△\"#,##0");
  // A text in the amount column is the submitted side's; the cost side does not repeat it.
  EXPECT_EQ(rows[3][5].Text, "別途");
  EXPECT_FALSE(rows[3][5].Value);
  EXPECT_EQ(rows[3][9].Text, "");
  EXPECT_EQ(rows[4][0].Text, "【合　　計】");
  ExpectNumber(rows[4][5], M("5550"), "5,550", "#,##0;\"-\"#,##0");
  ExpectNumber(rows[4][9], M("4000"), "4,000", "#,##0;\"-\"#,##0");
  ExpectNumber(sheets[3].Rows[1][5], M("2000"), "2,000", "#,##0;\"-\"#,##0");
}

TEST(EstimateBook, TheCoverHoldsLabelsBesideTheirValues) {
  const auto sheets = Sheets();
  const auto& rows = sheets[0].Rows;
  auto value = [&](const std::string& label) -> const BookCell& {
    for (const auto& r : rows)
      if (r.size() == 2 && r[0].Text == label) return r[1];
    throw std::runtime_error("no row " + label);
  };
  EXPECT_EQ(rows[0][0].Text, "御見積書");
  EXPECT_TRUE(rows[0][0].Bold);
  EXPECT_EQ(value("見積番号").Text, "T-9");
  EXPECT_EQ(value("工事名称").Text, "改修工事");
  ExpectNumber(value("御見積金額"), M("6549.5"), "￥6,549.5", "\"￥\"#,##0.0;\"￥-\"#,##0.0");
  EXPECT_EQ(value("消費税").Text, "消費税別途");
  EXPECT_FALSE(value("消費税額").Value);
  EXPECT_EQ(value("金額（漢字）").Text, "金六千五百五十円也");
  ExpectNumber(value("原価金額"), M("5000"), "￥5,000", "\"￥\"#,##0;\"￥-\"#,##0");
  // The company's address as the cover prints it: the postal code, a space, the address.
  PrintStyle style;
  style.Postal = "〒100-0001", style.Address1 = "東京都千代田区";
  auto address = [](const std::vector<BookSheet>& sheets) {
    for (const auto& r : sheets[0].Rows)
      if (r.size() == 2 && r[0].Text == "住所") return r[1].Text;
    return std::string("none");
  };
  EXPECT_EQ(address(Sheets(style)), "〒100-0001　東京都千代田区");
  style.Postal.clear();
  EXPECT_EQ(address(Sheets(style)), "東京都千代田区");
  style.Postal = "〒100-0001", style.Address1.clear();
  EXPECT_EQ(address(Sheets(style)), "〒100-0001");
}

TEST(EstimateBookCommand, AnOutputThatIsTheDocumentOrAMissingDocumentWritesNothing) {
  testing::TempDir dir;
  const std::string doc = dir.file("doc.znt2");
  std::filesystem::copy_file(std::string(ZANTRO_SOURCE_DIR) + "/data/Sample/sample.znt2", doc);
  const auto before = ReadFileBytes(doc);
  std::ostringstream err;
  EXPECT_EQ(EstimateWorkbookFromDocument(doc, doc, ZANTRO_PROGRAM_DIR, err), 1);
  EXPECT_EQ(err.str().rfind("zantro: " + doc + ": ", 0), 0u) << err.str();
  EXPECT_EQ(ReadFileBytes(doc), before);
  err.str("");
  EXPECT_EQ(EstimateWorkbookFromDocument(dir.file("none.znt2"), dir.file("out.xlsx"), ZANTRO_PROGRAM_DIR, err), 1);
  EXPECT_EQ(err.str().rfind("zantro: ", 0), 0u);
  size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1u);  // the document alone: no workbook, no temporary file
  EXPECT_EQ(EstimateWorkbookFromDocument(doc, dir.file("out.xlsx"), ZANTRO_PROGRAM_DIR, err), 0) << err.str();
  EXPECT_TRUE(FileExists(dir.file("out.xlsx")));
}

}  // namespace
}  // namespace zantro::printing
