// The changes the breakdown list's commands make, as plain functions over the document and
// the detail files of its items. Row r of the list is item r. Parents (kinds 20-29) and
// subtotals (95) hold the rows they sum as a range; every change that inserts or removes a
// row moves those ranges and the detail files with the rows. The window runs each change
// inside its list edit frame, which takes the undo copy, keeps the moved files and writes the
// working copy; the checks that refuse a command come first and change nothing.
#pragma once
#include <cstdint>
#include <string_view>

#include "breakdown/itemfiles.h"
#include "general/container.h"
#include "general/document.h"
#include "general/sheetchanges.h"

namespace zantro {

// ---- ranges ----
bool HasRange(int32_t kind);  // 20-29 and 95
int32_t RangeStartRow(const ItemRecord& item);
int32_t RangeEndRow(const ItemRecord& item);
void SetRange(ItemRecord& item, int32_t start, int32_t end);

// A row holds costing data when it exists, is not a reduction and has a cost or submitted
// amount other than 0: such a row may not become a summary line.
bool HoldsCostingData(const Document& doc, int32_t row);
// True when any item carries the tax of its sheet (either tax field not 0).
bool AnySheetTax(const Document& doc);

// The new item that fills a row past the end of the list.
ItemRecord BlankItem(const Document& doc);  // with the document's configured settings
// Appends BlankItems until row exists; returns how many were appended.
int32_t ExtendList(Document& doc, int32_t row);

// ---- rows ----

// A new empty ordinary item (every amount and setting 0) at row p; the rows from p on and
// their files move down by one, ranges follow. None when p is past the end of the list.
Change InsertItemRow(Document& doc, ItemFiles& files, int32_t p);

// Removes row p with its files; the later rows and their files move up. A parent's range is
// promoted one level first. The list keeps at least one item. None when p is past the end.
Change DeleteItemRow(Document& doc, ItemFiles& files, int32_t p);

// Row target becomes a copy of row source with the source's detail lines and takeoff records
// (renumbered); a target past the end is reached with BlankItems, and a range that ended at
// the old last row grows over them.
void PasteItem(Document& doc, ItemFiles& files, int32_t source, int32_t target);

// ---- hierarchy ----
enum class HierarchyRefusal {
  None,
  Unnamed,     // a selected row is past the end of the list
  SummaryRow,  // totals, subtotals, overheads, reductions and tax stay out of a hierarchy
};
HierarchyRefusal CheckHierarchyRows(const Document& doc, int32_t top, int32_t bottom);
// The code of a new parent above row top: 0 when the hierarchy would be deeper than level 9.
int32_t ParentCodeFor(const Document& doc, int32_t top);
// Rows top..bottom become the members of a new parent named name (CP932) inserted at top.
void MakeHierarchy(Document& doc, ItemFiles& files, int32_t top, int32_t bottom, std::string_view name,
                   int32_t parentCode);

// ---- summary lines (names are CP932) ----

// A subtotal of rows top..bottom placed directly below them (inserted, or appended after the
// last row).
void PutSubtotal(Document& doc, ItemFiles& files, int32_t top, int32_t bottom, std::string_view name);
// Row becomes the grand total (the document's totals are shown on it).
void PutGrandTotal(Document& doc, int32_t row, std::string_view name);
// Row becomes a reduction of amount; the cost side too when costToo.
void PutReduction(Document& doc, int32_t row, std::string_view name, Money amount, bool costToo);
// Row becomes the consumption-tax line at rate percent.
void PutTaxItem(Document& doc, int32_t row, Money rate, bool addToCost);

struct OverheadFields {
  int32_t Kind = 81;          // 81-84
  std::string Name, Remarks;  // CP932
  Money Sub, Cost, CostRate, SubRate, RoundMode, Opt3Unit;
};
void PutOverhead(Document& doc, int32_t row, const OverheadFields& f);
// Row becomes a note; lineKind is the kind of the detail line the note was taken from.
void PutNote(Document& doc, int32_t row, std::string_view name, int32_t lineKind, std::string_view note);

// ---- transfer ----

// Row target becomes item k of another document (an ordinary item with its name, amounts,
// settings, flag, value and remarks) and its detail file holds that item's lines. Its
// takeoff file is left alone. False (nothing changed) when the document has no item k.
bool TakeOverItem(Document& doc, ItemFiles& files, const ParsedDocument& from, int32_t k, int32_t target);

}  // namespace zantro
