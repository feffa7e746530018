// The command-string field reader and the number conversions that follow it in every handler,
// and the short number path of the file readers against the full conversion.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "general/money.h"

using namespace zantro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string previous;
  for (int k = 1; k <= 8; ++k) {
    std::string field = FieldOf(text, k);
    // A field never holds the separator, and fields past the last one repeat the last.
    if (field.find(';') != std::string::npos) std::abort();
    if (text.find(';') == std::string::npos && !field.empty()) std::abort();
    try {
      Money m = TextToMoney(field);
      // What converts writes back to a text that converts to the same value.
      if (StrToCurr(MoneyToPlainText(m)) != m) std::abort();
      (void)MoneyText(m);
    } catch (const ConversionError&) {
    } catch (const MoneyOverflow&) {
    }
    // The short path that readers of many fields try first agrees with the full conversion
    // (a leading blank, which the full one allows, keeps the text off the short path).
    if (Money plain; ParsePlainCurrency(field, plain)) {
      if (StrToCurr(" " + field) != plain) std::abort();
    }
    previous = field;
  }
  auto [field, rest] = TakeField(text);
  if (text.find(';') == std::string::npos && (field != text || rest != text)) std::abort();
  return 0;
}
