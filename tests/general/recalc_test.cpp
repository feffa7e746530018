// The batch recalculation: the sample document is a fixed point, a bad input leaves OUT alone,
// the temporary folder goes, and the settings in force are those after opening.
#include "general/recalc.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <sstream>

#include "general/container.h"
#include "general/doccheck.h"
#include "general/engine.h"
#include "general/version1.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;

const std::string kSample = std::string(ZANTRO_SOURCE_DIR) + "/data/Sample/sample.znt2";

template <typename R>
bool SameBytes(const R& a, const R& b) {
  return std::memcmp(&a, &b, sizeof(R)) == 0;
}

// Runs the batch with TMPDIR pointing into a folder of the test, which must be empty again
// afterwards: the batch removes its work folder on every path.
struct Batch {
  TempDir dir;
  TempDir tmp;
  std::ostringstream err;

  int Run(const std::string& in, const std::string& out) {
    const char* old = getenv("TMPDIR");
    std::string saved = old ? old : "";
    setenv("TMPDIR", tmp.path().c_str(), 1);
    int status = RecalcDocument(in, out, err);
    old ? setenv("TMPDIR", saved.c_str(), 1) : unsetenv("TMPDIR");
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path())) << "work folder left behind";
    return status;
  }
};

std::string Body(std::string_view itemsUtf8, std::string_view dataUtf8, std::string_view title = "") {
  std::string text = "<TITLE>\n" + std::string(title) + "[KETA]=1\n</TITLE>\n<ITEM>\n" + std::string(itemsUtf8) +
                     "</ITEM>\n<DATA>\n" + std::string(dataUtf8) + "</DATA>\n<PICKUP>\n</PICKUP>\n<CONFIG>\n</CONFIG>\n</EOF>\n";
  return Sj(text);
}

std::string PricedLine(int item, std::string_view price, int flag = 10, std::string_view qty = "1") {
  return std::to_string(item) + ";品;;0;0;;" + std::to_string(flag) + ";" + std::string(qty) + ";" +
         std::string(qty) + ";" + std::string(price) + ";" + std::string(price) + ";0;0;0;0;0;0;0;0;;;\n";
}

TEST(Recalc, TheSampleDocumentCarriesItsComputedAmounts) {
  Batch b;
  std::string out = b.dir.file("out.znt2");
  ASSERT_EQ(b.Run(kSample, out), 0) << b.err.str();
  EXPECT_EQ(b.err.str(), "");
  ParsedDocument in = ParseContainer(kSample);
  ParsedDocument again = ParseContainer(out);
  EXPECT_TRUE(SameBytes(in.Title, again.Title));
  ASSERT_EQ(in.ItemCount(), again.ItemCount());
  for (int i = 0; i < in.ItemCount(); ++i) EXPECT_TRUE(SameBytes(in.Items[i], again.Items[i])) << "item " << i + 1;
  ASSERT_EQ(in.Lines.size(), again.Lines.size());
  for (const auto& [n, lines] : in.Lines) {
    ASSERT_EQ(lines.size(), again.Lines[n].size());
    for (size_t r = 0; r < lines.size(); ++r)
      EXPECT_TRUE(SameBytes(lines[r], again.Lines[n][r])) << "item " << n << " line " << r + 1;
  }
  EXPECT_EQ(*ReadFileBytes(out), *ReadFileBytes(kSample));
  // A realistic job: the grand total is not trivially zero.
  EXPECT_GT(in.Title.ALLGTOTAL, Money::Units(1000000));
}

