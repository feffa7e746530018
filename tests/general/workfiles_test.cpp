#include "general/workfiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "general/workcodec.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

LineRecord Line(int32_t flag, int64_t price, int64_t qty) {
  LineRecord l{};
  l.FLAG = flag;
  l.CostPrice = l.SubPrice = Money::Units(price);
  l.CostQty = l.SubQty = Money::Units(qty);
  return l;
}

class WorkFiles : public ::testing::Test {
 protected:
  void SetUp() override { InitDocument(doc, dir.path(), false); }
  TempDir dir;
  Document doc;
};

TEST_F(WorkFiles, NewDocumentHasOneItemAndTodaysEraDate) {
  // The test environment fixes today as 2026-12-07.
  EXPECT_EQ(doc.LastItem(), 1);
  EXPECT_EQ(doc.ItemCount, 1);
  EXPECT_EQ(doc.LastLine(), 0);
  EXPECT_EQ(doc.Title.DY, 2026 - 1988);
  EXPECT_EQ(doc.Title.DM, 12);
  EXPECT_EQ(doc.Title.DD, 7);
  EXPECT_EQ(doc.Title.DATALEVEL, 15);
  EXPECT_EQ(doc.Title.KETA, 1);
  EXPECT_EQ(doc.Title.CUTLEVEL, kHalf);
  EXPECT_EQ(doc.ItemList[1].ItemKind, 10);
  EXPECT_EQ(doc.ItemList[1].QuantityScale, Money::Units(100));
}

TEST_F(WorkFiles, FirstItemTakesTheSettingsInForce) {
  doc.Settings.QuantityScale = Money::Units(1000);
  doc.Settings.LineRoundAddend = kZero;
  InitDocument(doc, dir.path(), false);
  EXPECT_EQ(doc.ItemList[1].QuantityScale, Money::Units(1000));
  EXPECT_EQ(doc.ItemList[1].LineRoundAddend, kZero);
}

TEST_F(WorkFiles, SheetSavesAndLoadsBackWithItemNumbers) {
  doc.LineList.push_back(Line(10, 1000, 3));
  doc.LineList.push_back(Line(11, 500, 1));
  doc.Sheet = {Money::Units(2500), Money::Units(2500)};
  doc.GroupNames = {Sj("配管"), "B", "C", "D", "E", "F"};
  ASSERT_TRUE(SaveSheet(doc, dir.path(), "WRK"));
  EXPECT_TRUE(doc.DocumentModified);
  EXPECT_EQ(doc.ItemList[1].ALLNTOTAL, Money::Units(2500));

  auto onDisk = ReadRecords<LineRecord>(dir.file("WITEM1.WRK"));
  ASSERT_TRUE(onDisk);
  ASSERT_EQ(onDisk->size(), 2u);
  EXPECT_EQ((*onDisk)[0].ItemNo, 1);
  EXPECT_EQ(doc.LineList[1].ItemNo, 0);  // memory keeps 0
  EXPECT_EQ(ReadFileBytes(dir.file("HEAD.WRK"))->size(), 776u + 4 + 248);

  // The count after the title is the number of items that follow it.
  doc.ItemList.push_back(NewItem());
  doc.ItemList.push_back(NewItem());
  doc.ItemCount = doc.LastItem();
  ASSERT_TRUE(SaveHead(doc, dir.path(), "WRK"));
  auto head = *ReadFileBytes(dir.file("HEAD.WRK"));
  ASSERT_EQ(head.size(), 776u + 4 + 3 * 248);
  int32_t count = 0;
  std::memcpy(&count, head.data() + 776, sizeof count);
  EXPECT_EQ(count, 3);

  Document again;
  ASSERT_TRUE(LoadHead(again, dir.path(), "WRK"));
  EXPECT_EQ(again.Title.Opt1Str.view(), Sj("配管") + ",B,C,D,E,F");
  EXPECT_EQ(again.Title.Opt2Str.view(), ",,,");
  EnsureItemAndLoadSheet(again, dir.path(), 1);
  ASSERT_EQ(again.LastLine(), 2);
  EXPECT_EQ(again.LineList[2].FLAG, 11);
  EXPECT_EQ(again.LineList[2].ItemNo, 0);
}

