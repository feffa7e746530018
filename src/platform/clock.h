// Today's date from one place, so tests and scripts can fix it: ZANTRO_TODAY=YYYY-MM-DD.
#pragma once

namespace zantro {

struct Date {
  int year;
  int month;
  int day;
};

Date Today();

}  // namespace zantro