TEST(Recalc, AmountsAreComputedNotTaken) {
  Batch b;
  std::string in = b.dir.file("in.znt2");
  // The quantity 1.255 of a kind-20 line is cut to 1.25 first.
  ASSERT_TRUE(WriteFileAtomic(in, Body("10;a;999;999;0.5;0.5;100;1;0.5;0;0;;0;0;\n",
                                       PricedLine(1, "1250", 10, "3") + PricedLine(1, "100", 20, "1.255"))));
  std::string out = b.dir.file("out.znt2");
  ASSERT_EQ(b.Run(in, out), 0) << b.err.str();
  ParsedDocument doc = ParseContainer(out);
  EXPECT_EQ(doc.Items[0].ALLGTOTAL, Money::Units(3750 + 125));
  EXPECT_EQ(doc.Title.ALLGTOTAL, Money::Units(3875));
  EXPECT_EQ(doc.Title.KETA, 1);
}

TEST(Recalc, SettingsInForceAreThoseOfTheItemOpenedFirst) {
  // Item 1 cuts (addend 0), item 3 rounds half up. The overhead item 2 rounds its submitted
  // amount by mode 3 with the addend in force: that of item 1, the item opening shows.
  Batch b;
  std::string in = b.dir.file("in.znt2");
  ASSERT_TRUE(WriteFileAtomic(in, Body("10;a;0;0;0;0.5;100;1;0.5;0;0;;0;0;\n"
                                       "81;o;0;0;100;100;3;0;0;0;0;;0;0;\n"
                                       "10;b;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\n",
                                       PricedLine(1, "1600"))));
  std::string out = b.dir.file("out.znt2");
  ASSERT_EQ(b.Run(in, out), 0) << b.err.str();
  EXPECT_EQ(ParseContainer(out).Items[1].ALLGTOTAL, Money::Units(1000));
}

TEST(Recalc, AnOpenedDocumentRoundsItsOverheadsWithTheSettingsOfTheItemShownFirst) {
  // Item 1 cuts, the last item rounds half up; items 2 and 4 round by mode 3 (thousands).
  // The check made on opening computes the list as the window then shows it: with item 1's
  // addend (1600 -> 1000), not the last sheet's (1600 -> 2000). Item 3 is no sheet; an item
  // shown first with an addend no sheet may hold rounds half up, as its sheet's check sets.
  TempDir dir;
  std::string in = dir.file("in.znt2");
  ASSERT_TRUE(WriteFileAtomic(in, Body("10;a;0;0;0;0.5;100;1;0.5;0;0;;0;0;\n"
                                       "81;o;0;0;100;100;3;0;0;0;0;;0;0;\n"
                                       "82;p;0;0;0;50;3;0;0;0;0;;0;0;\n"
                                       "10;b;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\n",
                                       PricedLine(1, "1600") + PricedLine(4, "5"))));
  ParsedDocument opened = ParseDocumentFile(in);
  CheckRecomputation(opened, in);
  ASSERT_EQ(opened.Items.size(), 4u);
  EXPECT_EQ(opened.Items[1].ALLGTOTAL, Money::Units(1000));
  EXPECT_EQ(opened.Items[2].ALLGTOTAL, Money::Units(1000));  // 50% of 2600 = 1300, cut to thousands
  EXPECT_EQ(opened.Title.ALLGTOTAL, Money::Units(1600 + 1000 + 1000 + 5));
  // The batch recalculation, behind --pdf, leaves the same items and title.
  Batch b;
  std::string out = b.dir.file("out.znt2");
  ASSERT_EQ(b.Run(in, out), 0) << b.err.str();
  ParsedDocument recalculated = ParseContainer(out);
  for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(SameBytes(recalculated.Items[i], opened.Items[i])) << "item " << i + 1;
  EXPECT_EQ(recalculated.Title.ALLGTOTAL, opened.Title.ALLGTOTAL);
  EXPECT_EQ(recalculated.Title.ALLNTOTAL, opened.Title.ALLNTOTAL);

  // A list that opens on a total item (kind 99, no sheet) with addend 0.1234: checked, 0.5.
  ASSERT_TRUE(WriteFileAtomic(in, Body("99;t;0;0;0.1234;0.5;100;1;0.5;0;0;;0;0;\n"
                                       "10;a;0;0;0;0.5;100;1;0.5;0;0;;0;0;\n"
                                       "81;o;0;0;100;100;3;0;0;0;0;;0;0;\n",
                                       PricedLine(2, "1600"))));
  opened = ParseDocumentFile(in);
  CheckRecomputation(opened, in);
  EXPECT_EQ(opened.Items[2].ALLGTOTAL, Money::Units(2000));
  ASSERT_EQ(b.Run(in, out), 0) << b.err.str();
  EXPECT_EQ(ParseContainer(out).Items[2].ALLGTOTAL, Money::Units(2000));
}

