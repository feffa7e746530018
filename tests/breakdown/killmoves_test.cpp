// Insert and delete on a list of 1 000 items, the process killed at random points of the
// command (among its thousands of renames, its undo set, its working copy, the clean-up), and
// sometimes killed again while the next start repairs the folder: the start after that must
// find the work files exactly as they were before the command or exactly as it leaves them.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <random>

#include "breakdown/itemfiles.h"
#include "breakdown/listchanges.h"
#include "general/editframe.h"
#include "general/movejournal.h"
#include "general/workfiles.h"
#include "platform/files.h"

namespace zantro {
namespace {

constexpr int32_t kItems = 1000;

using Files = std::map<std::string, std::string>;

// The work-file set of 1 000 items: item i is named "I<i>"; most own a one-line sheet that
// names them, some have no sheet (the renumbering has gaps to cross), every fifth has a takeoff
// file, and a few sheets are spelled in lower case as another program may have left them.
Files MakeSet() {
  Files files;
  Document doc;
  StartEmptyDocument(doc);
  doc.ItemList.resize(1);
  for (int32_t i = 1; i <= kItems; ++i) {
    ItemRecord it = NewItem();
    it.ItemName.set("I" + std::to_string(i));
    doc.ItemList.push_back(it);
    if (i % 7 != 3) {
      LineRecord line{};
      line.ItemNo = i;
      line.NameSpec.set("L" + std::to_string(i));
      std::string name = i % 97 == 1 ? "witem" + std::to_string(i) + ".wrk" : SheetFile(i, "WRK");
      files[name] = std::string(reinterpret_cast<const char*>(&line), sizeof line);
    }
    if (i % 5 == 0) {
      TakeoffRecord t{};
      t.ItemNo = i;
      t.NameSpec.set("T" + std::to_string(i));
      files[TakeoffFile(i)] = std::string(reinterpret_cast<const char*>(&t), sizeof t);
    }
  }
  doc.ItemCount = kItems;
  files["HEAD.WRK"] = EncodeHead(doc.Title, {doc.ItemList.data() + 1, doc.ItemList.size() - 1});
  return files;
}

void Lay(const std::string& folder, const Files& files) {
  for (const auto& name : ListFiles(folder)) DeleteFile(JoinPath(folder, name));
  for (const auto& [name, bytes] : files) ASSERT_TRUE(WriteNewFile(JoinPath(folder, name), bytes)) << name;
}

// The work set of the folder (the undo set aside).
Files WorkSet(const std::string& folder) {
  Files files;
  for (const auto& name : ListFiles(folder))
    if (!EndsWithNoCase(name, ".UND")) files[name] = ReadFileBytes(JoinPath(folder, name)).value_or("?");
  return files;
}

// The work set as a start turns it into backups, named back.
Files BackupSet(const std::string& folder) {
  Files files;
  for (const auto& name : ListFiles(folder)) {
    if (EndsWithNoCase(name, ".UND")) continue;
    std::string back = name;
    if (name == "HEAD.bak") back = "HEAD.WRK";
    else if (EndsWithNoCase(name, ".brk")) back = name.substr(0, name.size() - 4) + (name[0] == 'w' ? ".wrk" : ".WRK");
    else if (EndsWithNoCase(name, ".bup")) back = name.substr(0, name.size() - 4) + ".PUP";
    files[back] = ReadFileBytes(JoinPath(folder, name)).value_or("?");
  }
  return files;
}

struct Command {
  bool insert;
  int32_t row;
};

// The list command as the window runs it: the list in an edit frame, the files moved, the commit.
void RunCommand(const std::string& folder, Command c) {
  Document doc;
  ASSERT_TRUE(LoadHead(doc, folder, "WRK"));
  EditFrame frame(doc, folder, EditScope::Breakdown);
  ItemFiles files(frame);
  doc.CurrentItem = c.row;
  if (c.insert) InsertItemRow(doc, files, c.row);
  else DeleteItemRow(doc, files, c.row);
  frame.Commit(nullptr);
}

// The disk as a killed process leaves it: the change numbered killAt never happens.
long changes = 0, killAt = 0;
bool CountOrKill(DiskChange, const std::string&) {
  if (++changes == killAt) ::raise(SIGKILL);
  return true;
}

// Runs work in a child whose disk changes are counted, killed at change n (0: never).
// Returns the number of changes it made.
template <typename Work>
long InChild(long n, Work work) {
  int pipeFds[2];
  EXPECT_EQ(::pipe(pipeFds), 0);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipeFds[0]);
    changes = 0;
    killAt = n;
    SetDiskGate(CountOrKill);
    work();
    SetDiskGate(nullptr);
    if (::write(pipeFds[1], &changes, sizeof changes) != sizeof changes) ::_exit(3);
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  long made = -1;
  if (::read(pipeFds[0], &made, sizeof made) != sizeof made) made = -1;
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (n > 0 && made < 0) EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  else EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  return made;
}

std::string Scratch() {
  std::string tmpl = std::string(IsDirectory("/dev/shm") ? "/dev/shm" : "/tmp") + "/zantro-kill-XXXXXX";
  return ::mkdtemp(tmpl.data()) ? tmpl : "";
}

TEST(KillMovesTest, EveryStartFindsTheItemsBeforeOrAfterTheCommand) {
  const std::string folder = Scratch();
  ASSERT_FALSE(folder.empty());
  const Files before = MakeSet();
  std::mt19937 rng(20261208);
  // Rows near the top move almost every file; one near the end crosses a lower-case sheet.
  const Command commands[] = {{true, 1}, {true, 2}, {true, 600}, {true, 970}, {false, 1}, {false, 3}, {false, 500}, {false, 971}};
  int kills = 0, asBefore = 0, asAfter = 0, repairsKilled = 0;
  for (const Command& c : commands) {
    SCOPED_TRACE((c.insert ? "insert at " : "delete at ") + std::to_string(c.row));
    Lay(folder, before);
    const long total = InChild(0, [&] { RunCommand(folder, c); });
    ASSERT_GT(total, 20);
    const Files after = WorkSet(folder);
    ASSERT_NE(after, before);
    ASSERT_EQ(after.count("MOVES0.JNL") + after.count("MOVES0.JN2"), 0u);
    // Random points, and the last few changes (the working copy and the clean-up).
    std::vector<long> points;
    for (int k = 0; k < 10; ++k) points.push_back(std::uniform_int_distribution<long>(1, total)(rng));
    for (long k = 0; k < 4; ++k) points.push_back(total - k);
    for (long point : points) {
      Lay(folder, before);
      ASSERT_LT(InChild(point, [&] { RunCommand(folder, c); }), 0) << "not killed at change " << point;
      ++kills;
      if (kills % 3 == 0 && PendingMoveSets(folder) > 0) {
        // The start that repairs the folder is killed too (or finishes before the point).
        long point = std::uniform_int_distribution<long>(1, 2 * kItems)(rng);
        repairsKilled += InChild(point, [&] { RecoverMoves(folder); }) < 0;
      }
      Document doc;
      InitDocument(doc, folder, true);
      Files found = BackupSet(folder);
      if (found == before) ++asBefore;
      else if (found == after) ++asAfter;
      else ADD_FAILURE() << "killed at change " << point << " of " << total << ": a mixed set";
    }
  }
  std::filesystem::remove_all(folder);
  EXPECT_GE(kills, 100);
  EXPECT_GT(asBefore, 50);
  EXPECT_GE(asAfter, 8);  // a kill after the working copy was written keeps the command
  EXPECT_GT(repairsKilled, 5);
}

// The list's undo as the window runs it: the undo copy of the list, the kept files put back,
// the working copy, then the moves finished.
void UndoCommand(const std::string& folder) {
  Document doc;
  ASSERT_TRUE(LoadHead(doc, folder, "UND"));
  RestoreKeptFiles(folder, PutBack::LeaveJournal);
  ASSERT_TRUE(SaveHead(doc, folder, "WRK"));
  FinishMoves(folder);
}

TEST(KillMovesTest, AKilledUndoOfAnInsertOrADeleteLeavesOneListOrTheOther) {
  const std::string folder = Scratch();
  ASSERT_FALSE(folder.empty());
  const Files before = MakeSet();
  std::mt19937 rng(7);
  int undone = 0, notUndone = 0;
  for (const Command& c : {Command{true, 2}, Command{false, 40}}) {
    SCOPED_TRACE((c.insert ? "undo of an insert at " : "undo of a delete at ") + std::to_string(c.row));
    Lay(folder, before);
    RunCommand(folder, c);
    const Files done = WorkSet(folder);
    const long total = InChild(0, [&] { UndoCommand(folder); });
    const Files undoneSet = WorkSet(folder);
    ASSERT_GT(total, 1000);
    for (int k = 0; k < 12; ++k) {
      long point = k < 9 ? std::uniform_int_distribution<long>(1, total)(rng) : total - (k - 9);
      Lay(folder, before);
      RunCommand(folder, c);
      ASSERT_LT(InChild(point, [&] { UndoCommand(folder); }), 0);
      Document doc;
      InitDocument(doc, folder, true);
      Files found = BackupSet(folder);
      if (found == done) ++notUndone;
      else if (found == undoneSet) ++undone;
      else ADD_FAILURE() << "undo killed at change " << point << " of " << total << ": a mixed set";
    }
  }
  std::filesystem::remove_all(folder);
  EXPECT_GT(notUndone, 10);
  EXPECT_GE(undone, 2);
}

}  // namespace
}  // namespace zantro
