#include "printing/layout.h"

#include <algorithm>

namespace zantro::printing {

std::vector<PageSlice> Paginate(const std::vector<Money>& carries, int rowsPerPage) {
  rowsPerPage = std::max(rowsPerPage, 3);
  const int n = static_cast<int>(carries.size());
  std::vector<PageSlice> pages;
  Money running;
  int first = 0;
  do {
    PageSlice page;
    page.First = first;
    page.CarryIn = !pages.empty();
    page.Before = running;
    int room = rowsPerPage - (page.CarryIn ? 1 : 0);
    page.CarryOut = n - first > room;
    page.Count = page.CarryOut ? room - 1 : n - first;
    for (int i = first; i < first + page.Count; ++i) running += carries[i];
    page.After = running;
    first += page.Count;
    pages.push_back(page);
  } while (first < n);
  return pages;
}

namespace {

template <typename Row>
std::vector<Money> Carries(const std::vector<Row>& rows) {
  std::vector<Money> c;
  c.reserve(rows.size());
  for (const auto& r : rows) c.push_back(r.Carry);
  return c;
}

}  // namespace

std::vector<Page> LayoutPages(const PrintModel& m, const FormSet& forms) {
  std::vector<Page> pages;
  // The print data of one sheet carry that sheet's totals: a cover would quote them under
  // the whole job's name, so one sheet prints as its 明細書 only.
  if (forms.Cover && !m.SingleSheet) pages.push_back(Page{Form::Cover, -1, {}, 0});
  int number = 0;
  if (forms.Breakdown && !m.SingleSheet)
    for (const auto& slice : Paginate(Carries(m.Breakdown), geometry::kRowsPerPage))
      pages.push_back(Page{Form::Breakdown, -1, slice, ++number});
  if (forms.Sheets)
    for (size_t s = 0; s < m.Sheets.size(); ++s)
      for (const auto& slice : Paginate(Carries(m.Sheets[s].Rows), geometry::kRowsPerPage))
        pages.push_back(Page{Form::Sheet, static_cast<int>(s), slice, ++number});
  return pages;
}

int NumberedPageCount(const std::vector<Page>& pages) {
  int n = 0;
  for (const auto& p : pages) n += p.Number > 0 ? 1 : 0;
  return n;
}

}  // namespace zantro::printing
