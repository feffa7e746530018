// The printed estimate read back from the PDF with pdftotext: the real "zantro --pdf" command
// writes it, and every name and amount must stand on the right form and page.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>

#include "general/container.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;

const std::string kProgram = ZANTRO_PROGRAM_DIR;
const std::string kSample = std::string(ZANTRO_SOURCE_DIR) + "/data/Sample/sample.znt2";

std::string Run(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

int Pdf(const std::string& document, const std::string& out, const TempDir& dir) {
  std::string cmd = "'" + kProgram + "/zantro' --pdf '" + document + "' '" + out + "' --program-folder '" + kProgram +
                    "' 2>'" + dir.file("stderr") + "'";
  return WEXITSTATUS(std::system(cmd.c_str()));
}

// The text of every page, blanks removed: the layout spreads captions and aligns columns.
std::vector<std::string> PageTexts(const std::string& pdf) {
  std::string text = Run("pdftotext -layout '" + pdf + "' -");
  std::vector<std::string> pages;
  std::stringstream in(text);
  std::string page;
  while (std::getline(in, page, '\f')) pages.push_back(page);
  if (!pages.empty() && pages.back().find_first_not_of(" \n") == std::string::npos) pages.pop_back();
  return pages;
}

std::string Squeeze(std::string s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == ' ') continue;
    if (s.compare(i, 3, "　") == 0) {
      i += 2;
      continue;
    }
    out += s[i];
  }
  return out;
}

bool Has(const std::string& page, const std::string& text) { return Squeeze(page).find(Squeeze(text)) != std::string::npos; }

// The amount printed after caption on the page ("次頁へ繰越 ... 1,234"), or -1.
long CarryOn(const std::string& page, const std::string& caption) {
  std::smatch m;
  std::regex re(caption + R"([^\n]*?([0-9][0-9,]*)\s*\n)");
  if (!std::regex_search(page, m, re)) return -1;
  std::string digits;
  for (char c : m[1].str())
    if (c != ',') digits += c;
  return std::stol(digits);
}

TEST(PdfCommand, EveryNameAndAmountOfTheSampleStandsOnItsFormAndPage) {
  TempDir dir;
  ASSERT_EQ(Pdf(kSample, dir.file("s.pdf"), dir), 0) << ReadFileBytes(dir.file("stderr")).value_or("");
  auto pages = PageTexts(dir.file("s.pdf"));
  ParsedDocument doc = ParseContainer(kSample);
  ASSERT_EQ(pages.size(), 5u);  // cover, the 内訳書, three sheets
  for (const char* text : {"御見積書", "株式会社山田不動産", "管理部 御中", "￥4,597,555－", "￥4,179,595", "￥417,960",
                           "令和8年12月7日", "山田ビル空調換気設備改修工事", "株式会社ザントロ設備", "出来高払い"})
    EXPECT_TRUE(Has(pages[0], text)) << text;
  EXPECT_TRUE(Has(pages[1], "内訳書"));
  EXPECT_TRUE(Has(pages[1], "合計 4,597,555"));
  for (const auto& item : doc.Items) {
    EXPECT_TRUE(Has(pages[1], ToUtf8(item.ItemName.view()))) << ToUtf8(item.ItemName.view());
    EXPECT_TRUE(Has(pages[1], MoneyText(item.ALLGTOTAL)));
  }
  int page = 2;
  for (const auto& [n, lines] : doc.Lines) {
    const std::string& text = pages[page++];
    EXPECT_TRUE(Has(text, "明細書"));
    EXPECT_TRUE(Has(text, ToUtf8(doc.Items[n - 1].ItemName.view())));
    EXPECT_TRUE(Has(text, "【合計】" + MoneyText(doc.Items[n - 1].ALLGTOTAL)));
    for (const auto& line : lines) {
      std::string name = ToUtf8(line.NameSpec.view());
      name = name.substr(0, name.find(';'));
      EXPECT_TRUE(Has(text, name)) << name;
      EXPECT_TRUE(Has(text, MoneyText(line.SubAmount))) << name;
    }
  }
  EXPECT_TRUE(Has(pages[4], "4/4"));
}

// A sheet of 500 lines, line i priced at i: every line lands on exactly one page, and what a
// page carries to the next is the sum of the lines printed so far.
TEST(PdfCommand, ALongSheetBreaksIntoPagesWithoutLosingALineAndCarriesItsTotal) {
  TempDir dir;
  std::string text = "<TITLE>\n[NUMBER]=L-500\n[ItemMax]=1\n</TITLE>\n<ITEM>\n10;長い明細;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\n</ITEM>\n<DATA>\n";
  for (int i = 1; i <= 500; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "品目%04d", i);
    // Every tenth name is too long for its column: it must still print whole.
    std::string longName = i % 10 == 0 ? std::string(name) + "長い名称の配管用炭素鋼鋼管継手類" : name;
    text += "1;" + longName + ";規格;0;0;個;10;1;1;" + std::to_string(i) + ";" + std::to_string(i) + ";0;0;0;0;0;0;0;0;;;\n";
  }
  text += "</DATA>\n<PICKUP>\n</PICKUP>\n<CONFIG>\n</CONFIG>\n</EOF>\n";
  ASSERT_TRUE(WriteFileAtomic(dir.file("long.znt2"), Sj(text)));
  ASSERT_EQ(Pdf(dir.file("long.znt2"), dir.file("l.pdf"), dir), 0) << ReadFileBytes(dir.file("stderr")).value_or("");
  auto pages = PageTexts(dir.file("l.pdf"));
  ASSERT_GT(pages.size(), 20u);
  std::vector<int> seen(501, 0);
  long running = 0;
  for (size_t p = 2; p < pages.size(); ++p) {  // after the cover and the 内訳書
    const std::string squeezed = Squeeze(pages[p]);
    if (p > 2) {
      EXPECT_EQ(CarryOn(pages[p], "前頁より繰越"), running) << "page " << p + 1;
    }
    for (int i = 1; i <= 500; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "品目%04d", i);
      if (squeezed.find(name) == std::string::npos) continue;
      ++seen[i];
      running += i;
      if (i % 10 == 0) {
        EXPECT_TRUE(Has(pages[p], std::string(name) + "長い名称の配管用炭素鋼鋼管継手類"));
      }
    }
    if (p + 1 < pages.size()) {
      EXPECT_EQ(CarryOn(pages[p], "次頁へ繰越"), running) << "page " << p + 1;
    }
  }
  for (int i = 1; i <= 500; ++i) EXPECT_EQ(seen[i], 1) << "line " << i;
  EXPECT_EQ(running, 125250);
  EXPECT_TRUE(Has(pages.back(), "【合計】125,250"));
}

TEST(PdfCommand, ADamagedDocumentNamesItsFaultAndWritesNothing) {
  TempDir dir;
  std::string text = "<TITLE>\n[DY]=x\n</TITLE>\n";
  ASSERT_TRUE(WriteFileAtomic(dir.file("bad.znt2"), text));
  EXPECT_EQ(Pdf(dir.file("bad.znt2"), dir.file("b.pdf"), dir), 1);
  EXPECT_FALSE(FileExists(dir.file("b.pdf")));
  std::string err = ReadFileBytes(dir.file("stderr")).value_or("");
  EXPECT_NE(err.find("bad.znt2: line 2"), std::string::npos) << err;
}

}  // namespace
}  // namespace zantro
