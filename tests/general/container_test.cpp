// The container file: what a round trip keeps and changes, the reading rules, failed reads
// that change nothing, and the texts that must not break the format.
#include "general/container.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <map>

#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;

Money M(std::string_view text) { return StrToCurr(text); }

template <typename R>
bool SameBytes(const R& a, const R& b) {
  return std::memcmp(&a, &b, sizeof(R)) == 0;
}

ItemRecord Item(int32_t kind, std::string_view name, Money scale = Money::Units(100)) {
  ItemRecord item{};
  item.ItemKind = kind;
  item.ItemName.set(name);
  item.SetSettings(CalcSettings{});
  item.QuantityScale = scale;
  return item;
}

LineRecord Line(int32_t flag, std::string_view nameSpec, std::string_view qty, std::string_view price) {
  LineRecord line{};
  line.FLAG = flag;
  line.NameSpec.set(nameSpec);
  line.CostQty = line.SubQty = M(qty);
  line.CostPrice = line.SubPrice = M(price);
  line.CostAmount = line.SubAmount = M("1000");
  line.Unit.set(Sj("本"));
  line.Remarks.set(Sj("備考"));
  return line;
}

// A document of four items: a normal item (scale 100), a heading, a member with three
// decimals and a total item, with lines, takeoffs and sort lines.
ParsedDocument SampleDocument() {
  ParsedDocument doc;
  doc.Title = EmptyDocumentTitle();
  doc.Title.id.set("K-");
  doc.Title.ATESAKI_1.set(Sj("株式会社テスト"));
  doc.Title.CONSTRACT_1.set(Sj("空調設備工事"));
  doc.Title.ALLGTOTAL = M("123456.5");
  doc.Title.NUMBER.set("K-12");
  doc.Title.Opt1Str.set(Sj("鋼管,銅管,,,,"));
  doc.Title.KETA = 1000;
  doc.Title.CUTLEVEL = kNineTenths;

  doc.Items = {Item(10, Sj("配管工事")), Item(20, Sj("見出し")), Item(30, Sj("ダクト"), Money::Units(1000)),
               Item(99, Sj("合計"))};
  doc.Items[0].ALLGTOTAL = M("5000");
  doc.Items[0].ALLNTOTAL = M("4000");
  doc.Items[0].ItemValue = M("7");
  doc.Items[0].ItemNote.set(Sj("メモ"));
  doc.Items[1].LineRoundAddend = M("3");  // a heading's range start
  doc.Items[2].TAXGTOTAL = M("12.5");

  doc.Lines[1] = {Line(10, Sj("白ガス管;20A"), "3", "1250"), Line(20, Sj("保温"), "1.5", "300"),
                  Line(99, Sj("【合　　計】"), "0", "0")};
  doc.Lines[3] = {Line(20, Sj("角ダクト;0.5t"), "12.125", "4100.25")};
  for (auto& [n, lines] : doc.Lines)
    for (auto& l : lines) l.ItemNo = n;

  TakeoffRecord t{};
  t.ItemNo = 1;
  t.Int1 = 4;
  t.NameSpec.set(Sj("エルボ;20A"));
  t.Value1_2[1] = M("2.5");
  t.Value9_13[2] = M("3.75");  // field 20: a fraction must survive
  t.Int12_19[7] = -9;
  t.Text2.set("X");
  doc.Takeoffs[1] = {t};
  doc.SortLines[3] = {"a;b;c", ""};
  return doc;
}

// The document as it reads back after writing.
ParsedDocument RoundTrip(const ParsedDocument& doc, bool single = false, int32_t item = 0) {
  TempDir dir;
  WriteWorkFiles(doc, dir.path());
  return ParseContainerText(ContainerText(dir.path(), single, item), "x.znt2",
                            nullptr, single ? ContainerForm::SingleItem : ContainerForm::Document);
}

