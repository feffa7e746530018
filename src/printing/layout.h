// The pages of a printed estimate: which form, which rows, what is carried from page to page.
// Qt-free: the geometry is in tenths of a millimetre on an A4 landscape sheet, and the drawing
// (render.h) follows these numbers exactly.
#pragma once
#include <vector>

#include "general/money.h"
#include "printing/model.h"

namespace zantro::printing {

namespace geometry {
inline constexpr double kPageWidth = 2970, kPageHeight = 2100;   // A4 landscape, 0.1 mm
inline constexpr double kMarginX = 150, kMarginTop = 110, kMarginBottom = 110;
inline constexpr double kTitleBand = 200;      // form title, construction name, item name
inline constexpr double kHeaderRow = 80;       // column captions
inline constexpr double kRowHeight = 66;
inline constexpr double kFooter = 70;          // company and page number
inline constexpr double kTableTop = kMarginTop + kTitleBand;
inline constexpr double kTableWidth = kPageWidth - 2 * kMarginX;
// Rows of a list page, carry rows included.
inline constexpr int kRowsPerPage =
    static_cast<int>((kPageHeight - kMarginBottom - kFooter - kTableTop - kHeaderRow) / kRowHeight);
}  // namespace geometry

// The rows of one page: Count rows from First, with the carry rows "前頁より繰越" (the running
// total Before) at the top and "次頁へ繰越" (After) at the bottom when the list goes on.
struct PageSlice {
  int First = 0, Count = 0;
  bool CarryIn = false, CarryOut = false;
  Money Before, After;   // running totals before the first and after the last row
};

// Splits a list whose rows add carries to the running total into pages of at most
// rowsPerPage rows, carry rows included (at least 3). Every row lands on exactly one page, in
// order; an empty list gives one empty page.
std::vector<PageSlice> Paginate(const std::vector<Money>& carries, int rowsPerPage);

enum class Form { Cover, Breakdown, Sheet };

struct Page {
  Form Kind = Form::Cover;
  int Sheet = -1;        // index into PrintModel::Sheets
  PageSlice Slice;
  int Number = 0;        // 1.. over the list pages; the cover has none
};

// Every page of the chosen forms in print order: the cover (not for the print data of one
// sheet, whose totals are that sheet's), the 内訳書, then each sheet from a
// new page. The 内訳書 of one sheet's print data is left out: its single row would only
// repeat the cover.
std::vector<Page> LayoutPages(const PrintModel& m, const FormSet& forms);

// The number of numbered (list) pages.
int NumberedPageCount(const std::vector<Page>& pages);

}  // namespace zantro::printing
