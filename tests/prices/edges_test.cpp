// Edges of the libraries a spreadsheet or a supplier produces: line ends, an unclosed quote,
// the family columns written back, the order in which libraries answer a lookup.
#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "prices/library.h"
#include "prices/reprice.h"
#include "prices/search.h"
#include "prices/supplier.h"

namespace zantro {
namespace {

std::string Header(PriceFamily f) {
  std::string h;
  for (const auto& c : LibraryColumns(f)) h += (h.empty() ? "" : ",") + c;
  return h;
}

TEST(LibraryEdges, LineFeedsAloneAndAnUnclosedQuote) {
  PriceLibrary lib = ParseLibrary(Sj(Header(PriceFamily::Code) + "\nA,管,,m\nB,弁,,個"), PriceFamily::Code, "x");
  EXPECT_EQ(lib.Entries.size(), 2u);  // no break after the last line
  try {
    ParseLibrary(Sj(Header(PriceFamily::Code) + "\r\nA,\"管,,m\r\n"), PriceFamily::Code, "lib.dat");
    ADD_FAILURE();
  } catch (const LibraryError& e) {
    EXPECT_NE(std::string(e.what()).find("2行目 2列目（名称）: 引用符"), std::string::npos) << e.what();
  }
  EXPECT_THROW(ParseLibrary(Sj("#だけ\r\n"), PriceFamily::Code, "x"), LibraryError);  // no header
}

TEST(LibraryEdges, TreeAndSequenceColumnsAreWrittenBackInFront) {
  std::string tree = Sj(Header(PriceFamily::Tree) + "\r\n給水,配管,P1,管,20A,m,0.1,1,2\r\n");
  PriceLibrary t = ParseLibrary(tree, PriceFamily::Tree, "x");
  EXPECT_EQ(ToUtf8(t.Entries[0].Category2), "配管");
  EXPECT_EQ(EntryFields(t.Entries[0], PriceFamily::Tree)[0], Sj("給水"));
  EXPECT_EQ(ParseLibrary(EncodeLibrary(t), PriceFamily::Tree, "x").Entries, t.Entries);
  PriceLibrary s = ParseLibrary(Sj(Header(PriceFamily::Sequence) + "\r\nS,,P1,管\r\nS,0.25,P2,継手\r\n"),
                                PriceFamily::Sequence, "x");
  EXPECT_EQ(s.Entries[0].Ratio, kOne);  // an empty ratio is 1
  EXPECT_EQ(EntryFields(s.Entries[1], PriceFamily::Sequence)[1], "0.25");
  // A CODE reader refuses a tree file by its header.
  EXPECT_THROW(ParseLibrary(tree, PriceFamily::Code, "x"), LibraryError);
}

TEST(LibraryEdges, TheFirstLibraryHoldingALineAnswersIt) {
  auto lib = [](int price) {
    PriceLibrary l;
    PriceEntry e;
    e.Name = Sj("管");
    e.Spec = Sj("20A");
    e.Unit = "m";
    e.Prices[0] = Money::Units(price);
    l.Entries = {e, e};
    l.Entries[1].Prices[0] = Money::Units(price + 1);
    return l;
  };
  const std::vector<PriceLibrary> libs{lib(100), lib(200)};
  PriceLookup lookup(libs);
  LineRecord line;
  line.NameSpec.set(Sj("管;20A"));
  line.Unit.set("m");
  ASSERT_NE(lookup.Find(line), nullptr);
  EXPECT_EQ(lookup.Find(line)->Prices[0], Money::Units(100));
  line.Unit.set(Sj("本"));
  EXPECT_EQ(lookup.Find(line), nullptr);
}

TEST(LibraryEdges, ASupplierListInUtf8WithItsMark) {
  SupplierTable t = ParseSupplierCsv("\xEF\xBB\xBF品番,価格\r\nA-1,\"1,200\"\r\n\r\n", 1);
  ASSERT_EQ(t.Rows.size(), 1u);
  EXPECT_EQ(t.Header[0], Sj("品番"));
  EXPECT_EQ(t.Lines, std::vector<int>{2});
}

TEST(LibraryEdges, SearchIgnoresCaseOfAsciiOnly) {
  PriceLibrary lib = ParseLibrary(Sj(Header(PriceFamily::Code) + "\r\nsus-20,ＳＵＳ管,,m\r\nX,Sus,,m\r\n"),
                                  PriceFamily::Code, "x");
  PriceIndex index(lib.Entries);
  EXPECT_EQ(index.Search("SUS"), (std::vector<uint32_t>{0, 1}));
  EXPECT_EQ(index.Search("ＳＵＳ"), (std::vector<uint32_t>{0}));
  EXPECT_EQ(index.Search("ｓｕｓ"), (std::vector<uint32_t>{}));
}

}  // namespace
}  // namespace zantro
