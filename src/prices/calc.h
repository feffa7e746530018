// The calculated prices of a block of sheet lines (calcprice_dlg): the lines of the rows the
// window names, or those of one price group, summed into the one line the window inserts.
//   単価計算  one line "一式" whose prices are the lines' cost and submitted amounts
//   歩掛計算  the lines' labour (quantity x labour factor, cut to two decimals) as the
//             quantity of a labour line priced at the labour rate
//   付帯単価  one line "一式" whose prices are the lines' incidental amounts (quantity x
//             incidental price)
//   通常単価  the lines' amounts per unit of the first line's quantity, in its unit: the
//             price of one unit of the first line with everything below it included
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "general/records.h"
#include "messages/commands.h"

namespace zantro {

enum class CalcMode { UnitPrice = 1, Labour = 2, Incidental = 3, Normal = 4 };

struct CalcRequest {
  CalcMode Mode = CalcMode::UnitPrice;
  std::optional<int> Group;  // 0..5 = A..F: only the lines of that group
  Money LabourRate;          // 歩掛計算: the price of one unit of labour
};

// The request of a launch's mode field and group tag (1-4, 51-56; 2 or 3 with 61-66, 71-76).
CalcRequest CalcRequestOf(int mode, std::optional<int> groupTag);

struct CalcResult {
  std::vector<int> Rows;  // the rows taken (row numbers of the sheet)
  Money CostTotal, SubTotal;
  DetailLineMessage Line;  // the WM_CALCDATA line
};

// lines[0] is the sheet's sentinel, lines[r] row r; top..bottom as the window names them
// (rows past the last line are ignored). Only priced lines (kinds 10 to 29) are taken.
CalcResult CalculatePrice(const std::vector<LineRecord>& lines, int top, int bottom, const CalcRequest& req);

// The caption of a mode ("単価計算", ...), UTF-8.
const char* CalcModeCaption(CalcMode m);

}  // namespace zantro
