// The remembered folders of the file dialogs: the file's exact bytes, what is passed over,
// what is refused, and where the next dialog starts.
#include "platform/folderstore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

TEST(FolderStore, EveryKindHasItsOwnKeyInItsOwnLine) {
  RememberedFolders f{"/o", "/s", "/e", "/p", "/i"};
  EXPECT_EQ(FormatFolders(f), "[OPEN_DIR]=/o\n[SAVE_DIR]=/s\n[EXPORT_DIR]=/e\n[PDF_DIR]=/p\n[IMPORT_DIR]=/i\n");
  EXPECT_EQ(ParseFolders(FormatFolders(f)), f);
  EXPECT_EQ(FolderKindKey(FolderKind::PrintPdf), "[PDF_DIR]");
  // Kinds without a folder write no line at all.
  EXPECT_EQ(FormatFolders({"", "", "/e", "", ""}), "[EXPORT_DIR]=/e\n");
  EXPECT_EQ(FormatFolders({}), "");
}

TEST(FolderStore, ReadingPassesOverWhatIsNotOurs) {
  auto f = ParseFolders(
      "[OPEN_DIR]=/a=b c\r\n"      // everything after the first "=" is the folder, CR LF too
      "garbage\n"                  // no "=": passed over
      "[open_dir]=/lower\n"        // keys are exact
      "[NEWER_KEY]=/x\n"           // a key of a newer program
      "[SAVE_DIR]=/first\n"
      "[SAVE_DIR]=/second\n"       // the later line wins
      "[IMPORT_DIR]=/last");       // no line break at the end
  EXPECT_EQ(f[0], "/a=b c");
  EXPECT_EQ(f[1], "/second");
  EXPECT_EQ(f[2], "");
  EXPECT_EQ(f[3], "");
  EXPECT_EQ(f[4], "/last");
}

TEST(FolderStore, TheFolderOfAChosenFile) {
  EXPECT_EQ(FolderOfChoice("/home/u/見積/山田ビル.znt2"), "/home/u/見積");
  EXPECT_EQ(FolderOfChoice("/x.pdf"), "/");
  EXPECT_EQ(FolderOfChoice("relative/x.pdf"), "");
  EXPECT_EQ(FolderOfChoice("x.pdf"), "");
  EXPECT_EQ(FolderOfChoice(""), "");
}

