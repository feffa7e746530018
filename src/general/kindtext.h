// The description of a line kind as the line-properties notice shows it and the line-entry
// dialog offers it, so both name a kind the same way.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace zantro {

// UTF-8 text; groupNames are the document's names A..F (Shift-JIS), used by the kinds
// restricted to a group. Empty for a kind without a description of its own (0, 22, 90, 140 ...).
std::string LineKindDescription(int32_t flag, const std::array<std::string, 6>& groupNames);

}  // namespace zantro
