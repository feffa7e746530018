// The version-1 import: byte offsets of every field, the end of the lines, and damaged files
// that change nothing.
#include "general/version1.h"

#include <gtest/gtest.h>

#include <cstring>

#include "general/doccheck.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;

Money M(std::string_view text) { return StrToCurr(text); }

// A version-1 record image: fields are poked in at their offsets.
struct Image {
  std::string bytes;
  size_t base = 0;

  Image& Start(size_t size) {
    base = bytes.size();
    bytes.append(size, '\0');
    return *this;
  }
  Image& Int(size_t off, int32_t v) {
    std::memcpy(&bytes[base + off], &v, 4);
    return *this;
  }
  Image& Value(size_t off, std::string_view money) {
    int64_t raw = M(money).raw;
    std::memcpy(&bytes[base + off], &raw, 8);
    return *this;
  }
  Image& Text(size_t off, std::string_view t) {
    bytes[base + off] = static_cast<char>(t.size());
    std::memcpy(&bytes[base + off + 1], t.data(), t.size());
    return *this;
  }
};

Image Title(int32_t itemCount) {
  Image f;
  f.Start(464)
      .Text(0, "ID-")
      .Text(13, "client")
      .Text(54, "works")
      .Value(96, "1000")
      .Value(104, "800")
      .Text(112, "site")
      .Text(143, "m")
      .Text(164, "limit")
      .Text(185, "trade")
      .Text(216, "ID-7")
      .Int(228, 8)
      .Int(232, 4)
      .Int(236, 1)
      .Text(240, "me")
      .Text(261, "you")
      .Int(284, 20)
      .Int(288, 77)
      .Text(292, "A,B,C,D,E,F")
      .Text(373, ",,,")
      .Int(456, 1)
      .Int(460, 2);
  f.Start(4).Int(0, itemCount);
  return f;
}

void AddItem(Image& f, int32_t kind, std::string_view name) {
  f.Start(140)
      .Int(0, kind)
      .Text(4, name)
      .Value(48, "500")
      .Value(56, "400")
      .Value(64, "0.9")
      .Value(72, "0.5")
      .Value(80, "1000")
      .Value(88, "10")
      .Text(96, "note");
}

void AddLine(Image& f, int32_t item, int32_t kind, std::string_view name = "pipe;20A") {
  f.Start(228)
      .Int(0, item)
      .Text(4, name)
      .Value(88, "1.5")
      .Value(96, "12001")
      .Text(104, "metre")
      .Int(112, kind)
      .Value(116, "2.25")
      .Value(124, "3")
      .Value(132, "100")
      .Value(140, "120")
      .Value(148, "7")
      .Value(156, "8")
      .Value(164, "999")  // where amounts once stood: not read
      .Int(180, 42)
      .Text(184, "remark");
}

