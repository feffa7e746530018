// Work files survive a process killed at any moment, and a failing disk.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "general/workfiles.h"
#include "platform/files.h"
#include "testutil/filesizelimit.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;

// Generation g of the document: g + 1 lines, every line and the title carry g, so a file
// mixing two saves is seen at once.
void Fill(Document& doc, int32_t g) {
  doc.Title.KEYCODE = g;
  doc.LineList.assign(1, LineRecord{});
  for (int32_t i = 0; i <= g % 50; ++i) {
    LineRecord line{};
    line.FLAG = 10;
    line.RefA = g;
    line.NameSpec.set(std::string(100, static_cast<char>('a' + g % 26)));
    doc.LineList.push_back(line);
  }
}

[[noreturn]] void SaveForever(const std::string& folder) {
  Document doc;  // not InitDocument: that would delete the undo sheets being checked
  doc.ItemList.push_back(NewItem());
  for (int32_t g = 1;; ++g) {
    Fill(doc, g);
    SaveSheet(doc, folder, "UND");
    SaveSheet(doc, folder, "WRK");
  }
}

// The generation a complete set holds, or -1 when a file is torn or mixed.
int32_t CheckSet(const std::string& folder, const std::string& set) {
  Document doc;
  if (!LoadHead(doc, folder, set)) return 0;  // killed before the first save
  int32_t g = doc.Title.KEYCODE;
  if (doc.LastItem() != 1) return -1;
  auto lines = ReadRecords<LineRecord>(folder + "/" + SheetFile(1, set));
  auto bytes = ReadFileBytes(folder + "/" + SheetFile(1, set));
  if (!lines || bytes->size() % sizeof(LineRecord) != 0) return -1;
  int32_t lineGen = lines->empty() ? -1 : (*lines)[0].RefA;
  if (static_cast<int32_t>(lines->size()) != lineGen % 50 + 1) return -1;
  for (const auto& line : *lines)
    if (line.RefA != lineGen || line.ItemNo != 1) return -1;
  // HEAD and the sheet are two files, each whole; a kill between them may leave them one
  // save (or one restarted run) apart, which the undo set covers.
  return g;
}

TEST(CrashSafety, KilledWhileSavingLeavesWholeFiles) {
  TempDir dir;
  std::mt19937 rng(12345);
  const int kills = 500;
  for (int k = 0; k < kills; ++k) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveForever(dir.path());
    usleep(std::uniform_int_distribution<int>(200, 6000)(rng));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GE(CheckSet(dir.path(), "WRK"), 0) << "kill " << k;
    ASSERT_GE(CheckSet(dir.path(), "UND"), 0) << "kill " << k;
  }
  // Temporaries a killed save left behind go with the next new document.
  Document doc;
  InitDocument(doc, dir.path(), true);
  for (const auto& name : ListFiles(dir.path())) EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

TEST(CrashSafety, FullDiskReportsTheFailureAndKeepsThePreviousFiles) {
  TempDir dir;
  Document doc;
  InitDocument(doc, dir.path(), false);
  Fill(doc, 3);
  ASSERT_TRUE(SaveSheet(doc, dir.path(), "WRK"));
  auto head = *ReadFileBytes(dir.file("HEAD.WRK"));
  auto sheet = *ReadFileBytes(dir.file("WITEM1.WRK"));

  Fill(doc, 49);  // 50 lines: larger than the limit below
  bool ok;
  {
    testing::FileSizeLimit limit(4096);
    ok = SaveSheet(doc, dir.path(), "WRK");
  }

  EXPECT_FALSE(ok);
  EXPECT_EQ(*ReadFileBytes(dir.file("WITEM1.WRK")), sheet);
  auto headNow = *ReadFileBytes(dir.file("HEAD.WRK"));
  EXPECT_EQ(headNow.size(), head.size());  // HEAD fits and is whole (old or new)
  Document reloaded;
  ASSERT_TRUE(LoadHead(reloaded, dir.path(), "WRK"));
}

}  // namespace
}  // namespace zantro
