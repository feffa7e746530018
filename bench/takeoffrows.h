// Takeoff measurements as an estimator enters them, for the takeoff benchmarks: four systems,
// twelve floors, sixty sizes, every expression computed.
#pragma once
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "takeoff/sheet.h"

namespace zantro::bench {

inline std::vector<takeoff::Row> MakeTakeoffRows(int n) {
  std::vector<takeoff::Row> rows;
  const std::string systems[] = {Sj("給水"), Sj("給湯"), Sj("排水"), Sj("通気")};
  for (int i = 0; i < n; ++i) {
    takeoff::Row r;
    r.System = systems[i % 4];
    r.Floor = std::to_string(1 + i % 12) + "F";
    r.Drawing = "P-" + std::to_string(100 + i % 40);
    r.Name = Sj("配管用炭素鋼鋼管");
    r.Spec = Sj("白 ") + std::to_string(15 + (i % 60) * 5) + "A";
    r.Unit = "m";
    r.Expression = std::to_string(1 + i % 9) + ".5+2.4*" + std::to_string(1 + i % 4) + "+(1.2+0.8)/3";
    r.Multiplier = Money::Units(1 + i % 3);
    r.Result = *takeoff::Compute(r, nullptr);
    rows.push_back(std::move(r));
  }
  return rows;
}

}  // namespace zantro::bench