TEST(Version1, FieldsLandAtTheirTargets) {
  Image f = Title(2);
  AddItem(f, 10, "item one");
  AddItem(f, 30, "item two");
  AddLine(f, 1, 10, std::string(83, 'n'));
  AddLine(f, 2, 20);
  AddLine(f, 1, 30);  // not consecutive: appended to item 1
  ParsedDocument doc = ParseVersion1Bytes(f.bytes, "old.znt");

  const TitleRecord& t = doc.Title;
  EXPECT_EQ(t.id.view(), "ID-");
  EXPECT_EQ(t.ATESAKI_1.view(), "client");
  EXPECT_EQ(t.CONSTRACT_1.view(), "works");
  EXPECT_EQ(t.ALLGTOTAL, M("1000"));
  EXPECT_EQ(t.ALLNTOTAL, M("800"));
  EXPECT_EQ(t.WHERE.view(), "site");
  EXPECT_EQ(t.MLIMIT.view(), "m");
  EXPECT_EQ(t.ULIMIT.view(), "limit");
  EXPECT_EQ(t.TRADE.view(), "trade");
  EXPECT_EQ(t.NUMBER.view(), "ID-7");
  EXPECT_EQ(t.DY, 8);
  EXPECT_EQ(t.DM, 4);
  EXPECT_EQ(t.DD, 1);
  EXPECT_EQ(t.INTANTO.view(), "me");
  EXPECT_EQ(t.OUTTANTO.view(), "you");
  EXPECT_EQ(t.DATALEVEL, 20);
  EXPECT_EQ(t.KEYCODE, 77);
  EXPECT_EQ(t.Opt1Str.view(), "A,B,C,D,E,F");
  EXPECT_EQ(t.Opt2Str.view(), ",,,");
  EXPECT_EQ(t.Opt1Int, 1);
  EXPECT_EQ(t.Opt2Int, 2);
  // What version 1 lacks: the empty document's values.
  EXPECT_TRUE(t.ATESAKI_2.empty() && t.CONSTRACT_2.empty() && t.Opt3Str.empty());
  EXPECT_EQ(t.Opt3Int, 0);
  EXPECT_EQ(t.TAXGTOTAL, kZero);
  EXPECT_EQ(t.KETA, 1);
  EXPECT_EQ(t.CUTLEVEL, kHalf);

  ASSERT_EQ(doc.ItemCount(), 2);
  const ItemRecord& item = doc.Items[1];
  EXPECT_EQ(item.ItemKind, 30);
  EXPECT_EQ(item.ItemName.view(), "item two");
  EXPECT_EQ(item.ALLGTOTAL, M("500"));
  EXPECT_EQ(item.ALLNTOTAL, M("400"));
  EXPECT_EQ(item.Settings().LineRoundAddend, kNineTenths);
  EXPECT_EQ(item.QuantityScale, Money::Units(1000));
  EXPECT_EQ(item.Opt3Unit, Money::Units(10));
  EXPECT_EQ(item.Opt6RoundAddend, kZero);
  EXPECT_EQ(item.ItemNote.view(), "note");

  ASSERT_EQ(doc.Lines[1].size(), 2u);
  ASSERT_EQ(doc.Lines[2].size(), 1u);
  EXPECT_EQ(doc.Lines[1][0].NameSpec.view(), std::string(83, 'n'));
  EXPECT_EQ(doc.Lines[1][1].FLAG, 30);
  const LineRecord& l = doc.Lines[2][0];
  EXPECT_EQ(l.ItemNo, 2);
  EXPECT_EQ(l.NameSpec.view(), "pipe;20A");
  EXPECT_EQ(l.LabourFactor, M("1.5"));
  EXPECT_EQ(l.sort, M("12001"));
  EXPECT_EQ(l.Unit.view(), "metr");
  EXPECT_EQ(l.FLAG, 20);
  EXPECT_EQ(l.CostQty, M("2.25"));
  EXPECT_EQ(l.SubQty, M("3"));
  EXPECT_EQ(l.CostPrice, M("100"));
  EXPECT_EQ(l.SubPrice, M("120"));
  EXPECT_EQ(l.CostExtraPrice, M("7"));
  EXPECT_EQ(l.SubExtraPrice, M("8"));
  EXPECT_EQ(l.CostAmount, kZero);
  EXPECT_EQ(l.RefA, 42);
  EXPECT_EQ(l.Remarks.view(), "remark");
}

TEST(Version1, LinesEndAtKind999OrAtTheLastWholeLine) {
  Image f = Title(1);
  AddItem(f, 10, "a");
  AddLine(f, 1, 10);
  AddLine(f, 1, 999);
  AddLine(f, 1, 10);
  EXPECT_EQ(ParseVersion1Bytes(f.bytes, "x").Lines[1].size(), 1u);

  Image g = Title(1);
  AddItem(g, 10, "a");
  AddLine(g, 1, 10);
  AddLine(g, 1, 10);
  g.bytes.resize(g.bytes.size() - 1);
  EXPECT_EQ(ParseVersion1Bytes(g.bytes, "x").Lines[1].size(), 1u);
}

TEST(Version1, ImportWritesHeadAndSheets) {
  TempDir dir;
  Image f = Title(2);
  AddItem(f, 10, "a");
  AddItem(f, 10, "b");
  AddLine(f, 2, 10);
  std::string path = dir.file("old.ZNT");
  ASSERT_TRUE(WriteFileAtomic(path, f.bytes));
  EXPECT_EQ(ImportVersion1(path, dir.path()), 2);
  EXPECT_EQ(ReadFileBytes(dir.file("HEAD.WRK"))->size(), 776u + 4 + 2 * 248);
  EXPECT_EQ(ReadRecords<LineRecord>(dir.file("WITEM1.WRK"))->size(), 0u);  // created though empty
  EXPECT_EQ(ReadRecords<LineRecord>(dir.file("WITEM2.WRK"))->size(), 1u);
  EXPECT_FALSE(FileExists(dir.file("WITEM1.PUP")));
  Document doc;
  ASSERT_TRUE(LoadHead(doc, dir.path(), "WRK"));
  EXPECT_EQ(doc.ItemCount, 2);
  EXPECT_EQ(doc.Layout, ColumnLayout::Ten);
}