TEST(ContainerRoundTrip, KeepsEverythingButTheDocumentedDifferences) {
  ParsedDocument doc = SampleDocument();
  doc.Items[0].ItemValue = M("7.25");
  doc.Lines[1][1].CostQty = M("1.2345");    // kind 20, two decimals in item 1
  doc.Lines[3][0].SubQty = M("12.1234");    // kind 20, three decimals in item 3
  ParsedDocument back = RoundTrip(doc);

  EXPECT_TRUE(SameBytes(back.Title, doc.Title));
  ASSERT_EQ(back.ItemCount(), 4);
  // A whole ItemValue survives; a fraction makes it 0.
  EXPECT_EQ(back.Items[0].ItemValue, kZero);
  back.Items[0].ItemValue = doc.Items[0].ItemValue;
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(SameBytes(back.Items[i], doc.Items[i])) << "item " << i + 1;

  ASSERT_EQ(back.Lines.size(), 2u);
  ASSERT_EQ(back.Lines[1].size(), 3u);
  // A name without a specification gains its ";".
  EXPECT_EQ(back.Lines[1][1].NameSpec.view(), Sj("保温;"));
  EXPECT_EQ(back.Lines[1][1].CostQty, M("1.23"));
  EXPECT_EQ(back.Lines[3][0].SubQty, M("12.123"));
  EXPECT_EQ(back.Lines[3][0].CostQty, M("12.125"));
  // The total line carries the item's totals.
  EXPECT_EQ(back.Lines[1][2].CostAmount, M("4000"));
  EXPECT_EQ(back.Lines[1][2].SubAmount, M("5000"));
  EXPECT_TRUE(SameBytes(back.Lines[1][0], doc.Lines[1][0]));

  ASSERT_EQ(back.Takeoffs[1].size(), 1u);
  EXPECT_TRUE(SameBytes(back.Takeoffs[1][0], doc.Takeoffs[1][0]));
  EXPECT_EQ(back.SortLines[3], doc.SortLines[3]);
}

TEST(ContainerRoundTrip, NumberIdIsWrittenButNotRead) {
  ParsedDocument doc = SampleDocument();
  TempDir dir;
  WriteWorkFiles(doc, dir.path());
  std::string text = ContainerText(dir.path(), false, 0);
  EXPECT_EQ(text.rfind("<TITLE>\r\n[NUMBER_ID]=K-\r\n[id]=K-\r\n", 0), 0u);
  std::string changed = text;
  changed.replace(changed.find("[NUMBER_ID]=K-"), 14, "[NUMBER_ID]=ZZ");
  EXPECT_EQ(ParseContainerText(changed, "x").Title.id.view(), "K-");
}

TEST(ContainerRoundTrip, QuantityTextsFollowEachItemsScale) {
  ParsedDocument doc;
  doc.Title = EmptyDocumentTitle();
  doc.Items = {Item(10, "a", Money::Units(10)), Item(10, "b", Money::Units(1000)), Item(10, "c", M("7")),
               Item(10, "d", kZero)};
  doc.Lines[1] = {Line(22, "x", "1.26", "1"), Line(10, "whole", "2.5", "1")};
  doc.Lines[2] = {Line(140, "y", "1.0005", "1")};
  doc.Lines[3] = {Line(150, "z", "-2.25", "1")};
  doc.Lines[4] = {Line(21, "w", "1.26", "1")};
  for (auto& [n, lines] : doc.Lines)
    for (auto& l : lines) l.Unit.set("");
  TempDir dir;
  WriteWorkFiles(doc, dir.path());
  std::string text = ContainerText(dir.path(), false, 0);
  EXPECT_NE(text.find("1;x;;0;0;;22;1.3;1.3;"), std::string::npos);
  EXPECT_NE(text.find("1;whole;;0;0;;10;2.5;2.5;"), std::string::npos);  // money, not a quantity text
  EXPECT_NE(text.find("2;y;;0;0;;140;1.001;1.001;"), std::string::npos);
  EXPECT_NE(text.find("3;z;;0;0;;150;-2.3;-2.3;"), std::string::npos);  // any other scale: one decimal
  EXPECT_NE(text.find("4;w;;0;0;;21;1.3;1.3;"), std::string::npos);    // a scale of 0 too

  // At the edge of the money range the rounded text would not read back: the exact value.
  doc.Lines[3][0].CostQty = Money::FromRaw(INT64_MAX);
  ParsedDocument back = RoundTrip(doc);
  EXPECT_EQ(back.Lines[3][0].CostQty, Money::FromRaw(INT64_MAX));
  EXPECT_EQ(back.Lines[3][0].SubQty, M("-2.3"));
}

