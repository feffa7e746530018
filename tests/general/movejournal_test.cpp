// The journal of file moves: a set of moves (a chain through names that are both old and
// new, a removal, an overwritten file, a new file) stopped at every change of the disk, and
// its repair stopped at every change too, always ends as the set before or the set after.
#include "general/movejournal.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>

#include "general/errors.h"
#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;
using Files = std::map<std::string, std::string>;

Files Contents(const std::string& folder) {
  Files files;
  for (const auto& name : ListFiles(folder)) files[name] = *ReadFileBytes(JoinPath(folder, name));
  return files;
}

void Lay(const std::string& folder, const Files& files) {
  for (const auto& name : ListFiles(folder)) DeleteFile(JoinPath(folder, name));
  for (const auto& [name, bytes] : files) ASSERT_TRUE(WriteNewFile(JoinPath(folder, name), bytes));
}

const Files kBefore = {{"HEAD.WRK", "head 1"}, {"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}, {"x", "X"}};
// a -> b -> c -> e (a chain), d removed, x overwritten by a new file.
const std::vector<FileMove> kMoves = {
    {"c", "e", {}}, {"b", "c", {}}, {"a", "b", {}}, {"d", "", {}}, {"x", "", {}}, {"", "x", "new X"}};
const Files kMoved = {{"HEAD.WRK", "head 1"}, {"b", "A"}, {"c", "B"}, {"e", "C"}, {"x", "new X"}};
Files Committed() {
  Files f = kMoved;
  f["HEAD.WRK"] = "head 2";
  return f;
}

long changes = 0, stopAt = 0, headAt = 0;
bool diskFull = false;
// The disk of a process killed at change stopAt: that change and every later one never happen.
// A full disk instead refuses the writes from stopAt on, with ENOSPC.
bool StopAt(DiskChange change, const std::string& path) {
  if (change == DiskChange::Write && path.ends_with("HEAD.WRK")) headAt = changes + 1;
  if (++changes < stopAt || (diskFull && change != DiskChange::Write)) return true;
  errno = diskFull ? ENOSPC : EIO;
  return false;
}

// The command: the moves, the working copy, the clean-up. Returns its number of changes.
long Command(const std::string& folder) {
  changes = 0;
  try {
    MoveFiles(folder, kMoves);
    if (!WriteFileAtomic(JoinPath(folder, "HEAD.WRK"), "head 2")) return changes;
    FinishMoves(folder);
  } catch (const FileError&) {
  }
  return changes;
}

TEST(MoveJournalTest, MovesAllAtOnceAndLeaveNothingBehind) {
  TempDir dir;
  Lay(dir.path(), kBefore);
  MoveFiles(dir.path(), kMoves);
  EXPECT_EQ(PendingMoveSets(dir.path()), 1);
  Files mid = Contents(dir.path());
  EXPECT_EQ(mid.count("MOVES0.JN2"), 1u);
  EXPECT_EQ(mid.count(".zjm0-3.stg"), 1u);  // the removed file, until the commit
  FinishMoves(dir.path());
  EXPECT_EQ(Contents(dir.path()), kMoved);
  EXPECT_EQ(RecoverMoves(dir.path()), MoveRecovery::None);
}

TEST(MoveJournalTest, AKillAnywhereAndAKilledRepairEndBeforeOrAfter) {
  TempDir dir;
  Lay(dir.path(), kBefore);
  SetDiskGate(StopAt);
  stopAt = 1000;
  const long total = Command(dir.path());
  SetDiskGate(nullptr);
  ASSERT_EQ(Contents(dir.path()), Committed());
  ASSERT_EQ(total, 17);  // 2 writes, 5 + 1 + 4 renames, the working copy, 1 rename, 2 + 1 deletes
  ASSERT_EQ(headAt, 13);
  int reverted = 0, finished = 0;
  for (long kill = 1; kill <= total; ++kill) {
    // The repair is stopped at every change of its own too, then run to its end.
    for (long repairKill = 1;; ++repairKill) {
      SCOPED_TRACE("killed at " + std::to_string(kill) + ", repair at " + std::to_string(repairKill));
      Lay(dir.path(), kBefore);
      SetDiskGate(StopAt);
      stopAt = kill;
      Command(dir.path());
      stopAt = repairKill;
      changes = 0;
      RecoverMoves(dir.path());
      bool repairDone = changes < repairKill;
      SetDiskGate(nullptr);
      MoveRecovery how = RecoverMoves(dir.path());
      Files found = Contents(dir.path());
      EXPECT_TRUE(found == kBefore || found == Committed());
      EXPECT_EQ(found == Committed(), kill > headAt) << "the working copy decides";
      reverted += how == MoveRecovery::Reverted;
      finished += how == MoveRecovery::Finished;
      if (repairDone) break;
    }
  }
  EXPECT_GT(reverted, 20);
  EXPECT_GT(finished, 0);
}

// A command may write HEAD.WRK unchanged (a paste of an item onto itself): once its set is
// marked committed, a kill while the removed files go is finished, not undone.
TEST(MoveJournalTest, ACommittedSetIsFinishedEvenUnderAnUnchangedHead) {
  TempDir dir;
  Lay(dir.path(), kBefore);
  SetDiskGate(StopAt);
  stopAt = 15;  // after the moves (12), the working copy (13) and the mark (14)
  changes = 0;
  MoveFiles(dir.path(), kMoves);
  ASSERT_TRUE(WriteFileAtomic(JoinPath(dir.path(), "HEAD.WRK"), "head 1"));
  FinishMoves(dir.path());
  SetDiskGate(nullptr);
  ASSERT_EQ(changes, 17);
  EXPECT_EQ(RecoverMoves(dir.path()), MoveRecovery::Finished);
  EXPECT_EQ(Contents(dir.path()), kMoved);
}

TEST(MoveJournalTest, AFullDiskStopsTheMovesBeforeAnyAndLeavesNoFile) {
  TempDir dir;
  for (long at = 1; at <= 2; ++at) {  // the new file, the journal
    Lay(dir.path(), kBefore);
    SetDiskGate(StopAt);
    stopAt = at;
    diskFull = true;
    changes = 0;
    EXPECT_THROW(MoveFiles(dir.path(), kMoves), FileError);
    SetDiskGate(nullptr);
    diskFull = false;
    EXPECT_EQ(Contents(dir.path()), kBefore) << at;
  }
}

TEST(MoveJournalTest, ALaterSetIsUndoneAloneAndAStartUndoesAllWhileTheHeadIsUnchanged) {
  TempDir dir;
  Lay(dir.path(), kBefore);
  MoveFiles(dir.path(), kMoves);
  MoveFiles(dir.path(), {{"e", "a", {}}, {"b", "", {}}});
  EXPECT_EQ(PendingMoveSets(dir.path()), 2);
  RevertMoves(dir.path(), 1);
  EXPECT_EQ(PendingMoveSets(dir.path()), 1);
  FinishMoves(dir.path());
  EXPECT_EQ(Contents(dir.path()), kMoved);

  Lay(dir.path(), kBefore);
  MoveFiles(dir.path(), kMoves);
  MoveFiles(dir.path(), {{"e", "a", {}}, {"b", "", {}}});
  EXPECT_EQ(RecoverMoves(dir.path()), MoveRecovery::Reverted);
  EXPECT_EQ(Contents(dir.path()), kBefore);

  // A rollback in the running program leaves no staged new file behind either.
  MoveFiles(dir.path(), kMoves);
  RevertMoves(dir.path());
  EXPECT_EQ(Contents(dir.path()), kBefore);
}

TEST(MoveJournalTest, ADamagedJournalLeavesTheFilesWhereTheyAre) {
  TempDir dir;
  Lay(dir.path(), kBefore);
  MoveFiles(dir.path(), kMoves);
  ASSERT_TRUE(WriteFileAtomic(JoinPath(dir.path(), "MOVES0.JN2"), "ZANTRO MOVES 1\nhead 6 0\nsteps 9\n"));
  Files left = Contents(dir.path());
  left.erase("MOVES0.JN2");
  RecoverMoves(dir.path());
  EXPECT_EQ(Contents(dir.path()), left);

  // A whole journal puts the files back; every kind of damage to it leaves them where they are.
  Lay(dir.path(), kBefore);
  MoveFiles(dir.path(), kMoves);
  const std::string whole = *ReadFileBytes(JoinPath(dir.path(), "MOVES0.JN2"));
  ASSERT_TRUE(whole.starts_with("ZANTRO MOVES 1\nhead ") && whole.ends_with("\nend\n"));
  const size_t firstStep = whole.find("\n", whole.find("steps ")) + 1;
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"another magic", "ZANTRO MOVES 2" + whole.substr(whole.find('\n'))},
      {"bytes after the end", whole + "x"},
      {"no end", whole.substr(0, whole.size() - 4)},
      {"a step without its tab", whole.substr(0, firstStep) + "c e" + whole.substr(whole.find('\n', firstStep))},
      {"a count that is no number", whole.substr(0, whole.find("steps ") + 6) + "6x" + whole.substr(firstStep - 1)},
  };
  for (const auto& [what, text] : damaged) {
    SCOPED_TRACE(what);
    Lay(dir.path(), kBefore);
    MoveFiles(dir.path(), kMoves);
    ASSERT_TRUE(WriteFileAtomic(JoinPath(dir.path(), "MOVES0.JN2"), text));
    Files moved = Contents(dir.path());
    moved.erase("MOVES0.JN2");
    RecoverMoves(dir.path());
    EXPECT_EQ(Contents(dir.path()), moved);
  }
  Lay(dir.path(), kBefore);
  MoveFiles(dir.path(), kMoves);
  ASSERT_TRUE(WriteFileAtomic(JoinPath(dir.path(), "MOVES0.JN2"), whole));
  RecoverMoves(dir.path());
  EXPECT_EQ(Contents(dir.path()), kBefore);
}

}  // namespace
}  // namespace zantro
