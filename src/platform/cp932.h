// Shift-JIS (code page 932) <-> UTF-8.
// Records and files hold CP932 bytes; text becomes UTF-8 only where a person sees it.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zantro {

// CP932 bytes to UTF-8. An invalid byte becomes U+FFFD; a lead byte dangling at the
// very end (a text cut in the middle of a double-byte character) is dropped.
std::string ToUtf8(std::string_view cp932);

// UTF-8 to CP932 bytes. A character with no CP932 form becomes "?"; invalid UTF-8 bytes too.
std::string ToCp932(std::string_view utf8);

// UTF-8 to CP932 bytes, refusing rather than guessing: nullopt when a character has no CP932
// form or the text is not valid UTF-8; *offending then holds that character (or byte).
std::optional<std::string> ToCp932Exact(std::string_view utf8, std::string* offending = nullptr);

// Shorthand for literals in the source, which are UTF-8: Sj("消費税") gives the CP932 bytes.
inline std::string Sj(std::string_view utf8) { return ToCp932(utf8); }

// True when byte b starts a double-byte CP932 character.
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// True when byte b may end a double-byte CP932 character.
constexpr bool IsTrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Where text stops being Shift-JIS (CP932): the offset of the first byte that is neither a
// character of one byte (ASCII, half-width katakana 0xA1..0xDF) nor the lead of a lead/trail
// pair; npos when the whole text is. A lead byte alone at the very end is what a record field
// cut in bytes leaves, and counts as text only when the text fills its field exactly
// (size == capacity): the writers never write a text longer than its field.
// Text in another encoding (UTF-8) is found where its bytes break these rules, which much
// UTF-8 Japanese does not: that is not guessed at.
size_t Cp932Fault(std::string_view text, size_t capacity = std::string_view::npos);

// Why text is refused at the fault Cp932Fault found, for an error message: the byte and its
// place ("byte 6 (0x8B) is no Shift-JIS character"), and, when the whole text is valid UTF-8,
// the text as UTF-8 reads, which tells the user what the file was saved as.
std::string Cp932FaultText(std::string_view text, size_t at);

// Cuts CP932 text to at most n bytes. The cut is in bytes, as the record fields cut:
// a double-byte character may be split at the limit.
std::string CutBytes(std::string_view cp932, size_t n);

// How much of an offending text an error message quotes: at most this many characters.
inline constexpr size_t kQuoteChars = 80;

// The text an error message quotes, UTF-8: text that is not plain ASCII is taken as CP932 (the
// bytes of a file field or a command string). Longer than kQuoteChars characters, it is cut
// there between whole characters and ends in "…".
std::string QuoteText(std::string_view cp932);
// The same for text that is already UTF-8.
std::string QuoteUtf8(std::string_view utf8);

}  // namespace zantro
