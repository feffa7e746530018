#include "cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace zantro {
namespace {

// One iconv descriptor per direction, opened once; the program has one thread.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as possible; returns false at an invalid or unmappable sequence,
  // with in/left positioned at it. Output is appended to out.
  bool Run(const char*& in, size_t& left, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buf[4096];
    while (left > 0) {
      char* o = buf;
      size_t room = sizeof buf;
      size_t r = iconv(cd_, const_cast<char**>(&in), &left, &o, &room);
      out.append(buf, o - buf);
      if (r != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& ToUtf8Conv() {
  static Converter c("UTF-8", "CP932");
  return c;
}
Converter& ToCp932Conv() {
  static Converter c("CP932", "UTF-8");
  return c;
}

// Length of the UTF-8 sequence starting at p (1 for a stray byte).
size_t Utf8SeqLen(const char* p, size_t left) {
  unsigned char b = static_cast<unsigned char>(*p);
  size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
  if (n > left) return 1;
  for (size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(p[i]) & 0xC0) != 0x80) return 1;
  return n;
}

}  // namespace

std::string ToUtf8(std::string_view cp932) {
  std::string out;
  out.reserve(cp932.size() * 3 / 2);
  const char* in = cp932.data();
  size_t left = cp932.size();
  while (left > 0) {
    if (ToUtf8Conv().Run(in, left, out)) break;
    // A lead byte at the very end is the half of a character cut off: drop it.
    if (left == 1 && IsLeadByte(static_cast<unsigned char>(*in))) break;
    out += "\xEF\xBF\xBD";  // U+FFFD
    ++in;
    --left;
  }
  return out;
}

std::string ToCp932(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  const char* in = utf8.data();
  size_t left = utf8.size();
  while (left > 0) {
    if (ToCp932Conv().Run(in, left, out)) break;
    size_t n = Utf8SeqLen(in, left);
    out += '?';
    in += n;
    left -= n;
  }
  return out;
}

std::optional<std::string> ToCp932Exact(std::string_view utf8, std::string* offending) {
  std::string out;
  out.reserve(utf8.size());
  const char* in = utf8.data();
  size_t left = utf8.size();
  if (left == 0 || ToCp932Conv().Run(in, left, out)) return out;
  if (offending) *offending = std::string(in, Utf8SeqLen(in, left));
  return std::nullopt;
}

size_t Cp932Fault(std::string_view text, size_t capacity) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) {
      ++i;
    } else if (!IsLeadByte(b)) {
      return i;
    } else if (i + 1 < n) {
      if (!IsTrailByte(static_cast<unsigned char>(text[i + 1]))) return i;
      i += 2;
    } else {
      return n == capacity ? std::string_view::npos : i;
    }
  }
  return std::string_view::npos;
}

std::string Cp932FaultText(std::string_view text, size_t at) {
  static const char* kHex = "0123456789ABCDEF";
  const auto b = static_cast<unsigned char>(text[at]);
  std::string out = "byte " + std::to_string(at + 1) + " (0x" + kHex[b >> 4] + kHex[b & 15] +
                    ") is no Shift-JIS character";
  bool utf8 = true;
  for (size_t i = 0; utf8 && i < text.size();) {
    size_t n = Utf8SeqLen(text.data() + i, text.size() - i);
    utf8 = n > 1 || static_cast<unsigned char>(text[i]) < 0x80;
    i += n;
  }
  if (utf8) out += "; the text reads as UTF-8: \"" + QuoteUtf8(text) + "\" (save the file as Shift-JIS)";
  return out;
}

std::string CutBytes(std::string_view cp932, size_t n) {
  return std::string(cp932.substr(0, n));
}

std::string QuoteText(std::string_view cp932) {
  size_t end = 0;
  size_t chars = 0;
  while (end < cp932.size() && chars < kQuoteChars) {
    end += IsLeadByte(static_cast<unsigned char>(cp932[end])) ? 2 : 1;
    ++chars;
  }
  end = std::min(end, cp932.size());
  std::string head(cp932.substr(0, end));
  bool ascii = true;
  for (unsigned char c : head) ascii = ascii && c < 0x80;
  std::string out = ascii ? head : ToUtf8(head);
  return end < cp932.size() ? out + "…" : out;
}

std::string QuoteUtf8(std::string_view utf8) {
  size_t end = 0;
  size_t chars = 0;
  while (end < utf8.size() && chars < kQuoteChars) {
    ++end;  // past the first byte, then past the continuation bytes of the character
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
    ++chars;
  }
  std::string out(utf8.substr(0, end));
  return end < utf8.size() ? out + "…" : out;
}

}  // namespace zantro
