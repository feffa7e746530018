// The money rules: exact arithmetic on the raw value (value x 10000) with 128-bit
// intermediates. Cuts truncate toward zero; whole-unit rounding is always an addend followed
// by a cut; only a quotient that needs more than four decimals rounds to nearest, ties to even.
#include "general/money.h"

#include <algorithm>
#include <climits>

#include "platform/cp932.h"

namespace zantro {
namespace {

using i128 = __int128;
constexpr i128 kS = Money::kScale;

Money Fit(i128 raw) {
  if (raw > INT64_MAX || raw < INT64_MIN) throw MoneyOverflow();
  return Money::FromRaw(static_cast<int64_t>(raw));
}

i128 Mul(i128 a, i128 b) {
  i128 r;
  if (__builtin_mul_overflow(a, b, &r)) throw MoneyOverflow();
  return r;
}

i128 Add128(i128 a, i128 b) {
  i128 r;
  if (__builtin_add_overflow(a, b, &r)) throw MoneyOverflow();
  return r;
}

i128 Pow10(int k) {
  i128 p = 1;
  for (int i = 0; i < k; ++i) p *= 10;
  return p;
}

i128 Abs(i128 v) { return v < 0 ? -v : v; }

// n / d rounded to nearest, ties to even.
i128 DivNearestEven(i128 n, i128 d) {
  i128 q = n / d;
  i128 r2 = Abs(n % d) * 2;
  i128 ad = Abs(d);
  if (r2 > ad || (r2 == ad && (q % 2) != 0)) q += ((n < 0) != (d < 0)) ? -1 : 1;
  return q;
}

// Whole units of numerator / (unitDen) cut toward zero, as a raw Money.
Money WholeOf(i128 numerator, i128 unitDen) { return Fit(Mul(numerator / unitDen, kS)); }

// Number of digits of the whole part, without sign ("0" has one digit).
int WholeDigits(Money v) {
  i128 w = Abs(static_cast<i128>(v.raw) / kS);
  int n = 1;
  while (w >= 10) {
    w /= 10;
    ++n;
  }
  return n;
}

// Cut(value / p + addend) x p for a power of ten p (in whole units).
Money CutAtPower(Money value, i128 p, Money addend) {
  i128 num = Add128(value.raw, Mul(addend.raw, p));
  i128 q = num / (p * kS);
  return Fit(Mul(Mul(q, p), kS));
}

// Digits of a non-negative integer, grouped by thousands when asked. Written from the end of a
// buffer; values that fit 64 bits (every amount does) avoid the slow 128-bit division.
std::string Digits(i128 v, bool group) {
  char buffer[64];
  char* end = buffer + sizeof buffer;
  char* p = end;
  int n = 0;
  auto put = [&](int digit) {
    if (group && n > 0 && n % 3 == 0) *--p = ',';
    *--p = static_cast<char>('0' + digit);
    ++n;
  };
  if (v <= static_cast<i128>(UINT64_MAX)) {
    uint64_t u = static_cast<uint64_t>(v);
    do {
      put(static_cast<int>(u % 10));
      u /= 10;
    } while (u > 0);
  } else {
    do {
      put(static_cast<int>(v % 10));
      v /= 10;
    } while (v > 0);
  }
  return std::string(p, end);
}

std::string_view TrimBlanks(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  return t;
}

// Sign and the text after it.
bool TakeSign(std::string_view& t) {
  if (t.empty() || (t.front() != '+' && t.front() != '-')) return false;
  bool negative = t.front() == '-';
  t.remove_prefix(1);
  return negative;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The quoted text of a conversion message must be readable and short: text that is not ASCII
// is taken as CP932 (command-string fields and file fields are), and a long one is cut.
std::string Quoted(std::string_view text) { return "'" + QuoteText(text) + "'"; }

[[noreturn]] void BadCurrency(std::string_view text) {
  throw ConversionError(Quoted(text) + " is not a valid floating point value");
}

[[noreturn]] void BadInteger(std::string_view text) {
  throw ConversionError(Quoted(text) + " is not a valid integer value");
}

// Parses the currency text; false when it is not one (or does not fit).
bool ParseCurrency(std::string_view text, Money& out) {
  if (ParsePlainCurrency(text, out)) return true;
  std::string_view t = TrimBlanks(text);
  bool negative = TakeSign(t);
  // A whole part above this cannot fit whatever follows; it is refused at once, which also
  // keeps the digits in 64 bits.
  constexpr uint64_t kWholeLimit = static_cast<uint64_t>(INT64_MAX / Money::kScale) + 1;
  uint64_t whole = 0;
  int64_t frac = 0;
  int digits = 0, fracDigits = 0;
  bool dot = false, roundUp = false, tie = false;
  for (char c : t) {
    if (c == '.') {
      if (dot) return false;
      dot = true;
      continue;
    }
    if (!IsDigit(c)) return false;
    ++digits;
    int d = c - '0';
    if (!dot) {
      whole = whole * 10 + static_cast<uint64_t>(d);
      if (whole > kWholeLimit) return false;
    } else if (fracDigits < 4) {
      frac = frac * 10 + d;
      ++fracDigits;
    } else if (fracDigits == 4) {  // the first dropped digit decides, the rest break a tie
      roundUp = d > 5;
      tie = d == 5;
      ++fracDigits;
    } else if (d != 0 && tie) {
      roundUp = true;
      tie = false;
    }
  }
  if (digits == 0) return false;
  for (int i = fracDigits; i < 4; ++i) frac *= 10;
  i128 raw = static_cast<i128>(whole) * kS + frac;
  if (roundUp || (tie && raw % 2 != 0)) ++raw;
  if (negative) raw = -raw;
  if (raw > INT64_MAX || raw < INT64_MIN) return false;
  out = Money::FromRaw(static_cast<int64_t>(raw));
  return true;
}

bool ParseInt(std::string_view text, int32_t& out) {
  std::string_view t = TrimBlanks(text);
  bool negative = TakeSign(t);
  if (t.empty()) return false;
  int64_t v = 0;
  for (char c : t) {
    if (!IsDigit(c)) return false;
    v = v * 10 + (c - '0');
    if (v > static_cast<int64_t>(INT32_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  out = static_cast<int32_t>(v);
  return true;
}

std::pair<std::string, std::string> TakeUpTo(std::string_view text, char sep) {
  size_t at = text.find(sep);
  if (at == std::string_view::npos) return {std::string(text), std::string(text)};
  return {std::string(text.substr(0, at)), std::string(text.substr(at + 1))};
}

// The quantity format of a scale: "%7.1F", "%6.2F", "%5.3F"; decimals 0 for any other scale.
struct QuantityFormat {
  int decimals = 0;
  size_t width = 0;
};

QuantityFormat FormatFor(Money scale) {
  if (scale == Money::Units(10)) return {1, 7};
  if (scale == Money::Units(100)) return {2, 6};
  if (scale == Money::Units(1000)) return {3, 5};
  return {};
}

// Fixed notation with the given decimals, half away from zero on the exact value.
std::string FixedText(Money q, int decimals) {
  i128 unit = Pow10(4 - decimals);
  i128 n = (Abs(q.raw) + unit / 2) / unit;
  i128 p = Pow10(decimals);
  std::string frac = Digits(n % p, false);
  frac.insert(0, static_cast<size_t>(decimals) - frac.size(), '0');
  std::string s = Digits(n / p, false) + "." + frac;
  return (q.raw < 0 && n != 0) ? "-" + s : s;
}

}  // namespace

Money operator+(Money a, Money b) { return Fit(static_cast<i128>(a.raw) + b.raw); }
Money operator-(Money a, Money b) { return Fit(static_cast<i128>(a.raw) - b.raw); }
Money operator-(Money a) { return Fit(-static_cast<i128>(a.raw)); }

void CheckSettings(CalcSettings& s) {
  auto isAddend = [](Money a) { return a == kHalf || a == kNineTenths || a == kZero; };
  if (!isAddend(s.LineRoundAddend)) s.LineRoundAddend = kHalf;
  if (!isAddend(s.Opt4RoundAddend)) s.Opt4RoundAddend = kHalf;
  if (s.QuantityScale != Money::Units(10) && s.QuantityScale != Money::Units(100) &&
      s.QuantityScale != Money::Units(1000))
    s.QuantityScale = Money::Units(100);
  bool unitOk = false;
  for (int64_t u = 1; u <= 100000; u *= 10) unitOk = unitOk || s.Opt3Unit == Money::Units(u);
  if (!unitOk) s.Opt3Unit = kOne;
}

Money Cut(Money x) { return Money::FromRaw(x.raw - x.raw % Money::kScale); }

Money AddendFor(int32_t tag) {
  if (tag == 1) return kNineTenths;
  if (tag == 2) return kZero;
  return kHalf;
}

Money ScaleCut(Money v, Money m, Money addend) {
  i128 num = static_cast<i128>(v.raw) * m.raw + static_cast<i128>(addend.raw) * kS;
  return WholeOf(num, kS * kS);
}

Money LineAmount(Money price, Money quantity, Money addend) { return ScaleCut(price, quantity, addend); }

Money PercentOf(Money addend, Money base, Money rate) {
  if (rate == kZero) return kZero;
  // base x rate / 100 + addend, over the common denominator 100 x kS x kS.
  i128 num = static_cast<i128>(base.raw) * rate.raw + static_cast<i128>(addend.raw) * kS * 100;
  return WholeOf(num, kS * kS * 100);
}

Money RoundByMode(Money value, Money mode, Money lineRoundAddend) {
  int64_t m = mode.raw / Money::kScale;
  if (m >= 1 && m <= 6) return CutAtPower(value, Pow10(static_cast<int>(m)), lineRoundAddend);
  if (m >= 7 && m <= 9) {
    int k = WholeDigits(value) - static_cast<int>(m - 5);
    return k > 0 ? CutAtPower(value, Pow10(k), kZero) : value;
  }
  return value;
}

Money SignificantRound(Money value, int d, Money addend) {
  int k = WholeDigits(value) - d;
  return k > 0 ? CutAtPower(value, Pow10(k), addend) : value;
}

Money CutQuantity(Money q, int32_t kind, Money quantityScale) {
  if (kind >= 10 && kind <= 19) return Cut(q);
  if (kind < 20 || kind > 29) return q;
  ProductSum exact;
  exact.Add(q, kOne);
  return exact.CutToScale(quantityScale, kZero);
}

Money CutLabourFactor(Money f) { return Money::FromRaw(f.raw - f.raw % 10); }

void ProductSum::Add(Money a, Money b) { raw2_ = Add128(raw2_, static_cast<i128>(a.raw) * b.raw); }

void ProductSum::Subtract(Money a, Money b) { raw2_ = Add128(raw2_, -(static_cast<i128>(a.raw) * b.raw)); }

Money ProductSum::CutToScale(Money scale, Money addend) const {
  if (scale == kZero) return Fit(DivNearestEven(raw2_, kS));  // no precision to cut to
  // raw2_ carries eight decimals; times the scale's raw value that makes twelve.
  i128 num = Add128(Mul(raw2_, scale.raw), Mul(addend.raw, kS * kS));
  i128 whole = num / (kS * kS * kS);
  return Fit(DivNearestEven(Mul(whole, kS * kS), scale.raw));
}

std::string MoneyText(Money v) {
  i128 n = (Abs(v.raw) + kS / 2) / kS;
  std::string s = Digits(n, true);
  return (v.raw < 0 && n != 0) ? "-" + s : s;
}

namespace {

// The digits of u written forward at out, zero-padded to width; returns their end. Written in
// place, not copied from a scratch buffer: the writers of many fields call this for every one.
char* DigitsAt(uint64_t u, int width, char* out) {
  int n = 1;
  for (uint64_t bound = 10; n < 20 && u >= bound; bound *= 10) ++n;
  if (n < width) n = width;
  char* end = out + n;
  for (char* p = end; p != out; u /= 10) *--p = static_cast<char>('0' + u % 10);
  return end;
}

uint64_t Magnitude(Money v) { return v.raw < 0 ? 0 - static_cast<uint64_t>(v.raw) : static_cast<uint64_t>(v.raw); }

}  // namespace

char* PlainTextAt(Money v, char* out) {
  // Every file field is written through here: no 128-bit arithmetic.
  if (v.raw == 0) {  // most fields of a line
    *out = '0';
    return out + 1;
  }
  uint64_t a = Magnitude(v);
  uint64_t frac = a % Money::kScale;
  if (v.raw < 0) *out++ = '-';
  out = DigitsAt(a / Money::kScale, 1, out);
  if (frac == 0) return out;
  int decimals = 4;
  for (; frac % 10 == 0; frac /= 10) --decimals;
  *out++ = '.';
  return DigitsAt(frac, decimals, out);
}

std::string MoneyToPlainText(Money v) {
  char buffer[kPlainTextMax];
  return std::string(buffer, PlainTextAt(v, buffer));
}

char* QuantityTextAt(Money q, Money quantityScale, char* out) {
  // FixedText without 128-bit arithmetic: the magnitude of any int64 plus half a unit fits 64
  // bits unsigned.
  int decimals = FormatFor(quantityScale).decimals;
  if (decimals == 0) return out;
  uint64_t unit = 1;
  for (int i = decimals; i < 4; ++i) unit *= 10;
  uint64_t n = (Magnitude(q) + unit / 2) / unit;
  uint64_t p = Money::kScale / unit;
  if (q.raw < 0 && n != 0) *out++ = '-';
  out = DigitsAt(n / p, 1, out);
  *out++ = '.';
  return DigitsAt(n % p, decimals, out);
}

std::string QuantityTextTrimmed(Money q, Money quantityScale, std::string_view callerText) {
  QuantityFormat f = FormatFor(quantityScale);
  return f.decimals == 0 ? std::string(callerText) : FixedText(q, f.decimals);
}

std::string QuantityText(Money q, Money quantityScale, std::string_view callerText) {
  QuantityFormat f = FormatFor(quantityScale);
  if (f.decimals == 0) return std::string(callerText);
  std::string s = FixedText(q, f.decimals);
  if (s.size() < f.width) s.insert(0, f.width - s.size(), ' ');
  return s;
}

Money StrToCurr(std::string_view text) {
  Money m;
  if (!ParseCurrency(text, m)) BadCurrency(text);
  return m;
}

Money StrToCurrDef(std::string_view text, Money def) {
  Money m;
  return ParseCurrency(text, m) ? m : def;
}

Money TextToMoney(std::string_view text) {
  if (text.empty() || text == "\"\"") return kZero;
  return StrToCurr(text);
}

int32_t StrToInt(std::string_view text) {
  int32_t v;
  if (!ParseInt(text, v)) BadInteger(text);
  return v;
}

int32_t StrToIntDef(std::string_view text, int32_t def) {
  int32_t v;
  return ParseInt(text, v) ? v : def;
}

std::pair<std::string, std::string> TakeField(std::string_view text) { return TakeUpTo(text, ';'); }

std::pair<std::string, std::string> TakeCommaField(std::string_view text) { return TakeUpTo(text, ','); }

std::string FieldOf(std::string_view text, int k) {
  std::string_view field;
  for (int taken = 0; taken < k; ++taken) {
    size_t at = text.find(';');
    if (at == std::string_view::npos) break;
    field = text.substr(0, at);
    text.remove_prefix(at + 1);
  }
  return std::string(field);
}

int PriceGroupOf(Money sort) {
  int group = 0;
  for (int64_t bound = 12001; bound <= 24001 && sort >= Money::Units(bound); bound += 3000) ++group;
  return group;
}

std::string GroupLetter(Money sort, int32_t kind) {
  int64_t s = sort.raw / Money::kScale;
  if (s < 0 || s > 27000) return "+";
  int group = s <= 12000 ? 0 : static_cast<int>((s - 12001) / 3000) + 1;
  char letter = static_cast<char>((kind == 12 || kind == 22 ? 'a' : 'A') + group);
  return std::string(1, letter);
}

std::string TypedNumber(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    // Full-width digits, "．", "－", "，" (U+FF10..U+FF19, U+FF0E, U+FF0D, U+FF0C): EF BC 8C..99.
    if (c == 0xEF && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0xBC) {
      unsigned char d = static_cast<unsigned char>(utf8[i + 2]);
      if (d >= 0x8C && d <= 0x99) {
        out += static_cast<char>(d - 0x8C + ',');
        i += 2;
        continue;
      }
    }
    out += static_cast<char>(c);
  }
  // Commas go only where they group the whole part by thousands ("1,200", "-12,345.5"); any
  // other comma ("12,5", a decimal comma) stays, and the number is refused as typed.
  const size_t first = !out.empty() && (out[0] == '-' || out[0] == '+') ? 1 : 0;
  const size_t end = std::min(out.find('.'), out.size());
  std::string_view whole = std::string_view(out).substr(first, end - first);
  if (whole.find(',') == std::string_view::npos) return out;
  size_t group = 0;  // digits since the last comma
  for (size_t i = 0; i < whole.size(); ++i) {
    if (whole[i] == ',') {
      if (group == 0 || (group > 3) || (i > group && group != 3)) return out;
      group = 0;
    } else if (whole[i] >= '0' && whole[i] <= '9') {
      ++group;
    } else {
      return out;
    }
  }
  if (group != 3) return out;
  std::erase(out, ',');
  return out;
}

}  // namespace zantro