TEST(Recalc, Version1InputByItsExtension) {
  Batch b;
  std::string v1(464 + 4 + 140 + 228, '\0');
  int32_t one = 1, ten = 10;
  std::memcpy(&v1[464], &one, 4);
  std::memcpy(&v1[468], &ten, 4);
  size_t line = 468 + 140;
  std::memcpy(&v1[line], &one, 4);
  std::memcpy(&v1[line + 112], &ten, 4);
  int64_t three = 3 * Money::kScale, price = 500 * Money::kScale;
  std::memcpy(&v1[line + 116], &three, 8);
  std::memcpy(&v1[line + 124], &three, 8);
  std::memcpy(&v1[line + 132], &price, 8);
  std::memcpy(&v1[line + 140], &price, 8);
  std::string in = b.dir.file("old.znt");
  ASSERT_TRUE(WriteFileAtomic(in, v1));
  std::string out = b.dir.file("new.znt2");
  ASSERT_EQ(b.Run(in, out), 0) << b.err.str();
  EXPECT_EQ(ParseContainer(out).Title.ALLGTOTAL, Money::Units(1500));
}

TEST(Recalc, DuplicateTaxIsReportedAndTheRunSucceeds) {
  Batch b;
  std::string in = b.dir.file("in.znt2");
  std::string tax = "1;消費税;;0;0;;90;10;10;0;0;0;0;0;0;0;0;0;0;;;\n";
  ASSERT_TRUE(WriteFileAtomic(in, Body("10;a;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\n", PricedLine(1, "1000") + tax + tax)));
  std::string out = b.dir.file("out.znt2");
  EXPECT_EQ(b.Run(in, out), 0);
  EXPECT_NE(b.err.str().find(kDuplicateTaxMessage), std::string::npos) << b.err.str();
  EXPECT_TRUE(FileExists(out));
}

TEST(Recalc, ABadInputLeavesOutAlone) {
  Batch b;
  std::string in = b.dir.file("bad.znt2");
  ASSERT_TRUE(WriteFileAtomic(in, Body("10;a;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\n",
                                       PricedLine(1, "100") + PricedLine(1, "1O0"))));
  std::string out = b.dir.file("out.znt2");
  ASSERT_TRUE(WriteFileAtomic(out, "previous"));
  EXPECT_EQ(b.Run(in, out), 1);
  EXPECT_NE(b.err.str().find(in + ": line 9, data field 10 (CostPrice)"), std::string::npos) << b.err.str();
  EXPECT_EQ(*ReadFileBytes(out), "previous");

  std::string fresh = b.dir.file("fresh.znt2");
  EXPECT_EQ(b.Run(b.dir.file("missing.znt2"), fresh), 1);
  EXPECT_FALSE(FileExists(fresh));
  EXPECT_EQ(b.Run(kSample, b.dir.file("no/such/folder.znt2")), 1);
}

TEST(Recalc, CommandLine) {
  std::string program = std::string(ZANTRO_PROGRAM_DIR) + "/zantro";
  ASSERT_TRUE(FileExists(program)) << "the test build builds zantro first";
  TempDir dir;
  std::string out = dir.file("out.znt2");
  EXPECT_EQ(std::system((program + " --recalc '" + kSample + "' '" + out + "'").c_str()), 0);
  EXPECT_EQ(*ReadFileBytes(out), *ReadFileBytes(kSample));
  EXPECT_NE(std::system((program + " --recalc only-one 2>/dev/null").c_str()), 0);
  EXPECT_NE(std::system((program + " --recalc '" + dir.file("none") + "' '" + out + "' 2>/dev/null").c_str()), 0);
}

