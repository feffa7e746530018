// The configuration-file format: lines of a bracketed key, "=" and a value, in Shift-JIS.
// Keys are compared exactly (brackets included); values are kept as CP932 bytes.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zantro {

// Splits a line at its first "=" into key and value. A line without "=" gives an empty key
// (and is ignored by every reader).
std::pair<std::string, std::string> SplitConfLine(std::string_view line);

// The lines of the file name in folder, found without regard to case; nullopt when absent.
std::optional<std::vector<std::string>> ReadConfLines(const std::string& folder, std::string_view name);

// Single-key lookup at the moment a command runs: the value of the first line whose key
// equals key. nullopt when the file is missing or no line matches (callers that start from
// an empty text then keep it empty).
std::optional<std::string> ReadConfValue(const std::string& folder, std::string_view name,
                                         std::string_view key);

// The value as an integer; def when it is not a plain decimal number (blanks and a sign are
// allowed around and before the digits).
int ConfInt(std::string_view value, int def);

}  // namespace zantro