TEST(FolderStore, RememberWritesTheWholeFileAndLastReadsItBack) {
  testing::TempDir dir;
  std::string docs = dir.file("docs"), pdfs = dir.file("pdf 出力");
  std::filesystem::create_directories(docs);
  std::filesystem::create_directories(pdfs);
  // The store's folder is made on the first remembering, two levels deep.
  FolderStore store(dir.file("config/zantro/folders"));
  EXPECT_FALSE(store.Last(FolderKind::Open));
  ASSERT_TRUE(store.Remember(FolderKind::Open, docs));
  ASSERT_TRUE(store.Remember(FolderKind::PrintPdf, pdfs));
  EXPECT_EQ(*ReadFileBytes(store.Path()), "[OPEN_DIR]=" + docs + "\n[PDF_DIR]=" + pdfs + "\n");
  struct stat st {};
  ASSERT_EQ(::stat(dir.file("config/zantro").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(store.Last(FolderKind::Open), docs);
  EXPECT_EQ(store.Last(FolderKind::PrintPdf), pdfs);
  EXPECT_FALSE(store.Last(FolderKind::Save));
  // Another program's store over the same file sees it, and its own change keeps the others.
  FolderStore other(store.Path());
  ASSERT_TRUE(other.Remember(FolderKind::Open, pdfs));
  EXPECT_EQ(*ReadFileBytes(store.Path()), "[OPEN_DIR]=" + pdfs + "\n[PDF_DIR]=" + pdfs + "\n");
  EXPECT_EQ(store.Last(FolderKind::Open), pdfs);
}

TEST(FolderStore, RememberingTheSameFolderAgainLeavesTheFileAlone) {
  testing::TempDir dir;
  FolderStore store(dir.file("folders"));
  ASSERT_TRUE(store.Remember(FolderKind::Export, dir.path()));
  struct stat before {}, after {};
  ::stat(store.Path().c_str(), &before);
  ASSERT_TRUE(store.Remember(FolderKind::Export, dir.path()));
  ::stat(store.Path().c_str(), &after);
  EXPECT_EQ(before.st_ino, after.st_ino);  // an atomic rewrite would have made a new file
}

TEST(FolderStore, WhatCannotBeRememberedChangesNothing) {
  testing::TempDir dir;
  FolderStore store(dir.file("folders"));
  ASSERT_TRUE(store.Remember(FolderKind::Save, dir.path()));
  std::string before = *ReadFileBytes(store.Path());
  EXPECT_FALSE(store.Remember(FolderKind::Save, ""));
  EXPECT_FALSE(store.Remember(FolderKind::Save, "relative/folder"));
  EXPECT_FALSE(store.Remember(FolderKind::Save, "/a\nb"));   // would forge a line
  EXPECT_FALSE(store.Remember(FolderKind::Save, "/a\rb"));
  EXPECT_EQ(*ReadFileBytes(store.Path()), before);
  EXPECT_FALSE(FolderStore("").Remember(FolderKind::Open, dir.path()));
  EXPECT_FALSE(FolderStore("").Last(FolderKind::Open));
  // A file where the store's folder should be: nothing can be written under it.
  ASSERT_TRUE(WriteFileAtomic(dir.file("plain"), "x"));
  EXPECT_FALSE(FolderStore(dir.file("plain/zantro/folders")).Remember(FolderKind::Open, dir.path()));
}

TEST(FolderStore, AFolderThatIsGoneIsNoPlaceToStart) {
  testing::TempDir dir;
  std::string gone = dir.file("gone");
  std::filesystem::create_directories(gone);
  FolderStore store(dir.file("folders"));
  ASSERT_TRUE(store.Remember(FolderKind::Import, gone));
  std::filesystem::remove(gone);
  EXPECT_FALSE(store.Last(FolderKind::Import));
  // A remembered plain file, or a relative path written by hand, is no folder either.
  ASSERT_TRUE(WriteFileAtomic(dir.file("folders"), "[IMPORT_DIR]=" + dir.file("folders") + "\n[OPEN_DIR]=.\n"));
  EXPECT_FALSE(store.Last(FolderKind::Import));
  EXPECT_FALSE(store.Last(FolderKind::Open));
}

TEST(FolderStore, ADialogStartsInTheRememberedFolderKeepingAProposedName) {
  testing::TempDir dir;
  std::string last = dir.file("last");
  std::filesystem::create_directories(last);
  EXPECT_EQ(DialogStart(std::nullopt, "SE-1024.pdf"), "SE-1024.pdf");
  EXPECT_EQ(DialogStart(std::nullopt, ""), "");
  EXPECT_EQ(DialogStart(last, ""), last);
  EXPECT_EQ(DialogStart(last, dir.path()), last);                 // a proposed folder gives way,
  EXPECT_EQ(DialogStart(last, "/no/such/folder"), last);          // also one that is not there
  EXPECT_EQ(DialogStart(last, "SE-1024.pdf"), last + "/SE-1024.pdf");
  EXPECT_EQ(DialogStart(std::string("/"), "x.csv"), "/x.csv");
}

TEST(FolderStore, TheUsersFileFollowsTheConfigurationHome) {
  std::string config = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  ::setenv("HOME", "/home/u", 1);
  EXPECT_EQ(UserFolderStorePath(), "/cfg/zantro/folders");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as the XDG rules say
  EXPECT_EQ(UserFolderStorePath(), "/home/u/.config/zantro/folders");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(UserFolderStorePath(), "/home/u/.config/zantro/folders");
  ::unsetenv("HOME");
  EXPECT_EQ(UserFolderStorePath(), "");
  if (!config.empty()) ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  if (!home.empty()) ::setenv("HOME", home.c_str(), 1);
}

}  // namespace
}  // namespace zantro