TEST(ContainerWriter, SingleItemFormWritesOneSheetAndAllTakeoffs) {
  ParsedDocument doc = SampleDocument();
  doc.Takeoffs[3] = {TakeoffRecord{}};
  doc.Takeoffs[3][0].ItemNo = 3;
  ParsedDocument back = RoundTrip(doc, true, 3);
  EXPECT_EQ(back.Title.TAXGTOTAL, M("12.5"));
  EXPECT_EQ(back.Title.ALLGTOTAL, kZero);
  ASSERT_EQ(back.ItemCount(), 1);
  EXPECT_EQ(back.Items[0].ItemName.view(), Sj("ダクト"));
  ASSERT_EQ(back.Lines.size(), 1u);
  EXPECT_EQ(back.Lines[3].size(), 1u);
  EXPECT_EQ(back.Takeoffs.size(), 2u);
  EXPECT_EQ(back.SortLines.size(), 1u);

  TempDir dir;
  WriteWorkFiles(doc, dir.path());
  std::string text = ContainerText(dir.path(), true, 3);
  EXPECT_NE(text.find("[ItemMax]=1\r\n"), std::string::npos);
  // Without such an item there are no total lines and no item.
  std::string none = ContainerText(dir.path(), true, 9);
  EXPECT_EQ(none.find("[ALLGTOTAL]"), std::string::npos);
  EXPECT_NE(none.find("<ITEM>\r\n</ITEM>\r\n<DATA>\r\n</DATA>"), std::string::npos);
}

TEST(ContainerWriter, SemicolonsAndLineBreaksInTextsReadBack) {
  ParsedDocument doc = SampleDocument();
  doc.Title.WHERE.set("site\r\nline2;x");
  doc.Items[0].ItemName.set("pipe;work");
  doc.Items[0].ItemNote.set("n\no;te");
  doc.Lines[1][0].NameSpec.set("name;spec;more\r");
  doc.Lines[1][0].Unit.set("m;");
  doc.Lines[1][0].Remarks.set("r\rs;");
  doc.Lines[1][0].AmountText.set("a;b");
  doc.Takeoffs[1][0].Text2.set(std::string("x\0y", 3));  // a version-1 text may hold a NUL
  doc.Title.TRADE.set(std::string("t\0", 2));
  doc.Takeoffs[1][0].Text1.set("t;1");
  ParsedDocument back = RoundTrip(doc);

  const std::string fw = "\x81\x47";
  EXPECT_EQ(back.Title.WHERE.view(), "site  line2;x");  // the title keeps its ";"
  EXPECT_EQ(back.Items[0].ItemName.view(), "pipe" + fw + "work");
  EXPECT_EQ(back.Items[0].ItemNote.view(), "n o" + fw + "te");
  EXPECT_EQ(back.Items[0].ALLGTOTAL, M("5000"));  // the fields after the texts are in place
  const LineRecord& l = back.Lines[1][0];
  EXPECT_EQ(l.NameSpec.view(), "name;spec" + fw + "more ");
  EXPECT_EQ(l.Unit.view(), "m" + fw);
  EXPECT_EQ(l.AmountText.view(), "a" + fw + "b");
  EXPECT_EQ(l.Remarks.view(), "r s" + fw);
  EXPECT_EQ(l.FLAG, 10);
  EXPECT_EQ(back.Takeoffs[1][0].Text1.view(), "t" + fw + "1");
  EXPECT_EQ(back.Takeoffs[1][0].Int12_19[7], -9);
  EXPECT_EQ(back.Takeoffs[1][0].Text2.view(), "x y");  // no NUL in the file: it reads back
  EXPECT_EQ(back.Title.TRADE.view(), "t ");
}

TEST(ContainerWriter, FullFieldsWithSemicolonsAreCutBetweenCharactersAndStayStable) {
  // "；" is a byte longer than ";": a full field would otherwise read back cut at a different
  // place than it was written, and every later save would change the document again.
  ParsedDocument doc = SampleDocument();
  doc.Lines[1][0].Remarks.set(std::string(39, 'r') + ";");
  doc.Lines[1][0].NameSpec.set(std::string(60, 'n') + ";" + std::string(38, 's') + ";");
  doc.Items[0].ItemName.set(std::string(99, 'i') + ";");
  ParsedDocument back = RoundTrip(doc);
  EXPECT_EQ(back.Lines[1][0].Remarks.view(), std::string(39, 'r'));
  EXPECT_EQ(back.Lines[1][0].NameSpec.view(), std::string(60, 'n') + ";" + std::string(38, 's'));
  EXPECT_EQ(back.Items[0].ItemName.view(), std::string(99, 'i'));
  ParsedDocument again = RoundTrip(back);
  EXPECT_EQ(again.Lines[1][0].Remarks.view(), back.Lines[1][0].Remarks.view());
  EXPECT_EQ(again.Lines[1][0].NameSpec.view(), back.Lines[1][0].NameSpec.view());
}

TEST(ContainerWriter, WritesAtomicallyAndReportsFailure) {
  ParsedDocument doc = SampleDocument();
  TempDir dir;
  WriteWorkFiles(doc, dir.path());
  EXPECT_THROW(WriteContainer(dir.path(), dir.file("missing/out.znt2"), false, 0), FileError);

  // The output may be the file that was read.
  std::string out = dir.file("doc.znt2");
  WriteContainer(dir.path(), out, false, 0);
  TempDir work;
  ReadContainer(out, work.path());
  WriteContainer(work.path(), out, false, 0);
  EXPECT_EQ(*ReadFileBytes(out), ContainerText(dir.path(), false, 0));

  TempDir empty;
  EXPECT_THROW(ContainerText(empty.path(), false, 0), FileError);
}

