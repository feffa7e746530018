// The rules of the companion exchange without a window: where a companion's line lands, the
// CSV editor's lines checked whole, the registration export and the small exchange files.
#include <gtest/gtest.h>

#include "companions/core/exchangefiles.h"
#include "companions/core/linewrite.h"
#include "general/errors.h"
#include "platform/cp932.h"

using namespace zantro;

namespace {

Money U(int64_t v) { return Money::Units(v); }

Document SheetOf(int n) {
  Document doc;
  for (int i = 1; i <= n; ++i) {
    LineRecord l;
    l.NameSpec.set("L" + std::to_string(i) + ";");
    l.FLAG = 10;
    l.sort = U(10000 + i);
    doc.LineList.push_back(l);
  }
  return doc;
}

DetailLineMessage Line(const std::string& name) {
  DetailLineMessage m;
  m.Name = name;
  m.FLAG = 10;
  m.sort = U(12001);
  m.CostAmount = U(7);
  m.SubAmount = U(8);
  return m;
}

}  // namespace

TEST(CompanionLines, PastTheEndAppendsBlanksAndOverwritingKeepsTheSentAmounts) {
  Document doc = SheetOf(3);
  doc.LineList[2].SpareMoney = U(9);
  PutDetailLine(doc, 5, Line("new"));
  ASSERT_EQ(doc.LastLine(), 5);
  EXPECT_EQ(doc.LineList[4].FLAG, 0);
  EXPECT_EQ(doc.LineList[4].NameSpec.view(), "");
  EXPECT_EQ(doc.LineList[5].NameSpec.view(), "new;");
  EXPECT_EQ(doc.LineList[5].CostAmount, kZero);  // an appended line takes no amounts
  EXPECT_EQ(doc.LineList[5].sort, U(5));         // the blank line above (0) plus the row

  PutDetailLine(doc, 2, Line("over"));
  EXPECT_EQ(doc.LastLine(), 5);
  EXPECT_EQ(doc.LineList[2].NameSpec.view(), "over;");
  EXPECT_EQ(doc.LineList[2].CostAmount, U(7));
  EXPECT_EQ(doc.LineList[2].SubAmount, U(8));
  EXPECT_EQ(doc.LineList[2].SpareMoney, kZero);
  EXPECT_EQ(doc.LineList[2].sort, U(10001 + 2));

  PutDetailLine(doc, 5, Line("last"));  // the last line is overwritten, not appended to
  EXPECT_EQ(doc.LastLine(), 5);
  EXPECT_EQ(doc.LineList[5].CostAmount, U(7));

  PutDetailLine(doc, 1, Line("first"));
  EXPECT_EQ(doc.LineList[1].sort, U(12001));  // row 1 keeps the key as sent
}

TEST(CompanionLines, CsvImportIsCheckedWholeBeforeAnythingIsTaken) {
  std::string good = Sj("  配管;SGP;m;0.5;3;2.5;100;120;7;4;3;備考  \r\n") + "B;;;;3;2;1;1\r\n";
  auto lines = ParseCsvImport("csv_inport.tmp", good);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].NameSpec.view(), Sj("配管;SGP"));
  EXPECT_EQ(lines[0].FLAG, 20);  // a quantity with a fraction
  EXPECT_EQ(lines[0].LabourFactor, Money::FromRaw(5000));
  EXPECT_EQ(lines[0].SpareMoney, U(7));
  EXPECT_EQ(lines[0].SubExtraPrice, U(4));
  EXPECT_EQ(lines[0].CostExtraPrice, U(3));
  EXPECT_EQ(lines[0].Remarks.view(), "");  // read, not kept
  EXPECT_EQ(lines[0].sort, U(11999));
  EXPECT_EQ(lines[1].NameSpec.view(), "B;");
  EXPECT_EQ(lines[1].FLAG, 10);
  EXPECT_EQ(lines[1].CostPrice, U(1));
  // Blanks after a line's last field are no part of it, a name alone included.
  EXPECT_EQ(ParseCsvImport("csv_inport.tmp", "C;;m;0;1;1;1;2  \r\n")[0].SubPrice, U(2));
  EXPECT_EQ(ParseCsvImport("csv_inport.tmp", "Name  \r\n")[0].NameSpec.view(), "Name;");
  // Fields past the twelfth are no part of the line, however many a spreadsheet appended.
  std::string wide = "W;S;m;0;1;1;5;6;0;0;0;R";
  for (int i = 0; i < 4000; ++i) wide += ";9";
  auto taken = ParseCsvImport("csv_inport.tmp", wide);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].NameSpec.view(), "W;S");
  EXPECT_EQ(taken[0].SubPrice, U(6));
  EXPECT_EQ(taken[0].CostExtraPrice, U(0));

  try {
    ParseCsvImport("csv_inport.tmp", good + "C;;m;0;1;2x;1;1\r\n");
    FAIL() << "a bad quantity was taken";
  } catch (const FileError& e) {
    std::string what = e.what();
    EXPECT_NE(what.find("csv_inport.tmp: line 3"), std::string::npos) << what;
    EXPECT_NE(what.find("field 6"), std::string::npos) << what;
  }
}

