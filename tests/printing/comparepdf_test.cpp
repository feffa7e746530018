// The 変更対比表 of a long comparison: its rows carried over pages in order, the totals on the
// last page, each page numbered, read back with pdftotext.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "printing/comparepdf.h"
#include "printing/layout.h"
#include "testutil/tempdir.h"

namespace zantro::printing {
namespace {

using zantro::testing::TempDir;

compare::Result Rows(int count) {
  compare::Result r;
  for (int i = 1; i <= count; ++i) {
    compare::DiffRow d;
    d.Item = 1;
    d.ItemName = "配管工事";
    d.Row = i;
    d.LineName = "行" + std::to_string(i);
    d.Field = "提出単価";
    d.Old = "1,000";
    d.New = std::to_string(1000 + i);
    d.Difference = "+" + std::to_string(i);
    r.Rows.push_back(d);
  }
  r.Sums = {Money::Units(5000), Money::Units(4000), Money::Units(5100), Money::Units(4000)};
  return r;
}

std::vector<std::string> Pages(const std::string& pdf) {
  std::string text;
  FILE* p = popen(("pdftotext -layout '" + pdf + "' -").c_str(), "r");
  char buf[65536];
  for (size_t n; p && (n = fread(buf, 1, sizeof buf, p)) > 0;) text.append(buf, n);
  if (p) pclose(p);
  std::vector<std::string> pages;
  std::stringstream in(text);
  for (std::string page; std::getline(in, page, '\f');)
    if (page.find_first_not_of(" \n") != std::string::npos) pages.push_back(page);
  return pages;
}

TEST(ComparePdf, RowsAndTotalsFillPagesInOrder) {
  const int perPage = geometry::kRowsPerPage;
  EXPECT_EQ(ComparePageCount(Rows(0)), 1);
  EXPECT_EQ(ComparePageCount(Rows(perPage - 2)), 1);
  EXPECT_EQ(ComparePageCount(Rows(perPage - 1)), 2);
  EXPECT_EQ(ComparePageCount(Rows(2 * perPage - 2)), 2);
  EXPECT_EQ(ComparePageCount(Rows(2 * perPage - 1)), 3);

  TempDir dir;
  compare::Result r = Rows(perPage);  // the totals go over to page 2
  WriteComparePdf(r, {"old.znt2", "new.znt2"}, ZANTRO_PROGRAM_DIR, dir.file("t.pdf"), {});
  std::vector<std::string> pages = Pages(dir.file("t.pdf"));
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_NE(pages[0].find("1/2"), std::string::npos);
  EXPECT_NE(pages[1].find("2/2"), std::string::npos);
  EXPECT_NE(pages[0].find("行1 "), std::string::npos);
  EXPECT_NE(pages[0].find("+" + std::to_string(perPage) + "\n"), std::string::npos);
  EXPECT_EQ(pages[0].find("合計"), std::string::npos);
  EXPECT_NE(pages[1].find("5,100"), std::string::npos);
  EXPECT_NE(pages[1].find("+100"), std::string::npos);
  EXPECT_NE(pages[1].find("旧"), std::string::npos);
  EXPECT_NE(pages[1].find("old.znt2"), std::string::npos);
}

}  // namespace
}  // namespace zantro::printing