// The batch as the window's own steps would run it over work files in a folder: open, load,
// recompute and save every sheet, select the first item, the breakdown, save, write. The batch
// keeps these files in memory and must give the same bytes, messages and errors.
std::ostringstream* referenceMessages = nullptr;
void ReferenceMessage(const std::string& text) { *referenceMessages << "zantro: " << text << "\n"; }

struct Outcome {
  int Status;
  std::string Err;
  std::string Out;
};

Outcome ThroughWorkFiles(const std::string& in, const std::string& out) {
  TempDir folder;
  std::ostringstream err;
  referenceMessages = &err;
  int status = 0;
  try {
    Document doc;
    InitDocument(doc, folder.path(), false);
    IsVersion1Path(in) ? ImportVersion1(in, folder.path()) : ReadContainer(in, folder.path());
    LoadHead(doc, folder.path(), "WRK");
    doc.GroupNames = SplitGroupNames(doc.Title.Opt1Str.view());
    for (int32_t n = 1; n <= doc.LastItem(); ++n) {
      if (!ItemHasSheet(doc.ItemList[n].ItemKind)) continue;
      doc.CurrentItem = n;
      EnsureItemAndLoadSheet(doc, folder.path(), n);
      RecomputeSheet(doc, ReferenceMessage);
      SaveSheet(doc, folder.path(), "WRK");
    }
    doc.CurrentItem = 1;
    for (int32_t n = doc.LastItem(); n >= 1; --n)
      if (ItemOpensFirst(doc.ItemList[n].ItemKind)) doc.CurrentItem = n;
    EnsureItemAndLoadSheet(doc, folder.path(), doc.CurrentItem);
    RecomputeBreakdown(doc);
    SaveHead(doc, folder.path(), "WRK");
    WriteContainer(folder.path(), out, false, 0);
  } catch (const MoneyOverflow& e) {
    err << "zantro: " << in << ": " << e.what() << "\n";  // the batch names the file
    status = 1;
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    status = 1;
  }
  return {status, err.str(), ReadFileBytes(out).value_or("(none)")};
}

void ExpectSameOutcome(const std::string& in, const TempDir& dir) {
  DeleteFile(dir.file("reference.znt2"));
  Outcome expected = ThroughWorkFiles(in, dir.file("reference.znt2"));
  std::ostringstream err;
  std::string out = dir.file("batch.znt2");
  DeleteFile(out);
  int status = RecalcDocument(in, out, err);
  EXPECT_EQ(status, expected.Status) << in;
  EXPECT_EQ(err.str(), expected.Err) << in;
  EXPECT_EQ(ReadFileBytes(out).value_or("(none)"), expected.Out) << in;

  // The same computation left as work files (the printed estimate reads them).
  if (expected.Status != 0) return;
  TempDir folder;
  std::ostringstream ignored;
  OpenAndRecompute(in, folder.path(), ignored);
  EXPECT_EQ(ContainerText(folder.path(), false, 0), expected.Out) << in;
}

std::string Fields(int32_t n, std::string_view fill, int count) {
  std::string line = std::to_string(n) + ";";
  for (int k = 2; k <= count; ++k) line += std::string(fill) + ";";
  return line + "\n";
}

