// The price libraries at the sizes a trade's full catalogue reaches: a 100 000-entry library
// read and indexed (a picker's start, under 200 ms), a keystroke's search over it (under
// 30 ms), and a supplier's list of 10 000 rows planned and applied (under a second).
#include <benchmark/benchmark.h>

#include <string>

#include "platform/cp932.h"
#include "prices/library.h"
#include "prices/search.h"
#include "prices/supplier.h"

namespace zantro {
namespace {

PriceLibrary MakeLibrary(int n) {
  PriceLibrary lib;
  const std::string names[] = {Sj("配管用炭素鋼鋼管"), Sj("硬質塩化ビニルライニング鋼管"), Sj("エルボ"), Sj("仕切弁"),
                               Sj("グラスウール保温筒")};
  for (int i = 0; i < n; ++i) {
    PriceEntry e;
    e.Code = "P-" + std::to_string(100000 + i);
    e.Name = names[i % 5];
    e.Spec = Sj("白 ") + std::to_string(15 + i % 300) + "A";
    e.Unit = Sj("ｍ");
    e.LabourFactor = Money::FromRaw(850 + i % 100);
    e.CostPrice = Money::Units(800 + i % 5000);
    for (int l = 0; l < 5; ++l) e.Prices[static_cast<size_t>(l)] = Money::Units(1000 + i % 7000 + l * 10);
    e.Group = i % 6;
    e.Remarks = Sj("例示");
    lib.Entries.push_back(std::move(e));
  }
  return lib;
}

void BM_LoadLibrary(benchmark::State& state) {
  std::string bytes = EncodeLibrary(MakeLibrary(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    PriceLibrary lib = ParseLibrary(bytes, PriceFamily::Code, "codedata1.dat");
    PriceIndex index(lib.Entries);
    benchmark::DoNotOptimize(index.size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadLibrary)->Arg(100000)->Unit(benchmark::kMillisecond);

// The two halves of a picker's start: the file read and checked, the search index built.
void BM_ParseLibrary(benchmark::State& state) {
  std::string bytes = EncodeLibrary(MakeLibrary(100000));
  for (auto _ : state) benchmark::DoNotOptimize(ParseLibrary(bytes, PriceFamily::Code, "codedata1.dat").Entries.size());
}
BENCHMARK(BM_ParseLibrary)->Unit(benchmark::kMillisecond);

void BM_IndexLibrary(benchmark::State& state) {
  PriceLibrary lib = MakeLibrary(100000);
  for (auto _ : state) benchmark::DoNotOptimize(PriceIndex(lib.Entries).size());
}
BENCHMARK(BM_IndexLibrary)->Unit(benchmark::kMillisecond);

void BM_SearchKeystroke(benchmark::State& state) {
  PriceLibrary lib = MakeLibrary(100000);
  PriceIndex index(lib.Entries);
  // A code typed key by key, then a name: each text is one keystroke's search.
  const char* typed[] = {"p", "p-", "p-1", "p-12", "p-123", "鋼管", "保温", "25a"};
  size_t k = 0;
  for (auto _ : state) benchmark::DoNotOptimize(index.Search(typed[k++ % 8]).size());
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond);

void BM_SupplierImport(benchmark::State& state) {
  PriceLibrary base = MakeLibrary(20000);
  std::string csv = Sj("品番,品名,規格,単位,定価\r\n");
  for (int i = 0; i < 10000; ++i)
    csv += "P-" + std::to_string(100000 + i * 2) + "," + Sj("配管用炭素鋼鋼管") + ",20A,m,\"" + std::to_string(1 + i % 9) +
           ",234\"\r\n";
  SupplierMapping map;
  map.Code = 0, map.Name = 1, map.Spec = 2, map.Unit = 3, map.Prices[0] = 4;
  for (auto _ : state) {
    PriceLibrary lib = base;
    SupplierTable table = ParseSupplierCsv(csv, map.HeaderLines);
    auto changes = PlanSupplierImport(lib, table, map, "supplier.csv");
    ApplySupplierImport(lib, changes);
    benchmark::DoNotOptimize(lib.Entries.size());
  }
}
BENCHMARK(BM_SupplierImport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zantro
