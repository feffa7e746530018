#include "takeoff/expression.h"

#include <cstdint>

namespace zantro::takeoff {
namespace {

using i128 = __int128;

// Values beyond this stop the evaluation: products of two such values still fit 128 bits.
constexpr i128 kLimit = static_cast<i128>(1) << 62;

i128 Abs(i128 v) { return v < 0 ? -v : v; }

i128 Gcd(i128 a, i128 b) {
  a = Abs(a);
  b = Abs(b);
  while (b != 0) {
    i128 t = a % b;
    a = b;
    b = t;
  }
  return a == 0 ? 1 : a;
}

bool Reduce(i128 num, i128 den, Fraction& out) {
  if (den < 0) num = -num, den = -den;
  i128 g = Gcd(num, den);
  num /= g;
  den /= g;
  if (Abs(num) >= kLimit || den >= kLimit) return false;
  out = Fraction{num, den};
  return true;
}

bool Add(Fraction a, Fraction b, Fraction& out) { return Reduce(a.Num * b.Den + b.Num * a.Den, a.Den * b.Den, out); }

constexpr const char* kOverflow = "桁があふれました";

// A recursive-descent reader over the Shift-JIS bytes; the first fault ends it.
class Reader {
 public:
  explicit Reader(std::string_view t) : t_(t) {}

  Evaluation Run() {
    Evaluation e;
    Skip();
    if (pos_ == t_.size()) return Fail("式が入力されていません");
    if (!Sum(e.Value)) return Fail();
    Skip();
    if (pos_ != t_.size()) {
      if (t_[pos_] == ')') return Fail("閉じ括弧「)」に対応する「(」がありません（" + At() + "）");
      return Fail("演算子がありません（" + At() + "）");
    }
    e.Ok = true;
    return e;
  }

 private:
  Evaluation Fail(std::string why = {}) {
    Evaluation e;
    e.Error = why.empty() ? error_ : why;
    return e;
  }
  bool Error(std::string why) {
    if (error_.empty()) error_ = std::move(why);
    return false;
  }
  // The place of the fault, counted in characters from 1 (a double-byte character is one).
  std::string At() const {
    int chars = 0;
    for (size_t i = 0; i < pos_ && i < t_.size(); ++i, ++chars)
      if (LeadByte(static_cast<unsigned char>(t_[i]))) ++i;
    return std::to_string(chars + 1) + "文字目";
  }
  static bool LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

  void Skip() {
    while (pos_ < t_.size()) {
      if (t_[pos_] == ' ' || t_[pos_] == '\t') {
        ++pos_;
      } else if (t_.substr(pos_, 2) == "\x81\x40") {  // the full-width blank
        pos_ += 2;
      } else {
        break;
      }
    }
  }
  // The operator at the cursor: '+', '-', '*', '/' or 0.
  char Operator(size_t& width) {
    Skip();
    width = 1;
    if (pos_ >= t_.size()) return 0;
    char c = t_[pos_];
    if (c == '+' || c == '-' || c == '*' || c == '/') return c;
    if (c == 'x' || c == 'X') return '*';
    width = 2;
    std::string_view two = t_.substr(pos_, 2);
    if (two == "\x81\x7E") return '*';  // ×
    if (two == "\x81\x80") return '/';  // ÷
    if (two == "\x81\x7B") return '+';  // ＋
    if (two == "\x81\x7C") return '-';  // －
    return 0;
  }

  bool Sum(Fraction& out) {
    if (!Product(out)) return false;
    for (;;) {
      size_t w;
      char op = Operator(w);
      if (op != '+' && op != '-') return true;
      pos_ += w;
      Fraction rhs;
      if (!Product(rhs)) return false;
      if (op == '-') rhs.Num = -rhs.Num;
      if (!Add(out, rhs, out)) return Error(kOverflow);
    }
  }

  bool Product(Fraction& out) {
    if (!Factor(out)) return false;
    for (;;) {
      size_t w;
      char op = Operator(w);
      if (op != '*' && op != '/') return true;
      pos_ += w;
      Fraction rhs;
      if (!Factor(rhs)) return false;
      if (op == '/') {
        if (rhs.Num == 0) return Error("0で割ることはできません");
        rhs = Fraction{rhs.Den, rhs.Num};
        if (rhs.Den < 0) rhs.Num = -rhs.Num, rhs.Den = -rhs.Den;
      }
      if (!Multiply(out, rhs, out)) return Error(kOverflow);
    }
  }

  bool Factor(Fraction& out) {
    size_t w;
    char op = Operator(w);
    if (op == '-' || op == '+') {
      pos_ += w;
      if (!Factor(out)) return false;
      if (op == '-') out.Num = -out.Num;
      return true;
    }
    if (pos_ >= t_.size()) return Error("式が途中で終わっています");
    if (t_[pos_] == '(') {
      ++pos_;
      if (!Sum(out)) return false;
      Skip();
      if (pos_ >= t_.size() || t_[pos_] != ')') return Error("括弧「(」が閉じていません");
      ++pos_;
      return true;
    }
    return Number(out);
  }

  bool Number(Fraction& out) {
    size_t start = pos_;
    i128 num = 0, den = 1;
    int digits = 0, decimals = 0;
    bool point = false;
    for (; pos_ < t_.size(); ++pos_) {
      char c = t_[pos_];
      if (c == '.' && !point) {
        point = true;
        continue;
      }
      if (c < '0' || c > '9') break;
      if (point && ++decimals > 4) return Error("小数は4桁までです（" + At() + "）");
      num = num * 10 + (c - '0');
      if (point) den *= 10;
      if (++digits > 18) return Error(kOverflow);
    }
    if (digits == 0) {
      pos_ = start;
      return Error("数値がありません（" + At() + "）");
    }
    return Reduce(num, den, out) || Error(kOverflow);
  }

  std::string_view t_;
  size_t pos_ = 0;
  std::string error_;
};

}  // namespace

bool Multiply(Fraction a, Fraction b, Fraction& out) {
  // Cross-reduce first so that the products stay small.
  i128 g1 = Gcd(a.Num, b.Den), g2 = Gcd(b.Num, a.Den);
  return Reduce((a.Num / g1) * (b.Num / g2), (a.Den / g2) * (b.Den / g1), out);
}

bool ToMoney(Fraction f, Money& out) {
  i128 scaled = f.Num * Money::kScale;
  i128 q = scaled / f.Den, r = scaled % f.Den;
  if (Abs(r) * 2 >= f.Den) q += scaled < 0 ? -1 : 1;
  if (Abs(q) > static_cast<i128>(INT64_MAX)) return false;
  out = Money::FromRaw(static_cast<int64_t>(q));
  return true;
}

Fraction FromMoney(Money m) {
  Fraction f;
  Reduce(m.raw, Money::kScale, f);
  return f;
}

Evaluation Evaluate(std::string_view expression) { return Reader(expression).Run(); }

}  // namespace zantro::takeoff
