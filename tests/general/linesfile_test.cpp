// Lines files: what copy writes, how merge, overwrite and parts loads place the records, and
// bad files that change nothing.
#include "general/linesfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;

Money M(std::string_view text) { return StrToCurr(text); }

LineRecord Named(std::string_view name, int32_t flag = 10) {
  LineRecord l{};
  l.NameSpec.set(name);
  l.FLAG = flag;
  return l;
}

// A sheet of lines named "L1".."Ln" (index 0 is the sentinel).
std::vector<LineRecord> Sheet(int n) {
  std::vector<LineRecord> lines(1);
  for (int i = 1; i <= n; ++i) lines.push_back(Named("L" + std::to_string(i) + ";"));
  return lines;
}

std::vector<std::string> Names(const std::vector<LineRecord>& lines) {
  std::vector<std::string> out;
  for (size_t i = 1; i < lines.size(); ++i) out.push_back(lines[i].NameSpec.str());
  return out;
}

// A buffer of records named "P1".."Pn".
std::string Buffer(const TempDir& dir, int n) {
  std::vector<LineRecord> src(1);
  for (int i = 1; i <= n; ++i) src.push_back(Named("P" + std::to_string(i) + ";"));
  std::string path = dir.file("copydata.tmp");
  WriteLinesFile(path, src, {1, n});
  return path;
}

TEST(LinesFile, CopyPastTheLastLineWritesTheLinesThatExist) {
  TempDir dir;
  std::vector<LineRecord> sheet = Sheet(4);
  sheet[3].NameSpec.set("name");
  sheet[3].CostQty = M("1.2345");
  sheet[3].SubAmount = M("-7");
  sheet[3].Remarks.set("r;x");
  std::string path = dir.file("c.tmp");
  WriteLinesFile(path, sheet, {3, 5});
  auto text = *ReadTextLines(path);
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[0], "[Version]=2.00");
  EXPECT_EQ(text[1], "0;name;;0;0;;10;1.2345;0;0;0;0;0;0;0;-7;0;0;0;;r\x81\x47x;");
  EXPECT_EQ(ReadFileBytes(path)->substr(0, 16), "[Version]=2.00\r\n");

  // A name without a specification reads back with its ";".
  auto back = *ParseLinesFile(path);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].NameSpec.view(), "name;");
  EXPECT_EQ(back[0].CostQty, M("1.2345"));
  EXPECT_EQ(back[1].NameSpec.view(), "L4;");
}

TEST(LinesFile, MergePasteInsertsExactlyTheRecords) {
  TempDir dir;
  std::string path = Buffer(dir, 3);
  std::vector<LineRecord> sheet = Sheet(5);
  int32_t current = 0;
  // paste1: one blank line inserted at the cursor first, then the merge read.
  InsertBlankLines(sheet, 2, 1);
  ASSERT_TRUE(ReadLinesFile(path, sheet, {2, 2}, current, true));
  EXPECT_EQ(Names(sheet), (std::vector<std::string>{"L1;", "P1;", "P2;", "P3;", "L2;", "L3;", "L4;", "L5;"}));
  EXPECT_EQ(current, 5);
}

TEST(LinesFile, OverwritePasteAppendsPastTheEnd) {
  TempDir dir;
  std::string path = Buffer(dir, 3);
  std::vector<LineRecord> sheet = Sheet(5);
  int32_t current = 0;
  ASSERT_TRUE(ReadLinesFile(path, sheet, {4, 4}, current, false));
  EXPECT_EQ(Names(sheet), (std::vector<std::string>{"L1;", "L2;", "L3;", "P1;", "P2;", "P3;"}));

  // Below the end: blank lines fill the gap.
  std::vector<LineRecord> shortSheet = Sheet(1);
  ASSERT_TRUE(ReadLinesFile(path, shortSheet, {3, 3}, current, false));
  EXPECT_EQ(Names(shortSheet), (std::vector<std::string>{"L1;", "", "P1;", "P2;", "P3;"}));
}