TEST_F(WorkFiles, SheetTotalsGoOnlyIntoItemsThatOwnASheet) {
  // Summary rows (tax, subtotal, hierarchy heading) keep their rates and ranges.
  for (int32_t kind : {93, 95, 20}) {
    ItemRecord summary = NewItem();
    summary.ItemKind = kind;
    summary.LineRoundAddend = Money::Units(3);
    summary.QuantityScale = Money::Units(10);
    doc.ItemList.push_back(summary);
  }
  doc.Sheet = {Money::Units(700), Money::Units(900)};
  doc.Settings.QuantityScale = Money::Units(1000);
  for (int32_t item = 2; item <= 4; ++item) {
    doc.CurrentItem = item;
    ASSERT_TRUE(SaveSheet(doc, dir.path(), "WRK"));
    EXPECT_EQ(doc.ItemList[item].ALLNTOTAL, kZero) << item;
    EXPECT_EQ(doc.ItemList[item].LineRoundAddend, Money::Units(3)) << item;
    EXPECT_EQ(doc.ItemList[item].QuantityScale, Money::Units(10)) << item;
  }
  EXPECT_TRUE(FileExists(dir.file("WITEM2.WRK")));  // a tax item's sheet file is still written

  doc.CurrentItem = 0;  // as the transfer command leaves it
  ASSERT_TRUE(SaveSheet(doc, dir.path(), "WRK"));
  EXPECT_FALSE(FileExists(dir.file("WITEM0.WRK")));
  EXPECT_EQ(doc.ItemList[1].ALLNTOTAL, kZero);
}

TEST_F(WorkFiles, LoadHeadReadsEveryItemTheFileHolds) {
  for (int i = 0; i < 2; ++i) doc.ItemList.push_back(NewItem());
  ASSERT_TRUE(SaveHead(doc, dir.path(), "UND"));
  EXPECT_EQ(doc.ItemCount, 3);
  // A breakdown delete leaves the count in force one below what the undo copy holds.
  doc.ItemList.pop_back();
  doc.ItemCount = 2;
  ASSERT_TRUE(LoadHead(doc, dir.path(), "UND"));
  EXPECT_EQ(doc.ItemCount, 3);
  EXPECT_EQ(doc.LastItem(), 3);
}

TEST_F(WorkFiles, LoadHeadDropsAPartialItemAndKeepsAtLeastOne) {
  ASSERT_TRUE(SaveHead(doc, dir.path(), "WRK"));
  auto bytes = *ReadFileBytes(dir.file("HEAD.WRK"));
  ASSERT_TRUE(WriteFileAtomic(dir.file("HEAD.WRK"), bytes.substr(0, 776 + 4 + 100)));
  doc.Title.Opt1Int = 1;
  ASSERT_TRUE(SaveHead(doc, dir.path(), "UND"));
  ASSERT_TRUE(LoadHead(doc, dir.path(), "WRK"));
  EXPECT_EQ(doc.ItemCount, 1);
  EXPECT_EQ(doc.ItemList[1].ItemKind, 10);
  ASSERT_TRUE(LoadHead(doc, dir.path(), "UND"));
  EXPECT_EQ(doc.Layout, ColumnLayout::Ten);
  EXPECT_FALSE(LoadHead(doc, dir.path(), "XXX"));
}

TEST(WorkCodec, HeadBytesHoldTheTitleTheCountAndWholeItems) {
  TitleRecord title{};
  title.KETA = 7;
  std::vector<ItemRecord> items(2, NewItem());
  items[1].ItemKind = 95;
  const std::string bytes = EncodeHead(title, items);
  ASSERT_EQ(bytes.size(), 776u + 4 + 2 * 248);
  auto head = DecodeHead(bytes);
  ASSERT_TRUE(head);
  EXPECT_EQ(head->Title.KETA, 7);
  ASSERT_EQ(head->Items.size(), 2u);
  EXPECT_EQ(head->Items[1].ItemKind, 95);
  // The title alone or with its count cut short holds no item; less than a title is no head.
  EXPECT_EQ(DecodeHead(bytes.substr(0, 776))->Items.size(), 0u);
  EXPECT_EQ(DecodeHead(bytes.substr(0, 778))->Items.size(), 0u);
  EXPECT_EQ(DecodeHead(bytes.substr(0, 776 + 4 + 248 + 247))->Items.size(), 1u);
  EXPECT_FALSE(DecodeHead(bytes.substr(0, 775)));
}

