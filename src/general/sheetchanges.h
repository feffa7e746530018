// The changes the detail sheet's commands make, as plain functions over the open document.
// A selection is grid rows, row r being line r; rows past the last line are never read or
// written. The window runs each change inside its edit frame (editframe.h), which takes the
// undo copy before and writes the working copy after.
#pragma once
#include <cstdint>
#include <string_view>

#include "general/document.h"
#include "general/linesfile.h"

namespace zantro {

enum class Change {
  None,     // nothing to do (a selection past the end, a move at the edge)
  Done,     // the document changed
  Refused,  // the command may not act here; nothing changed
};

// Line `line` (>= 1) of the open sheet; when it lies past the end, copies of filler are
// appended up to it first (blank lines by default). For the commands and messages that write
// a line at the cursor.
LineRecord& EnsureLine(Document& doc, int32_t line, const LineRecord& filler = LineRecord{});

// Range lines (kinds 50..79) hold the first and last line of their range in CostQty and SubQty.
bool IsRangeLine(int32_t flag);

// Erase: the selected lines become blank in place (SpareMoney and RefA keep their values).
// Refused when a selected line is takeoff data (kind >= 100).
Change EraseLines(Document& doc, RowSelection sel);

// Insert: as many blank lines as the selection has rows, before the top row; the ranges of the
// range lines keep pointing at the same lines. None when the top row is not a line.
Change InsertLines(Document& doc, RowSelection sel);

// Delete: the selected lines that exist; ranges renumbered (a range loses the deleted lines
// it covered and moves up by those deleted above it).
Change DeleteLines(Document& doc, RowSelection sel);
void DeleteLineRange(std::vector<LineRecord>& lines, int32_t at, int32_t count);

// The pick buffer is line 0 and doc.PickedLine its number. Move up/down: the line changes
// places with its neighbour and becomes the picked line (ranges are not renumbered).
Change MoveLineUp(Document& doc, int32_t line);
Change MoveLineDown(Document& doc, int32_t line);
// Swap: the picked line takes the content of line, and line the content held in the pick
// buffer. None before any move (the picked line is the buffer itself) or when either line
// does not exist.
Change SwapWithPicked(Document& doc, int32_t line);

// The total line "【合　　計】" (kind 99, sort 99999) at line; a line past the end is reached
// by appending blank lines. Refused over takeoff data (kind > 100).
Change PutTotalLine(Document& doc, int32_t line);

// The consumption-tax line "消  費  税" (kind 90, unit "％") at line, appending like the total
// line: submitted rate := rate, cost rate := rate when addToCost, else 0.
void PutTaxLine(Document& doc, int32_t line, Money rate, bool addToCost);

// True when the breakdown list holds a consumption-tax item (kind 93): a sheet then takes no
// tax line of its own.
bool HasTaxItem(const Document& doc);

// The sums of the cost and submitted quantities over the selected lines that exist.
struct QuantitySum {
  Money Cost;
  Money Sub;
};
QuantitySum SumQuantities(const Document& doc, RowSelection sel);

// The current item's name := name (CP932, cut to 100 bytes). False when no item is current.
bool RenameCurrentItem(Document& doc, std::string_view cp932Name);

}  // namespace zantro
