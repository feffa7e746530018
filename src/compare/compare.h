// The revision comparison (見積比較): two documents, each read and recomputed as opening does,
// matched item by item and line by line, and every difference of what the user entered listed
// with its old and new values and what it does to the amounts. docs/compare.md gives the
// matching rule; the text report, the workbook, the PDF and compare_dlg all show these rows.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "general/container.h"
#include "general/money.h"

namespace zantro::compare {

// Pairs two sequences of keys. First by key: the k-th element with a key in old pairs with
// the k-th element with that key in new. Then by position: elements left unpaired on both
// sides that follow the same pair (or the start of both sides) are paired in order, the first
// left after that pair in old with the first left after it in new, and so on. Returns, for
// every old element, the index of its new partner or -1.
std::vector<int> PairElements(const std::vector<std::string>& oldKeys, const std::vector<std::string>& newKeys);

enum class State { Added, Removed, Changed };
std::string_view StateText(State s);  // "追加", "削除", "変更"

// One row of the comparison: a field of an item or a line that differs, or one of the amounts
// of an element added, removed or changed. Texts are UTF-8.
struct DiffRow {
  State Kind = State::Changed;
  int32_t Item = 0;        // the item's number: in the new document, in the old for a removal
  std::string ItemName;
  int32_t Row = 0;         // the line's row in its sheet (as Item); 0 for a row of the item
  std::string LineName;    // name and specification of the line ("" for an item row)
  std::string Field;       // "名称", "提出単価", "提出金額", ...
  std::string Old, New;    // the values as shown ("" on the side that lacks the element)
  std::string Difference;  // new - old for numbers ("+1,000", "-250", "0"); "" for texts
  bool Numeric = false;    // Old and New are the figures of OldValue and NewValue
  Money OldValue, NewValue;
  bool InNew = true;       // the row names a place in the new document (not a removal)
};

// The totals of both documents, as the breakdown list's totals give them.
struct Totals {
  Money OldSub, OldCost, NewSub, NewCost;
};

struct Result {
  std::vector<DiffRow> Rows;
  Totals Sums;
  int ChangedElements = 0;  // items and lines added, removed or changed
  // The documents differ: an element differs, or only their totals do.
  bool Differs() const {
    return ChangedElements > 0 || Sums.OldSub != Sums.NewSub || Sums.OldCost != Sums.NewCost;
  }
};

// Compares two documents that have been recomputed (CheckRecomputation).
Result Compare(const ParsedDocument& oldDoc, const ParsedDocument& newDoc);

// A number exactly as the comparison shows it: thousands separators, the decimals it has
// ("1,234.5"), "-" in front of a negative one.
std::string Figure(Money v);
// A difference: "+" in front of a positive one, "0" for none.
std::string SignedFigure(Money v);
// SignedFigure of newValue - oldValue, exact also where the difference leaves 64 bits.
std::string DifferenceText(Money oldValue, Money newValue);

}  // namespace zantro::compare
