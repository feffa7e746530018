#include "prices/search.h"

#include <algorithm>
#include <functional>

#include "platform/cp932.h"

namespace zantro {

std::string FoldAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

namespace {
// Field separators inside an entry's text; neither can be typed into the search box.
constexpr char kFieldSep = '\x1f';
constexpr char kEntryEnd = '\n';

void AppendClean(std::string& out, std::string_view field) {
  for (char c : field) out += c == '\r' || c == '\n' || c == kFieldSep ? ' ' : c;
}
}  // namespace

PriceIndex::PriceIndex(const std::vector<PriceEntry>& entries) {
  // One conversion of the whole library (a converter call per field would cost more than the
  // rest of the index).
  std::string sjis;
  sjis.reserve(entries.size() * 64);
  for (const PriceEntry& e : entries) {
    AppendClean(sjis, e.Code);
    sjis += kFieldSep;
    AppendClean(sjis, e.Name);
    sjis += kFieldSep;
    AppendClean(sjis, e.Spec);
    sjis += kEntryEnd;
  }
  text_ = FoldAscii(ToUtf8(sjis));
  starts_.reserve(entries.size() + 1);
  codeEnds_.reserve(entries.size());
  uint32_t start = 0;
  for (size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == kFieldSep && codeEnds_.size() == starts_.size()) codeEnds_.push_back(static_cast<uint32_t>(i));
    if (text_[i] == kEntryEnd) {
      starts_.push_back(start);
      start = static_cast<uint32_t>(i + 1);
    }
  }
  starts_.push_back(static_cast<uint32_t>(text_.size()));
}

std::vector<uint32_t> PriceIndex::Search(std::string_view query, const std::vector<uint32_t>* subset) const {
  std::string q = FoldAscii(query);
  size_t b = q.find_first_not_of(" \t");
  size_t e = q.find_last_not_of(" \t");
  q = b == std::string::npos ? std::string() : q.substr(b, e - b + 1);
  const uint32_t n = static_cast<uint32_t>(size());
  std::vector<uint32_t> codeFirst, rest;
  if (q.empty()) {
    if (subset) return *subset;
    rest.resize(n);
    for (uint32_t i = 0; i < n; ++i) rest[i] = i;
    return rest;
  }
  auto take = [&](uint32_t i) {
    std::string_view code(text_.data() + starts_[i], codeEnds_[i] - starts_[i]);
    (code.starts_with(q) ? codeFirst : rest).push_back(i);
  };
  if (subset) {
    for (uint32_t i : *subset) {
      std::string_view entry(text_.data() + starts_[i], starts_[i + 1] - starts_[i]);
      if (entry.find(q) != std::string_view::npos) take(i);
    }
  } else {
    // One pass over the whole text; after a hit the search goes on at the next entry.
    std::boyer_moore_horspool_searcher searcher(q.begin(), q.end());
    auto it = text_.begin();
    while (true) {
      auto hit = std::search(it, text_.end(), searcher);
      if (hit == text_.end()) break;
      uint32_t pos = static_cast<uint32_t>(hit - text_.begin());
      uint32_t i = static_cast<uint32_t>(std::upper_bound(starts_.begin(), starts_.end(), pos) - starts_.begin() - 1);
      take(i);
      it = text_.begin() + starts_[i + 1];
    }
  }
  codeFirst.insert(codeFirst.end(), rest.begin(), rest.end());
  return codeFirst;
}

}  // namespace zantro
