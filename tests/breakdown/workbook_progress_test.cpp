// A workbook export stopped at any step writes nothing: neither the workbook nor a temporary,
// and a workbook already there stays as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "breakdown/listworkbook.h"
#include "general/container.h"
#include "general/document.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/progress.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

struct StopAt : Progress {
  explicit StopAt(int64_t at) : at(at) {}
  bool Step(int64_t done, int64_t total) override {
    last = {done, total};
    ++count;
    return done < at;
  }
  int64_t at;
  std::pair<int64_t, int64_t> last;
  int count = 0;
};

std::string ThreeItems() {
  ParsedDocument doc;
  doc.Title = EmptyDocumentTitle();
  for (int k = 1; k <= 3; ++k) {
    ItemRecord item{};
    item.ItemKind = 10;
    item.ItemName.set(Sj("工区") + std::to_string(k));
    item.SetSettings(CalcSettings{});
    doc.Items.push_back(item);
    LineRecord line{};
    line.ItemNo = k;
    line.FLAG = 10;
    line.NameSpec.set(Sj("管"));
    doc.Lines[k] = {line};
  }
  return ContainerText(doc, false, 0);
}

TEST(WorkbookProgress, StoppedAtAnyStepWritesNothing) {
  const std::string text = ThreeItems();
  testing::TempDir dir;
  const std::string kept = dir.file("kept.xlsx");
  ASSERT_TRUE(WriteFileAtomic(kept, "old"));
  // A step per worksheet of an item, one for the packing; the step after the write only reports.
  for (int64_t at = 0; at <= 3; ++at) {
    StopAt stop(at);
    EXPECT_THROW(WriteBreakdownWorkbook(text, dir.file("new.xlsx"), {}, stop), ProgressCancelled) << at;
    EXPECT_EQ(stop.last, (std::pair<int64_t, int64_t>{at, 4}));
    StopAt again(at);
    EXPECT_THROW(WriteBreakdownWorkbook(text, kept, {}, again), ProgressCancelled) << at;
  }
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.insert(e.path().filename().string());
  EXPECT_EQ(names, std::set<std::string>{"kept.xlsx"});
  EXPECT_EQ(*ReadFileBytes(kept), "old");

  StopAt never(INT64_MAX);
  WriteBreakdownWorkbook(text, dir.file("new.xlsx"), {}, never);
  EXPECT_EQ(never.count, 5);
  EXPECT_EQ(never.last, (std::pair<int64_t, int64_t>{4, 4}));
  EXPECT_TRUE(ReadFileBytes(dir.file("new.xlsx"))->starts_with("PK"));
}

}  // namespace
}  // namespace zantro