// What a save writes when the working copy cannot be written: the document in memory, its
// open sheet from memory and every other file from the folder, exactly the text the work files
// give once the working copy could be written.
TEST(ContainerWriter, TheOpenDocumentFromMemoryOverItsWorkFiles) {
  TempDir dir;
  WriteWorkFiles(SampleDocument(), dir.path());
  Document doc;
  ASSERT_TRUE(LoadHead(doc, dir.path(), "WRK"));
  doc.CurrentItem = 3;
  EnsureItemAndLoadSheet(doc, dir.path(), 3);
  ASSERT_TRUE(SaveSheet(doc, dir.path(), "WRK"));
  EXPECT_EQ(ContainerText(dir.path(), doc), ContainerText(dir.path(), false, 0));

  // Edits the working copy has not taken: a line more on the open sheet, a new item name.
  const std::string files = ContainerText(dir.path(), false, 0);
  doc.LineList.push_back(Line(10, Sj("追加;1t"), "2", "50"));
  doc.ItemList[3].ItemName.set(Sj("ダクト改"));
  StoreSheetState(doc);
  const std::string memory = ContainerText(dir.path(), doc);
  ParsedDocument back = ParseContainerText(memory, "m");
  EXPECT_EQ(back.Lines.at(3).size(), 2u);
  EXPECT_EQ(back.Lines.at(3)[1].NameSpec.view(), Sj("追加;1t"));
  EXPECT_EQ(back.Items.at(2).ItemName.view(), Sj("ダクト改"));
  EXPECT_EQ(back.Lines.at(1).size(), 3u);  // item 1's sheet, from its work file
  EXPECT_EQ(back.Takeoffs.at(1).size(), 1u);
  EXPECT_EQ(back.SortLines.at(3).at(0), "a;b;c");
  EXPECT_EQ(ContainerText(dir.path(), false, 0), files);  // nothing was written
  ASSERT_TRUE(SaveSheet(doc, dir.path(), "WRK"));
  EXPECT_EQ(ContainerText(dir.path(), false, 0), memory);

  // Written like any saved document: by the output rules, the old file kept on failure.
  std::string out = dir.file("saved.znt2");
  WriteContainer(dir.path(), doc, out);
  EXPECT_EQ(*ReadFileBytes(out), memory);
  ASSERT_TRUE(WriteFileAtomic(dir.file("ro.znt2"), "kept"));
  ::chmod(dir.file("ro.znt2").c_str(), 0444);
  EXPECT_THROW(WriteContainer(dir.path(), doc, dir.file("ro.znt2")), FileError);
  EXPECT_EQ(*ReadFileBytes(dir.file("ro.znt2")), "kept");
}

