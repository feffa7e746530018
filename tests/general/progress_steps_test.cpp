// The steps the document readers and writers report, and what a stop leaves: nothing changed,
// no file written, no temporary left.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <sstream>
#include <set>
#include <utility>
#include <vector>

#include "general/container.h"
#include "general/doccheck.h"
#include "general/errors.h"
#include "general/printdata.h"
#include "general/recalc.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/progress.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;
using Steps = std::vector<std::pair<int64_t, int64_t>>;

// Keeps every step; the user stops at the first step whose done reaches stopAt.
struct Recorder : Progress {
  explicit Recorder(int64_t stopAt = INT64_MAX) : stopAt(stopAt) {}
  bool Step(int64_t done, int64_t total) override {
    steps.emplace_back(done, total);
    return done < stopAt;
  }
  int64_t stopAt;
  Steps steps;
};

// n sheet items, item k with k lines of quantity k at 100; item 2 is a heading.
ParsedDocument Items(int32_t n) {
  ParsedDocument doc;
  doc.Title = EmptyDocumentTitle();
  doc.Title.NUMBER.set("P-1");
  for (int32_t k = 1; k <= n; ++k) {
    ItemRecord item{};
    item.ItemKind = k == 2 ? 20 : 10;
    item.ItemName.set(Sj("工区") + std::to_string(k));
    item.SetSettings(CalcSettings{});
    item.QuantityScale = Money::Units(100);
    doc.Items.push_back(item);
    if (k == 2) continue;
    for (int32_t i = 1; i <= k; ++i) {
      LineRecord line{};
      line.ItemNo = k;
      line.FLAG = 10;
      line.NameSpec.set(Sj("管"));
      line.CostQty = line.SubQty = Money::Units(k);
      line.CostPrice = line.SubPrice = Money::Units(100);
      doc.Lines[k].push_back(line);
    }
  }
  return doc;
}

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

TEST(ProgressSteps, CheckReportsEachItemAndAStopChangesNothing) {
  ParsedDocument doc = Items(5);
  Recorder all;
  ParsedDocument checked = doc;
  CheckRecomputation(checked, "x.znt2", all);
  EXPECT_EQ(all.steps, (Steps{{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
  EXPECT_NE(ContainerText(checked, false, 0), ContainerText(doc, false, 0));  // the totals were computed

  // Stopped at the last item: the totals of the items before it are not taken either.
  Recorder stop(4);
  ParsedDocument stopped = doc;
  EXPECT_THROW(CheckRecomputation(stopped, "x.znt2", stop), ProgressCancelled);
  EXPECT_EQ(stop.steps.back(), (std::pair<int64_t, int64_t>{4, 5}));
  EXPECT_EQ(ContainerText(stopped, false, 0), ContainerText(doc, false, 0));
}

TEST(ProgressSteps, WorkFilesReportEveryFileAndCannotStop) {
  ParsedDocument doc = Items(3);
  doc.SortLines[3] = {"a;b"};
  TempDir dir;
  Recorder stop(0);  // asks to stop at once: the files are written all the same
  WriteWorkFiles(doc, dir.path(), stop);
  // WITEM1.WRK, WITEM3.WRK, WITEM1.PUP, DATASORT1.WRK, DATASORT3.WRK, HEAD.WRK.
  EXPECT_EQ(stop.steps, (Steps{{0, 6}, {1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6}, {6, 6}}));
  EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"DATASORT1.WRK", "DATASORT3.WRK", "HEAD.WRK", "WITEM1.PUP",
                                                      "WITEM1.WRK", "WITEM3.WRK"}));
}

TEST(ProgressSteps, ContainerTextHasTwoStepsPerItem) {
  TempDir dir;
  WriteWorkFiles(Items(3), dir.path());
  Recorder all;
  std::string whole = ContainerText(dir.path(), false, 0, all);
  EXPECT_EQ(all.steps, (Steps{{0, 6}, {1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6}, {6, 6}}));
  EXPECT_EQ(whole, ContainerText(dir.path(), false, 0));
  // The single-item form steps over the other items too.
  Recorder single;
  ContainerText(dir.path(), true, 3, single);
  EXPECT_EQ(single.steps.size(), 7u);
}

TEST(ProgressSteps, StoppedSaveAndPrintDataWriteNothing) {
  TempDir dir;
  WriteWorkFiles(Items(4), dir.path());
  TempDir out;
  const std::string kept = out.file("kept.znt2");
  ASSERT_TRUE(WriteFileAtomic(kept, "old"));
  for (int64_t at : {0, 3, 7, 8}) {  // the last step comes after the text is whole
    Recorder stop(at);
    EXPECT_THROW(WriteContainer(dir.path(), out.file("new.znt2"), false, 0, stop), ProgressCancelled) << at;
    Recorder again(at);
    EXPECT_THROW(WriteContainer(dir.path(), kept, false, 0, again), ProgressCancelled) << at;
  }
  EXPECT_EQ(Names(out.path()), std::set<std::string>{"kept.znt2"});  // no temporary either
  EXPECT_EQ(*ReadFileBytes(kept), "old");

  TempDir program;
  Recorder stop(5);
  EXPECT_THROW(WritePrintData(dir.path(), program.path(), false, 0, stop), ProgressCancelled);
  EXPECT_EQ(Names(JoinPath(program.path(), "printdata")), std::set<std::string>{});
  Recorder all;
  std::string path = WritePrintData(dir.path(), program.path(), false, 0, all);
  EXPECT_EQ(path, JoinPath(program.path(), "printdata/P-1.dat"));
  EXPECT_EQ(all.steps.back(), (std::pair<int64_t, int64_t>{8, 8}));
}

TEST(ProgressSteps, BatchOpenFillsTheBarOnceInOrder) {
  TempDir dir;
  std::string in = dir.file("in.znt2");
  std::string text = ContainerText(Items(4), false, 0);
  ASSERT_TRUE(WriteFileAtomic(in, text));
  TempDir work;
  Recorder all;
  std::ostringstream err;
  OpenAndRecompute(in, work.path(), err, all);
  ASSERT_FALSE(all.steps.empty());
  for (size_t i = 0; i < all.steps.size(); ++i) {
    EXPECT_EQ(all.steps[i].second, 2000);
    if (i > 0) EXPECT_GE(all.steps[i].first, all.steps[i - 1].first) << i;
  }
  EXPECT_EQ(all.steps.back().first, 2000);
  // Computing the four items fills the first half.
  EXPECT_EQ(all.steps[3], (std::pair<int64_t, int64_t>{1000, 2000}));

  Recorder recalc;
  EXPECT_EQ(RecalcDocument(in, dir.file("out.znt2"), err, recalc), 0);
  EXPECT_EQ(recalc.steps, (Steps{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));
}

}  // namespace
}  // namespace zantro
