// The search of the pickers: a typed text narrows the entries of a library at each keystroke
// to those whose code, name or specification contains it (ASCII letters without regard to
// case). Entries whose code begins with the text come first, as typing a code expects; the
// rest keep the library's order.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "prices/library.h"

namespace zantro {

class PriceIndex {
 public:
  PriceIndex() = default;
  // Indexes entries (their positions are what Search returns).
  explicit PriceIndex(const std::vector<PriceEntry>& entries);

  // Positions of the matching entries; every entry for an empty or blank query. query is
  // UTF-8 as typed. subset, when given, limits the answer to those positions (a category).
  std::vector<uint32_t> Search(std::string_view query, const std::vector<uint32_t>* subset = nullptr) const;

  size_t size() const { return starts_.empty() ? 0 : starts_.size() - 1; }

 private:
  // Every entry's code, name and specification as UTF-8 with ASCII in lower case, each entry
  // ended by "\n" (no field holds a line break after a check): one pass of a substring search
  // answers a query over the whole library.
  std::string text_;
  std::vector<uint32_t> starts_;     // where each entry starts in text_, then text_.size()
  std::vector<uint32_t> codeEnds_;   // where each entry's code ends
};

// ASCII letters in lower case; other bytes unchanged (UTF-8 stays valid).
std::string FoldAscii(std::string_view s);

}  // namespace zantro
