// The program folder of a run in place, of a companion told its window's folder, and of an
// installed program: each user's own folder, made from the installed one.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/launcher.h"
#include "platform/programfolder.h"
#include "testutil/tempdir.h"

namespace fs = std::filesystem;
using namespace zantro;
using zantro::testing::TempDir;

namespace {

void Write(const std::string& path, const std::string& bytes, fs::perms perms = fs::perms(0644)) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  fs::permissions(path, perms);
}

std::string Read(const std::string& path) { return ReadFileBytes(path).value_or("<none>"); }

// Every entry under folder, relative, sorted; folders end in "/".
std::vector<std::string> Tree(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    std::string rel = fs::relative(e.path(), folder).string();
    out.push_back(e.is_directory() && !e.is_symlink() ? rel + "/" : rel);
  }
  std::sort(out.begin(), out.end());
  return out;
}

// An installed folder as the installation lays it out: programs, links to them, the marker,
// the data files with a subfolder, and the lock a run in place would leave.
struct Installation {
  TempDir dir;
  std::string lib = dir.path() + "/lib/zantro";
  Installation() {
    Write(lib + "/zantro", "#!/bin/sh\n", fs::perms(0755));
    Write(lib + "/rowedit_dlg", "ELF", fs::perms(0755));
    fs::create_symlink("zantro", lib + "/std_zantro");
    Write(lib + "/" + kInstalledMarker, "");
    Write(lib + "/ZANTRO.lock", "");
    Write(lib + "/Zantro.conf", "[CALC_OPT1]=1\r\n[GROUP_NAME1]=\x8d\xde\x97\xbf\r\n", fs::perms(0444));
    Write(lib + "/note.dat", "a\r\nb\r\n");
    Write(lib + "/Sample/sample.znt2", "<TITLE>\r\n");
    Write(lib + "/style/style.conf", "[Company]=x\r\n");
  }
  std::string Home() const { return dir.path() + "/home"; }
  std::string DataHome() const { return dir.path() + "/data"; }
};

const std::vector<std::string> kCopied = {"Sample/", "Sample/sample.znt2", "Zantro.conf", "note.dat", "style/",
                                          "style/style.conf"};

}  // namespace

TEST(ProgramFolder, TheOptionWinsAndIsMadeAbsolute) {
  Installation inst;
  std::string error;
  std::string cwd = fs::current_path().string();
  auto c = ChooseProgramFolder({"work/", inst.dir.path() + "/elsewhere", inst.lib, inst.DataHome(), inst.Home()}, &error);
  ASSERT_TRUE(c) << error;
  EXPECT_EQ(c->Folder, cwd + "/work");
  // Companions are looked for where the option points, as a run in place always did.
  EXPECT_EQ(c->Programs, cwd + "/work");
  EXPECT_FALSE(fs::exists(inst.DataHome()));
}

TEST(ProgramFolder, ACompanionTakesTheFolderOfTheWindowThatStartedIt) {
  Installation inst;
  std::string error;
  std::string shared = inst.dir.path() + "/data/zantro/";
  auto c = ChooseProgramFolder({"", shared, inst.lib + "/", inst.DataHome(), inst.Home()}, &error);
  ASSERT_TRUE(c) << error;
  EXPECT_EQ(c->Folder, inst.dir.path() + "/data/zantro");
  EXPECT_EQ(c->Programs, inst.lib);
  // Told its folder, the companion makes none of its own.
  EXPECT_FALSE(fs::exists(inst.DataHome()));
}

TEST(ProgramFolder, ABuildFolderIsItsOwnProgramFolder) {
  TempDir build;
  Write(build.path() + "/zantro", "", fs::perms(0755));
  std::string error;
  auto c = ChooseProgramFolder({"", "", build.path() + "//", build.path() + "/data", build.path() + "/home"}, &error);
  ASSERT_TRUE(c) << error;
  EXPECT_EQ(c->Folder, build.path());
  EXPECT_EQ(c->Programs, build.path());
  EXPECT_FALSE(fs::exists(build.path() + "/data"));
  EXPECT_FALSE(IsInstalledFolder(build.path()));
}

TEST(ProgramFolder, AnInstalledProgramWorksInTheUsersOwnCopyOfItsData) {
  Installation inst;
  std::string error;
  auto c = ChooseProgramFolder({"", "", inst.lib, inst.DataHome() + "/", inst.Home()}, &error);
  ASSERT_TRUE(c) << error;
  std::string user = inst.DataHome() + "/zantro";
  EXPECT_EQ(c->Folder, user);
  EXPECT_EQ(c->Programs, inst.lib);
  // The data files, byte for byte; no program, link, lock or marker.
  EXPECT_EQ(Tree(user), kCopied);
  EXPECT_EQ(Read(user + "/Zantro.conf"), "[CALC_OPT1]=1\r\n[GROUP_NAME1]=\x8d\xde\x97\xbf\r\n");
  EXPECT_EQ(Read(user + "/Sample/sample.znt2"), "<TITLE>\r\n");
  EXPECT_EQ(Read(user + "/style/style.conf"), "[Company]=x\r\n");
  // A read-only installed file becomes a file the user can rewrite.
  EXPECT_TRUE((fs::status(user + "/Zantro.conf").permissions() & fs::perms::owner_write) != fs::perms::none);
  // Nothing is left of the folder being built.
  EXPECT_EQ(Tree(inst.DataHome()).size(), kCopied.size() + 1);
  EXPECT_TRUE(IsInstalledFolder(inst.lib));
}

