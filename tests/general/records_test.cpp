#include "general/records.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/cp932.h"

namespace zantro {
namespace {

template <typename R>
std::string Bytes(const R& r) {
  return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

int64_t MoneyAt(const std::string& bytes, size_t off) {
  int64_t v;
  std::memcpy(&v, bytes.data() + off, 8);
  return v;
}

int32_t IntAt(const std::string& bytes, size_t off) {
  int32_t v;
  std::memcpy(&v, bytes.data() + off, 4);
  return v;
}

TEST(Records, LineFieldsLandOnTheirBytes) {
  LineRecord line{};
  line.NameSpec.set(Sj("配管;SGP 25A"));
  line.FLAG = 20;
  line.CostQty = Money::FromRaw(12345);
  line.SecondRoundMode = Money::FromRaw(30000);
  line.Remarks.set("note");
  std::string b = Bytes(line);
  EXPECT_EQ(static_cast<uint8_t>(b[4]), Sj("配管;SGP 25A").size());
  EXPECT_EQ(b.substr(5, 4), Sj("配管"));
  EXPECT_EQ(IntAt(b, 136), 20);
  EXPECT_EQ(MoneyAt(b, 144), 12345);
  EXPECT_EQ(MoneyAt(b, 224), 30000);
  EXPECT_EQ(b[245], 4);
  EXPECT_EQ(b.substr(246, 4), "note");
  // Padding is zero on write.
  for (size_t off : {105u, 111u, 133u, 135u, 140u, 143u, 286u, 287u}) EXPECT_EQ(b[off], 0) << off;
}

TEST(Records, TitleAndItemFieldsLandOnTheirBytes) {
  TitleRecord t{};
  t.NUMBER.set("AB0012");
  t.DY = 38;
  t.KETA = 1000;
  t.CUTLEVEL = kHalf;
  std::string b = Bytes(t);
  EXPECT_EQ(b[430], 6);
  EXPECT_EQ(b.substr(431, 6), "AB0012");
  EXPECT_EQ(IntAt(b, 444), 38);
  EXPECT_EQ(IntAt(b, 764), 1000);
  EXPECT_EQ(MoneyAt(b, 768), 5000);

  ItemRecord item{};
  item.ItemKind = 93;
  item.QuantityScale = Money::Units(10);  // a tax item keeps its rate here
  item.ItemNote.set("x");
  std::string ib = Bytes(item);
  EXPECT_EQ(IntAt(ib, 0), 93);
  EXPECT_EQ(MoneyAt(ib, 160), 100000);
  EXPECT_EQ(ib[200], 1);
  EXPECT_EQ(item.TaxRate(), Money::Units(10));
}

TEST(Records, ShortTextCutsInBytesAndClampsADamagedLength) {
  ShortText<4> unit;
  unit.set(Sj("メートル"));  // 8 bytes, cut to 4: two characters
  EXPECT_EQ(unit.len, 4);
  EXPECT_EQ(ToUtf8(unit.view()), "メー");
  ShortText<3> odd;
  odd.set(Sj("メー"));  // the cut splits the second character
  EXPECT_EQ(ToUtf8(odd.view()), "メ");

  LineRecord line{};
  line.Unit.len = 200;  // as a damaged file may hold
  EXPECT_EQ(line.Unit.view().size(), 4u);
  line.pad133[1] = 7;
  SanitizeRecord(line);
  EXPECT_EQ(line.Unit.len, 4);
  EXPECT_EQ(line.pad133[1], 0);
}

}  // namespace
}  // namespace zantro
