#include "platform/files.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>


#include <cstdint>

#include "testutil/filesizelimit.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;

TEST(Files, LinesWithCrLfOrLfAndWithoutLastBreak) {
  EXPECT_EQ(SplitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(SplitLines("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
  TempDir dir;
  ASSERT_TRUE(WriteTextLines(dir.file("t.txt"), {"x", "y"}));
  EXPECT_EQ(*ReadFileBytes(dir.file("t.txt")), "x\r\ny\r\n");
}

TEST(Files, AtomicWriteReplacesAndLeavesNoTemporaryFiles) {
  TempDir dir;
  std::string path = dir.file("doc");
  ASSERT_TRUE(WriteFileAtomic(path, "old"));
  ASSERT_TRUE(WriteFileAtomic(path, "new", nullptr, true));
  EXPECT_EQ(*ReadFileBytes(path), "new");
  EXPECT_EQ(ListFiles(dir.path()), std::vector<std::string>{"doc"});
}

TEST(Files, FailedWriteReportsAndKeepsTheOldFile) {
  // A file-size limit makes the write fail part-way, as a full disk does (root included).
  TempDir dir;
  std::string path = dir.file("doc");
  ASSERT_TRUE(WriteFileAtomic(path, "old"));
  std::string error;
  bool ok;
  {
    testing::FileSizeLimit limit(1024);
    ok = WriteFileAtomic(path, std::string(4096, 'n'), &error);
  }
  EXPECT_FALSE(ok);
  EXPECT_NE(error.find(path), std::string::npos);
  EXPECT_EQ(*ReadFileBytes(path), "old");
  EXPECT_EQ(ListFiles(dir.path()), std::vector<std::string>{"doc"});
}

TEST(Files, NewFileWriteNeverTouchesAnExistingFileAndRemovesAFailedOne) {
  TempDir dir;
  std::string path = dir.file("WITEM1.WRK");
  ASSERT_TRUE(WriteNewFile(path, "first"));
  bool existed = false;
  EXPECT_FALSE(WriteNewFile(path, "second", nullptr, &existed));
  EXPECT_TRUE(existed);
  EXPECT_EQ(*ReadFileBytes(path), "first");
  std::string error;
  bool ok;
  {
    testing::FileSizeLimit limit(1024);
    ok = WriteNewFile(dir.file("WITEM2.WRK"), std::string(4096, 'n'), &error, &existed);
  }
  EXPECT_FALSE(ok);
  EXPECT_FALSE(existed);
  EXPECT_NE(error.find("WITEM2.WRK"), std::string::npos);
  EXPECT_EQ(ListFiles(dir.path()), std::vector<std::string>{"WITEM1.WRK"});
}

TEST(Files, ReadersTakeOnlyRegularFilesUpToTheirBound) {
  TempDir dir;
  std::string error;
  // A pipe without a writer, a device and a folder are refused at once, before any read.
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
  EXPECT_FALSE(ReadFileBytes(dir.file("fifo"), &error));
  EXPECT_EQ(error, "is not a regular file");
  EXPECT_FALSE(ReadFileBytes("/dev/zero", &error));
  EXPECT_EQ(error, "is not a regular file");
  EXPECT_FALSE(ReadTextLines(dir.path(), &error));
  EXPECT_EQ(error, "is a folder, not a file");
  EXPECT_FALSE(ReadFileBytes(dir.file("missing"), &error));
  EXPECT_EQ(error, "No such file or directory");
  // The bound is checked on the size before reading: a sparse file costs no memory.
  ASSERT_TRUE(WriteFileAtomic(dir.file("big"), "x"));
  ASSERT_EQ(::truncate(dir.file("big").c_str(), static_cast<off_t>(kMaxDocumentBytes) + 1), 0);
  EXPECT_FALSE(ReadTextLines(dir.file("big"), &error));
  EXPECT_EQ(error, "larger than 128 MB, the most a file of this kind may hold");
  ASSERT_EQ(::truncate(dir.file("big").c_str(), 10), 0);
  EXPECT_EQ(ReadFileBytes(dir.file("big"), &error, 10)->size(), 10u);
}

TEST(Files, ReplacingAFileKeepsItsModeAndGroup) {
  TempDir dir;
  std::string path = dir.file("doc");
  ASSERT_TRUE(WriteFileAtomic(path, "old"));
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  // A group of the caller's other than the one new files get (root may take any).
  gid_t other = ::getegid() == 0 ? 1 : ::getegid();
  bool chgrp = ::chown(path.c_str(), static_cast<uid_t>(-1), other) == 0;
  mode_t saved = ::umask(0);
  bool ok = WriteFileAtomic(path, "new");
  ::umask(saved);
  ASSERT_TRUE(ok);
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  if (chgrp) {
    EXPECT_EQ(st.st_gid, other);
  }
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomic(path, "newer"));
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(Files, WriteIntoMissingFolderFails) {
  std::string error;
  EXPECT_FALSE(WriteFileAtomic("/nonexistent-folder-zantro/x", "data", &error));
  EXPECT_FALSE(error.empty());
}

TEST(Files, NamesAreFoundWithoutRegardToCase) {
  TempDir dir;
  ASSERT_TRUE(WriteFileAtomic(dir.file("zantro.CONF"), "a"));
  auto found = FindNoCase(dir.path(), "Zantro.conf");
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, dir.file("zantro.CONF"));
  // A rewrite replaces the file that was found: no second spelling appears.
  ASSERT_TRUE(WriteFileAtomic(ResolveNoCase(dir.path(), "Zantro.conf"), "b"));
  EXPECT_EQ(ListFiles(dir.path()).size(), 1u);
  EXPECT_EQ(*ReadFileBytes(dir.file("zantro.CONF")), "b");
  EXPECT_EQ(ResolveNoCase(dir.path(), "new.txt"), dir.file("new.txt"));
  EXPECT_TRUE(EndsWithNoCase("WITEM1.wrk", ".WRK"));
}

TEST(Files, DeleteAndRename) {
  TempDir dir;
  ASSERT_TRUE(WriteFileAtomic(dir.file("a"), "1"));
  EXPECT_TRUE(RenameFile(dir.file("a"), dir.file("b")));
  EXPECT_FALSE(FileExists(dir.file("a")));
  EXPECT_TRUE(DeleteFile(dir.file("b")));
  EXPECT_TRUE(DeleteFile(dir.file("b")));  // already gone is fine
}

// Names looked up without regard to case come from a kept index, not a listing per lookup, and
// the index follows what other programs do to the folder (they write without this file layer).
TEST(Files, CaseFreeLookupsListTheFolderOnceAndFollowOtherPrograms) {
  TempDir dir;
  for (int n = 1; n <= 200; ++n) ASSERT_TRUE(WriteFileAtomic(dir.file("WITEM" + std::to_string(n) + ".WRK"), ""));
  auto other = [&](const std::string& name) { ::close(::open(dir.file(name).c_str(), O_CREAT | O_WRONLY, 0644)); };

  uint64_t before = FolderScans();
  for (int n = 1; n <= 1000; ++n) {
    auto found = FindNoCase(dir.path(), "witem" + std::to_string(n) + ".wrk");
    if (n <= 200)
      EXPECT_EQ(found, dir.file("WITEM" + std::to_string(n) + ".WRK"));
    else
      EXPECT_FALSE(found) << n;
  }
  other("Extra.Txt");
  EXPECT_EQ(FindNoCase(dir.path(), "EXTRA.TXT"), dir.file("Extra.Txt"));
  ASSERT_EQ(::rename(dir.file("Extra.Txt").c_str(), dir.file("moved.TXT").c_str()), 0);
  EXPECT_FALSE(FindNoCase(dir.path(), "EXTRA.TXT"));
  EXPECT_EQ(FindNoCase(dir.path(), "MOVED.txt"), dir.file("moved.TXT"));
  ::unlink(dir.file("moved.TXT").c_str());
  EXPECT_FALSE(FindNoCase(dir.path(), "MOVED.txt"));
  // Many names at once resolve as each would alone: the spelling found, the exact one first.
  other("DUP.DAT");
  other("dup.dat");
  std::vector<std::string> names{"witem7.wrk", "WITEM900.WRK", "DUP.DAT", "dup.dat", "Dup.Dat"};
  for (int n = 1; n <= 1000; ++n) names.push_back("WITEM" + std::to_string(n) + ".PUP");
  auto paths = ResolveAllNoCase(dir.path(), names);
  ASSERT_EQ(paths.size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(paths[i], ResolveNoCase(dir.path(), names[i])) << names[i];
  EXPECT_EQ(paths[0], dir.file("WITEM7.WRK"));
  EXPECT_EQ(paths[1], dir.file("WITEM900.WRK"));
  EXPECT_EQ(paths[3], dir.file("dup.dat"));
  EXPECT_EQ(FolderScans() - before, 1u);
  // With one of two spellings gone, a case-free lookup finds the one that stays, either way.
  ASSERT_EQ(::rename(dir.file("dup.dat").c_str(), dir.file("gone.tmp").c_str()), 0);
  EXPECT_EQ(FindNoCase(dir.path(), "Dup.Dat"), dir.file("DUP.DAT"));
  EXPECT_EQ(FindNoCase(dir.path(), "dup.dat"), dir.file("DUP.DAT"));
  ASSERT_EQ(::rename(dir.file("gone.tmp").c_str(), dir.file("dup.dat").c_str()), 0);
  ::unlink(dir.file("DUP.DAT").c_str());
  EXPECT_EQ(FindNoCase(dir.path(), "Dup.Dat"), dir.file("dup.dat"));
  ::unlink(dir.file("dup.dat").c_str());
  EXPECT_FALSE(FindNoCase(dir.path(), "Dup.Dat"));
  // A folder that is a file or is missing holds no name; names in it stay as they are given.
  EXPECT_FALSE(FindNoCase(dir.file("WITEM1.WRK"), "x"));
  EXPECT_EQ(ResolveAllNoCase(dir.file("missing"), std::vector<std::string>{"Ab"}),
            std::vector<std::string>{dir.file("missing") + "/Ab"});
  const uint64_t scansSoFar = FolderScans() - before;

  // Rewrites pass through temporary names; the index keeps only the names that stay.
  const size_t held = FolderNameCount();
  for (int n = 0; n < 500; ++n) ASSERT_TRUE(WriteFileAtomic(dir.file("WITEM1.WRK"), std::to_string(n)));
  EXPECT_FALSE(FindNoCase(dir.path(), "none.wrk"));
  EXPECT_EQ(FolderNameCount(), held);

  // A folder replaced by another of the same path is listed again; so is a forgotten one.
  std::filesystem::remove_all(dir.path());
  std::filesystem::create_directory(dir.path());
  other("Again.DAT");
  EXPECT_EQ(FindNoCase(dir.path(), "again.dat"), dir.file("Again.DAT"));
  ForgetFolderNames(dir.path());
  EXPECT_EQ(FindNoCase(dir.path(), "AGAIN.dat"), dir.file("Again.DAT"));
  EXPECT_EQ(FolderScans() - before, scansSoFar + 2);
}

}  // namespace
}  // namespace zantro

