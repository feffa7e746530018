#include "platform/outputs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;

// A list shared by a team (note.dat, Zantro.conf) linked into the program folder: an edit
// replaces the list in its own folder, atomically, and the link stays; no temporary name is
// left in either folder.
TEST(Outputs, SharedListIsWrittenThroughItsLink) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.file("team").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(dir.file("program").c_str(), 0755), 0);
  ASSERT_TRUE(WriteFileAtomic(dir.file("team/note.dat"), "old\r\n"));
  ASSERT_EQ(::chmod(dir.file("team/note.dat").c_str(), 0664), 0);
  ASSERT_EQ(::symlink("../team/note.dat", dir.file("program/note.dat").c_str()), 0);
  std::string error;
  ASSERT_TRUE(WriteTextLines(dir.file("program/note.dat"), {"配管", "ダクト"}, &error)) << error;
  struct stat st;
  ASSERT_EQ(::lstat(dir.file("program/note.dat").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(*ReadFileBytes(dir.file("team/note.dat")), "配管\r\nダクト\r\n");
  ASSERT_EQ(::stat(dir.file("team/note.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0664u);
  EXPECT_EQ(ListFiles(dir.file("team")), std::vector<std::string>{"note.dat"});
  EXPECT_EQ(ListFiles(dir.file("program")), std::vector<std::string>{"note.dat"});  // the link
}

// Links are followed hop by hop to the file they end at; a chain that loops is refused.
TEST(Outputs, LinkChainsEndAtTheirFileAndLoopsAreRefused) {
  TempDir dir;
  ASSERT_EQ(::symlink("b", dir.file("a").c_str()), 0);
  ASSERT_EQ(::symlink(dir.file("c").c_str(), dir.file("b").c_str()), 0);  // absolute
  OutputPlace place;
  std::string error;
  ASSERT_TRUE(PlaceOutput(dir.file("a"), {}, &place, &error)) << error;
  EXPECT_EQ(place.How, OutputPlace::Kind::Replace);
  EXPECT_EQ(place.Path, dir.file("c"));  // a dangling link makes its file
  ASSERT_EQ(::symlink("loop2", dir.file("loop1").c_str()), 0);
  ASSERT_EQ(::symlink("loop1", dir.file("loop2").c_str()), 0);
  EXPECT_FALSE(PlaceOutput(dir.file("loop1"), {}, &place, &error));
  EXPECT_EQ(error, dir.file("loop1") + ": Too many levels of symbolic links");
  // "-" is a file name unless the command takes it for standard output.
  ASSERT_TRUE(PlaceOutput("-", {}, &place, &error));
  EXPECT_EQ(place.How, OutputPlace::Kind::Replace);
  ASSERT_TRUE(PlaceOutput("-", {{}, true}, &place, &error));
  EXPECT_EQ(place.How, OutputPlace::Kind::StandardOutput);
}

// A refused or failed write leaves the old file and no temporary name; the temporary names
// carry the writer's process id, and only those of processes that are gone are removed.
TEST(Outputs, TemporariesOfGoneProcessesOnly) {
  TempDir dir;
  ASSERT_TRUE(WriteFileAtomic(dir.file("out.csv"), "old"));
  std::string error;
  EXPECT_FALSE(WriteOutput(dir.file("out.csv"), "new", &error, {{dir.file("out.csv")}}));
  EXPECT_EQ(error, dir.file("out.csv") + ": 入力の文書と同じファイルです (the output is the input)");
  EXPECT_EQ(*ReadFileBytes(dir.file("out.csv")), "old");
  std::string mine = ".zt" + std::to_string(::getpid()) + "-0000000000aa.tmp";
  std::string gone = ".zt4194305-0000000000bb.tmp";  // above the largest process id
  ASSERT_TRUE(ProcessGone(4194305));
  for (const auto& name : {mine, gone, std::string(".ztx-0000000000cc.tmp"), std::string("kept.tmp")})
    ASSERT_TRUE(WriteNewFile(dir.file(name), ""));
  ASSERT_TRUE(WriteOutput(dir.file("out.csv"), "new", &error)) << error;
  EXPECT_EQ(*ReadFileBytes(dir.file("out.csv")), "new");
  EXPECT_TRUE(FileExists(dir.file(mine)));
  EXPECT_FALSE(FileExists(dir.file(gone)));
  EXPECT_TRUE(FileExists(dir.file(".ztx-0000000000cc.tmp")));
  EXPECT_TRUE(FileExists(dir.file("kept.tmp")));
}

}  // namespace
}  // namespace zantro
