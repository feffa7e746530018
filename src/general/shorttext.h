// ShortText<N>: one length byte and N bytes of Shift-JIS text, as the records store it.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace zantro {

template <size_t N>
struct ShortText {
  uint8_t len = 0;
  char bytes[N] = {};

  static constexpr size_t kCapacity = N;

  // The stored text; a length byte above the capacity (a damaged file) reads as the capacity.
  std::string_view view() const { return std::string_view(bytes, std::min<size_t>(len, N)); }
  std::string str() const { return std::string(view()); }

  // Stores CP932 bytes, cut to N bytes (a double-byte character may be split at the limit).
  // Bytes after the text are zeroed so that records written to disk carry no stale text.
  void set(std::string_view cp932) {
    size_t n = std::min(cp932.size(), N);
    std::memcpy(bytes, cp932.data(), n);
    std::memset(bytes + n, 0, N - n);
    len = static_cast<uint8_t>(n);
  }
  bool empty() const { return len == 0; }
  // A length byte above the capacity (a damaged file) becomes the capacity.
  void clamp() {
    if (len > N) len = static_cast<uint8_t>(N);
  }
};

static_assert(sizeof(ShortText<12>) == 13);
static_assert(sizeof(ShortText<100>) == 101);

}  // namespace zantro
