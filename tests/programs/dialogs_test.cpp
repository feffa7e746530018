// The parts of the dialogs that hold rules rather than widgets: the line-entry form, the
// document list and the proposed file name. The dialogs themselves are run headless by the
// script tests, beside a listening window or the real one.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <cstring>
#include <set>

#include "docsavedialog.h"
#include "common/documents.h"
#include "general/container.h"
#include "general/engine.h"
#include "general/errors.h"
#include "lineform.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;

Money M(const char* text) { return TextToMoney(text); }

TEST(LineForm, EveryKindOfferedIsNamedOnceAndKeepsItsGroupKey) {
  GroupNames names{Sj("鋼管"), Sj("銅管"), Sj("樹脂管"), Sj("ダクト"), Sj("機器"), Sj("雑材")};
  std::set<std::string> texts;
  for (const KindChoice& k : KindChoices(names)) {
    EXPECT_FALSE(k.Text.empty()) << k.Flag;
    EXPECT_EQ(k.Text.find("その他"), std::string::npos) << k.Flag;
    EXPECT_TRUE(texts.insert(k.Text).second) << "two kinds read alike: " << k.Text;
  }
  EXPECT_EQ(KindText(53, names), "指定範囲内樹脂管単価合計×掛率");
  EXPECT_EQ(KindText(177, names), "その他の種別 (177)");
  EXPECT_EQ(ShapeOf(25), LineShape::AmountText);
  EXPECT_EQ(ShapeOf(66), LineShape::RangeLabour);
  EXPECT_EQ(ShapeOf(74), LineShape::RangeRate);
  EXPECT_EQ(ShapeOf(82), LineShape::OverheadRounded);
  EXPECT_EQ(ShapeOf(110), LineShape::Priced);

  // A key stays inside its group's range, however far down the line stands.
  for (int g = 0; g < 6; ++g)
    for (int32_t row : {1, 1999, 2999, 100000}) EXPECT_EQ(GroupOf(SortKeyFor(g, row)), g) << g << " " << row;
  EXPECT_EQ(GroupOf(M("12000")), 0);
  EXPECT_EQ(GroupOf(M("12001")), 1);
  EXPECT_EQ(GroupOf(M("24000.5")), 4);
  EXPECT_EQ(GroupOf(M("30000")), 5);
  EXPECT_EQ(GroupOf(M("-5")), 0);
}

LineRecord Priced(int32_t flag, const char* qty, const char* price) {
  LineRecord l;
  l.FLAG = flag;
  l.CostQty = l.SubQty = M(qty);
  l.CostPrice = l.SubPrice = M(price);
  l.sort = M("10001");
  return l;
}

TEST(LineForm, PreviewComputesWithTheSheetSettingsAndLeavesTheSheetAsItWas) {
  Document doc;
  doc.Settings.LineRoundAddend = M("0");  // cut
  doc.Settings.QuantityScale = M("10");   // one decimal
  doc.LineList.push_back(Priced(10, "3", "33.3"));  // 99.9 cut to 99

  // A decimal line three rows past the end: its quantity is cut to the sheet's precision.
  LineAmounts a = PreviewAmounts(doc, 4, Priced(20, "2.39", "100"));
  EXPECT_EQ(a.Cost, M("230"));
  EXPECT_EQ(a.Sub, M("230"));
  EXPECT_EQ(doc.LastLine(), 1);

  // A range line over line 1 at row 2, which exists: 10 % of 99 cut.
  doc.LineList.push_back(Priced(30, "0", "0"));
  LineRecord range;
  range.FLAG = 50;
  range.CostQty = M("1"), range.SubQty = M("1");
  range.CostPrice = M("10"), range.SubPrice = M("20");
  a = PreviewAmounts(doc, 2, range);
  EXPECT_EQ(a.Cost, M("9"));
  EXPECT_EQ(a.Sub, M("19"));
  EXPECT_EQ(doc.LineList[2].FLAG, 30);

  LineRecord huge = Priced(10, "900000000", "900000000");
  EXPECT_THROW(PreviewAmounts(doc, 3, huge), MoneyOverflow);
  EXPECT_EQ(doc.LastLine(), 2);
}

