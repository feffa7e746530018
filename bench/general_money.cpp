// Cost of the per-line money rules; each runs for every line at every recomputation.
#include <benchmark/benchmark.h>

#include "general/money.h"

namespace {

using zantro::Money;

void BM_LineAmount(benchmark::State& state) {
  Money price = Money::FromRaw(12345678), qty = Money::FromRaw(23456);
  for (auto _ : state) {
    benchmark::DoNotOptimize(price);
    benchmark::DoNotOptimize(zantro::LineAmount(price, qty, zantro::kHalf));
  }
}
BENCHMARK(BM_LineAmount);

void BM_PercentOf(benchmark::State& state) {
  Money base = Money::FromRaw(1234560000), rate = Money::FromRaw(105000);
  for (auto _ : state) {
    benchmark::DoNotOptimize(base);
    benchmark::DoNotOptimize(zantro::PercentOf(zantro::kHalf, base, rate));
  }
}
BENCHMARK(BM_PercentOf);

void BM_RoundByMode(benchmark::State& state) {
  Money value = Money::FromRaw(12345670000);
  Money mode = Money::Units(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(zantro::RoundByMode(value, mode, zantro::kHalf));
  }
}
BENCHMARK(BM_RoundByMode)->Arg(3)->Arg(8);

}  // namespace