TEST(LinesFile, PartsLoadOverwritesTheCursorLine) {
  TempDir dir;
  std::string path = Buffer(dir, 2);
  std::vector<LineRecord> sheet = Sheet(3);
  int32_t current = 0;
  // No blank line first: the last record overwrites the line at the cursor.
  ASSERT_TRUE(ReadLinesFile(path, sheet, {2, 2}, current, true));
  EXPECT_EQ(Names(sheet), (std::vector<std::string>{"L1;", "P1;", "P2;", "L3;"}));

  // Each insert is as tall as the selection: the spare blank lines end up after the records.
  path = Buffer(dir, 3);
  sheet = Sheet(3);
  ASSERT_TRUE(ReadLinesFile(path, sheet, {2, 3}, current, true));
  EXPECT_EQ(Names(sheet), (std::vector<std::string>{"L1;", "P1;", "P2;", "P3;", "", "L2;", "L3;"}));
}

// The paste as it was first written, one insertion per record: the reference that the
// paste, which inserts the whole block at once, must equal line for line.
void PasteOneByOne(std::vector<LineRecord>& lines, const std::vector<LineRecord>& records, RowSelection sel,
                   int32_t& currentLine, bool merge) {
  currentLine = std::max(sel.Top, 1);
  while (static_cast<int32_t>(lines.size()) - 1 < currentLine) lines.emplace_back();
  for (size_t i = 0; i < records.size(); ++i) {
    if (merge && i + 1 < records.size()) InsertBlankLines(lines, currentLine, sel.Rows());
    if (currentLine > static_cast<int32_t>(lines.size()) - 1) lines.emplace_back();
    int32_t itemNo = lines[currentLine].ItemNo;
    lines[currentLine] = records[i];
    lines[currentLine].ItemNo = itemNo;
    ++currentLine;
  }
}

TEST(LinesFile, PasteEqualsOneInsertionPerRecord) {
  std::mt19937 random(11);
  auto someLines = [&](int n) {
    std::vector<LineRecord> v(static_cast<size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
      v[i].NameSpec.set("x" + std::to_string(random() % 1000) + ";");
      v[i].FLAG = random() % 3 == 0 ? 50 + static_cast<int32_t>(random() % 30) : 10;
      int from = 1 + static_cast<int>(random() % 30);
      v[i].CostQty = Money::Units(from);
      v[i].SubQty = Money::Units(from + static_cast<int>(random() % 8));
    }
    return v;
  };
  for (int round = 0; round < 400; ++round) {
    std::vector<LineRecord> sheet = someLines(static_cast<int>(random() % 25));
    std::vector<LineRecord> records = someLines(1 + static_cast<int>(random() % 12));
    records.erase(records.begin());
    int32_t top = 1 + static_cast<int32_t>(random() % 30);
    RowSelection sel{top, top + static_cast<int32_t>(random() % 4)};
    bool merge = random() % 2 == 0;
    auto once = sheet, stepwise = sheet;
    int32_t curOnce = 0, curStep = 0;
    PasteLines(once, records, sel, curOnce, merge);
    PasteOneByOne(stepwise, records, sel, curStep, merge);
    ASSERT_EQ(curOnce, curStep) << round;
    ASSERT_EQ(once.size(), stepwise.size()) << round;
    for (size_t i = 1; i < once.size(); ++i) {
      ASSERT_EQ(once[i].NameSpec.str(), stepwise[i].NameSpec.str()) << round << " line " << i;
      ASSERT_EQ(once[i].CostQty, stepwise[i].CostQty) << round << " line " << i;
      ASSERT_EQ(once[i].SubQty, stepwise[i].SubQty) << round << " line " << i;
    }
  }
}