void SetModified(const std::string& path, time_t when) {
  utimbuf t{when, when};
  ASSERT_EQ(utime(path.c_str(), &t), 0);
}

std::string Version1File(const std::string& addressee, int64_t totalRaw) {
  std::string bytes(464 + 4, '\0');
  std::string a = Sj(addressee);
  bytes[13] = static_cast<char>(a.size());
  bytes.replace(14, a.size(), a);
  std::memcpy(bytes.data() + 96, &totalRaw, 8);
  int32_t count = 3;  // items follow in a real file; only the title is read
  std::memcpy(bytes.data() + 464, &count, 4);
  return bytes;
}

TEST(Documents, ListsTitlesNewestFirstReadingOnlyTheTitle) {
  TempDir dir;
  std::string sample = *ReadFileBytes(std::string(ZANTRO_SOURCE_DIR) + "/data/Sample/sample.znt2");
  // Only the title is read: what follows it may be anything.
  std::string titleOnly = sample.substr(0, sample.find("</TITLE>") + 8) + "\r\n<ITEM>\r\nnot an item\r\n";
  ASSERT_TRUE(WriteFileAtomic(dir.file("old.znt2"), sample));
  ASSERT_TRUE(WriteFileAtomic(dir.file("new.ZNT2"), titleOnly));
  ASSERT_TRUE(WriteFileAtomic(dir.file("broken.znt2"), "this is no document"));
  ASSERT_TRUE(WriteFileAtomic(dir.file("first.znt"), Version1File("旧版工業", 1234560000)));
  ASSERT_TRUE(WriteFileAtomic(dir.file("notes.txt"), "<TITLE>\r\n"));
  SetModified(dir.file("old.znt2"), 1000);
  SetModified(dir.file("new.ZNT2"), 3000);
  SetModified(dir.file("broken.znt2"), 2000);
  SetModified(dir.file("first.znt"), 500);

  auto docs = ListDocuments(dir.path());
  ASSERT_EQ(docs.size(), 4u);
  EXPECT_EQ(docs[0].File, "new.ZNT2");
  EXPECT_EQ(docs[1].File, "broken.znt2");
  EXPECT_EQ(docs[2].File, "old.znt2");
  EXPECT_EQ(docs[3].File, "first.znt");
  EXPECT_EQ(docs[0].Modified, 3000);
  ASSERT_TRUE(docs[0].Title && docs[2].Title && docs[3].Title);
  EXPECT_FALSE(docs[1].Title);
  TitleRecord full = ParseContainer(dir.file("old.znt2")).Title;
  EXPECT_EQ(0, std::memcmp(&*docs[2].Title, &full, sizeof full));
  EXPECT_EQ(ToUtf8(docs[0].Title->CONSTRACT_1.view()), "山田ビル空調換気設備改修工事");
  EXPECT_EQ(docs[0].Title->ALLGTOTAL, M("4597555"));
  EXPECT_EQ(ToUtf8(docs[3].Title->ATESAKI_1.view()), "旧版工業");
  EXPECT_EQ(docs[3].Title->ALLGTOTAL, M("123456"));
  EXPECT_THROW(ReadDocumentTitle(dir.file("broken.znt2")), FileError);
}

TEST(DocSave, ProposedNameComesFromThePathElseTheTitle) {
  TitleRecord t{};
  EXPECT_EQ(ProposedName("/home/a/見積/山田ビル.znt2", t), "山田ビル");
  EXPECT_EQ(ProposedName("/old/first.ZNT", t), "first");
  EXPECT_EQ(ProposedName("", t), "見積");
  t.NUMBER.set("SE-1024");
  EXPECT_EQ(ProposedName("", t), "SE-1024");
  t.CONSTRACT_1.set(Sj("A/B;棟"));
  EXPECT_EQ(ProposedName("", t), "SE-1024_A_B_棟");
}

}  // namespace
}  // namespace zantro
