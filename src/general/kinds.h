// Item kinds (ItemKind) and line kinds (FLAG), and the three rules that classify items.
#pragma once
#include <cstdint>

namespace zantro {

namespace ItemKinds {
inline constexpr int32_t Normal = 10;
inline constexpr int32_t HeadingFirst = 20, HeadingLast = 29;   // hierarchy heading, level kind-20
inline constexpr int32_t MemberFirst = 30, MemberLast = 39;     // hierarchy member, level kind-30
inline constexpr int32_t OverheadIn = 81;                        // 経費内
inline constexpr int32_t OverheadOut = 82;                       // 経費外
inline constexpr int32_t OverheadFold = 83;                      // 経費含
inline constexpr int32_t OverheadFoldExcl = 84;                  // 経費抜
inline constexpr int32_t Reduction = 91;
inline constexpr int32_t Tax = 93;
inline constexpr int32_t Subtotal = 95;
inline constexpr int32_t Note = 96;
inline constexpr int32_t Total = 99;
}  // namespace ItemKinds

namespace LineKinds {
inline constexpr int32_t Blank = 0;
inline constexpr int32_t Priced = 10;          // whole quantities, counts for overhead
inline constexpr int32_t Reduction = 11;
inline constexpr int32_t PricedExcluded = 12;  // excluded from overhead
inline constexpr int32_t AmountTextFirst = 15, AmountTextLast = 18;
inline constexpr int32_t DecPriced = 20;
inline constexpr int32_t DecReduction = 21;
inline constexpr int32_t DecPricedExcluded = 22;
inline constexpr int32_t DecAmountTextFirst = 25, DecAmountTextLast = 28;
inline constexpr int32_t Comment = 30;
inline constexpr int32_t RangeAmount = 50;      // 51-56 by group
inline constexpr int32_t RangeLabour = 60;      // 61-66 by group
inline constexpr int32_t RangeExtra = 70;       // 71-76 by group
inline constexpr int32_t OverheadIn = 81;
inline constexpr int32_t OverheadOut = 82;
inline constexpr int32_t OverheadFold = 83;
inline constexpr int32_t OverheadFoldExcl = 84;
inline constexpr int32_t Tax = 90;
inline constexpr int32_t TotalLine = 99;
inline constexpr int32_t TakeoffComment = 130;
inline constexpr int32_t Percent = 140;
inline constexpr int32_t AmountOnly = 160;
inline constexpr int32_t PercentQty = 180;
}  // namespace LineKinds

constexpr bool InRange(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

// Items that own a sheet (WITEM files): the store, the container and the batch.
constexpr bool ItemHasSheet(int32_t kind) {
  return !(InRange(kind, 20, 29) || InRange(kind, 81, 84) || kind == 91 || kind == 93 || kind == 95 ||
           kind == 96 || kind == 99);
}

// Items that get a sheet tab on the main window.
constexpr bool ItemHasTab(int32_t kind) { return kind == 10 || InRange(kind, 30, 39); }

// Items an opened document may show first (a total item, kind 99, qualifies).
constexpr bool ItemOpensFirst(int32_t kind) {
  return !(InRange(kind, 20, 29) || InRange(kind, 81, 84) || kind == 91 || kind == 93 || kind == 95 ||
           kind == 96);
}

// Reduction lines are subtracted from every running sum.
constexpr bool IsReductionLine(int32_t flag) { return flag == 11 || flag == 21; }

}  // namespace zantro