TEST(WorkCodec, RecordFilesDropATrailingPartialRecordAndCleanPadding) {
  TempDir dir;
  const std::string path = dir.file("WITEM1.WRK");
  std::vector<LineRecord> lines{Line(10, 1, 2), Line(20, 3, 4)};
  ASSERT_TRUE(WriteRecords(path, lines));
  std::string bytes = *ReadFileBytes(path);
  ASSERT_EQ(bytes.size(), 2 * 288u);
  EXPECT_EQ(std::memcmp(bytes.data() + 288, &lines[1], 288), 0);
  bytes[288 + 105] = 'p';        // padding after NameSpec
  bytes[288 + 4] = char(120);    // a NameSpec length above its 100 bytes
  ASSERT_TRUE(WriteFileAtomic(path, bytes + "xyz"));
  auto read = ReadRecords<LineRecord>(path);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), 2u);
  EXPECT_EQ((*read)[1].FLAG, 20);
  EXPECT_EQ((*read)[1].pad105[0], 0);
  EXPECT_EQ((*read)[1].NameSpec.len, 100);
  // The raw form keeps every byte for readers that check them.
  auto raw = DecodeRawRecords<LineRecord>(bytes + "xyz");
  ASSERT_EQ(raw.size(), 2u);
  EXPECT_EQ(raw[1].pad105[0], 'p');
  EXPECT_EQ(raw[1].NameSpec.len, 120);
  EXPECT_FALSE(ReadRecords<LineRecord>(dir.file("missing")));
}

TEST(WorkCodec, TitleFileIsOneWholeTitleRecord) {
  TitleRecord title = EmptyDocumentTitle();
  title.NUMBER.set("BD-12");
  title.KETA = 100;
  const std::string bytes = EncodeTitle(title);
  ASSERT_EQ(bytes.size(), 776u);
  EXPECT_EQ(bytes.substr(430, 6), std::string("\x05" "BD-12", 6));
  int32_t keta = 0;
  std::memcpy(&keta, bytes.data() + 764, 4);
  EXPECT_EQ(keta, 100);
  // The head of a HEAD file decodes as the same title; fewer bytes are no title.
  EXPECT_EQ(DecodeTitle(EncodeHead(title, {}))->NUMBER.str(), "BD-12");
  EXPECT_EQ(EncodeTitle(*DecodeTitle(bytes + "tail")), bytes);
  EXPECT_FALSE(DecodeTitle(bytes.substr(0, 775)));
  EXPECT_TRUE(IsWholeHeadSize(776 + 4));
  EXPECT_TRUE(IsWholeHeadSize(776 + 4 + 2 * 248));
  EXPECT_FALSE(IsWholeHeadSize(776 + 4 + 247));
  EXPECT_FALSE(IsWholeHeadSize(776));
}

TEST(WorkCodec, ClientNumberRewritesOnlyTheSerialOfTheMatchingRecord) {
  TempDir dir;
  ClientNumberRecord a, b;
  std::memset(a.head, 'a', sizeof a.head);
  std::memset(b.gap, 'g', sizeof b.gap);
  a.Prefix.set("AB-");
  b.Prefix.set("BD-");
  a.LastSerial = 3;
  b.LastSerial = 7;
  std::string before;
  before.append(reinterpret_cast<const char*>(&a), sizeof a);
  before.append(reinterpret_cast<const char*>(&b), sizeof b);
  before += "rest";  // a trailing partial record stays as it is
  ASSERT_TRUE(WriteFileAtomic(dir.file("ATESAKI.DAT"), before));
  TitleRecord title{};
  title.id.set("BD-");
  title.NUMBER.set("BD-12");
  ASSERT_TRUE(UpdateClientNumber(title, dir.path()));
  std::string expected = before;
  const int32_t twelve = 12;
  std::memcpy(expected.data() + 236 + 232, &twelve, 4);
  EXPECT_EQ(*ReadFileBytes(dir.file("ATESAKI.DAT")), expected);
  title.NUMBER.set("BD-11");  // not above the last serial: nothing written
  EXPECT_FALSE(UpdateClientNumber(title, dir.path()));
  EXPECT_EQ(*ReadFileBytes(dir.file("ATESAKI.DAT")), expected);
}

