// Cost of the recomputations on large documents; every editing command runs them.
#include <benchmark/benchmark.h>

#include "general/engine.h"

namespace {

using zantro::Money;

zantro::LineRecord PricedLine(int64_t i) {
  zantro::LineRecord l{};
  l.FLAG = i % 7 == 0 ? 20 : 10;
  l.CostPrice = Money::Units(1000 + i % 997);
  l.SubPrice = Money::Units(1200 + i % 991);
  l.CostQty = Money::FromRaw(10000 + (i % 13) * 2500);
  l.SubQty = l.CostQty;
  l.LabourFactor = Money::FromRaw(1250);
  l.sort = Money::Units(11000 + (i % 6) * 3000);
  return l;
}

zantro::Document SheetDocument(int64_t lines) {
  zantro::Document doc;
  doc.ItemList.push_back(zantro::NewItem());
  doc.CurrentItem = 1;
  for (int64_t i = 1; i <= lines; ++i) doc.LineList.push_back(PricedLine(i));
  return doc;
}

void BM_RecomputeSheetPriced(benchmark::State& state) {
  zantro::Document doc = SheetDocument(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(zantro::RecomputeSheet(doc, nullptr));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RecomputeSheetPriced)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every tenth line a range line (amounts, labour or incidentals, cycling through the groups)
// over the 1000 lines ending at it.
void BM_RecomputeSheetRanges(benchmark::State& state) {
  zantro::Document doc = SheetDocument(10000);
  for (int64_t r = 10; r <= 10000; r += 10) {
    zantro::LineRecord& l = doc.LineList[r];
    l.FLAG = 50 + static_cast<int32_t>((r / 10) % 3) * 10 + static_cast<int32_t>((r / 30) % 7);
    l.CostQty = Money::Units(std::max<int64_t>(1, r - 999));
    l.SubQty = Money::Units(std::max<int64_t>(1000, r));
    l.CostPrice = Money::Units(10);
    l.SubPrice = Money::Units(12);
    l.LabourFactor = Money{};
  }
  for (auto _ : state) benchmark::DoNotOptimize(zantro::RecomputeSheet(doc, nullptr));
}
BENCHMARK(BM_RecomputeSheetRanges)->Unit(benchmark::kMillisecond);

// Sheet items with every summary kind in between: headings, overheads, subtotals, a tax item.
void BM_RecomputeBreakdown(benchmark::State& state) {
  zantro::Document doc;
  const int32_t kinds[] = {10, 30, 31, 91, 81, 82, 83, 84, 10, 95, 96, 20};
  for (int32_t i = 1; i <= 10000; ++i) {
    zantro::ItemRecord it = zantro::NewItem();
    it.ItemKind = i == 9000 ? 93 : kinds[i % 12];
    it.ALLGTOTAL = Money::Units(100000 + i);
    it.ALLNTOTAL = Money::Units(80000 + i);
    if (it.ItemKind == 20 || it.ItemKind == 95) {
      it.LineRoundAddend = Money::Units(std::max(1, i - 11));
      it.Opt4RoundAddend = Money::Units(i - 1);
    } else if (zantro::InRange(it.ItemKind, 81, 84) || it.ItemKind == 93) {
      // Small rates: a third of the items are overheads compounding on the running total.
      it.LineRoundAddend = Money::FromRaw(100);
      it.Opt4RoundAddend = Money::FromRaw(100);
      it.QuantityScale = Money::Units(it.ItemKind == 93 ? 10 : 2);
    }
    doc.ItemList.push_back(it);
  }
  doc.Title.KETA = 1000;
  for (auto _ : state) zantro::RecomputeBreakdown(doc);
}
BENCHMARK(BM_RecomputeBreakdown)->Unit(benchmark::kMicrosecond);

}  // namespace
