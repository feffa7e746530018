// Work files survive a process killed at any moment, and a failing disk.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <map>
#include <random>

#include "general/container.h"
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

// Document g of the open loop: many items, each sheet and the title carry g.
ParsedDocument Generation(int32_t g) {
  ParsedDocument doc;
  doc.Title = EmptyDocumentTitle();
  doc.Title.KEYCODE = g;
  for (int32_t n = 1; n <= 40; ++n) {
    doc.Items.push_back(NewItem());
    for (int i = 0; i < 200; ++i) {
      LineRecord line{};
      line.ItemNo = n;
      line.RefA = g;
      doc.Lines[n].push_back(line);
    }
  }
  return doc;
}

// Opens a document as the window does: its work files are written apart, then they replace
// the open document, which becomes the backups.
void Open(int32_t g, const std::string& folder) {
  StageWorkFiles(Generation(g), folder);
  ASSERT_TRUE(TakeStagedSet(folder));
  Document doc;
  InitDocument(doc, folder, false);
}

[[noreturn]] void OpenForever(const std::string& folder) {
  for (int32_t g = 1;; ++g) Open(g, folder);
}

// The generation of the backups in folder (every sheet of the same one as HEAD.bak), 0 when
// there are none, -1 when they are incomplete or mixed.
int32_t BackupGeneration(const std::string& folder) {
  auto head = ReadFileBytes(folder + "/HEAD.bak");
  if (!head) return 0;
  if (head->size() != sizeof(TitleRecord) + 4 + 40 * sizeof(ItemRecord)) return -1;
  TitleRecord title;
  std::memcpy(static_cast<void*>(&title), head->data(), sizeof title);
  for (int32_t n = 1; n <= 40; ++n) {
    auto lines = ReadRecords<LineRecord>(folder + "/" + "WITEM" + std::to_string(n) + ".brk");
    if (!lines || lines->size() != 200) return -1;
    for (const auto& line : *lines)
      if (line.RefA != title.KEYCODE) return -1;
  }
  return title.KEYCODE;
}

TEST(CrashSafety, KilledOpenKeepsTheBackupsOfTheLastCompleteDocument) {
  TempDir dir;
  // Kills fall anywhere within about three opens, however fast this build opens one.
  auto start = std::chrono::steady_clock::now();
  WriteWorkFiles(Generation(1), dir.path());
  auto open = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  std::uniform_int_distribution<int> delay(0, static_cast<int>(3 * open.count()) + 2000);
  std::mt19937 rng(777);
  int32_t last = 0;
  for (int k = 0; k < 60; ++k) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) OpenForever(dir.path());
    usleep(delay(rng));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    // The next start: whatever the kill left, the backups are one whole document, never gone
    // once there was one, and no sheet of a half-written set stays behind.
    Document doc;
    InitDocument(doc, dir.path(), true);
    int32_t now = BackupGeneration(dir.path());
    ASSERT_GE(now, last == 0 ? 0 : 1) << "kill " << k;
    for (const auto& name : ListFiles(dir.path())) ASSERT_FALSE(EndsWithNoCase(name, ".WRK")) << name;
    ASSERT_FALSE(FileExists(StagingFolder(dir.path()))) << "kill " << k;
    last = now;
  }
  EXPECT_GT(last, 0);
}

// Every file of folder and of its staging folder, by name, with its bytes.
std::map<std::string, std::string> Files(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& name : ListFiles(folder)) files[name] = *ReadFileBytes(JoinPath(folder, name));
  for (const auto& name : ListFiles(StagingFolder(folder)))
    files["staged/" + name] = *ReadFileBytes(JoinPath(StagingFolder(folder), name));
  return files;
}

// An open whose files do not fit on the disk (a file-size limit makes every sheet fail) changes
// no file: the open document with its last edit, its undo sheet and the backups stay as they
// were, and the next start makes the backups of that document.
TEST(CrashSafety, AnOpenThatDoesNotFitKeepsTheOpenDocumentAndTheBackups) {
  TempDir dir;
  Open(1, dir.path());
  Open(2, dir.path());
  // An edit of the open document: its working copy and its undo sheet.
  Document doc;
  ASSERT_TRUE(LoadHead(doc, dir.path(), "WRK"));
  doc.CurrentItem = 1;
  EnsureItemAndLoadSheet(doc, dir.path(), 1);
  ASSERT_TRUE(SaveSheet(doc, dir.path(), "UND"));
  doc.LineList.pop_back();
  ASSERT_TRUE(SaveSheet(doc, dir.path(), "WRK"));
  const auto before = Files(dir.path());
  ASSERT_EQ(BackupGeneration(dir.path()), 1);

  try {
    testing::FileSizeLimit limit(4096);
    StageWorkFiles(Generation(3), dir.path());
    ADD_FAILURE() << "the open did not fail";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("File too large"), std::string::npos) << e.what();
  }
  EXPECT_EQ(Files(dir.path()), before);
  EXPECT_FALSE(FileExists(StagingFolder(dir.path())));

  // The next start: the document that stayed open becomes the backups, edit included.
  InitDocument(doc, dir.path(), true);
  EXPECT_EQ(ReadRecords<LineRecord>(dir.file("WITEM1.brk"))->size(), 199u);
  EXPECT_EQ(ReadRecords<LineRecord>(dir.file("WITEM2.brk"))->at(0).RefA, 2);

  // With room, the open takes the place of the document there, whose files become the backups.
  Open(2, dir.path());
  Open(3, dir.path());
  EXPECT_EQ(BackupGeneration(dir.path()), 2);
  ASSERT_TRUE(LoadHead(doc, dir.path(), "WRK"));
  EXPECT_EQ(doc.Title.KEYCODE, 3);
  EXPECT_EQ(ReadRecords<LineRecord>(dir.file("WITEM40.WRK"))->at(199).RefA, 3);
  EXPECT_FALSE(FileExists(StagingFolder(dir.path())));
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
