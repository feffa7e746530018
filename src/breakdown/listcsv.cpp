#include "breakdown/listcsv.h"

#include "breakdown/listchanges.h"
#include "breakdown/listtext.h"
#include "general/errors.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/outputs.h"

namespace zantro {
namespace {

std::string Plain(Money v) { return MoneyToPlainText(v); }

std::string ItemLine(const Document& doc, const ItemRecord& it) {
  const std::string name(it.ItemName.view());
  const Money sub = it.ALLGTOTAL, cost = it.ALLNTOTAL;
  switch (it.ItemKind) {
    case 20:
    case ItemKinds::Subtotal:
      return name + "," + Plain(sub) + "," + Plain(cost) + "," + Plain(sub - cost) + "," + Sj(RangeText(it));
    case 30:
      return "   " + name + "," + Plain(sub) + "," + Plain(cost) + "," + Plain(sub - cost);
    case ItemKinds::Reduction:
      return name + "," + Plain(sub) + "," + Sj("△") + Plain(cost) + "," + Plain(cost - sub);
    case ItemKinds::Total: {
      const BreakdownTotals& t = doc.Breakdown;
      return name + "," + Plain(t.Sub) + "," + Plain(t.Cost) + "," + Plain(t.Sub - t.Cost);
    }
    default:
      return name + "," + Plain(sub) + "," + Plain(cost) + "," + Plain(sub - cost);
  }
}

}  // namespace

std::string BreakdownCsv(const Document& doc, Progress& progress) {
  std::string out = Sj("内訳名称,提出金額,原  価,差  額,その他") + "\r\n";
  out.reserve(out.size() + doc.ItemList.size() * 64);
  for (int32_t i = 1; i <= doc.LastItem(); ++i) {
    StepOrCancel(progress, i - 1, doc.LastItem());
    out += ItemLine(doc, doc.ItemList[i]) + "\r\n";
  }
  StepOrCancel(progress, doc.LastItem(), doc.LastItem());
  return out;
}

void WriteBreakdownCsv(const Document& doc, const std::string& path, Progress& progress) {
  std::string error;
  if (!WriteOutput(path, BreakdownCsv(doc, progress), &error)) throw FileError(error);
}

}  // namespace zantro