TEST(Version1, DamagedFilesFailWithTheOffsetAndChangeNothing) {
  auto expectFails = [](const std::string& bytes, const std::string& part) {
    TempDir dir;
    std::string path = dir.file("bad.znt");
    ASSERT_TRUE(WriteFileAtomic(path, bytes));
    try {
      ImportVersion1(path, dir.path());
      ADD_FAILURE() << "import succeeded for " << part;
    } catch (const FileError& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
    EXPECT_EQ(ListFiles(dir.path()).size(), 1u);
  };
  expectFails(std::string(100, '\0'), "byte offset 0, title");
  expectFails(std::string(466, '\0'), "byte offset 464, item count");
  expectFails(Title(-1).bytes, "byte offset 464, item count: -1");
  Image two = Title(2);
  AddItem(two, 10, "a");
  expectFails(two.bytes, "byte offset 464, item count: 2");
  expectFails(Title(2000000000).bytes, "item count: 2000000000");
  Image zero = Title(1);
  AddItem(zero, 10, "a");
  AddLine(zero, 1, 10);
  AddLine(zero, 0, 10);
  expectFails(zero.bytes, "byte offset 836, line item number");
  // A line of an item past the list would vanish: refused as well.
  Image past = Title(1);
  AddItem(past, 10, "a");
  AddLine(past, 2, 10);
  expectFails(past.bytes, "byte offset 608, line item number: no item has the number 2 (the document has 1)");

  TempDir dir;
  EXPECT_THROW(ParseVersion1(dir.file("missing.znt")), FileError);
}

// A text that is no Shift-JIS is refused with its byte offset and field; a field its text fills
// may end in half a character, as the records cut it.
TEST(Version1, TextsThatAreNoShiftJisAreRefusedByOffsetAndField) {
  auto fails = [](const Image& f) -> std::string {
    try {
      ParseVersion1Bytes(f.bytes, "old.znt");
    } catch (const FileError& e) {
      return e.what();
    }
    return "(read)";
  };
  Image item = Title(1);
  AddItem(item, 10, "工事");  // UTF-8: E5 B7 | A5 | E4 BA | 8B, the last a lead byte alone
  EXPECT_EQ(fails(item), "old.znt: byte offset 478, item ItemName: byte 6 (0x8B) is no Shift-JIS character; "
                         "the text reads as UTF-8: \"工事\" (save the file as Shift-JIS)");
  Image line = Title(1);
  AddItem(line, 10, "a");
  AddLine(line, 1, 10, "pipe\xFF");
  EXPECT_EQ(fails(line), "old.znt: byte offset 617, line NameSpec: byte 5 (0xFF) is no Shift-JIS character");
  Image title = Title(0);
  title.base = 0;
  title.Text(112, "site\x80");
  EXPECT_EQ(fails(title), "old.znt: byte offset 117, title WHERE: byte 5 (0x80) is no Shift-JIS character");

  // Remarks (40 bytes) filled by 19 characters, a letter and the lead byte of a character the
  // record cut: the half character is dropped.
  std::string kanji;
  for (int i = 0; i < 19; ++i) kanji += Sj("金");
  Image full = Title(1);
  AddItem(full, 10, Sj("ｱｲｳ配管"));
  AddLine(full, 1, 10);
  full.Text(184, kanji + "a\x8B");
  ParsedDocument doc = ParseVersion1Bytes(full.bytes, "old.znt");
  EXPECT_EQ(doc.Lines.at(1).at(0).Remarks.view(), kanji + "a");
  EXPECT_EQ(doc.Items.at(0).ItemName.view(), Sj("ｱｲｳ配管"));
  full.Text(184, kanji + "\x8B");  // the same half character in a field it does not fill
  EXPECT_EQ(fails(full), "old.znt: byte offset 831, line Remarks: byte 39 (0x8B) is no Shift-JIS character");
}

TEST(Version1, AFileIsReadAsWhatItHoldsWhateverItsName) {
  TempDir dir;
  Image f = Title(1);
  AddItem(f, 10, "a");
  AddLine(f, 1, 10);
  for (const char* name : {"old.znt2", "old.Znt", "old"}) {
    ASSERT_TRUE(WriteFileAtomic(dir.file(name), f.bytes));
    ParsedDocument doc = ParseDocumentFile(dir.file(name));
    EXPECT_FALSE(doc.WithTakeoffFiles) << name;  // imported as version 1
    EXPECT_EQ(doc.Lines.at(1).size(), 1u);
  }
  std::string container = "<TITLE>\r\n</TITLE>\r\n<ITEM>\r\n</ITEM>\r\n<DATA>\r\n</DATA>\r\n<PICKUP>\r\n</PICKUP>\r\n"
                          "<CONFIG>\r\n</CONFIG>\r\n</EOF>\r\n";
  ASSERT_TRUE(WriteFileAtomic(dir.file("new.znt"), container));
  EXPECT_TRUE(ParseDocumentFile(dir.file("new.znt")).WithTakeoffFiles);
  // Neither shape: refused as a container, or as a version-1 file by its extension.
  ASSERT_TRUE(WriteFileAtomic(dir.file("text.znt2"), std::string(600, 'x')));
  EXPECT_THROW(ParseDocumentFile(dir.file("text.znt2")), FileError);
  EXPECT_FALSE(LooksLikeVersion1(std::string(600, 'x')));
  EXPECT_FALSE(LooksLikeVersion1(container));
}

TEST(Version1, OnlyTheExactExtensionsAreVersion1) {
  EXPECT_TRUE(IsVersion1Path("/a/b.znt"));
  EXPECT_TRUE(IsVersion1Path("B.ZNT"));
  EXPECT_FALSE(IsVersion1Path("b.Znt"));
  EXPECT_FALSE(IsVersion1Path("b.znt2"));
}

}  // namespace
}  // namespace zantro
