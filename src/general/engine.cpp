// The sheet and breakdown recomputations and the totals panel texts.
#include "general/engine.h"

#include <algorithm>

namespace zantro {
namespace {

// Entries first..last of a line or item range; empty when last < first.
struct Span {
  int64_t first = 1;
  int64_t last = 0;
};

// Range bounds are whole parts. A bound below 1 becomes 1, an end past the list becomes the
// last entry, and a start past the list gives an empty range: a range never reaches outside
// the list, whatever a damaged or hand-made file holds.
Span ClampedSpan(Money start, Money end, int64_t count) {
  int64_t first = std::max<int64_t>(start.raw / Money::kScale, 1);
  int64_t last = std::min<int64_t>(std::max<int64_t>(end.raw / Money::kScale, 1), count);
  if (first > count) return {};
  return {first, last};
}

// Kinds ending in 0 take every line of their range, kinds ending in 1..6 one price group.
bool InGroupOf(const LineRecord& line, int32_t rangeKind) {
  int32_t digit = rangeKind % 10;
  return digit == 0 || PriceGroupOf(line.sort) == digit - 1;
}

// Reduction lines count negative in every running sum.
void Accumulate(Money& sum, Money value, int32_t flag) {
  if (IsReductionLine(flag))
    sum -= value;
  else
    sum += value;
}

// Folding (丸込): the overhead gives up the remainder, so that the running total after it is
// a multiple of unit (cut toward zero).
Money Folded(Money amount, Money running, Money unit) {
  Money s = amount + running;
  if (s == kZero || unit == kZero) return amount;
  Money kept = Money::FromRaw(s.raw / unit.raw * unit.raw);  // never larger than s
  return amount - (s - kept);
}

// ---- The sheet ----

struct SheetPass {
  std::vector<LineRecord>& lines;
  const CalcSettings& set;
  MessageSink sink;
  Money Tc, Ts;  // running totals, reductions subtracted
  Money Xc, Xs;  // lines excluded from overhead (kinds 12, 22)
  Money Oc, Os;  // outer overheads (kind 82)
  int32_t taxLine = 0;
  int32_t taxSeen = 0;

