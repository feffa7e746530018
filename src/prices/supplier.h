// A supplier's price list taken into a library: a CSV (Shift-JIS, as suppliers send it, or
// UTF-8 with its byte-order mark) whose columns the user maps once onto the library's; each
// row then either changes the entry it matches (by code, else by name, specification and
// unit) or becomes a new entry. The editor shows the changes before they are written.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "prices/library.h"

namespace zantro {

// Which column of the supplier's list (from 0) feeds each field of an entry; -1 for none.
struct SupplierMapping {
  int Code = -1, Name = -1, Spec = -1, Unit = -1, Labour = -1, Cost = -1;
  std::array<int, 5> Prices{-1, -1, -1, -1, -1};
  int HeaderLines = 1;  // lines before the first price row

  // "Code=0,Name=1,...": the text kept between imports.
  std::string Encode() const;
  static SupplierMapping Decode(std::string_view text);
  bool operator==(const SupplierMapping&) const = default;
};

struct SupplierTable {
  std::vector<std::string> Header;               // Shift-JIS, the last line before the rows
  std::vector<std::vector<std::string>> Rows;    // Shift-JIS
  std::vector<int> Lines;                        // the file line of each row
};
// The rows of a supplier's CSV (converted to Shift-JIS when it is UTF-8).
SupplierTable ParseSupplierCsv(std::string_view bytes, int headerLines);
// The rows of the first sheet of a supplier's workbook (.xlsx); raises FileError.
SupplierTable ParseSupplierXlsx(std::string_view bytes, int headerLines, const std::string& fileName);
// By the file's name: a workbook when it ends in ".xlsx", else a CSV.
SupplierTable ParseSupplierFile(std::string_view bytes, int headerLines, const std::string& fileName);

struct SupplierChange {
  int Row = 0;               // the row of the supplier's list (its file line)
  std::optional<size_t> At;  // the entry changed; nullopt for a new entry
  PriceEntry Old, New;
};

// What importing the table would do to lib: one change per row that alters an entry or adds
// one (rows that change nothing are left out). A price that is not a number (after yen signs,
// thousands separators and blanks are dropped) raises LibraryError naming file, line and
// column.
std::vector<SupplierChange> PlanSupplierImport(const PriceLibrary& lib, const SupplierTable& table,
                                               const SupplierMapping& map, const std::string& fileName);
// lib with the changes made (changed entries in place, new ones at the end).
void ApplySupplierImport(PriceLibrary& lib, const std::vector<SupplierChange>& changes);

// The key an entry is matched by when it has no code: name, specification and unit.
std::string MatchKey(std::string_view name, std::string_view spec, std::string_view unit);

}  // namespace zantro