TEST_F(WorkFiles, TrailingPartialLineRecordIsNotRead) {
  doc.LineList.push_back(Line(10, 1, 1));
  ASSERT_TRUE(SaveSheet(doc, dir.path(), "WRK"));
  auto bytes = *ReadFileBytes(dir.file("WITEM1.WRK"));
  ASSERT_TRUE(WriteFileAtomic(dir.file("WITEM1.WRK"), bytes + std::string(100, 'x')));
  ResetSheetLists(doc);
  EXPECT_EQ(LoadSheet(doc, dir.path(), 1), 1);
  EXPECT_EQ(doc.LastLine(), 1);
}

TEST_F(WorkFiles, EnsureItemAppendsNewItemsAndLeavesTheSheetEmpty) {
  doc.ItemList.push_back(NewItem());
  doc.LineList.push_back(Line(10, 1, 1));
  doc.Settings.QuantityScale = Money::Units(10);
  EnsureItemAndLoadSheet(doc, dir.path(), 5);
  EXPECT_EQ(doc.LastItem(), 5);
  for (int i = 3; i <= 5; ++i) EXPECT_EQ(doc.ItemList[i].ItemKind, 10);
  EXPECT_EQ(doc.LastLine(), 0);
  EXPECT_EQ(doc.Settings.QuantityScale, Money::Units(10));  // settings in force unchanged
}

TEST_F(WorkFiles, LoadSheetTakesTheItemsSettingsEvenWithoutAFile) {
  doc.ItemList[1].Opt3Unit = Money::Units(1000);
  EXPECT_EQ(LoadSheet(doc, dir.path(), 1), 0);
  EXPECT_EQ(doc.Settings.Opt3Unit, Money::Units(1000));
}

TEST_F(WorkFiles, BackupsRenameMixedCaseNamesAndReplaceOldBackups) {
  for (const char* name : {"witem1.wrk", "WITEM2.Wrk", "WITEM1.PUP", "datasort1.WRK",
                           "HEAD_TITLE.WRK", "HEAD.bak", "OLD.bup", "old.BRK", "HEAD.UND", "WITEM1.UND",
                           "Zantro.conf"})
    ASSERT_TRUE(WriteFileAtomic(dir.file(name), name));
  ASSERT_TRUE(SaveHead(doc, dir.path(), "WRK"));
  auto head = *ReadFileBytes(dir.file("HEAD.WRK"));
  InitDocument(doc, dir.path(), true);
  EXPECT_EQ(Sorted(ListFiles(dir.path())),
            Sorted({"HEAD.bak", "witem1.brk", "WITEM2.brk", "WITEM1.bup", "datasort1.brk", "HEAD_TITLE.brk",
                    "HEAD.UND", "Zantro.conf"}));
  EXPECT_EQ(*ReadFileBytes(dir.file("HEAD.bak")), head);
}

TEST_F(WorkFiles, ARotationResumedAfterAKillKeepsTheBackupsItMade) {
  // Killed half-way: HEAD.bak already gone, item 1 already a backup, item 2 not yet.
  ASSERT_TRUE(SaveHead(doc, dir.path(), "WRK"));
  ASSERT_TRUE(WriteFileAtomic(dir.file("WITEM1.brk"), "made"));
  ASSERT_TRUE(WriteFileAtomic(dir.file("WITEM2.WRK"), "two"));
  InitDocument(doc, dir.path(), true);
  EXPECT_EQ(Sorted(ListFiles(dir.path())), Sorted({"HEAD.bak", "WITEM1.brk", "WITEM2.brk"}));
  EXPECT_EQ(*ReadFileBytes(dir.file("WITEM1.brk")), "made");
  EXPECT_EQ(*ReadFileBytes(dir.file("WITEM2.brk")), "two");
}

