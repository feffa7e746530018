// Random documents for the tests: every kind of line and item, random settings, the sheets'
// lines as a document file holds them (amounts not computed, item totals as NewItem leaves them).
#pragma once
#include <random>
#include <utility>

#include "general/container.h"
#include "general/document.h"
#include "platform/cp932.h"

namespace zantro::testing {


inline LineRecord RandomLine(std::mt19937& rng, int32_t item, int lines) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  static const int32_t kinds[] = {10, 10, 10, 11, 12, 20, 20, 21, 22, 30, 50, 51, 54, 60, 62, 66, 70, 73,
                                  81, 82, 83, 84, 90, 99, 140, 160, 180, 15, 0};
  LineRecord l{};
  l.ItemNo = item;
  l.FLAG = kinds[pick(0, sizeof kinds / sizeof kinds[0] - 1)];
  static const char* names[] = {"配管用炭素鋼鋼管;白 20A", "エルボ;20A", "保温;GW 25t", "労務費;", "ダクト;0.5t"};
  l.NameSpec.set(Sj(names[pick(0, 4)]));
  l.Unit.set(Sj(pick(0, 1) ? "m" : "個"));
  l.sort = Money::FromRaw(static_cast<int64_t>(pick(-2000, 30000)) * 10000 + pick(0, 1) * 5000);
  l.LabourFactor = Money::FromRaw(pick(0, 3) ? pick(0, 2000) * 10 : pick(1, 9) * 10000);
  if (l.FLAG >= 50 && l.FLAG <= 76) {
    l.CostQty = Money::Units(pick(1, lines));
    l.SubQty = Money::Units(pick(1, lines));
    l.CostPrice = Money::Units(pick(0, 20));
    l.SubPrice = Money::Units(pick(0, 30));
    if (l.FLAG >= 60) l.CostPrice = Money::Units(pick(0, 30000)), l.SubPrice = Money::Units(pick(0, 40000));
  } else if (l.FLAG >= 81 && l.FLAG <= 90) {
    l.CostQty = Money::Units(pick(0, 15));
    l.SubQty = Money::Units(pick(0, 15));
    if (l.FLAG == 90) l.LabourFactor = kZero;  // as the tax command writes it
  } else {
    l.CostQty = Money::FromRaw(pick(0, 100000) * 25);
    l.SubQty = Money::FromRaw(pick(0, 100000) * 25);
    l.CostPrice = Money::Units(pick(0, 90000));
    l.SubPrice = Money::Units(pick(0, 120000));
    l.CostExtraPrice = Money::Units(pick(0, 3) ? 0 : pick(0, 500));
    l.SubExtraPrice = Money::Units(pick(0, 3) ? 0 : pick(0, 700));
  }
  return l;
}

inline ParsedDocument RandomDocument(std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  ParsedDocument doc;
  doc.Title = EmptyDocumentTitle();
  doc.Title.Opt1Str.set(Sj("鋼管,銅管,樹脂管,ダクト,機器,雑材"));
  const int items = pick(1, 9);
  for (int32_t n = 1; n <= items; ++n) {
    ItemRecord item = NewItem();
    const int k = pick(0, 9);
    item.ItemKind = k < 5 ? 10 : k == 5 ? 30 : k == 6 ? 81 : k == 7 ? 91 : k == 8 ? 95 : 93;
    const Money addends[] = {kHalf, kNineTenths, kZero, Money::FromRaw(1234)};
    const int64_t scales[] = {10, 100, 1000, 0};
    if (ItemHasSheet(item.ItemKind)) {
      item.LineRoundAddend = addends[pick(0, 3)];
      item.Opt4RoundAddend = addends[pick(0, 2)];
      item.QuantityScale = Money::Units(scales[pick(0, 3)]);
      item.Opt3Unit = Money::Units(pick(0, 1) ? 1 : 1000);
      item.Opt6RoundAddend = addends[pick(0, 2)];
    } else if (item.ItemKind == 81 || item.ItemKind == 93) {
      item.LineRoundAddend = Money::Units(pick(0, 1));
      item.Opt4RoundAddend = Money::Units(pick(0, 12));
      item.QuantityScale = Money::Units(pick(0, 9));  // the overhead's rounding mode
    } else if (item.ItemKind == 95) {
      item.LineRoundAddend = Money::Units(1);
      item.Opt4RoundAddend = Money::Units(n);
    } else {
      item.ALLNTOTAL = Money::Units(pick(0, 5000));
      item.ALLGTOTAL = Money::Units(pick(0, 5000));
    }
    item.ItemName.set(Sj("工事") + std::to_string(n));
    doc.Items.push_back(item);
    if (!ItemHasSheet(item.ItemKind)) continue;
    const int lines = pick(0, 25);
    bool tax = false;  // one tax line a sheet, as the tax command keeps it
    for (int r = 0; r < lines; ++r) {
      LineRecord l = RandomLine(rng, n, lines);
      if (l.FLAG == 90 && std::exchange(tax, true)) l.FLAG = 10;
      doc.Lines[n].push_back(l);
    }
  }
  return doc;
}

}  // namespace zantro::testing