TEST(LinesFile, InsertKeepsRangesOnTheirLines) {
  std::vector<LineRecord> sheet = Sheet(9);
  auto range = [&](int at, int from, int to) {
    sheet[at].FLAG = 50;
    sheet[at].CostQty = Money::Units(from);
    sheet[at].SubQty = Money::Units(to);
  };
  range(7, 2, 6);
  range(8, 5, 7);
  range(9, 1, 3);
  InsertBlankLines(sheet, 4, 2);
  EXPECT_EQ(sheet[9].CostQty, Money::Units(2));
  EXPECT_EQ(sheet[9].SubQty, Money::Units(8));
  EXPECT_EQ(sheet[10].CostQty, Money::Units(7));
  EXPECT_EQ(sheet[10].SubQty, Money::Units(9));
  EXPECT_EQ(sheet[11].SubQty, Money::Units(3));
  InsertBlankLines(sheet, 20, 1);  // not a line: nothing
  EXPECT_EQ(sheet.size(), 12u);
}

TEST(LinesFile, OtherVersionsAndMissingFilesChangeNoLine) {
  TempDir dir;
  std::vector<LineRecord> sheet = Sheet(2);
  int32_t current = 0;
  EXPECT_FALSE(ReadLinesFile(dir.file("none"), sheet, {5, 5}, current, false));
  EXPECT_EQ(current, 0);  // a missing file: nothing at all
  std::string old = dir.file("old.prt");
  ASSERT_TRUE(WriteTextLines(old, {"[Version]=1.00", "0;a;;0;0;;10;1;1;0;0;0;0;0;0;0;0;0;0;;;"}));
  EXPECT_FALSE(ReadLinesFile(old, sheet, {5, 5}, current, false));
  EXPECT_EQ(sheet.size(), 3u);
  // The cursor has already moved to the top selected row when the first line is checked.
  EXPECT_EQ(current, 5);
}

TEST(LinesFile, BadNumbersFailBeforeAnyLineChanges) {
  TempDir dir;
  std::string path = dir.file("bad.prt");
  ASSERT_TRUE(WriteTextLines(path, {"[Version]=2.00", "0;a;;0;0;;10;1;1;0;0;0;0;0;0;0;0;0;0;;;", "",
                                    "0;b;;0;0;;10;1;x;0;0;0;0;0;0;0;0;0;0;;;"}));
  std::vector<LineRecord> sheet = Sheet(2);
  int32_t current = 0;
  try {
    ReadLinesFile(path, sheet, {1, 1}, current, false);
    ADD_FAILURE() << "read succeeded";
  } catch (const FileError& e) {
    std::string what = e.what();
    EXPECT_NE(what.find(path + ": line 4, field 9 (SubQty)"), std::string::npos) << what;
  }
  EXPECT_EQ(Names(sheet), (std::vector<std::string>{"L1;", "L2;"}));

  // A parts file saved as UTF-8: the remarks of its second line are refused the same way.
  ASSERT_TRUE(WriteTextLines(path, {"[Version]=2.00", "0;a;;0;0;;10;1;1;0;0;0;0;0;0;0;0;0;0;;;",
                                    "0;b;;0;0;;10;1;1;0;0;0;0;0;0;0;0;0;0;;工事;"}));
  try {
    ReadLinesFile(path, sheet, {1, 1}, current, false);
    ADD_FAILURE() << "read succeeded";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), path + ": line 3, field 21 (Remarks): byte 6 (0x8B) is no Shift-JIS "
                                           "character; the text reads as UTF-8: \"工事\" (save the file as Shift-JIS)");
  }
  EXPECT_EQ(Names(sheet), (std::vector<std::string>{"L1;", "L2;"}));

  // Blank lines are skipped; the last record is the last non-blank line.
  ASSERT_TRUE(WriteTextLines(path, {"[Version]=2.00", "0;a;;0;0;;10;1;1;0;0;0;0;0;0;0;0;0;0;;;", "  ", ""}));
  EXPECT_EQ(ParseLinesFile(path)->size(), 1u);
}

}  // namespace
}  // namespace zantro
