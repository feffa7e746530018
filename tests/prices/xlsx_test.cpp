// A supplier's workbook: the zip container (stored and deflated entries), shared and inline
// strings, numbers, gaps between cells, and the rows becoming a supplier table.
#include <gtest/gtest.h>
#include <zlib.h>

#include "general/errors.h"
#include "platform/cp932.h"
#include "prices/supplier.h"
#include "prices/xlsxread.h"

namespace zantro {
namespace {

void Put16(std::string& s, uint32_t v) { s += static_cast<char>(v & 0xFF), s += static_cast<char>(v >> 8 & 0xFF); }
void Put32(std::string& s, uint32_t v) { Put16(s, v & 0xFFFF), Put16(s, v >> 16); }

// A zip archive of the files, each deflated (raw) when deflate is set, else stored.
std::string Zip(const std::vector<std::pair<std::string, std::string>>& files, bool deflated) {
  std::string out, dir;
  for (const auto& [name, data] : files) {
    std::string body = data;
    if (deflated) {
      body.resize(compressBound(static_cast<uLong>(data.size())) + 16);
      z_stream z{};
      deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
      z.avail_in = static_cast<uInt>(data.size());
      z.next_out = reinterpret_cast<Bytef*>(body.data());
      z.avail_out = static_cast<uInt>(body.size());
      ::deflate(&z, Z_FINISH);
      body.resize(z.total_out);
      deflateEnd(&z);
    }
    uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    uint32_t offset = static_cast<uint32_t>(out.size());
    auto header = [&](std::string& s, bool central) {
      Put32(s, central ? 0x02014b50 : 0x04034b50);
      if (central) Put16(s, 20);
      Put16(s, 20), Put16(s, 0), Put16(s, deflated ? 8 : 0), Put16(s, 0), Put16(s, 0);
      Put32(s, crc), Put32(s, static_cast<uint32_t>(body.size())), Put32(s, static_cast<uint32_t>(data.size()));
      Put16(s, static_cast<uint32_t>(name.size())), Put16(s, 0);
      if (central) Put16(s, 0), Put16(s, 0), Put16(s, 0), Put32(s, 0), Put32(s, offset);
      s += name;
    };
    header(out, false);
    out += body;
    header(dir, true);
  }
  uint32_t dirAt = static_cast<uint32_t>(out.size());
  out += dir;
  Put32(out, 0x06054b50), Put16(out, 0), Put16(out, 0);
  Put16(out, static_cast<uint32_t>(files.size())), Put16(out, static_cast<uint32_t>(files.size()));
  Put32(out, static_cast<uint32_t>(dir.size())), Put32(out, dirAt), Put16(out, 0);
  return out;
}

const char* kShared =
    "<?xml version=\"1.0\"?><sst count=\"4\"><si><t>品番</t></si><si><t>定価</t></si>"
    "<si><r><t>仕切弁</t></r><r><t xml:space=\"preserve\"> 青銅</t></r></si><si><t>A&amp;B</t></si></sst>";
const char* kSheet =
    "<worksheet><sheetData>"
    "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"s\"><v>1</v></c></row>"
    "<row r=\"2\"/>"
    "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><t>GV-20</t></is></c><c r=\"B3\" t=\"s\"><v>2</v></c>"
    "<c r=\"C3\"><v>4500</v></c></row>"
    "<row r=\"4\"><c r=\"A4\" t=\"str\"><v>X&lt;1</v></c><c r=\"B4\" t=\"s\"><v>3</v></c><c r=\"C4\" s=\"1\"><v>1234.5</v></c></row>"
    "</sheetData></worksheet>";

TEST(Workbook, ReadsTheFirstSheetOfStoredAndDeflatedArchives) {
  for (bool deflated : {false, true}) {
    std::string book = Zip({{"[Content_Types].xml", "<Types/>"},
                            {"xl/sharedStrings.xml", kShared},
                            {"xl/worksheets/sheet1.xml", kSheet}},
                           deflated);
    auto rows = ReadFirstSheet(book, "list.xlsx");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Cells, (std::vector<std::string>{"品番", "", "定価"}));
    EXPECT_EQ(rows[1].Number, 3);
    EXPECT_EQ(rows[1].Cells, (std::vector<std::string>{"GV-20", "仕切弁 青銅", "4500"}));
    EXPECT_EQ(rows[2].Cells, (std::vector<std::string>{"X<1", "A&B", "1234.5"}));
    SupplierTable t = ParseSupplierFile(book, 1, "LIST.XLSX");
    EXPECT_EQ(t.Header.size(), 3u);
    ASSERT_EQ(t.Rows.size(), 2u);
    EXPECT_EQ(t.Rows[0][1], Sj("仕切弁 青銅"));
    EXPECT_EQ(t.Lines, (std::vector<int>{3, 4}));
  }
  EXPECT_THROW(ReadFirstSheet("not a workbook", "x.xlsx"), FileError);
  EXPECT_THROW(ReadFirstSheet(Zip({{"a.txt", "a"}}, true), "x.xlsx"), FileError);
}

}  // namespace
}  // namespace zantro
