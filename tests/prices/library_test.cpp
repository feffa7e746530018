// The library file: what a spreadsheet writes reads back, what the reader refuses is named by
// file, line and column, and the writer gives the same bytes for the same library.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/cp932.h"
#include "platform/files.h"
#include "prices/csvtext.h"
#include "prices/library.h"
#include "prices/search.h"

namespace zantro {
namespace {

const char* kHeader = "コード,名称,仕様,単位,歩掛,原価単価,単価1,単価2,単価3,単価4,単価5,原価付帯単価,付帯単価1,付帯単価2,付帯単価3,付帯単価4,付帯単価5,グループ,備考\r\n";

std::string CodeText(const std::string& body) { return std::string("#例示の単価です\r\n") + kHeader + body; }
std::string CodeFile(const std::string& body) { return Sj(CodeText(body)); }

TEST(PriceLibrary, ReadsWhatASpreadsheetWrites) {
  std::string file = CodeFile(
      "P-020,\"配管用炭素鋼鋼管, 白\",20A,m,0.085,820,1150,1200,1100,1000,980,30,45,46,44,40,39,A,ねじ接合\r\n"
      "\r\n"
      "V-1,仕切弁,\"10K \"\"青銅\"\"\",個,0.1,3500,4800,,,,,,,,,,,b,\r\n"
      "X,雑材,,式\r\n");
  PriceLibrary lib = ParseLibrary(file, PriceFamily::Code, "codedata1.dat");
  ASSERT_EQ(lib.Entries.size(), 3u);
  ASSERT_EQ(lib.Notes, std::vector<std::string>{Sj("例示の単価です")});
  const PriceEntry& p = lib.Entries[0];
  EXPECT_EQ(ToUtf8(p.Name), "配管用炭素鋼鋼管, 白");
  EXPECT_EQ(p.LabourFactor, Money::FromRaw(850));
  EXPECT_EQ(p.Prices[1], Money::Units(1200));
  EXPECT_EQ(p.Extras[4], Money::Units(39));
  EXPECT_EQ(ToUtf8(p.Remarks), "ねじ接合");
  EXPECT_EQ(ToUtf8(lib.Entries[1].Spec), "10K \"青銅\"");
  EXPECT_EQ(lib.Entries[1].Group, 1);
  EXPECT_EQ(lib.Entries[1].Prices[2], kZero);
  EXPECT_EQ(lib.Entries[2].Group, 0);  // fields a spreadsheet left off read as empty
  // Written and read again: the same library, and the same bytes once more.
  std::string bytes = EncodeLibrary(lib);
  PriceLibrary again = ParseLibrary(bytes, PriceFamily::Code, "x");
  EXPECT_EQ(again.Entries, lib.Entries);
  EXPECT_EQ(EncodeLibrary(again), bytes);
  EXPECT_NE(bytes.find(Sj("\"10K \"\"青銅\"\"\"")), std::string::npos);
  EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")), Sj("#例示の単価です"));
}

std::string HeaderOf(PriceFamily f) {
  std::string h;
  for (const auto& c : LibraryColumns(f)) h += (h.empty() ? "" : ",") + c;
  return h + "\r\n";
}

void ExpectRefused(const std::string& body, int line, int column, const std::string& why,
                   PriceFamily f = PriceFamily::Code) {
  try {
    ParseLibrary(Sj(body), f, "lib.dat");
    ADD_FAILURE() << "accepted: " << body;
  } catch (const LibraryError& e) {
    EXPECT_EQ(e.Line, line) << e.what();
    EXPECT_EQ(e.Column, column) << e.what();
    EXPECT_NE(std::string(e.what()).find(why), std::string::npos) << e.what();
    EXPECT_EQ(std::string(e.what()).rfind("lib.dat: ", 0), 0u) << e.what();
  }
}

TEST(PriceLibrary, NamesTheLineAndColumnOfTheFirstBadField) {
  ExpectRefused(CodeText("A,管,,m,0,10,1,2,3,4,5\r\nB,管,,m,0,1O0\r\n"), 4, 6, "6列目（原価単価）: 数値ではありません: 1O0");
  ExpectRefused(CodeText("A,管,,メートル\r\n"), 3, 4, "単位は4バイト");
  ExpectRefused(CodeText("A,管;継手\r\n"), 3, 2, "「;」は使えません");
  ExpectRefused(CodeText("A,,20A\r\n"), 3, 2, "名称がありません");
  ExpectRefused(CodeText("A,管,,m,,,,,,,,,,,,,,G\r\n"), 3, 18, "グループはAからF");
  ExpectRefused(CodeText("A,管,,m,,,,,,,,,,,,,,A,,extra\r\n"), 3, 20, "列が多すぎます");
  // A quoted line break would break the line of the sheet.
  ExpectRefused(CodeText("A,\"管\r\n継手\",,m\r\nB,弁,,m,x\r\n"), 3, 2, "改行は使えません");
  ExpectRefused("コード,名前\r\n", 1, 2, "見出しは「名称」のはずです");
  ExpectRefused(HeaderOf(PriceFamily::Tree) + "給水,,C,管,,m\r\n,,D,管\r\n", 3, 1, "大分類がありません",
                PriceFamily::Tree);
  ExpectRefused(HeaderOf(PriceFamily::Sequence) + "S,-1,C,管\r\n", 2, 2, "比率は0より大きい", PriceFamily::Sequence);
}

TEST(PriceLibrary, WritesAtomicallyAndLeavesTheFileOnFailure) {
  auto dir = std::filesystem::temp_directory_path() / "zantro_prices_write";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::string path = (dir / "codedata1.dat").string();
  PriceLibrary lib = ParseLibrary(CodeFile("A,管,,m,,100\r\n"), PriceFamily::Code, "x");
  WriteLibrary(path, lib);
  EXPECT_EQ(ReadLibrary(path, PriceFamily::Code).Entries, lib.Entries);
  EXPECT_THROW(WriteLibrary((dir / "no" / "codedata1.dat").string(), lib), FileError);
  EXPECT_EQ(*ReadFileBytes(path), EncodeLibrary(lib));
  std::filesystem::remove_all(dir);
}

TEST(PriceSearch, NarrowsByCodeNameAndSpecificationCodePrefixFirst) {
  PriceLibrary lib = ParseLibrary(CodeFile("V-20,仕切弁,10K 20A,個\r\n"
                                           "P-20,配管用炭素鋼鋼管,白 20A,m\r\n"
                                           "p-25,配管用炭素鋼鋼管,白 25A,m\r\n"
                                           "E-20,エルボ,白 20a,個\r\n"),
                                  PriceFamily::Code, "x");
  PriceIndex index(lib.Entries);
  EXPECT_EQ(index.Search(""), (std::vector<uint32_t>{0, 1, 2, 3}));
  EXPECT_EQ(index.Search("P-"), (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(index.Search("20a"), (std::vector<uint32_t>{0, 1, 3}));
  EXPECT_EQ(index.Search("e"), (std::vector<uint32_t>{3}));  // code first: "E-20"
  EXPECT_EQ(index.Search("鋼管 白"), (std::vector<uint32_t>{}));
  EXPECT_EQ(index.Search("鋼管"), (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(index.Search(" 弁 "), (std::vector<uint32_t>{0}));
  std::vector<uint32_t> subset{2, 3};
  EXPECT_EQ(index.Search("20", &subset), (std::vector<uint32_t>{3}));
}

TEST(CsvText, QuotesOnlyWhereASpreadsheetMust) {
  std::string out;
  AppendCsvRecord(out, {"a", "b,c", "say \"hi\"", " x", ""});
  EXPECT_EQ(out, "a,\"b,c\",\"say \"\"hi\"\"\",\" x\",\r\n");
  CsvReader r(out);
  CsvRecord rec;
  ASSERT_TRUE(r.Next(rec));
  EXPECT_EQ(rec.Fields, (std::vector<std::string>{"a", "b,c", "say \"hi\"", " x", ""}));
  EXPECT_FALSE(r.Next(rec));
}

}  // namespace
}  // namespace zantro

namespace zantro {
namespace {

// Every example library the sample configuration names reads, and says that its prices are
// examples.
TEST(ExampleLibraries, EveryLibraryOfTheSampleReads) {
  const std::string folder = std::string(ZANTRO_SOURCE_DIR) + "/data/data";
  struct F { PriceFamily f; int count; } families[] = {{PriceFamily::Code, 6}, {PriceFamily::Sequence, 6}, {PriceFamily::Tree, 12}};
  for (auto [f, count] : families)
    for (int n = 1; n <= count; ++n) {
      std::string path = folder + "/" + LibraryFileName(f, n);
      PriceLibrary lib = ReadLibrary(path, f);
      EXPECT_GE(lib.Entries.size(), 3u) << path;
      ASSERT_FALSE(lib.Notes.empty()) << path;
      EXPECT_NE(ToUtf8(lib.Notes[0]).find("例示"), std::string::npos) << path;
    }
}

}  // namespace
}  // namespace zantro
