// The measured lengths and counts of a takeoff row as the estimator reads them off the
// drawing ("3.5+2.4*2+1.2", "(4+2)*6"), evaluated exactly: fractions are kept whole until
// the one rounding to the four decimals of Money at the end. No floating point.
#pragma once
#include <string>
#include <string_view>

#include "general/money.h"

namespace zantro::takeoff {

// An exact fraction of 128-bit integers, always reduced, denominator above 0.
struct Fraction {
  __extension__ __int128 Num = 0;
  __extension__ __int128 Den = 1;
};

struct Evaluation {
  bool Ok = false;
  Fraction Value;        // when Ok
  std::string Error;     // UTF-8 reason, when not Ok (the cell names itself)
};

// Numbers (at most four decimals), + - * / and parentheses, unary minus, blanks; "×" and
// "÷" (Shift-JIS) and "x" for the operators people type. The text is Shift-JIS.
Evaluation Evaluate(std::string_view expression);

// a × b exactly; the reason in error when it would not fit.
bool Multiply(Fraction a, Fraction b, Fraction& out);
// The fraction rounded half away from zero to four decimals; false when it exceeds Money.
bool ToMoney(Fraction f, Money& out);
Fraction FromMoney(Money m);

}  // namespace zantro::takeoff
