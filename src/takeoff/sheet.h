// The takeoff sheet of one item: one row per measurement, kept in WITEMn.PUP as one
// TakeoffRecord each (docs/takeoff.md gives the field of every value). Texts are Shift-JIS.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "general/money.h"
#include "general/records.h"

namespace zantro::takeoff {

// The program's mode: where the window started it.
enum class Mode : int32_t { Duct = 1, Pipe = 2, Toolbar = 3 };

// Byte limits of the texts a row keeps (the record's fields).
inline constexpr size_t kSystemBytes = 32, kFloorBytes = 12, kDrawingBytes = 28, kNameSpecBytes = 100,
                        kUnitBytes = 4, kExpressionBytes = 40;

struct Row {
  std::string System, Floor, Drawing, Name, Spec, Unit, Expression;
  Money Multiplier = kOne;
  Money Width, Height;  // duct rows (mm): the result is the surface 2 × (W + H) ÷ 1000 × length
  Money Result;         // computed by Compute
  int32_t WrittenBy = 0;  // the mode that wrote the row

  bool IsDuct() const { return Width != kZero || Height != kZero; }
};

// The result of the row: its expression × multiplier (× the duct perimeter in metres), exact,
// rounded once to four decimals. nullopt with the reason (UTF-8) in *error.
std::optional<Money> Compute(const Row& row, std::string* error);

// The unit a new row of the mode starts with.
std::string DefaultUnit(Mode mode);

TakeoffRecord ToRecord(const Row& row, int32_t item, int32_t order);
Row FromRecord(const TakeoffRecord& r);

// The rows of WITEMn.PUP of folder; none when the file is missing. A damaged file (not whole
// records, a record of another item, a text longer than its field, a result that is not its
// expression's) raises FileError naming the file, the record (from 1) and the field.
std::vector<Row> LoadRows(const std::string& folder, int32_t item);
std::vector<Row> DecodeRows(std::string_view bytes, const std::string& fileName, int32_t item);

// The rows as WITEMn.PUP's bytes, and written atomically (FileError when that fails).
std::string EncodeRows(const std::vector<Row>& rows, int32_t item);
void SaveRows(const std::string& folder, int32_t item, const std::vector<Row>& rows);

// Texts packed into the whole numbers of a record, as many bytes as the numbers hold.
void PackText(std::string_view text, int32_t* ints, size_t count);
std::string UnpackText(const int32_t* ints, size_t count);

}  // namespace zantro::takeoff
