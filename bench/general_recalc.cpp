// Batch recalculation of a large document: 200 items of 500 lines (100 000 lines), beside a
// plain copy of the same file for scale.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "general/container.h"
#include "general/recalc.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace {

using namespace zantro;

constexpr int kItems = 200;
constexpr int kLinesPerItem = 500;

// A container text with priced, decimal-quantity and range lines, a total line per sheet,
// then a subtotal and a tax item.
std::string LargeDocument() {
  std::string t = "<TITLE>\r\n[id]=B-\r\n[KETA]=1\r\n[CUTLEVEL]=0.5\r\n[Opt1Str]=A,B,C,D,E,F\r\n</TITLE>\r\n<ITEM>\r\n";
  for (int n = 1; n <= kItems; ++n) t += "10;" + Sj("配管工事") + std::to_string(n) + ";0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\r\n";
  t += "95;" + Sj("小計") + ";0;0;1;" + std::to_string(kItems) + ";0;0;0;0;0;;0;0;\r\n";
  t += "93;" + Sj("消費税") + ";0;0;0;0;10;0;0;0;0;;0;0;\r\n</ITEM>\r\n<DATA>\r\n";
  const std::string name = Sj("配管用炭素鋼鋼管;白 20A");
  for (int n = 1; n <= kItems; ++n) {
    std::string item = std::to_string(n) + ";";
    for (int r = 1; r < kLinesPerItem; ++r) {
      int price = 100 + (r * 37) % 9000;
      if (r % 50 == 0)  // a range line over the 49 lines above
        t += item + Sj("雑材費;") + ";0;0;" + Sj("式") + ";50;" + std::to_string(r - 49) + ";" +
             std::to_string(r - 1) + ";3;5;0;0;0;0;0;0;0;0;;;\r\n";
      else
        t += item + name + ";0.085;" + std::to_string(10001 + r) + ";m;" + (r % 2 ? "10" : "20") + ";" +
             std::to_string(r % 40 + 1) + ".25;" + std::to_string(r % 40 + 1) + ".25;" + std::to_string(price) +
             ";" + std::to_string(price * 13 / 10) + ";0;120;150;0;0;0;0;0;;" + Sj("備考") + ";\r\n";
    }
    t += item + Sj("【合　　計】") + ";;0;99999;;99;0;0;0;0;0;0;0;0;0;0;0;0;;;\r\n";
  }
  t += "</DATA>\r\n<PICKUP>\r\n</PICKUP>\r\n<CONFIG>\r\n</CONFIG>\r\n</EOF>\r\n";
  return t;
}

struct Files {
  std::string folder, in, out;
  Files() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zantro-bench-XXXXXX").string();
    folder = mkdtemp(tmpl.data()) ? tmpl : "/tmp";
    in = folder + "/large.znt2";
    out = folder + "/out.znt2";
    WriteFileAtomic(in, LargeDocument());
  }
  ~Files() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
};

const Files& Large() {
  static Files files;
  return files;
}

void BM_RecalcLargeDocument(benchmark::State& state) {
  const Files& f = Large();
  for (auto _ : state) {
    std::ostringstream err;
    if (RecalcDocument(f.in, f.out, err) != 0) state.SkipWithError(err.str().c_str());
  }
  state.counters["bytes"] = static_cast<double>(ReadFileBytes(f.in)->size());
}
BENCHMARK(BM_RecalcLargeDocument)->Unit(benchmark::kMillisecond);

void BM_ParseLargeDocument(benchmark::State& state) {
  const Files& f = Large();
  for (auto _ : state) benchmark::DoNotOptimize(ParseContainer(f.in));
}
BENCHMARK(BM_ParseLargeDocument)->Unit(benchmark::kMillisecond);

// The floor: read the file and write it atomically, as cp would copy it (plus the sync the
// container writer does).
void BM_CopyLargeDocument(benchmark::State& state) {
  const Files& f = Large();
  for (auto _ : state) WriteFileAtomic(f.out, *ReadFileBytes(f.in), nullptr, true);
}
BENCHMARK(BM_CopyLargeDocument)->Unit(benchmark::kMillisecond);

}  // namespace