// Blank lines are no lines (a megabyte of them imports nothing, fast); a file of more lines
// than an import takes is refused whole, naming the first line too many.
TEST(CompanionLines, CsvImportSkipsBlankLinesAndIsBounded) {
  auto lines = ParseCsvImport("csv_inport.tmp", "\r\nA;;m;0;1;1;1;1\r\n  \r\n\n" + std::string(1 << 20, '\n') + "B;;m;0;1;1;1;1");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].NameSpec.view(), "B;");
  std::string many;
  for (size_t i = 0; i <= kMaxImportLines; ++i) many += "A;;m;0;1;1;1;1\n\n";
  try {
    ParseCsvImport("csv_inport.tmp", many);
    FAIL() << "an import over the bound was taken";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "csv_inport.tmp: line " + std::to_string(2 * kMaxImportLines + 1) +
                                         ": more than 200000 lines, the most one import takes");
  }
}

TEST(CompanionLines, ImportedLinesTakeTheFirstOfTheSelectionsRowsAndRangesFollow) {
  Document doc = SheetOf(3);
  LineRecord range;
  range.FLAG = 51;
  range.CostQty = U(1);
  range.SubQty = U(3);
  doc.LineList.push_back(range);  // line 4 covers 1..3
  std::vector<LineRecord> imported(2);
  imported[0].NameSpec.set("a;");
  imported[1].NameSpec.set("b;");
  InsertImportedLines(doc, 2, 2, imported);
  ASSERT_EQ(doc.LastLine(), 8);
  EXPECT_EQ(doc.LineList[2].NameSpec.view(), "a;");
  EXPECT_EQ(doc.LineList[3].NameSpec.view(), "");
  EXPECT_EQ(doc.LineList[4].NameSpec.view(), "b;");
  EXPECT_EQ(doc.LineList[6].NameSpec.view(), "L2;");
  EXPECT_EQ(doc.LineList[8].CostQty, U(1));
  EXPECT_EQ(doc.LineList[8].SubQty, U(7));

  Document empty;
  InsertImportedLines(empty, 3, 1, imported);  // rows 1..3 made of blank priced lines first
  ASSERT_EQ(empty.LastLine(), 5);
  EXPECT_EQ(empty.LineList[1].FLAG, 10);
  EXPECT_EQ(empty.LineList[3].NameSpec.view(), "a;");
  EXPECT_EQ(empty.LineList[5].FLAG, 10);  // the blank line that was row 3
}

TEST(CompanionLines, RegistrationExportWritesEighteenFieldsPerLine) {
  Document doc = SheetOf(2);
  LineRecord& l = doc.LineList[1];
  l.NameSpec.set(Sj("ボルト"));  // no ";": all name, empty specification
  l.Unit.set("kg");
  l.LabourFactor = Money::FromRaw(2500);
  l.SpareMoney = U(1);
  l.CostPrice = U(90);
  l.SubPrice = Money::FromRaw(1205000);
  l.CostExtraPrice = U(3);
  l.SubExtraPrice = U(4);
  l.Remarks.set("r");
  RegistrationExport e = ExportForRegistration(doc, RowSelection{1, 2});
  EXPECT_TRUE(e.Complete);
  EXPECT_EQ(e.Text, Sj("ボルト") + ";;kg;0.25;1;90;120.5;120.5;120.5;120.5;120.5;3;4;4;4;4;4;r;\r\n" +
                        "L2;;;0;0;0;0;0;0;0;0;0;0;0;0;0;0;;\r\n");
  RegistrationExport past = ExportForRegistration(doc, RowSelection{2, 4});
  EXPECT_FALSE(past.Complete);
  EXPECT_EQ(past.Text, "L2;;;0;0;0;0;0;0;0;0;0;0;0;0;0;0;;\r\n");
}

TEST(ExchangeFiles, DigitFileFolderFilesAndFittingNames) {
  CalcSettings s{Money::FromRaw(5000), Money::FromRaw(9000), U(100), U(1000), kZero};
  EXPECT_EQ(DigitFileText(s), "[CUTLEVEL1]=0.5\r\n[CUTLEVEL2]=0.9\r\n[CUTLEVEL3]=100\r\n[CUTLEVEL4]=1000\r\n[CUTLEVEL5]=0\r\n");

  EXPECT_EQ(FolderOfLines({"[Folder_Name]=/a", "x=y", "[Folder_Name]=/b=c"}), "/b=c");
  EXPECT_EQ(FolderOfLines({"[folder_name]=/a"}), std::nullopt);
  EXPECT_EQ(FolderFileText("/srv/dx"), "[Folder_Name]=/srv/dx\r\n");
  EXPECT_EQ(WithoutTrailingSeparator("/srv/dx//"), "/srv/dx/");
  EXPECT_EQ(WithoutTrailingSeparator("C:\\net\\"), "C:\\net");

  FittingNames names = FittingNamesOfLines({"[FOLDER_NAME2]=" + Sj("バルブ"), "[FOLDER_NAME5]=x", "[FOLDER_NAME5]=y"});
  EXPECT_EQ(names[0], Sj("弁類1"));
  EXPECT_EQ(names[1], Sj("バルブ"));
  EXPECT_EQ(names[4], "y");
}
