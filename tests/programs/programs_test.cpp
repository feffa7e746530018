// The rules of the companion dialogs that need no window: the settings file rewrite, the CSV
// import check and the pick list's file.
#include <gtest/gtest.h>

#include <filesystem>

#include "csvznt/csvimport.h"
#include "pickdata_dlg/picklist.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "setup_dlg/conflines.h"

namespace zantro {
namespace {

TEST(ConfLines, SetsEveryLineOfAKeyAndKeepsAllOthers) {
  const std::string before = Sj("# 手書き\r\n[Tax_Value]=8\r\n[CALC_OPT1] = 2\r\n\r\n[GROUP_NAME1]=材料\r\n[Tax_Value]=5\r\n");
  ConfLines conf(before);
  EXPECT_EQ(conf.First("[Tax_Value]"), "8");
  EXPECT_EQ(conf.Last("[Tax_Value]"), "5");
  EXPECT_EQ(conf.First("[CALC_OPT1]"), std::nullopt);  // a key written with blanks is not that key
  EXPECT_EQ(ConfLines(before).Bytes(), before);
  conf.Set("[Tax_Value]", "10");
  conf.Set("[Data_Dir]", Sj("/home/見積"));
  EXPECT_EQ(conf.Bytes(), Sj("# 手書き\r\n[Tax_Value]=10\r\n[CALC_OPT1] = 2\r\n\r\n[GROUP_NAME1]=材料\r\n[Tax_Value]=10\r\n"
                             "[Data_Dir]=/home/見積\r\n"));
}

TEST(ConfLines, KeepsTheLineBreaksOfTheFile) {
  ConfLines lf("[A]=1\n[B]=2");
  lf.Set("[C]", "3");
  EXPECT_EQ(lf.Bytes(), "[A]=1\n[B]=2\n[C]=3\n");
  ConfLines unchanged("[A]=1\n[B]=2");
  unchanged.Set("[B]", "4");
  EXPECT_EQ(unchanged.Bytes(), "[A]=1\n[B]=4");
  ConfLines empty("");
  empty.Set("[A]", "1");
  EXPECT_EQ(empty.Bytes(), "[A]=1\r\n");
}

TEST(ConfLines, WholeLineKeysCountByTheirLastExactLine) {
  ConfLines conf("[CALC_OPT1]=2\r\n[CALC_OPT1]=1\r\n[CALC_OPT1]=7\r\n[CALC_OPT1] =0\r\n");
  EXPECT_EQ(conf.LastWholeLine({"[CALC_OPT1]=0", "[CALC_OPT1]=1", "[CALC_OPT1]=2"}), 1u);
  EXPECT_EQ(conf.LastWholeLine({"[EDIT_OPT2]=0", "[EDIT_OPT2]=1"}), std::nullopt);
}

TEST(CsvImport, ReadsWhatSpreadsheetsWrite) {
  auto rows = ParseDelimited("a,\"b, c\",\"say \"\"hi\"\"\"\r\n\r\n\"two\r\nlines\",x\n,,\nlast");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"a", "b, c", "say \"hi\""}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"two\nlines", "x"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"last"}));
  // A copied range: tabs separate, commas are part of the cells.
  EXPECT_EQ(ParseDelimited("1,200\t配管\n")[0], (std::vector<std::string>{"1,200", "配管"}));
  EXPECT_EQ(CsvTextOf("\xEF\xBB\xBF" "配管"), "配管");
  EXPECT_EQ(CsvTextOf(Sj("配管,ＳＧＰ")), "配管,ＳＧＰ");
}

CsvRow Row(std::initializer_list<const char*> cells) {
  CsvRow row;
  size_t i = 0;
  for (const char* c : cells) row[i++] = c;
  return row;
}

TEST(CsvImport, ChecksEveryRowBeforeWriting) {
  std::vector<CsvRow> rows{Row({"配管", "SGP 20A", "m", "0.125", "10", "10.5", "1,200", "１５００"}), Row({}),
                           Row({"バルブ", "", "個", "", "", "", "", "", "", "", "", "天井内"})};
  CsvImport ok = BuildImport(rows);
  ASSERT_FALSE(ok.Problem);
  EXPECT_EQ(ok.Lines, 2);
  EXPECT_EQ(*ok.Text, Sj("配管;SGP 20A;m;0.125;10;10.5;1200;1500;0;0;0;\r\nバルブ;;個;0;0;0;0;0;0;0;0;天井内\r\n"));

  auto problem = [](std::vector<CsvRow> rows) { return BuildImport(rows).Problem; };
  rows[2][kCostQty] = "2本";
  auto bad = problem(rows);
  ASSERT_TRUE(bad);
  EXPECT_EQ(bad->Row, 2);
  EXPECT_EQ(bad->Column, kCostQty);
  EXPECT_EQ(bad->Text, "3行目「原価数量」が数値ではありません: 2本");
  EXPECT_EQ(problem({Row({"a;b"})})->Column, kName);
  EXPECT_EQ(problem({Row({"a", "b", "個", "", "", "", "", "", "", "", "", "line\nbreak"})})->Column, kRemarks);
  EXPECT_EQ(problem({Row({"ⓐ"})})->Text, "1行目「名称」にシフトJISで書けない文字があります: ⓐ");
  EXPECT_FALSE(problem({Row({"?"})}));
  // Name and specification share 100 bytes with the ";" between them; the unit holds 4.
  std::string name(50, 'n'), spec(49, 's');
  EXPECT_FALSE(problem({Row({name.c_str(), spec.c_str()})}));
  spec += "s";
  EXPECT_EQ(problem({Row({name.c_str(), spec.c_str()})})->Column, kSpec);
  EXPECT_FALSE(problem({Row({"a", "", "ｍ２"})}));
  EXPECT_EQ(problem({Row({"a", "", "ｍｍ３"})})->Column, kUnit);
}

TEST(PickList, BareNamesAreFoundInTheProgramFolderWithoutCase) {
  auto folder = std::filesystem::temp_directory_path() / ("picklist_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string f = folder.string();
  ASSERT_TRUE(WriteFileAtomic(f + "/keito.dat", Sj("空調\r\n\r\n  \r\n衛生\r\n")));
  EXPECT_EQ(PickListPath("/KEITO.DAT", f), f + "/keito.dat");
  EXPECT_EQ(PickListPath(f + "/KEITO.DAT", "/elsewhere"), f + "/keito.dat");
  EXPECT_EQ(PickListPath("/note.dat", f), f + "/note.dat");
  EXPECT_EQ(ReadPickList(f + "/keito.dat"), (std::vector<std::string>{Sj("空調"), Sj("衛生")}));
  EXPECT_EQ(ReadPickList(f + "/note.dat"), std::vector<std::string>{});
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zantro