TEST_F(WorkFiles, AnIncompleteSetIsRemovedAndTheBackupsStay) {
  // Sheets without their head, or with a torn one: what a killed open leaves.
  for (const char* torn : {"", "HEAD"}) {
    for (const char* name : {"WITEM1.WRK", "WITEM1.PUP", "HEAD.bak", "WITEM1.brk", "WITEM1.UND"})
      ASSERT_TRUE(WriteFileAtomic(dir.file(name), name));
    if (*torn) {
      ASSERT_TRUE(WriteFileAtomic(dir.file("HEAD.WRK"), std::string(sizeof(TitleRecord) + 5, 'x')));
    }
    InitDocument(doc, dir.path(), true);
    EXPECT_EQ(Sorted(ListFiles(dir.path())), Sorted({"HEAD.bak", "WITEM1.brk"}));
    EXPECT_EQ(*ReadFileBytes(dir.file("HEAD.bak")), "HEAD.bak");
  }
}

TEST_F(WorkFiles, BackupWithNoPreviousFilesStillStartsTheDocument) {
  doc.ItemList.push_back(NewItem());
  InitDocument(doc, dir.path(), true);
  EXPECT_TRUE(ListFiles(dir.path()).empty());
  EXPECT_EQ(doc.LastItem(), 1);
}

TEST_F(WorkFiles, ClearWorkFilesAlsoRemovesUndoSheets) {
  for (const char* name : {"HEAD.WRK", "WITEM1.WRK", "WITEM1.PUP", "DATASORT1.WRK", "WITEM12.UND", "HEAD.UND",
                           "WITEM.UND", "HEAD.bak"})
    ASSERT_TRUE(WriteFileAtomic(dir.file(name), "x"));
  ClearWorkFiles(dir.path());
  EXPECT_EQ(Sorted(ListFiles(dir.path())), Sorted({"HEAD.UND", "WITEM.UND", "HEAD.bak"}));
}

TEST_F(WorkFiles, UndoSetRestoresTheStateBeforeAnEdit) {
  doc.LineList.push_back(Line(10, 100, 1));
  ASSERT_TRUE(SaveSheet(doc, dir.path(), "UND"));
  doc.LineList.push_back(Line(10, 200, 2));
  ASSERT_TRUE(SaveSheet(doc, dir.path(), "WRK"));
  ASSERT_TRUE(LoadHead(doc, dir.path(), "UND"));
  ReloadSheet(doc, dir.path(), "UND");
  EXPECT_EQ(doc.LastLine(), 1);
  doc.CurrentItem = 7;  // no such sheet file: nothing changes
  ReloadSheet(doc, dir.path(), "UND");
  EXPECT_EQ(doc.LastLine(), 1);
}

TEST_F(WorkFiles, SheetFilesAreFoundAndReplacedWithoutRegardToCase) {
  doc.LineList.push_back(Line(10, 1, 1));
  std::vector<LineRecord> one(1, Line(30, 0, 0));
  ASSERT_TRUE(WriteRecords(dir.file("witem1.wrk"), one));
  ASSERT_TRUE(SaveSheet(doc, dir.path(), "WRK"));
  EXPECT_TRUE(FileExists(dir.file("witem1.wrk")));
  EXPECT_FALSE(FileExists(dir.file("WITEM1.WRK")));
  ResetSheetLists(doc);
  LoadSheet(doc, dir.path(), 1);
  ASSERT_EQ(doc.LastLine(), 1);
  EXPECT_EQ(doc.LineList[1].FLAG, 10);
}