// Every kind of item, three quantity scales, the lines of items out of order and interleaved,
// lines of items without a sheet and past the list, a duplicate tax, takeoff and sort lines.
std::string EveryKindOfItem() {
  std::string items =
      "10;配管;0;0;0;0.5;10;1;0.5;0;0;;0;0;\n"
      "20;空調;0;0;3;4;100;1;0.5;0;0;;0;0;\n"
      "30;ダクト;0;0;0;0.5;1000;1;0.5;0;0;;0;0;\n"
      "31;機器;0;0;0.9;0.5;100;1;0.5;0;0;;0;0;\n"
      "81;諸経費;0;0;10;12;3;0;0;0;0;;0;0;\n"
      "91;値引;500;400;0;0;0;0;0;0;0;;0;0;\n"
      "95;小計;0;0;1;6;0;0;0;0;0;;0;0;\n"
      "5;不明;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\n"
      "93;消費税;0;0;0;0;10;0;0;0;0;;0;0;\n"
      "96;特記;0;0;0;0;0;0;0;15;0;注記;0;0;\n"
      "99;総合計;0;0;0;0;0;0;0;0;0;;0;0;\n";
  std::string tax = ";消費税;;0;0;;90;10;10;0;0;0;0;0;0;0;0;0;0;;;\n";
  std::string data = PricedLine(3, "1234.5", 20, "2.3456") + PricedLine(1, "1000", 20, "1.25") +
                     PricedLine(7, "50") + PricedLine(3, "10", 10, "7") + PricedLine(12, "5") +
                     PricedLine(8, "333", 12, "3") + "4" + tax + PricedLine(4, "2000") + "4" + tax +
                     "1;雑材;;0;0;式;50;1;2;3;5;0;0;0;0;0;0;0;0;;;\n" +
                     "1;合計;;0;99999;;99;0;0;0;0;0;0;0;0;0;0;0;0;;;\n";
  std::string takeoffs = Fields(3, "1", 40) + Fields(0, "2", 40) + Fields(20, "3", 40) + Fields(1, "4", 40);
  std::string sortLines = "1;abc;def\n3;xyz\n0;zero\n30;past\n1;second\n";
  return Sj("<TITLE>\n[KETA]=1000\n[Opt1Str]=材料,労務,,,,\n[Opt1Int]=1\n</TITLE>\n<ITEM>\n" + items +
            "</ITEM>\n<DATA>\n" + data + "</DATA>\n<PICKUP>\n" + takeoffs + "</PICKUP>\n<CONFIG>\n" + sortLines +
            "</CONFIG>\n");
}

TEST(Recalc, GivesTheBytesMessagesAndErrorsOfTheWorkFilePath) {
  TempDir dir;
  auto write = [&](const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(WriteFileAtomic(dir.file(name), bytes));
    return dir.file(name);
  };
  const std::string item = "10;a;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\n";
  const std::string tax = "1;消費税;;0;0;;90;10;10;0;0;0;0;0;0;0;0;0;0;;;\n";
  const std::string overflow = PricedLine(1, "900000000000", 10, "900000");
  std::string v1(464 + 4 + 140 + 228, '\0');
  int32_t one = 1, ten = 10;
  std::memcpy(&v1[464], &one, 4);
  std::memcpy(&v1[468], &ten, 4);
  std::memcpy(&v1[468 + 140], &one, 4);
  std::vector<std::string> inputs = {
      kSample,
      write("kinds.znt2", Sj(*ReadFileBytes(std::string(ZANTRO_SOURCE_DIR) + "/tests/scripts/kinds.znt2.txt"))),
      write("every.znt2", EveryKindOfItem()),
      write("noitems.znt2", Body("", PricedLine(1, "100") + PricedLine(2, "200"))),
      write("nodata.znt2", Sj("<TITLE>\n</TITLE>\n<ITEM>\n" + item + item + "</ITEM>\n")),
      // A sheet that overflows, then a bad field further down: the field is the error.
      write("overflow-then-bad.znt2", Body(item + item, overflow + PricedLine(2, "1O0"))),
      // A duplicate tax in item 1, an overflow in item 2: the message, then the error.
      write("tax-then-overflow.znt2",
            Body(item + item, PricedLine(1, "1") + tax + tax + PricedLine(2, "900000000000", 10, "900000"))),
      write("old.znt", v1),
  };
  for (const auto& in : inputs) ExpectSameOutcome(in, dir);
}

}  // namespace
}  // namespace zantro
