// The registration export the window writes before it starts a library editor
// (csv_inport.tmp): one sheet line per text line, 18 fields each followed by ";" — name,
// specification, unit, labour factor, spare value, cost price, the submitted price five
// times, the cost incidental price, the submitted incidental price five times, remarks.
// The editors paste it as new entries ("CSVデータの貼り付け").
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "prices/library.h"

namespace zantro {

inline constexpr const char* kRegistrationFile = "csv_inport.tmp";

// The entries of the export's bytes; fileName names it in errors. A line with fewer than 18
// fields or a number that is not one raises LibraryError naming the line and the field.
std::vector<PriceEntry> ParseRegistration(std::string_view bytes, const std::string& fileName);

}  // namespace zantro