TEST(ContainerWriter, SavesThroughALinkAndWritesThroughADevice) {
  TempDir dir;
  WriteWorkFiles(SampleDocument(), dir.path());
  std::string real = dir.file("real.znt2");
  ASSERT_TRUE(WriteFileAtomic(real, "old"));
  std::filesystem::create_symlink(real, dir.file("link.znt2"));
  WriteContainer(dir.path(), dir.file("link.znt2"), false, 0);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.znt2")));
  EXPECT_EQ(*ReadFileBytes(real), ContainerText(dir.path(), false, 0));

  EXPECT_THROW(WriteContainer(dir.path(), dir.path(), false, 0), FileError);
  // A device is written through, never renamed over.
  EXPECT_NO_THROW(WriteContainer(dir.path(), "/dev/null", false, 0));
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

// ---- reading rules ----

std::string Container(std::string_view title, std::string_view items, std::string_view data = "",
                      std::string_view pickup = "", std::string_view config = "") {
  return "<TITLE>\r\n" + std::string(title) + "</TITLE>\r\n<ITEM>\r\n" + std::string(items) +
         "</ITEM>\r\n<DATA>\r\n" + std::string(data) + "</DATA>\r\n<PICKUP>\r\n" + std::string(pickup) +
         "</PICKUP>\r\n<CONFIG>\r\n" + std::string(config) + "</CONFIG>\r\n</EOF>\r\n";
}

const char* kItem = "10;pipe;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\r\n";

std::string DataLine(int n, std::string_view qty = "1") {
  return std::to_string(n) + ";n;s;0;0;m;10;" + std::string(qty) + ";1;100;100;0;0;0;100;100;0;0;0;;;\r\n";
}

TEST(ContainerReader, TitleKeysInAnyOrderLaterLinesWin) {
  ParsedDocument doc = ParseContainerText(
      Container("[DY]=5\r\n[WHERE]=" + std::string(60, 'w') + "\r\nnoise\r\n[DY]=6\r\n[ALLTOTAL]=100\r\n"
                "[Unknown]=x\r\n[CUTLEVEL]=2\r\n[dy]=9\r\n[ItemMax]=7\r\n",
                kItem),
      "t");
  EXPECT_EQ(doc.Title.DY, 6);
  EXPECT_EQ(doc.Title.ALLGTOTAL, M("100"));
  EXPECT_EQ(doc.Title.CUTLEVEL, kHalf);
  EXPECT_EQ(doc.Title.KETA, 0);            // no [KETA]: 0, which the breakdown totals make 1
  EXPECT_EQ(doc.Title.DATALEVEL, 15);      // the empty document's value
  EXPECT_EQ(doc.Title.WHERE.view(), std::string(50, 'w'));
  EXPECT_EQ(doc.ItemCount(), 1);           // the item lines, not [ItemMax]
}

TEST(ContainerReader, CutLevelOfOneStaysAndLfLineEndsRead) {
  std::string text = Container("[CUTLEVEL]=1\r\n[KETA]=100\r\n", kItem, DataLine(1));
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  ParsedDocument doc = ParseContainerText(text, "t");
  EXPECT_EQ(doc.Title.CUTLEVEL, kOne);
  EXPECT_EQ(doc.Title.KETA, 100);
  EXPECT_EQ(doc.Lines[1].size(), 1u);
}

TEST(ContainerReader, ItemFieldsWithDefaults) {
  ParsedDocument doc = ParseContainerText(
      Container("", "x;a;1;2;3;4;5;6;7;y;2.5;note;\"\";;\r\n10;b;0;0;0;0;0;0;0;3;12;;1.5;2;\r\n"), "t");
  ASSERT_EQ(doc.ItemCount(), 2);
  EXPECT_EQ(doc.Items[0].ItemKind, 1);
  EXPECT_EQ(doc.Items[0].ItemFlag, 0);
  EXPECT_EQ(doc.Items[0].ItemValue, kZero);
  EXPECT_EQ(doc.Items[0].Opt6RoundAddend, M("7"));
  EXPECT_EQ(doc.Items[0].TAXGTOTAL, kZero);
  EXPECT_EQ(doc.Items[1].ItemFlag, 3);
  EXPECT_EQ(doc.Items[1].ItemValue, M("12"));
  EXPECT_EQ(doc.Items[1].TAXGTOTAL, M("1.5"));
}

TEST(ContainerReader, DataLinesGoToTheirItemsInOrder) {
  TempDir dir;
  std::string path = dir.file("d.znt2");
  ASSERT_TRUE(WriteFileAtomic(path, Container("", std::string(kItem) + kItem + kItem,
                                              DataLine(1, "1") + DataLine(1, "2") + DataLine(3, "3"))));
  EXPECT_EQ(ReadContainer(path, dir.path()), 3);
  EXPECT_EQ(ReadRecords<LineRecord>(dir.file("WITEM1.WRK"))->size(), 2u);
  EXPECT_FALSE(FileExists(dir.file("WITEM2.WRK")));
  auto three = *ReadRecords<LineRecord>(dir.file("WITEM3.WRK"));
  ASSERT_EQ(three.size(), 1u);
  EXPECT_EQ(three[0].ItemNo, 3);
  EXPECT_EQ(three[0].CostQty, M("3"));
  // Item 1 always has its three files.
  EXPECT_TRUE(FileExists(dir.file("WITEM1.PUP")));
  EXPECT_TRUE(FileExists(dir.file("DATASORT1.WRK")));

  // A second group of item 1 is appended, not written over the first.
  ParsedDocument split = ParseContainerText(
      Container("", std::string(kItem) + kItem + kItem, DataLine(1, "1") + DataLine(3) + DataLine(1, "2")), "t");
  ASSERT_EQ(split.Lines[1].size(), 2u);
  EXPECT_EQ(split.Lines[1][1].CostQty, M("2"));
}

TEST(ContainerReader, TakeoffAndSortLines) {
  std::string takeoff = "2;q;2;name;spec;1.5;2;m;3;4;1;2;3;4;5;6;t1;7;8.25;9.5;10;11.75;t2;1;2;3;4;5;6;7;8;9;"
                        "1;2;3;4;5;6;7;-8;\r\n";
  ParsedDocument doc =
      ParseContainerText(Container("", std::string(kItem) + kItem, "", takeoff, "2;a;b\r\n2\r\n1;\r\n"), "t");
  ASSERT_EQ(doc.Takeoffs[2].size(), 1u);
  const TakeoffRecord& t = doc.Takeoffs[2][0];
  EXPECT_EQ(t.ItemNo, 2);
  EXPECT_EQ(t.Int1, 0);  // not an integer
  EXPECT_EQ(t.NameSpec.view(), "name;spec");
  EXPECT_EQ(t.Value1_2[0], M("1.5"));
  EXPECT_EQ(t.Int3_4[1], 4);
  EXPECT_EQ(t.Value3_8[5], M("6"));
  EXPECT_EQ(t.Value9_13[0], M("7"));
  EXPECT_EQ(t.Value9_13[1], M("8.25"));  // fields 19-22 keep their fractions
  EXPECT_EQ(t.Value9_13[4], M("11.75"));
  EXPECT_EQ(t.Text2.view(), "t2");
  EXPECT_EQ(t.Int5_11[6], 7);
  EXPECT_EQ(t.Value14_15[1], M("9"));
  EXPECT_EQ(t.Int12_19[7], -8);
  EXPECT_EQ(doc.SortLines[2], (std::vector<std::string>{"a;b", "2"}));
  EXPECT_EQ(doc.SortLines[1], (std::vector<std::string>{""}));
}

// ---- failed reads ----

// The folder's file names and contents.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& name : ListFiles(folder)) files[name] = *ReadFileBytes(JoinPath(folder, name));
  return files;
}

