// A unit-price library: the entries of one codedataN.dat, multidataN.dat or treedataN.dat.
// The file is a spreadsheet's CSV (docs/price-libraries.md): Shift-JIS, CR LF, optional note
// lines starting with "#", one header line naming the columns, then one entry per line. The
// reader checks the whole file and refuses it at the first bad field, naming file, line and
// column; the writer replaces the file atomically.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "general/errors.h"
#include "general/money.h"

namespace zantro {

enum class PriceFamily { Code, Sequence, Tree };

// The capacities of the line fields an entry is written into (bytes of Shift-JIS).
inline constexpr size_t kNameSpecBytes = 100;  // name + ";" + specification
inline constexpr size_t kUnitBytes = 4;
inline constexpr size_t kRemarksBytes = 40;

struct PriceEntry {
  // Tree family: the category path; sequence family: the set and the member's ratio to the
  // base quantity. Unused by the other families.
  std::string Category1, Category2;
  std::string SetName;
  Money Ratio = kOne;
  // Every family. Texts are Shift-JIS bytes.
  std::string Code, Name, Spec, Unit;
  Money LabourFactor, CostPrice;
  std::array<Money, 5> Prices{};  // the submitted price of each level
  Money CostExtra;
  std::array<Money, 5> Extras{};  // the submitted incidental price of each level
  int Group = 0;                  // price group 0..5 = A..F
  std::string Remarks;

  bool operator==(const PriceEntry&) const = default;
};

struct PriceLibrary {
  PriceFamily Family = PriceFamily::Code;
  std::vector<std::string> Notes;  // the "#" lines before the header, without their "#"
  std::vector<PriceEntry> Entries;
};

// The file of library n of a family: "codedata3.dat", "multidata2.dat", "treedata12.dat".
std::string LibraryFileName(PriceFamily f, int n);
// The columns of a family's file, in order (UTF-8 captions, as the header line holds them).
std::vector<std::string> LibraryColumns(PriceFamily f);

// A library file that does not check: where and why.
class LibraryError : public FileError {
 public:
  LibraryError(std::string file, int line, int column, std::string columnName, std::string why);
  const std::string File;        // as given to the reader
  const int Line;                // from 1
  const int Column;              // from 1; 0 when the line as a whole is wrong
  const std::string ColumnName;  // UTF-8, empty with column 0
  const std::string Why;         // UTF-8
};

// The library held by bytes; fileName only names it in errors. Raises LibraryError.
PriceLibrary ParseLibrary(std::string_view bytes, PriceFamily f, const std::string& fileName);
// The library of a file. Raises LibraryError (a file that does not check) or FileError (one
// that cannot be read).
PriceLibrary ReadLibrary(const std::string& path, PriceFamily f);
// The bytes of the file that holds lib.
std::string EncodeLibrary(const PriceLibrary& lib);
// Writes lib atomically; raises FileError when it cannot, leaving the old file as it was.
void WriteLibrary(const std::string& path, const PriceLibrary& lib);

// The fields of an entry as its file line holds them, in the order of LibraryColumns
// (Shift-JIS texts, numbers as plain decimals, the group as its letter).
std::vector<std::string> EntryFields(const PriceEntry& e, PriceFamily f);

// The letter of a group, "A".."F".
char GroupLetterOf(int group);

// Checks one entry as the reader checks a line; the text of the first fault (UTF-8) and its
// column (from 1), or column 0 when the entry is sound. The editors check every row with it.
struct EntryFault {
  int Column = 0;
  std::string Why;
};
EntryFault CheckEntry(const PriceEntry& e, PriceFamily f);

}  // namespace zantro