TEST(ProgramFolder, TheDataHomeDefaultsToTheHomesLocalShare) {
  Installation inst;
  std::string error;
  for (std::string dataHome : {std::string(), std::string("relative/data")}) {
    auto c = ChooseProgramFolder({"", "", inst.lib, dataHome, inst.Home()}, &error);
    ASSERT_TRUE(c) << error;
    EXPECT_EQ(c->Folder, inst.Home() + "/.local/share/zantro");
    EXPECT_EQ(Tree(c->Folder), kCopied);
  }
  // Folders the program makes above its own are private to the user.
  EXPECT_EQ(fs::status(inst.Home() + "/.local").permissions(), fs::perms(0700));
  EXPECT_EQ(PerUserProgramFolder("/x/y//", "/h"), "/x/y/zantro");
  EXPECT_EQ(PerUserProgramFolder("", "/h/"), "/h/.local/share/zantro");
  EXPECT_EQ(PerUserProgramFolder("/", "/h"), "/zantro");
  EXPECT_EQ(PerUserProgramFolder("x", "y"), "");
}

TEST(ProgramFolder, WithoutAnyHomeAnInstalledProgramRefusesToStart) {
  Installation inst;
  std::string error;
  EXPECT_FALSE(ChooseProgramFolder({"", "", inst.lib, "", ""}, &error));
  EXPECT_NE(error.find(inst.lib), std::string::npos) << error;
}

TEST(ProgramFolder, ALaterStartKeepsTheUsersFilesAndAddsWhatANewerInstallationBrought) {
  Installation inst;
  std::string error;
  std::string user = inst.DataHome() + "/zantro";
  ASSERT_TRUE(FillPerUserFolder(inst.lib, user, &error)) << error;
  Write(user + "/Zantro.conf", "mine\r\n");
  Write(user + "/HEAD.WRK", "work");
  fs::remove(user + "/note.dat");
  fs::rename(user + "/style/style.conf", user + "/style/STYLE.CONF");
  fs::rename(user + "/Sample", user + "/sample");
  Write(inst.lib + "/KEITO.DAT", "new\r\n");
  Write(inst.lib + "/Sample/second.znt2", "<TITLE>2");
  ASSERT_TRUE(FillPerUserFolder(inst.lib, user, &error)) << error;
  EXPECT_EQ(Read(user + "/Zantro.conf"), "mine\r\n");
  EXPECT_EQ(Read(user + "/HEAD.WRK"), "work");
  EXPECT_EQ(Read(user + "/note.dat"), "a\r\nb\r\n");
  EXPECT_EQ(Read(user + "/KEITO.DAT"), "new\r\n");
  // A name found in another case is the same file (and the same folder): no second one.
  EXPECT_EQ(Tree(user), (std::vector<std::string>{"HEAD.WRK", "KEITO.DAT", "Zantro.conf", "note.dat", "sample/",
                                                  "sample/sample.znt2", "sample/second.znt2", "style/",
                                                  "style/STYLE.CONF"}));
}

TEST(ProgramFolder, AFolderThatIsNotOneIsNamedAndNothingIsBuiltBesideIt) {
  Installation inst;
  std::string error;
  Write(inst.DataHome() + "/zantro", "a file");
  EXPECT_FALSE(ChooseProgramFolder({"", "", inst.lib, inst.DataHome(), inst.Home()}, &error));
  EXPECT_NE(error.find(inst.DataHome() + "/zantro"), std::string::npos) << error;
  EXPECT_EQ(Tree(inst.DataHome()), std::vector<std::string>{"zantro"});

  // A file where the data home should be: the folder cannot be made and says which.
  TempDir other;
  Write(other.path() + "/data", "a file");
  EXPECT_FALSE(FillPerUserFolder(inst.lib, other.path() + "/data/zantro", &error));
  EXPECT_NE(error.find(other.path() + "/data"), std::string::npos) << error;
}