void ExpectReadFails(const std::string& text, const std::vector<std::string>& inMessage) {
  TempDir dir;
  std::string path = dir.file("bad.znt2");
  ASSERT_TRUE(WriteFileAtomic(path, text));
  ASSERT_TRUE(WriteFileAtomic(dir.file("HEAD.WRK"), "old"));
  auto before = Snapshot(dir.path());
  try {
    ReadContainer(path, dir.path());
    ADD_FAILURE() << "read succeeded";
  } catch (const FileError& e) {
    std::string what = e.what();
    EXPECT_NE(what.find(path), std::string::npos) << what;
    for (const auto& part : inMessage) EXPECT_NE(what.find(part), std::string::npos) << what << " lacks " << part;
  }
  EXPECT_EQ(Snapshot(dir.path()), before);
}

TEST(ContainerReader, BadNumbersFailWithoutChangingTheFolder) {
  // Line numbers count from the "<TITLE>" line.
  ExpectReadFails(Container("[DY]=x\r\n", kItem), {"line 2", "[DY]", "'x'"});
  ExpectReadFails(Container("[ALLGTOTAL]=\r\n", kItem), {"line 2", "[ALLGTOTAL]"});
  ExpectReadFails(Container("", std::string(kItem) + "10;a;0;0;0.5;0.5;1OO;1;0.5;0;0;;0;0;\r\n"),
                  {"line 5", "item field 7 (QuantityScale)", "'1OO'"});
  ExpectReadFails(Container("", std::string(kItem) + kItem, DataLine(1) + DataLine(2, "1,5")),
                  {"line 9", "data field 8 (CostQty)"});
  ExpectReadFails(Container("", kItem, DataLine(1) + "x;n;s;0;0;m;10;1;1;;;;;;;;;;;;;\r\n"),
                  {"line 8", "data field 1"});
  ExpectReadFails(Container("", kItem, DataLine(0)), {"line 7", "data field 1", "0"});
  ExpectReadFails(Container("", kItem, "", "1;2;3;n;s;abc;" + std::string(34, ';') + "\r\n"),
                  {"line 9", "takeoff field 6"});
}

