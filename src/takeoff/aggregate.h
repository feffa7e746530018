// 調書集計: the sheet's takeoff lines ordered by price group and name, with a subtotal comment
// line after each group, in the places of the takeoff lines; the order kept in DATASORTn.WRK
// (docs/takeoff.md gives its lines).
#pragma once
#include <string>
#include <vector>

#include "general/records.h"

namespace zantro::takeoff {

struct SortEntry {
  bool Subtotal = false;
  char Group = 'A';
  std::string Name, Spec, Unit;  // lines only
  Money Quantity;                // lines only
  Money Amount;                  // the line's submitted amount, or the group's sum
  int32_t Count = 0;             // subtotals: the lines of the group
};

// The order of the takeoff lines of lines (file order): by group A..F, then name,
// specification and unit (byte order), keeping the sheet's order among equals; a subtotal
// after each group. Earlier subtotal comments are left out.
std::vector<SortEntry> OrderTakeoffLines(const std::vector<LineRecord>& lines);

// lines with their takeoff lines replaced by the ordered lines and subtotal comments.
std::vector<LineRecord> RewriteInOrder(const std::vector<LineRecord>& lines, int32_t item);

std::vector<std::string> SortFileLines(const std::vector<SortEntry>& order);
// The lines of a sort file read back; a damaged line raises FileError naming file and line.
std::vector<SortEntry> ParseSortFile(const std::vector<std::string>& lines, const std::string& fileName);

// DATASORTn.WRK of folder checked (missing: none), for the aggregation to refuse a damaged one
// before it writes anything.
std::vector<SortEntry> LoadSortFile(const std::string& folder, int32_t item);

// The whole aggregation on folder: checks WITEMn.WRK and DATASORTn.WRK, then writes both.
std::vector<SortEntry> AggregateSheet(const std::string& folder, int32_t item);

// "小計（A）": the name of a subtotal comment (Shift-JIS).
std::string SubtotalName(char group);

}  // namespace zantro::takeoff
