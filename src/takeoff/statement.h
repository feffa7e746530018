// The quantity statement (数量調書) of one item as lines to print: per system and floor (in the
// order they first appear) a heading and every measurement with its expression and result,
// then the totals per name, specification and unit. Texts are UTF-8.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "takeoff/sheet.h"

namespace zantro::takeoff {

enum class StatementKind { Heading, Measurement, TotalsHeading, Total };

// Cells: 図面, 名称, 仕様, 計算式, 倍数, 結果, 単位 (a heading has its text in the first cell).
struct StatementLine {
  StatementKind Kind = StatementKind::Measurement;
  std::array<std::string, 7> Cells;
};

std::vector<StatementLine> StatementOf(const std::vector<Row>& rows);

}  // namespace zantro::takeoff