TEST(ContainerReader, DamageTheWriterNeverMakesIsRefused) {
  const std::string good = Container("[DY]=3\r\n", std::string(kItem) + kItem, DataLine(1) + DataLine(2));
  auto with = [&](std::string_view from, std::string_view to) {
    std::string t = good;
    return t.replace(t.find(from), from.size(), to);
  };
  // The frame: first line, markers in their order and nothing between them, the last line.
  ExpectReadFails("", {"line 1", "<TITLE> should follow"});
  ExpectReadFails("\xEF\xBB\xBF" + good, {"line 1", "<TITLE> expected"});
  ExpectReadFails("x" + good, {"line 1", "<TITLE> expected"});
  ExpectReadFails(with("<DATA>", "x<DATA>"), {"line 8", "<DATA> expected", "'x<DATA>'"});
  ExpectReadFails(with("<DATA>", "<data>"), {"line 8", "<DATA> expected"});
  ExpectReadFails(with("</TITLE>\r\n", ""), {"line 3", "<ITEM> inside the section that </TITLE> should end"});
  ExpectReadFails(with("</DATA>\r\n", ""), {"line 11", "<PICKUP> inside"});
  ExpectReadFails(with("</EOF>\r\n", ""), {"line 16", "the file ends where </EOF> should follow"});
  ExpectReadFails(good + "\r\n", {"line 17", "text after </EOF>"});
  ExpectReadFails("<TITLE>\r\n</TITLE>\r\n<ITEM>\r\n" + std::string(kItem), {"line 5", "the file ends before </ITEM>"});
  // Data before the items: the sections come in one order.
  std::string swapped = "<TITLE>\r\n</TITLE>\r\n<DATA>\r\n</DATA>\r\n<ITEM>\r\n" + std::string(kItem) + "</ITEM>\r\n";
  ExpectReadFails(swapped, {"line 3", "<ITEM> expected, found '<DATA>'"});
  // Bytes: NUL (a UTF-16 file has them everywhere), a CR alone, LF CR.
  ExpectReadFails(with("pipe", std::string("pi\0e", 4)), {"line 5", "NUL byte"});
  ExpectReadFails(std::string("<\0T\0I\0", 6), {"line 1", "NUL byte"});
  ExpectReadFails(with("\r\n<DATA>", "\r<DATA>"), {"line 7", "CR without LF"});
  ExpectReadFails(with("\r\n<DATA>\r\n", "\n\r<DATA>\r\n"), {"line 8", "CR without LF"});
  // Lines short of fields, and lines of items the list does not have.
  ExpectReadFails(with(kItem, "10;pipe;0;0;0.5;\r\n"), {"line 5", "item field 6", "5 of its 14 fields"});
  ExpectReadFails(with(DataLine(2), "2;n;s;0;0;m;10;1;1;100;100;\r\n"), {"line 10", "data field 12", "11 of its 21"});
  for (int n : {3, 1000000, 2147483647})
    ExpectReadFails(with(DataLine(2), DataLine(n)), {"line 10", "data field 1", std::to_string(n), "has 2)"});
  ExpectReadFails(Container("", kItem, "", "7" + std::string(40, ';') + "\r\n"), {"line 9", "takeoff field 1", "has 1)"});
  ExpectReadFails(Container("", kItem, "", "", "0;x\r\n"), {"line 11", "sort field 1", "number 0"});
  // LF alone still reads as CR LF, and the print data of one sheet keeps its item's number.
  std::string lf = good;
  for (size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n", at)) lf.erase(at, 1);
  EXPECT_EQ(ParseContainerText(lf, "lf").Lines.at(2).size(), 1u);
  EXPECT_EQ(ParseContainerText(Container("", kItem, DataLine(3)), "p", nullptr, ContainerForm::SingleItem).Lines.count(3), 1u);
}

// A text field whose bytes are no Shift-JIS (a file saved as UTF-8) is refused by line and
// field before anything is written; what only looks odd (half-width katakana, a character cut
// at the end of a field it fills, as the records cut) still reads.
TEST(ContainerReader, TextThatIsNoShiftJisIsRefusedByLineAndField) {
  const std::string utf8 = "工事";  // E5 B7 | A5 | E4 BA | 8B: a lead byte alone at the end
  const std::string asUtf8 = "byte 6 (0x8B) is no Shift-JIS character; the text reads as UTF-8: \"工事\"";
  auto data = [](int field, std::string_view text) {
    std::string line = "1;n;s;0;0;m;10;1;1;100;100;0;0;0;100;100;0;0;0;;;";
    size_t at = 0;
    for (int k = 1; k < field; ++k) at = line.find(';', at) + 1;
    line.replace(at, line.find(';', at) - at, text);
    return line + "\r\n";
  };
  ExpectReadFails(Container("[WHERE]=" + utf8 + "\r\n", kItem), {"line 2, title [WHERE]: " + asUtf8});
  ExpectReadFails(Container("", "10;" + utf8 + ";0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\r\n"),
                  {"line 4, item field 2 (ItemName): " + asUtf8});
  ExpectReadFails(Container("", "10;a;0;0;0.5;0.5;100;1;0.5;0;0;" + utf8 + ";0;0;\r\n"),
                  {"line 4, item field 12 (ItemNote): " + asUtf8});
  ExpectReadFails(Container("", kItem, data(2, utf8)), {"line 7, data field 2 (name): " + asUtf8});
  ExpectReadFails(Container("", kItem, data(3, utf8)), {"line 7, data field 3 (specification): " + asUtf8});
  ExpectReadFails(Container("", kItem, data(6, "m\xFF")),
                  {"line 7, data field 6 (Unit): byte 2 (0xFF) is no Shift-JIS character"});
  ExpectReadFails(Container("", kItem, data(20, utf8)), {"line 7, data field 20 (AmountText): " + asUtf8});
  ExpectReadFails(Container("", kItem, data(21, "\xA0")), {"line 7, data field 21 (Remarks): byte 1 (0xA0)"});
  const std::string takeoff = "1;0;0;n;s;0;0;m;" + std::string(32, ';') + "\r\n";
  ExpectReadFails(Container("", kItem, "", "1;0;0;" + utf8 + ";s;0;0;m;" + std::string(32, ';') + "\r\n"),
                  {"line 9, takeoff field 4 (name): " + asUtf8});
  ExpectReadFails(Container("", kItem, "", "1;0;0;n;s;0;0;" + utf8 + ";" + std::string(32, ';') + "\r\n"),
                  {"line 9, takeoff field 8 (Unit): " + asUtf8});
  // The print data of one sheet is read by the same rules.
  EXPECT_THROW(ParseContainerText(Container("", kItem, data(2, utf8)), "p", nullptr, ContainerForm::SingleItem),
               FileError);

  // Fields the records fill, each ending in the lead byte of a character cut there: a name of
  // 100 bytes, a specification that fills the rest after "n;", an [id] of 12 bytes.
  std::string kanji;
  for (int i = 0; i < 49; ++i) kanji += Sj("金");
  const std::string name = kanji + "a\x8B", spec = kanji.substr(2) + "a\x8B", id = "ABCDEFGHIJK\x8B";
  ParsedDocument doc = ParseContainerText(
      Container("[id]=" + id + "\r\n", "10;" + Sj("ｱｲｳ配管") + ";0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\r\n",
                data(2, name) + data(2, "n").replace(4, 1, spec), takeoff),
      "t");
  EXPECT_EQ(doc.Title.id.view(), id);
  EXPECT_EQ(doc.Items.at(0).ItemName.view(), Sj("ｱｲｳ配管"));
  EXPECT_EQ(doc.Lines.at(1).at(0).NameSpec.view(), name);
  EXPECT_EQ(doc.Lines.at(1).at(1).NameSpec.view(), "n;" + spec);
  // The same half character where the field has room for the rest of it is refused.
  ExpectReadFails(Container("", kItem, data(2, kanji + "\x8B")), {"line 7, data field 2 (name): byte 99 (0x8B)"});
  ExpectReadFails(Container("[id]=" + id.substr(1) + "\r\n", kItem), {"line 2, title [id]: byte 11 (0x8B)"});
}

TEST(ContainerReader, EveryCutOfTheSampleIsRefused) {
  // A file cut anywhere before its last line is never read as a shorter document.
  auto sample = *ReadFileBytes(std::string(ZANTRO_SOURCE_DIR) + "/data/Sample/sample.znt2");
  ASSERT_NO_THROW(ParseContainerText(sample, "sample"));
  size_t lastLine = sample.rfind("</EOF>");
  size_t accepted = 0;
  for (size_t cut = 0; cut < lastLine; ++cut) {
    try {
      ParseContainerText(std::string_view(sample).substr(0, cut), "cut");
      ++accepted;
    } catch (const FileError&) {
    }
  }
  EXPECT_EQ(accepted, 0u);
}

TEST(ContainerReader, ErrorsQuoteEightyCharactersAtMost) {
  std::string longValue(1000000, '7');
  try {
    ParseContainerText(Container("[DY]=" + longValue + "x\r\n", kItem), "t");
    FAIL();
  } catch (const FileError& e) {
    EXPECT_LT(std::string(e.what()).size(), 200u);
    EXPECT_NE(std::string(e.what()).find("'" + std::string(80, '7') + "…'"), std::string::npos);
  }
  // Whole characters: a CP932 text is cut between characters and shown as UTF-8.
  std::string wide, shown;
  for (int i = 0; i < 100; ++i) wide += Sj("金");
  for (int i = 0; i < 80; ++i) shown += "金";
  EXPECT_EQ(QuoteText(wide), shown + "…");
  EXPECT_EQ(QuoteText("short"), "short");
}

TEST(ContainerReader, MissingFileIsAFileError) {
  TempDir dir;
  EXPECT_THROW(ParseContainer(dir.file("nothing.znt2")), FileError);
}

}  // namespace
}  // namespace zantro