TEST(GroupNames, JoinAndSplit) {
  std::array<std::string, 6> names = {"A1", "B1", "C1", "D1", "E1", "F1,x"};
  EXPECT_EQ(JoinGroupNames(names), "A1,B1,C1,D1,E1,F1,x");
  auto back = SplitGroupNames("A1,B1,C1,D1,E1,F1,x");
  EXPECT_EQ(back[0], "A1");
  EXPECT_EQ(back[4], "E1");
  EXPECT_EQ(back[5], "F1,x");  // the sixth name is the rest of the text
  EXPECT_EQ(JoinGroupNames({std::string(50, 'a'), std::string(50, 'b')}).size(), 80u);
}

class ClientNumbers : public ::testing::Test {
 protected:
  void Write(std::vector<std::pair<std::string, int32_t>> recs) {
    std::string bytes;
    for (auto& [prefix, serial] : recs) {
      ClientNumberRecord r{};
      std::memset(r.head, 'h', sizeof r.head);
      std::memset(r.gap, 'g', sizeof r.gap);
      r.Prefix.set(prefix);
      r.LastSerial = serial;
      bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
    }
    ASSERT_TRUE(WriteFileAtomic(dir.file("ATESAKI.DAT"), bytes));
  }
  int32_t SerialOf(size_t i) {
    auto bytes = *ReadFileBytes(dir.file("ATESAKI.DAT"));
    int32_t v;
    std::memcpy(&v, bytes.data() + i * 236 + 232, 4);
    return v;
  }
  TitleRecord Title(const std::string& id, const std::string& number) {
    TitleRecord t{};
    t.id.set(id);
    t.NUMBER.set(number);
    return t;
  }
  TempDir dir;
};

TEST_F(ClientNumbers, RaisesTheSerialOfTheFirstMatchingPrefixOnly) {
  Write({{"", 0}, {"KA", 5}, {"KB", 1}, {"KB", 2}});
  auto before = *ReadFileBytes(dir.file("ATESAKI.DAT"));
  EXPECT_TRUE(UpdateClientNumber(Title("KB", "KB0042"), dir.path()));
  EXPECT_EQ(SerialOf(2), 42);
  EXPECT_EQ(SerialOf(3), 2);
  auto after = *ReadFileBytes(dir.file("ATESAKI.DAT"));
  before.replace(2 * 236 + 232, 4, after.substr(2 * 236 + 232, 4));
  EXPECT_EQ(before, after);  // every other byte as it was
}

TEST_F(ClientNumbers, WritesNothingForALowerSerialOrANonNumber) {
  Write({{"KA", 50}});
  EXPECT_FALSE(UpdateClientNumber(Title("KA", "KA0042"), dir.path()));
  EXPECT_FALSE(UpdateClientNumber(Title("KA", "KA12X"), dir.path()));
  EXPECT_FALSE(UpdateClientNumber(Title("KZ", "KZ0099"), dir.path()));
  EXPECT_EQ(SerialOf(0), 50);
  EXPECT_FALSE(UpdateClientNumber(Title("KA", "KA0042"), dir.path() + "/missing"));
}

}  // namespace
}  // namespace zantro

namespace zantro {
namespace {

TEST(LongPathName, SpellsEachComponentAsStoredAndKeepsWhatIsMissing) {
  testing::TempDir dir;
  ASSERT_EQ(mkdir((dir.path() + "/Data").c_str(), 0700), 0);
  ASSERT_EQ(mkdir((dir.path() + "/Data/Sub").c_str(), 0700), 0);
  ASSERT_TRUE(WriteFileAtomic(dir.path() + "/Data/Sub/File.TXT", "x"));
  EXPECT_EQ(LongPathName(dir.path() + "/data/./SUB/file.txt"), dir.path() + "/Data/Sub/File.TXT");
  EXPECT_EQ(LongPathName(dir.path() + "/data/none/x"), dir.path() + "/Data/none/x");
  EXPECT_EQ(LongPathName(dir.path() + "/Data/Sub/../Sub"), dir.path() + "/Data/Sub");
  char cwd[4096];
  ASSERT_TRUE(getcwd(cwd, sizeof cwd));
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  std::string relative = LongPathName("data/sub");
  ASSERT_EQ(chdir(cwd), 0);
  EXPECT_EQ(relative, dir.path() + "/Data/Sub");
}

}  // namespace
}  // namespace zantro
