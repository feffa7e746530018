// The copy buffer pasted into a sheet (paste1: the records inserted at the cursor): one
// insertion of the whole block, so 100 000 records cost a pass over the sheet, not one per record.
#include <benchmark/benchmark.h>

#include "general/linesfile.h"

namespace {

void BM_PasteInserting(benchmark::State& state) {
  std::vector<zantro::LineRecord> records(static_cast<size_t>(state.range(0)));
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].FLAG = i % 50 == 0 ? 51 : 10;  // a few range lines, which the paste renumbers
    records[i].CostQty = zantro::Money::Units(1);
    records[i].SubQty = zantro::Money::Units(3);
  }
  for (auto _ : state) {
    std::vector<zantro::LineRecord> sheet(1001);
    int32_t current = 0;
    zantro::InsertBlankLines(sheet, 500, 1);
    zantro::PasteLines(sheet, records, {500, 500}, current, true);
    benchmark::DoNotOptimize(sheet.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PasteInserting)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
