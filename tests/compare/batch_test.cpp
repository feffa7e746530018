// The command and the readers of the comparison in process: exit statuses, the report on its
// stream, the outputs, the order of errors, and the open document read from work files.
#include <gtest/gtest.h>

#include <sstream>

#include "compare/batch.h"
#include "general/container.h"
#include "general/errors.h"
#include "platform/files.h"
#include "prices/xlsxread.h"
#include "testutil/tempdir.h"

namespace zantro::compare {
using zantro::testing::TempDir;
namespace {

const std::string kSample = std::string(ZANTRO_SOURCE_DIR) + "/data/Sample/sample.znt2";

struct Outcome {
  int status;
  std::string out, err;
};

Outcome Command(std::vector<std::string> words, const PdfWriter& pdf = {}) {
  std::vector<char*> args;
  for (auto& w : words) args.push_back(w.data());
  std::ostringstream out, err;
  int status = CompareCommand(static_cast<int>(args.size()), args.data(), out, err, pdf);
  return Outcome{status, out.str(), err.str()};
}

// The sample with the submitted price of its first line raised by one.
std::string Revised(const TempDir& dir) {
  std::string text = *ReadFileBytes(kSample);
  size_t at = text.find(";820;1150;");
  text.replace(at, 10, ";820;1151;");
  std::string path = dir.file("revised.znt2");
  WriteFileAtomic(path, text);
  return path;
}

TEST(CompareCommand, StatusIsZeroForTheSameOneForDifferentTwoForErrors) {
  TempDir dir;
  std::string revised = Revised(dir);
  Outcome same = Command({kSample, kSample});
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out.substr(0, same.out.find('\n')), "状態\t工種\t工種名\t行\t明細\t項目\t旧\t新\t差額");
  EXPECT_EQ(same.err, "");
  Outcome differ = Command({kSample, revised});
  EXPECT_EQ(differ.status, 1);
  EXPECT_NE(differ.out.find("変更\t2\t空調配管工事\t1\t配管用炭素鋼鋼管　白 20A\t提出単価\t1,150\t1,151\t+1\n"),
            std::string::npos)
      << differ.out;
  EXPECT_NE(differ.out.find("提出金額\t52,325\t52,371\t+46\n"), std::string::npos) << differ.out;
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{kSample}, {kSample, kSample, "--xlsx"}, {kSample, kSample, "--csv", "x"},
        {kSample, kSample, kSample}, {kSample, kSample, "--pdf", "a", "b"}}) {
    Outcome bad = Command(words);
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "zantro: usage: zantro --compare OLD NEW [--xlsx OUT | --pdf OUT]\n");
    EXPECT_EQ(bad.out, "");
  }
}

TEST(CompareCommand, WritesTheWorkbookOrHandsThePdfToItsWriter) {
  TempDir dir;
  std::string revised = Revised(dir);
  Outcome xlsx = Command({kSample, revised, "--xlsx", dir.file("book.xlsx")});
  EXPECT_EQ(xlsx.status, 1);
  EXPECT_EQ(xlsx.out, "");
  // The cells as a workbook reader finds them: the title and both sides, the captions, the
  // rows with their figures as numbers, the totals.
  std::vector<std::string> cells;
  for (const SheetRow& row : ReadFirstSheet(*ReadFileBytes(dir.file("book.xlsx")), "book.xlsx")) {
    std::string line = std::to_string(row.Number);
    for (const std::string& c : row.Cells) line += "|" + c;
    cells.push_back(line);
  }
  EXPECT_EQ(cells, (std::vector<std::string>{
                       "1|変更対比表", "2|旧|" + kSample, "3|新|" + revised,
                       "5|状態|工種|工種名|行|明細|項目|旧|新|差額",
                       "6|変更|2|空調配管工事|1|配管用炭素鋼鋼管　白 20A|提出単価|1150|1151|1",
                       "7|変更|2|空調配管工事|1|配管用炭素鋼鋼管　白 20A|提出金額|52325|52371|46",
                       "8|変更|2|空調配管工事|1|配管用炭素鋼鋼管　白 20A|原価金額|37310|37310|0",
                       "9|合計|||||提出金額|4597555|4597605|50", "10|合計|||||原価金額|3088402|3088402|0"}));
  // Without a writer there is no PDF; with one it gets the rows and the names of both sides.
  Outcome none = Command({kSample, kSample, "--pdf", dir.file("a.pdf")});
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(none.err.rfind("zantro: ", 0), 0u);
  std::string seen;
  Outcome pdf = Command({kSample, revised, "--pdf", dir.file("a.pdf")},
                    [&](const Result& r, const Sides& s, const std::string& out, const OutputRules& rules) {
                      seen = std::to_string(r.Rows.size()) + " " + s.Old + " " + s.New + " " + out + " " +
                             std::to_string(rules.Inputs.size());
                    });
  EXPECT_EQ(pdf.status, 1);
  EXPECT_EQ(seen, "3 " + kSample + " " + revised + " " + dir.file("a.pdf") + " 2");
  // An output that is one of the inputs is refused before anything is read or written.
  std::string before = *ReadFileBytes(revised);
  Outcome onInput = Command({kSample, revised, "--xlsx", revised});
  EXPECT_EQ(onInput.status, 2);
  EXPECT_EQ(*ReadFileBytes(revised), before);
}

TEST(ReadBoth, TheOldSidesErrorComesFirst) {
  TempDir dir;
  WriteFileAtomic(dir.file("a.znt2"), "<TITLE>\r\n[DY]=x\r\n</TITLE>\r\n");
  WriteFileAtomic(dir.file("b.znt2"), "<TITLE>\r\n[DM]=y\r\n</TITLE>\r\n");
  auto message = [](const std::string& a, const std::string& b) {
    try {
      ReadBoth(a, b);
    } catch (const std::exception& e) {
      return std::string(e.what());
    }
    return std::string("read");
  };
  EXPECT_NE(message(dir.file("a.znt2"), dir.file("b.znt2")).find("a.znt2"), std::string::npos);
  EXPECT_NE(message(kSample, dir.file("b.znt2")).find("b.znt2"), std::string::npos);
  EXPECT_NE(message(dir.file("a.znt2"), kSample).find("a.znt2"), std::string::npos);
  auto [a, b] = ReadBoth(kSample, Revised(dir));
  EXPECT_EQ(a.Lines[2][0].SubPrice, Money::Units(1150));
  EXPECT_EQ(b.Lines[2][0].SubPrice, Money::Units(1151));
}

TEST(ReadWorkFiles, TheOpenDocumentReadsAsItsFileWithItsTotalsRecomputed) {
  TempDir dir;
  ParsedDocument parsed = ParseContainer(kSample);
  parsed.Items[1].ALLGTOTAL = Money::Units(1);  // a stale total in the work files
  WriteWorkFiles(parsed, dir.path());
  ParsedDocument open = ReadWorkFiles(dir.path());
  Result r = Compare(ReadDocument(kSample), open);
  EXPECT_TRUE(r.Rows.empty());
  EXPECT_FALSE(r.Differs());
  EXPECT_EQ(open.Items[1].ALLGTOTAL, Money::Units(169365));
  EXPECT_THROW(ReadWorkFiles(dir.file("none")), FileError);
}

}  // namespace
}  // namespace zantro::compare
