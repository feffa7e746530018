// The document records, byte for byte as the work files hold them (little-endian).
// Every size and field offset is checked below; padding is explicit and zero when written.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>

#include "general/money.h"
#include "general/shorttext.h"

namespace zantro {

static_assert(std::endian::native == std::endian::little, "records are little-endian byte images");
static_assert(sizeof(Money) == 8 && alignof(Money) == 8);

struct TitleRecord {
  ShortText<12> id;            // document id; its length is the number-prefix length
  ShortText<50> ATESAKI_1;     // addressee, line 1
  ShortText<50> ATESAKI_2;
  ShortText<50> CONSTRACT_1;   // construction name, line 1
  ShortText<50> CONSTRACT_2;
  uint8_t pad217[7] = {};
  Money ALLGTOTAL;             // submitted grand total
  Money ALLNTOTAL;             // cost grand total
  Money TAXGTOTAL;
  Money TAXNTOTAL;
  ShortText<50> WHERE;         // construction site
  ShortText<40> MLIMIT;
  ShortText<40> ULIMIT;        // limit date text
  ShortText<40> TRADE;         // trade terms
  ShortText<12> NUMBER;        // number prefix followed by a decimal serial
  uint8_t pad443[1] = {};
  int32_t DY = 0;              // year of the Japanese era (calendar year - 1988)
  int32_t DM = 0;
  int32_t DD = 0;
  ShortText<20> INTANTO;
  ShortText<20> OUTTANTO;
  uint8_t pad498[2] = {};
  int32_t DATALEVEL = 0;
  int32_t KEYCODE = 0;
  ShortText<80> Opt1Str;       // six price-group names joined by ","
  ShortText<80> Opt2Str;
  ShortText<80> Opt3Str;
  uint8_t pad751[1] = {};
  int32_t Opt1Int = 0;         // grid layout: 0 nine columns, 1 ten columns
  int32_t Opt2Int = 0;         // tax marker: 0 none, 1 on a sheet, 2 a tax item
  int32_t Opt3Int = 0;
  int32_t KETA = 0;            // folding unit of breakdown-level overheads
  Money CUTLEVEL;              // rounding addend of breakdown-level overheads
};

struct ItemRecord {
  int32_t ItemKind = 0;
  ShortText<100> ItemName;
  uint8_t pad105[7] = {};
  Money ALLGTOTAL;             // submitted total
  Money ALLNTOTAL;             // cost total
  Money TAXGTOTAL;             // tax of the sheet, cost side (see the engine)
  Money TAXNTOTAL;             // tax of the sheet, submitted side
  // The five settings; summary kinds reuse these fields (see the accessors below).
  Money LineRoundAddend;       // 20-29, 95: RangeStart; 81-84: cost rate; 93: AddTaxToCost
  Money Opt4RoundAddend;       // 20-29, 95: RangeEnd; 81-84: submitted rate
  Money QuantityScale;         // 81-84: rounding mode; 93: TaxRate
  Money Opt3Unit;
  Money Opt6RoundAddend;
  int32_t ItemFlag = 0;
  uint8_t pad188[4] = {};
  Money ItemValue;
  ShortText<40> ItemNote;
  uint8_t pad241[7] = {};

