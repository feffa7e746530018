// The printed estimate of a large document: model, page layout and the PDF drawn in memory.
// BM_EstimatePdf/200 is 200 items of 500 lines each (100 000 lines); it reports pages per
// second and the peak resident memory of the process (VmHWM) after the run.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <fstream>
#include <string>

#include "general/container.h"
#include "platform/cp932.h"
#include "platform/qtcore/qtenv.h"
#include "printing/layout.h"
#include "printing/model.h"
#include "printing/pdf.h"
#include "printing/render.h"

namespace {

using namespace zantro;
using namespace zantro::printing;

void EnsureApp() {
  static int argc = 1;
  static char name[] = "bench_printing";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  PrepareQtProcess();
  static QGuiApplication app(argc, argv);
}

ParsedDocument LargeDocument(int items, int lines) {
  ParsedDocument doc;
  doc.Title.NUMBER.set("B-1");
  doc.Title.CONSTRACT_1.set(Sj("大規模改修工事"));
  Money total;
  for (int n = 1; n <= items; ++n) {
    ItemRecord item;
    item.ItemKind = 10;
    item.ItemName.set(Sj("工種") + std::to_string(n));
    item.QuantityScale = Money::Units(100);
    auto& sheet = doc.Lines[n];
    Money sum;
    for (int i = 1; i <= lines; ++i) {
      LineRecord l;
      l.ItemNo = n;
      l.FLAG = 10;
      l.NameSpec.set(Sj("配管用炭素鋼鋼管;白 ") + std::to_string(i) + "A");
      l.Unit.set("m");
      l.SubQty = l.CostQty = Money::Units(i % 30 + 1);
      l.SubPrice = l.CostPrice = Money::Units(1000 + i);
      l.SubAmount = l.CostAmount = Money::Units((i % 30 + 1) * (1000 + i));
      sum += l.SubAmount;
      sheet.push_back(l);
    }
    item.ALLGTOTAL = item.ALLNTOTAL = sum;
    total += sum;
    doc.Items.push_back(item);
  }
  doc.Title.ALLGTOTAL = doc.Title.ALLNTOTAL = total;
  return doc;
}

long PeakKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmHWM:") {
      status >> value;
      return value;
    }
    status.ignore(4096, '\n');
  }
  return 0;
}

void BM_EstimatePdf(benchmark::State& state) {
  EnsureApp();
  ParsedDocument doc = LargeDocument(static_cast<int>(state.range(0)), 500);
  FontSet fonts = ResolveFonts(PrintStyle{});
  size_t pages = 0, bytes = 0;
  for (auto _ : state) {
    PrintModel m = BuildPrintModel(doc, PrintStyle{}, {});
    auto layout = LayoutPages(m, FormSet{});
    QByteArray pdf = RenderPdf(m, layout, fonts);
    pages += layout.size();
    bytes = static_cast<size_t>(pdf.size());
  }
  state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
  state.counters["pdf_MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["peak_MB"] = static_cast<double>(PeakKilobytes()) / 1024.0;
}
BENCHMARK(BM_EstimatePdf)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