  int64_t LastLine() const { return static_cast<int64_t>(lines.size()) - 1; }
  Money R1() const { return set.LineRoundAddend; }
};

// The cuts of every line are made before any amount is computed, so that range lines that
// read lines below them (labour, incidentals) see the same quantities those lines end with.
void CutAndClearLines(std::vector<LineRecord>& lines, const CalcSettings& set) {
  for (size_t r = 1; r < lines.size(); ++r) {
    LineRecord& l = lines[r];
    l.CostAmount = kZero;
    l.SubAmount = kZero;
    l.LabourFactor = CutLabourFactor(l.LabourFactor);
    l.CostQty = CutQuantity(l.CostQty, l.FLAG, set.QuantityScale);
    l.SubQty = CutQuantity(l.SubQty, l.FLAG, set.QuantityScale);
  }
}

// Calculated lines keep their submitted rounding mode in LabourFactor.
void SubRound(LineRecord& l, Money r1) { l.SubAmount = RoundByMode(l.SubAmount, l.LabourFactor, r1); }

void PricedAmounts(LineRecord& l, Money r1) {
  l.CostAmount = LineAmount(l.CostPrice, l.CostQty, r1);
  l.SubAmount = LineAmount(l.SubPrice, l.SubQty, r1);
}

// 50-56: a rate of the amounts in the range as they stand now (lines from this one down
// are still 0).
void RangeAmountLine(SheetPass& p, LineRecord& line) {
  Span span = ClampedSpan(line.CostQty, line.SubQty, p.LastLine());
  Money cost, sub;
  for (int64_t i = span.first; i <= span.last; ++i) {
    const LineRecord& l = p.lines[i];
    if (!InGroupOf(l, line.FLAG)) continue;
    Accumulate(cost, l.CostAmount, l.FLAG);
    Accumulate(sub, l.SubAmount, l.FLAG);
  }
  line.CostAmount = PercentOf(p.R1(), cost, line.CostPrice);
  line.SubAmount = PercentOf(p.R1(), sub, line.SubPrice);
  SubRound(line, p.R1());
}

// Range, overhead and tax lines hold bounds and rates in their quantity fields; they are not
// labour.
bool IsLabourSource(int32_t flag) { return !InRange(flag, 50, 76) && !InRange(flag, 81, 84); }

// 60-66: the labour of the range (quantity x labour factor), summed exactly and cut once,
// priced by the line's own prices.
void RangeLabourLine(SheetPass& p, LineRecord& line) {
  Span span = ClampedSpan(line.CostQty, line.SubQty, p.LastLine());
  ProductSum cost, sub;
  for (int64_t i = span.first; i <= span.last; ++i) {
    const LineRecord& l = p.lines[i];
    if (!IsLabourSource(l.FLAG) || !InGroupOf(l, line.FLAG)) continue;
    if (IsReductionLine(l.FLAG)) {
      cost.Subtract(l.CostQty, l.LabourFactor);
      sub.Subtract(l.SubQty, l.LabourFactor);
    } else {
      cost.Add(l.CostQty, l.LabourFactor);
      sub.Add(l.SubQty, l.LabourFactor);
    }
  }
  line.CostExtraPrice = cost.CutToScale(p.set.QuantityScale, p.set.Opt6RoundAddend);
  line.SubExtraPrice = sub.CutToScale(p.set.QuantityScale, p.set.Opt6RoundAddend);
  line.CostAmount = LineAmount(line.CostPrice, line.CostExtraPrice, p.R1());
  line.SubAmount = LineAmount(line.SubPrice, line.SubExtraPrice, p.R1());
  SubRound(line, p.R1());
}

// 70-76: a rate of the incidental amounts (incidental price x quantity) of the range; the
// labour lines, whose incidental prices are their summed labour, do not count.
void RangeExtraLine(SheetPass& p, LineRecord& line) {
  Span span = ClampedSpan(line.CostQty, line.SubQty, p.LastLine());
  Money cost, sub;
  for (int64_t i = span.first; i <= span.last; ++i) {
    const LineRecord& l = p.lines[i];
    if (InRange(l.FLAG, 60, 66) || !InGroupOf(l, line.FLAG)) continue;
    Accumulate(cost, LineAmount(l.CostExtraPrice, l.CostQty, p.R1()), l.FLAG);
    Accumulate(sub, LineAmount(l.SubExtraPrice, l.SubQty, p.R1()), l.FLAG);
  }
  line.CostAmount = PercentOf(p.R1(), cost, line.CostPrice);
  line.SubAmount = PercentOf(p.R1(), sub, line.SubPrice);
  SubRound(line, p.R1());
}

// 81-84: a rate of the running totals without the excluded lines; 84 also leaves out the
// outer overheads. 81/82 round the submitted side twice, 83/84 fold it.
void OverheadLine(SheetPass& p, LineRecord& l) {
  bool leaveOutOuter = l.FLAG == LineKinds::OverheadFoldExcl;
  Money costBase = p.Tc - p.Xc - (leaveOutOuter ? p.Oc : kZero);
  Money subBase = p.Ts - p.Xs - (leaveOutOuter ? p.Os : kZero);
  l.CostAmount = PercentOf(p.set.Opt4RoundAddend, costBase, l.CostQty);
  l.SubAmount = PercentOf(p.set.Opt4RoundAddend, subBase, l.SubQty);
  if (l.FLAG == LineKinds::OverheadIn || l.FLAG == LineKinds::OverheadOut) {
    SubRound(l, p.R1());
    l.SubAmount = RoundByMode(l.SubAmount, l.SecondRoundMode, p.R1());
  } else {
    l.SubAmount = Folded(l.SubAmount, p.Ts, p.set.Opt3Unit);
  }
  if (l.FLAG == LineKinds::OverheadOut) {
    p.Oc += l.CostAmount;
    p.Os += l.SubAmount;
  }
}

// The tax line is priced after the pass; a second one is reported and replaces the first.
void TaxLineSeen(SheetPass& p, int32_t r) {
  if (p.taxSeen == 1 && p.sink) p.sink(kDuplicateTaxMessage);
  p.taxSeen = 1;
  p.taxLine = r;
}

bool IsPricedKind(int32_t k) {
  return k == 10 || k == 11 || k == 20 || k == 21 || k == 110 || k == 120 || k == 150 || k == 170;
}

// Amounts of line r by its kind; kinds not named here keep the 0 they were reset to.
void ComputeAmounts(SheetPass& p, int32_t r) {
  LineRecord& l = p.lines[r];
  int32_t k = l.FLAG;
  if (IsPricedKind(k)) {
    PricedAmounts(l, p.R1());
  } else if (k == LineKinds::PricedExcluded || k == LineKinds::DecPricedExcluded) {
    PricedAmounts(l, p.R1());
    p.Xc += l.CostAmount;
    p.Xs += l.SubAmount;
  } else if (InRange(k, 50, 56)) {
    RangeAmountLine(p, l);
  } else if (InRange(k, 60, 66)) {
    RangeLabourLine(p, l);
  } else if (InRange(k, 70, 76)) {
    RangeExtraLine(p, l);
  } else if (InRange(k, 81, 84)) {
    OverheadLine(p, l);
  } else if (k == LineKinds::Tax) {
    TaxLineSeen(p, r);
  } else if (k == LineKinds::Percent || k == LineKinds::PercentQty) {
    // 180 is Cut(price x qty / 100 + R1); with R1 below 1 that is PercentOf, a rate of 0
    // giving 0 either way.
    l.CostAmount = PercentOf(p.R1(), l.CostPrice, l.CostQty);
    l.SubAmount = PercentOf(p.R1(), l.SubPrice, l.SubQty);
  } else if (k == LineKinds::AmountOnly) {
    l.CostAmount = l.CostPrice;
    l.SubAmount = l.SubPrice;
  }
}

// The tax line: always half up on the submitted total; the cost side carries the same tax
// only when its cost quantity is set.
void ApplyTax(SheetPass& p, Money& itemTaxN, Money& itemTaxG) {
  if (p.taxLine == 0) return;
  LineRecord& t = p.lines[p.taxLine];
  if (t.SubQty == kZero) return;
  t.SubAmount = PercentOf(kHalf, p.Ts, t.SubQty);
  if (t.CostQty != kZero) {
    t.CostQty = t.SubQty;
    t.CostAmount = t.SubAmount;
  } else {
    t.CostQty = kZero;
    t.CostPrice = kZero;
  }
  itemTaxN = t.SubAmount;
  itemTaxG = t.CostAmount;
  p.Ts += t.SubAmount;
  p.Tc += t.CostAmount;
}

// The fields whose amount did not fit on line r: for a priced line the side whose price times
// quantity overflows, for calculated lines the amounts they derive.
std::string OverflowField(const SheetPass& p, int32_t r) {
  const LineRecord& l = p.lines[r];
  if (IsPricedKind(l.FLAG) || l.FLAG == LineKinds::PricedExcluded || l.FLAG == LineKinds::DecPricedExcluded) {
    try {
      LineAmount(l.CostPrice, l.CostQty, p.R1());
    } catch (const MoneyOverflow&) {
      return "CostPrice x CostQty";
    }
    return "SubPrice x SubQty";
  }
  return "CostAmount, SubAmount";
}

// ---- The breakdown ----

struct BreakdownPass {
  Document& doc;
  Money Tc, Ts, TaxG, TaxN;
  Money OuterCost, OuterSub;  // overhead items of kind 82
  Money TaxBase;              // submitted totals of the items above, as the tax item sees them
};

// 20-29: the sums of the member items (30-39) in the heading's range.
void HeadingItem(BreakdownPass& p, ItemRecord& it) {
  Span span = ClampedSpan(it.RangeStart(), it.RangeEnd(), p.doc.LastItem());
  Money cost, sub;
  for (int64_t i = span.first; i <= span.last; ++i) {
    const ItemRecord& m = p.doc.ItemList[i];
    if (!InRange(m.ItemKind, ItemKinds::MemberFirst, ItemKinds::MemberLast)) continue;
    cost += m.ALLNTOTAL;
    sub += m.ALLGTOTAL;
  }
  it.ALLNTOTAL = cost;
  it.ALLGTOTAL = sub;
}

// 81-84 at breakdown level: addend [CUTLEVEL], 81/82 rounded by mode, 83/84 folded by [KETA].
void OverheadItem(BreakdownPass& p, ItemRecord& it) {
  const TitleRecord& title = p.doc.Title;
  bool leaveOutOuter = it.ItemKind == ItemKinds::OverheadFoldExcl;
  Money costBase = p.Tc - (leaveOutOuter ? p.OuterCost : kZero);
  Money subBase = p.Ts - (leaveOutOuter ? p.OuterSub : kZero);
  it.ALLNTOTAL = PercentOf(title.CUTLEVEL, costBase, it.CostRate());
  it.ALLGTOTAL = PercentOf(title.CUTLEVEL, subBase, it.SubRate());
  if (it.ItemKind == ItemKinds::OverheadIn || it.ItemKind == ItemKinds::OverheadOut)
    it.ALLGTOTAL = RoundByMode(it.ALLGTOTAL, it.RoundMode(), p.doc.Settings.LineRoundAddend);
  else
    it.ALLGTOTAL = Folded(it.ALLGTOTAL, p.Ts, Money::Units(title.KETA));
  if (it.ItemKind == ItemKinds::OverheadOut) {
    p.OuterCost += it.ALLNTOTAL;
    p.OuterSub += it.ALLGTOTAL;
  }
  p.Tc += it.ALLNTOTAL;
  p.Ts += it.ALLGTOTAL;
}

// 93: tax on the submitted totals above; the cost side carries it when AddTaxToCost is 1.
// Its tax replaces the sheet taxes summed so far.
void TaxItem(BreakdownPass& p, ItemRecord& it) {
  it.ALLGTOTAL = PercentOf(kHalf, p.TaxBase, it.TaxRate());
  it.ALLNTOTAL = it.AddTaxToCost() == kOne ? it.ALLGTOTAL : kZero;
  p.Ts += it.ALLGTOTAL;
  p.Tc += it.ALLNTOTAL;
  p.TaxG = it.ALLGTOTAL;
  p.TaxN = it.ALLNTOTAL;
  p.doc.Title.Opt2Int = 2;
  p.doc.TaxSeen = 1;
}

// 95: the items of its range, without headings, other subtotals and notes; reductions count
// negative. (Kinds 11-19 are not used by items and are skipped with the headings.)
void SubtotalItem(BreakdownPass& p, ItemRecord& it) {
  Span span = ClampedSpan(it.RangeStart(), it.RangeEnd(), p.doc.LastItem());
  Money cost, sub;
  for (int64_t i = span.first; i <= span.last; ++i) {
    const ItemRecord& m = p.doc.ItemList[i];
    int32_t k = m.ItemKind;
    if (InRange(k, 11, 29) || k == ItemKinds::Subtotal || k == ItemKinds::Note) continue;
    if (k == ItemKinds::Reduction) {
      cost -= m.ALLNTOTAL;
      sub -= m.ALLGTOTAL;
    } else {
      cost += m.ALLNTOTAL;
      sub += m.ALLGTOTAL;
    }
  }
  it.ALLNTOTAL = cost;
  it.ALLGTOTAL = sub;
}

void ComputeItem(BreakdownPass& p, ItemRecord& it) {
  int32_t k = it.ItemKind;
  if (InRange(k, ItemKinds::HeadingFirst, ItemKinds::HeadingLast)) {
    HeadingItem(p, it);
  } else if (InRange(k, 81, 84)) {
    OverheadItem(p, it);
  } else if (k == ItemKinds::Reduction) {
    p.Tc -= it.ALLNTOTAL;
    p.Ts -= it.ALLGTOTAL;
  } else if (k == ItemKinds::Tax) {
    TaxItem(p, it);
  } else if (k == ItemKinds::Subtotal) {
    SubtotalItem(p, it);
  } else if (k == ItemKinds::Note) {
    it.ALLNTOTAL = kZero;
    it.ALLGTOTAL = kZero;
  } else {  // items with a sheet, totals, unknown kinds
    p.Tc += it.ALLNTOTAL;
    p.Ts += it.ALLGTOTAL;
    p.TaxG += it.TAXGTOTAL;
    p.TaxN += it.TAXNTOTAL;
  }
}

// The tax base of later tax items, after item it has its final totals.
void AddToTaxBase(BreakdownPass& p, const ItemRecord& it) {
  int32_t k = it.ItemKind;
  if (k == ItemKinds::Reduction)
    p.TaxBase -= it.ALLGTOTAL;
  else if (!InRange(k, 20, 29) && k != ItemKinds::Tax && k != ItemKinds::Subtotal && k != ItemKinds::Note)
    p.TaxBase += it.ALLGTOTAL;
}

std::string DecimalText(__int128 v) {
  bool negative = v < 0;
  std::string s;
  do {
    int d = static_cast<int>(v % 10);
    s.insert(s.begin(), static_cast<char>('0' + (d < 0 ? -d : d)));
    v /= 10;
  } while (v != 0);
  return negative ? "-" + s : s;
}

}  // namespace

int RecomputeSheet(Document& doc, MessageSink sink) {
  CheckSettings(doc.Settings);
  CutAndClearLines(doc.LineList, doc.Settings);
  SheetPass p{doc.LineList, doc.Settings, sink, {}, {}, {}, {}, {}, {}};
  const std::string item = "item " + std::to_string(doc.CurrentItem);
  for (int32_t r = 1; r <= doc.LastLine(); ++r) {
    try {
      ComputeAmounts(p, r);
    } catch (const MoneyOverflow&) {
      throw MoneyOverflow(item + ", line " + std::to_string(r) + " (" + OverflowField(p, r) + ")");
    }
    const LineRecord& l = p.lines[r];
    try {
      Accumulate(p.Tc, l.CostAmount, l.FLAG);
      Accumulate(p.Ts, l.SubAmount, l.FLAG);
    } catch (const MoneyOverflow&) {
      throw MoneyOverflow(item + ", line " + std::to_string(r) + " (sheet total)");
    }
  }
  Money taxN, taxG;
  try {
    ApplyTax(p, taxN, taxG);
  } catch (const MoneyOverflow&) {
    throw MoneyOverflow(item + ", line " + std::to_string(p.taxLine) + " (tax)");
  }
  // The item's totals and tax are written only for an item that owns this sheet.
  if (ItemRecord* item = doc.CurrentSheetItem()) {
    item->ALLNTOTAL = p.Tc;
    item->ALLGTOTAL = p.Ts;
    item->TAXNTOTAL = taxN;
    item->TAXGTOTAL = taxG;
  }
  doc.Sheet = SheetTotals{p.Tc, p.Ts};
  doc.TaxSeen = p.taxSeen;
  return p.Tc == kZero && p.Ts == kZero ? 1 : 0;
}

void RecomputeBreakdown(Document& doc) {
  TitleRecord& title = doc.Title;
  title.Opt2Int = 0;
  if (title.DATALEVEL < 10) title.DATALEVEL = 15;
  if (title.KETA == 0) title.KETA = 1;
  BreakdownPass p{doc, {}, {}, {}, {}, {}, {}, {}};
  for (int32_t i = 1; i <= doc.LastItem(); ++i) {
    ItemRecord& it = doc.ItemList[i];
    // Any sheet tax marks the document; a later item may set the marker again.
    if (it.TAXGTOTAL != kZero || it.TAXNTOTAL != kZero) title.Opt2Int = 1;
    try {
      ComputeItem(p, it);
      AddToTaxBase(p, it);
    } catch (const MoneyOverflow&) {
      throw MoneyOverflow("breakdown item " + std::to_string(i) + " (totals)");
    }
  }
  title.ALLNTOTAL = p.Tc;
  title.ALLGTOTAL = p.Ts;
  title.TAXGTOTAL = p.TaxG;
  title.TAXNTOTAL = p.TaxN;
  doc.Breakdown = BreakdownTotals{p.Tc, p.Ts, p.TaxG, p.TaxN};
}

std::string MarginText(Money sub, Money cost) {
  if (sub == kZero) return "  0%";
  if (cost == kZero) return "100%";
  __int128 costShare = static_cast<__int128>(cost.raw) * 100 / sub.raw;  // cut toward zero
  return DecimalText(100 - costShare) + "%";
}

TotalsTexts TotalsTextsFor(const SheetTotals& sheet, const BreakdownTotals& document, bool showSheet) {
  TotalsTexts t;
  if (showSheet) {
    t.SUBNBOX = MoneyText(sheet.Cost);
    t.SUBGBOX = MoneyText(sheet.Sub);
    t.gsagaku = MoneyText(sheet.Sub - sheet.Cost);
  }
  t.NTOTALBOX = MoneyText(document.Cost);
  t.GTOTALBOX = MoneyText(document.Sub);
  t.nsagaku = MoneyText(document.Sub - document.Cost);
  t.AV1PL = MarginText(sheet.Sub, sheet.Cost);
  t.AV2PL = MarginText(document.Sub, document.Cost);
  return t;
}

TotalsTexts ShowTotals(Document& doc, int32_t mode, MessageSink sink) {
  if (mode == 0) RecomputeSheet(doc, sink);
  RecomputeBreakdown(doc);
  return TotalsTextsFor(doc.Sheet, doc.Breakdown, mode != 1);
}

}  // namespace zantro
