// Documents of the first version: one fixed-record file (".znt"), read only. A 464-byte title,
// an int32 item count, 140-byte items, then 228-byte lines until kind 999 or the end.
#pragma once
#include <string>
#include <string_view>

#include "general/container.h"

namespace zantro {

// Reads and checks a version-1 file. Title fields the format lacks keep the values of an empty
// document ([TAXGTOTAL] 0, [TAXNTOTAL] 0, [KETA] 1, [CUTLEVEL] 0.5). Raises FileError naming the
// file, the byte offset and the field when the file cannot be read, ends inside the title or
// the items, holds an item count below 0 or above what it can hold, or a line for an item
// number outside the item list. A last partial line is not read.
ParsedDocument ParseVersion1(const std::string& path);
ParsedDocument ParseVersion1Bytes(std::string_view bytes, const std::string& name);

// ParseVersion1, then WriteWorkFiles (HEAD.WRK and WITEMn.WRK; WITEM1.WRK always). Returns
// ItemCount. A bad file writes nothing.
int32_t ImportVersion1(const std::string& path, const std::string& folder);

// True when path names a version-1 file: its extension is exactly ".znt" or ".ZNT".
bool IsVersion1Path(std::string_view path);

// True when bytes have the shape of a version-1 file: a whole title whose texts fit their
// fields, and an item count whose items the file holds. A container never has it.
bool LooksLikeVersion1(std::string_view bytes);

}  // namespace zantro
