#include "clock.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace zantro {

Date Today() {
  if (const char* fixed = std::getenv("ZANTRO_TODAY")) {
    Date d{};
    if (std::sscanf(fixed, "%d-%d-%d", &d.year, &d.month, &d.day) == 3) return d;
  }
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace zantro