  CalcSettings Settings() const {
    return CalcSettings{LineRoundAddend, Opt4RoundAddend, QuantityScale, Opt3Unit, Opt6RoundAddend};
  }
  void SetSettings(const CalcSettings& s) {
    LineRoundAddend = s.LineRoundAddend;
    Opt4RoundAddend = s.Opt4RoundAddend;
    QuantityScale = s.QuantityScale;
    Opt3Unit = s.Opt3Unit;
    Opt6RoundAddend = s.Opt6RoundAddend;
  }
  // Summary-item views of the shared fields.
  Money RangeStart() const { return LineRoundAddend; }
  Money RangeEnd() const { return Opt4RoundAddend; }
  Money CostRate() const { return LineRoundAddend; }
  Money SubRate() const { return Opt4RoundAddend; }
  Money RoundMode() const { return QuantityScale; }
  Money AddTaxToCost() const { return LineRoundAddend; }
  Money TaxRate() const { return QuantityScale; }
};

struct LineRecord {
  int32_t ItemNo = 0;          // in a WITEM file the item number; 0 in memory
  ShortText<100> NameSpec;     // name ";" specification
  uint8_t pad105[7] = {};
  Money LabourFactor;          // calculated lines: rounding mode of the submitted amount
  Money sort;                  // sort key; its whole part selects the price group
  ShortText<4> Unit;
  uint8_t pad133[3] = {};
  int32_t FLAG = 0;            // line kind
  uint8_t pad140[4] = {};
  Money CostQty;               // range lines: first line; overhead/tax: cost rate
  Money SubQty;                // range lines: last line; overhead/tax: submitted rate
  Money CostPrice;             // 50-56, 70-76: cost rate
  Money SubPrice;              // 50-56, 70-76: submitted rate
  Money SpareMoney;
  Money CostExtraPrice;        // 60-66: summed cost labour
  Money SubExtraPrice;         // 60-66: summed submitted labour
  Money CostAmount;            // computed
  Money SubAmount;             // computed
  int32_t RefA = 0;
  int32_t RefB = 0;
  Money SecondRoundMode;       // 81, 82: second rounding mode of the submitted amount
  ShortText<12> AmountText;    // shown instead of an amount (15-18, 25-28, 30, 130)
  ShortText<40> Remarks;
  uint8_t pad286[2] = {};
};

struct TakeoffRecord {
  int32_t ItemNo = 0;
  int32_t Int1 = 0;
  int32_t Int2 = 0;
  ShortText<100> NameSpec;
  uint8_t pad113[7] = {};
  Money Value1_2[2];
  ShortText<4> Unit;
  uint8_t pad141[3] = {};
  int32_t Int3_4[2] = {};
  Money Value3_8[6];
  ShortText<40> Text1;
  uint8_t pad241[7] = {};
  Money Value9_13[5];
  ShortText<12> Text2;
  uint8_t pad301[3] = {};
  int32_t Int5_11[7] = {};
  uint8_t pad332[4] = {};
  Money Value14_15[2];
  int32_t Int12_19[8] = {};
};

// One record of the client numbering file ATESAKI.DAT. Only two fields are read or
// rewritten; every other byte stays as read.
struct ClientNumberRecord {
  uint8_t head[101] = {};
  ShortText<100> Prefix;       // length byte at 101; the prefix bytes follow
  uint8_t gap[30] = {};
  int32_t LastSerial = 0;
};

// Records read from a file may carry any bytes in their padding and length bytes above the
// capacity. Loaders clean them so that every record written back has zero padding and a
// length that matches its text.
void SanitizeRecord(TitleRecord& r);
void SanitizeRecord(ItemRecord& r);
void SanitizeRecord(LineRecord& r);
void SanitizeRecord(TakeoffRecord& r);

#define ZANTRO_AT(R, f, off) static_assert(offsetof(R, f) == (off), #R "." #f)
static_assert(sizeof(TitleRecord) == 776);
ZANTRO_AT(TitleRecord, id, 0);
ZANTRO_AT(TitleRecord, ATESAKI_1, 13);
ZANTRO_AT(TitleRecord, ATESAKI_2, 64);
ZANTRO_AT(TitleRecord, CONSTRACT_1, 115);
ZANTRO_AT(TitleRecord, CONSTRACT_2, 166);
ZANTRO_AT(TitleRecord, ALLGTOTAL, 224);
ZANTRO_AT(TitleRecord, ALLNTOTAL, 232);
ZANTRO_AT(TitleRecord, TAXGTOTAL, 240);
ZANTRO_AT(TitleRecord, TAXNTOTAL, 248);
ZANTRO_AT(TitleRecord, WHERE, 256);
ZANTRO_AT(TitleRecord, MLIMIT, 307);
ZANTRO_AT(TitleRecord, ULIMIT, 348);
ZANTRO_AT(TitleRecord, TRADE, 389);
ZANTRO_AT(TitleRecord, NUMBER, 430);
ZANTRO_AT(TitleRecord, DY, 444);
ZANTRO_AT(TitleRecord, DM, 448);
ZANTRO_AT(TitleRecord, DD, 452);
ZANTRO_AT(TitleRecord, INTANTO, 456);
ZANTRO_AT(TitleRecord, OUTTANTO, 477);
ZANTRO_AT(TitleRecord, DATALEVEL, 500);
ZANTRO_AT(TitleRecord, KEYCODE, 504);
ZANTRO_AT(TitleRecord, Opt1Str, 508);
ZANTRO_AT(TitleRecord, Opt2Str, 589);
ZANTRO_AT(TitleRecord, Opt3Str, 670);
ZANTRO_AT(TitleRecord, Opt1Int, 752);
ZANTRO_AT(TitleRecord, Opt2Int, 756);
ZANTRO_AT(TitleRecord, Opt3Int, 760);
ZANTRO_AT(TitleRecord, KETA, 764);
ZANTRO_AT(TitleRecord, CUTLEVEL, 768);

static_assert(sizeof(ItemRecord) == 248);
ZANTRO_AT(ItemRecord, ItemKind, 0);
ZANTRO_AT(ItemRecord, ItemName, 4);
ZANTRO_AT(ItemRecord, ALLGTOTAL, 112);
ZANTRO_AT(ItemRecord, ALLNTOTAL, 120);
ZANTRO_AT(ItemRecord, TAXGTOTAL, 128);
ZANTRO_AT(ItemRecord, TAXNTOTAL, 136);
ZANTRO_AT(ItemRecord, LineRoundAddend, 144);
ZANTRO_AT(ItemRecord, Opt4RoundAddend, 152);
ZANTRO_AT(ItemRecord, QuantityScale, 160);
ZANTRO_AT(ItemRecord, Opt3Unit, 168);
ZANTRO_AT(ItemRecord, Opt6RoundAddend, 176);
ZANTRO_AT(ItemRecord, ItemFlag, 184);
ZANTRO_AT(ItemRecord, ItemValue, 192);
ZANTRO_AT(ItemRecord, ItemNote, 200);

static_assert(sizeof(LineRecord) == 288);
ZANTRO_AT(LineRecord, ItemNo, 0);
ZANTRO_AT(LineRecord, NameSpec, 4);
ZANTRO_AT(LineRecord, LabourFactor, 112);
ZANTRO_AT(LineRecord, sort, 120);
ZANTRO_AT(LineRecord, Unit, 128);
ZANTRO_AT(LineRecord, FLAG, 136);
ZANTRO_AT(LineRecord, CostQty, 144);
ZANTRO_AT(LineRecord, SubQty, 152);
ZANTRO_AT(LineRecord, CostPrice, 160);
ZANTRO_AT(LineRecord, SubPrice, 168);
ZANTRO_AT(LineRecord, SpareMoney, 176);
ZANTRO_AT(LineRecord, CostExtraPrice, 184);
ZANTRO_AT(LineRecord, SubExtraPrice, 192);
ZANTRO_AT(LineRecord, CostAmount, 200);
ZANTRO_AT(LineRecord, SubAmount, 208);
ZANTRO_AT(LineRecord, RefA, 216);
ZANTRO_AT(LineRecord, RefB, 220);
ZANTRO_AT(LineRecord, SecondRoundMode, 224);
ZANTRO_AT(LineRecord, AmountText, 232);
ZANTRO_AT(LineRecord, Remarks, 245);

static_assert(sizeof(TakeoffRecord) == 384);
ZANTRO_AT(TakeoffRecord, ItemNo, 0);
ZANTRO_AT(TakeoffRecord, Int1, 4);
ZANTRO_AT(TakeoffRecord, Int2, 8);
ZANTRO_AT(TakeoffRecord, NameSpec, 12);
ZANTRO_AT(TakeoffRecord, Value1_2, 120);
ZANTRO_AT(TakeoffRecord, Unit, 136);
ZANTRO_AT(TakeoffRecord, Int3_4, 144);
ZANTRO_AT(TakeoffRecord, Value3_8, 152);
ZANTRO_AT(TakeoffRecord, Text1, 200);
ZANTRO_AT(TakeoffRecord, Value9_13, 248);
ZANTRO_AT(TakeoffRecord, Text2, 288);
ZANTRO_AT(TakeoffRecord, Int5_11, 304);
ZANTRO_AT(TakeoffRecord, Value14_15, 336);
ZANTRO_AT(TakeoffRecord, Int12_19, 352);

static_assert(sizeof(ClientNumberRecord) == 236);
ZANTRO_AT(ClientNumberRecord, Prefix, 101);
ZANTRO_AT(ClientNumberRecord, LastSerial, 232);
#undef ZANTRO_AT

}  // namespace zantro
