// Money: a signed 64-bit integer holding value x 10000, and every rule that computes, cuts,
// rounds or writes such values. Intermediates are 128-bit integers; nothing goes through
// floating point. Results that do not fit 64 bits raise MoneyOverflow.
#pragma once
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "general/errors.h"

namespace zantro {

struct Money {
  static constexpr int64_t kScale = 10000;
  int64_t raw = 0;

  static constexpr Money FromRaw(int64_t r) { return Money{r}; }
  // A whole number of units (checked in money.cpp by callers that can overflow).
  static constexpr Money Units(int64_t v) { return Money{v * kScale}; }

  constexpr auto operator<=>(const Money&) const = default;
};

// Checked arithmetic (throws MoneyOverflow).
Money operator+(Money a, Money b);
Money operator-(Money a, Money b);
Money operator-(Money a);
inline Money& operator+=(Money& a, Money b) { return a = a + b; }
inline Money& operator-=(Money& a, Money b) { return a = a - b; }

// Common values.
inline constexpr Money kZero = Money{0};
inline constexpr Money kHalf = Money{5000};
inline constexpr Money kNineTenths = Money{9000};
inline constexpr Money kOne = Money{10000};

// The five calculation settings of an open sheet; stored per item.
struct CalcSettings {
  Money LineRoundAddend = kHalf;
  Money Opt4RoundAddend = kHalf;
  Money QuantityScale = Money::Units(100);
  Money Opt3Unit = kOne;
  Money Opt6RoundAddend = kHalf;
};

// The settings check run at the start of every sheet recomputation: an invalid
// LineRoundAddend or Opt4RoundAddend becomes 0.5, QuantityScale 100, Opt3Unit 1.
void CheckSettings(CalcSettings& s);

// Whole part toward zero.
Money Cut(Money x);

// Tag of a three-variant menu item: 1 -> 0.9 (up), 2 -> 0 (cut), anything else -> 0.5.
Money AddendFor(int32_t tag);

// Cut(price x quantity + addend); addend is the LineRoundAddend in force.
Money LineAmount(Money price, Money quantity, Money addend);

// 0 when rate is 0, else Cut(base x rate / 100 + addend).
Money PercentOf(Money addend, Money base, Money rate);

// Rounding modes 1..6 (powers of ten with lineRoundAddend), 7..9 (2, 3, 4 significant
// figures of the whole part, cut), anything else unchanged.
Money RoundByMode(Money value, Money mode, Money lineRoundAddend);

// d significant figures of the whole part with the given addend.
Money SignificantRound(Money value, int d, Money addend);

// Kinds 10-19 whole, 20-29 cut to the quantity precision, others unchanged.
Money CutQuantity(Money q, int32_t kind, Money quantityScale);

// Three decimals, cut.
Money CutLabourFactor(Money f);

// An exact sum of products of two Money values, cut only once at the end (the summed labour
// of a range line). Raises MoneyOverflow only if the 128-bit sum itself would overflow.
class ProductSum {
 public:
  void Add(Money a, Money b);
  void Subtract(Money a, Money b);
  // Cut(sum x scale + addend) / scale: the sum cut to the precision of scale (10, 100, 1000).
  Money CutToScale(Money scale, Money addend) const;

 private:
  __extension__ __int128 raw2_ = 0;  // value x 10^8
};

// Exact value times factor, cut after adding addend: Cut(v x m + a).
Money ScaleCut(Money v, Money m, Money addend);

// "1,234,567", "-5,000", "0": thousands separators, no decimals (a fraction rounds half
// away from zero), no currency sign.
std::string MoneyText(Money v);

// A number as a person types it (UTF-8): full-width digits, "．", "－" and "，" become their
// ASCII forms and thousands separators are dropped, so "1,200" and "１５００" read as the plain
// numbers TextToMoney and StrToInt take. Other text is left for them to refuse.
std::string TypedNumber(std::string_view utf8);

// Shortest decimal text: "12.5", "3", "-0.25".
std::string MoneyToPlainText(Money v);
// The same text written at out, which has room for kPlainTextMax bytes; returns its end (for
// writers of many fields).
inline constexpr int kPlainTextMax = 24;
char* PlainTextAt(Money v, char* out);

// "%7.1F" / "%6.2F" / "%5.3F" for QuantityScale 10 / 100 / 1000, rounded half away from zero
// on the exact value; any other scale: callerText unchanged.
std::string QuantityText(Money q, Money quantityScale, std::string_view callerText = {});

// The same formats without padding (container files).
std::string QuantityTextTrimmed(Money q, Money quantityScale, std::string_view callerText = {});
// The text of QuantityTextTrimmed written at out, at most kPlainTextMax bytes (nothing for a
// scale without a format); returns its end.
char* QuantityTextAt(Money q, Money quantityScale, char* out);

// The standard text-to-currency conversion: blanks around, optional sign, digits with at
// most one ".", at least one digit; more than four decimals round to four (ties to even).
// Anything else raises ConversionError quoting the text.
Money StrToCurr(std::string_view text);

// StrToCurr of the text nearly every field holds: an optional "-", at most 14 whole digits and
// at most four decimals, nothing else (such a value always fits). False leaves any other text
// to StrToCurr. Inline: readers of many fields try it first.
inline bool ParsePlainCurrency(std::string_view t, Money& out) {
  const char* p = t.data();
  const char* end = p + t.size();
  bool negative = p != end && *p == '-';
  if (negative) ++p;
  const char* wholeStart = p;
  int64_t raw = 0;
  for (; p != end && *p >= '0' && *p <= '9'; ++p) {
    if (p - wholeStart == 14) return false;
    raw = raw * 10 + (*p - '0');
  }
  auto wholeDigits = p - wholeStart;
  int fracDigits = 0;
  if (p != end && *p == '.') {
    for (++p; p != end && *p >= '0' && *p <= '9' && fracDigits < 4; ++p, ++fracDigits) raw = raw * 10 + (*p - '0');
  }
  if (p != end || wholeDigits + fracDigits == 0) return false;
  for (int i = fracDigits; i < 4; ++i) raw *= 10;
  out = Money::FromRaw(negative ? -raw : raw);
  return true;
}

// Empty text or "\"\"" is 0; otherwise StrToCurr.
Money TextToMoney(std::string_view text);

// Text to a 32-bit integer: blanks around, optional sign, digits; overflow is an error.
int32_t StrToInt(std::string_view text);
// The same, giving def instead of raising.
int32_t StrToIntDef(std::string_view text, int32_t def);
// StrToCurr giving def instead of raising.
Money StrToCurrDef(std::string_view text, Money def);

// field up to the first ";" and the rest after it; without ";" both are the whole text.
std::pair<std::string, std::string> TakeField(std::string_view text);
// The same with ",".
std::pair<std::string, std::string> TakeCommaField(std::string_view text);

// Field k (1-based) of a ";"-terminated field string.
std::string FieldOf(std::string_view text, int k);

// Price groups. Selection index 0..5 = A..F: A below 12001, B 12001 to below 15001, ...,
// F from 24001 up (comparisons on the exact value).
int PriceGroupOf(Money sort);
// The letter shown for a line: "A".."F", lower case for kinds 12 and 22, "+" for a negative
// whole part or one above 27000.
std::string GroupLetter(Money sort, int32_t kind);

}  // namespace zantro