TEST(ProgramFolder, AFolderAboveThatCannotBeMadeIsNamed) {
  // A file where a folder of the data home should be: the first folder that cannot be made is
  // named with the reason, not the folder under it.
  Installation inst;
  TempDir other;
  Write(other.path() + "/data", "a file");
  std::string error;
  EXPECT_FALSE(FillPerUserFolder(inst.lib, other.path() + "/data/share/zantro", &error));
  EXPECT_EQ(error, other.path() + "/data/share: " + std::string(std::strerror(ENOTDIR)));
  EXPECT_FALSE(ChooseProgramFolder({"", "", inst.lib, other.path() + "/data/share", ""}, &error));
  EXPECT_EQ(error, other.path() + "/data/share: " + std::string(std::strerror(ENOTDIR)));
}

TEST(ProgramFolder, ASubfolderThatCannotBeMadeStopsTheCopyAndIsNamed) {
  Installation inst;
  std::string user = inst.DataHome() + "/zantro";
  std::string error;
  ASSERT_TRUE(FillPerUserFolder(inst.lib, user, &error)) << error;
  Write(inst.lib + "/Sample/2026/a.znt2", "<TITLE>");
  // The user's Sample folder takes no new entry: read-only for a user, immutable for root.
  std::string locked = user + "/Sample";
  bool root = ::geteuid() == 0;
  if (root ? std::system(("chattr +i '" + locked + "' 2>/dev/null").c_str()) != 0
           : ::chmod(locked.c_str(), 0555) != 0)
    GTEST_SKIP() << "the folder cannot be locked here";
  bool filled = FillPerUserFolder(inst.lib, user, &error);
  if (root) std::system(("chattr -i '" + locked + "'").c_str());
  else ::chmod(locked.c_str(), 0755);
  EXPECT_FALSE(filled);
  EXPECT_EQ(error.rfind(locked + "/2026: ", 0), 0u) << error;
}

TEST(ProgramFolder, SpecialFilesOfTheInstalledFolderStayBehind) {
  Installation inst;
  ASSERT_EQ(::mkfifo((inst.lib + "/pipe").c_str(), 0644), 0);
  fs::create_symlink("/etc/passwd", inst.lib + "/link.conf");
  fs::create_directory_symlink("/etc", inst.lib + "/etc");
  std::string error;
  std::string user = inst.DataHome() + "/zantro";
  ASSERT_TRUE(FillPerUserFolder(inst.lib, user, &error)) << error;
  EXPECT_EQ(Tree(user), kCopied);
}

TEST(ProgramFolder, AFolderWhereNothingCanBeMadeIsNamedWithTheSystemsReason) {
  // The process file system refuses new entries to everyone, root included.
  Installation inst;
  std::string error;
  EXPECT_FALSE(FillPerUserFolder(inst.lib, "/proc/zantro", &error));
  EXPECT_EQ(error, "/proc/zantro: " + std::string(std::strerror(ENOENT)));
  if (::access("/proc/self", W_OK) == 0) {
    error.clear();
    EXPECT_FALSE(FillPerUserFolder(inst.lib, "/proc/self", &error));
    EXPECT_NE(error.find("/proc/self/"), std::string::npos) << error;
  }
}

TEST(ProgramFolder, TheInputsComeFromTheEnvironment) {
  ::setenv(kProgramFolderVariable, "/from/window", 1);
  ::setenv("XDG_DATA_HOME", "/data/home", 1);
  ::setenv("HOME", "/home/u", 1);
  ProgramFolderInputs in = ProgramFolderInputsOf("opt", "/exe");
  EXPECT_EQ(in.Option, "opt");
  EXPECT_EQ(in.Inherited, "/from/window");
  EXPECT_EQ(in.ExecutableFolder, "/exe");
  EXPECT_EQ(in.DataHome, "/data/home");
  EXPECT_EQ(in.Home, "/home/u");
  ::unsetenv(kProgramFolderVariable);
  ::unsetenv("XDG_DATA_HOME");
  ::unsetenv("HOME");
  in = ProgramFolderInputsOf("", "/exe");
  EXPECT_EQ(in.Inherited, "");
  EXPECT_EQ(in.DataHome, "");
  // Without HOME the account's home folder stands in.
  EXPECT_FALSE(in.Home.empty());
}

TEST(ProgramFolder, TheCompanionsOfAUsersFolderAreStartedFromTheInstallation) {
  Installation inst;
  std::string user = inst.DataHome() + "/zantro";
  std::string error;
  ASSERT_TRUE(FillPerUserFolder(inst.lib, user, &error)) << error;
  SetProgramsFolder(user, inst.lib);
  EXPECT_EQ(CompanionPath(user, "rowedit_dlg.exe"), inst.lib + "/rowedit_dlg");
  EXPECT_TRUE(CompanionPresent(user, "rowedit_dlg.exe"));
  EXPECT_FALSE(CompanionPresent(user, "docsave_dlg.exe"));
  // Any other folder keeps its own programs.
  EXPECT_EQ(CompanionPath(inst.lib + "/x", "rowedit_dlg.exe"), inst.lib + "/x/rowedit_dlg");
  EXPECT_FALSE(CompanionPresent(inst.DataHome(), "rowedit_dlg.exe"));
  SetProgramsFolder("", "");
}
