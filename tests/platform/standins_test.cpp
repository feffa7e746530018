// The platform stand-ins of the window: configuration lines, the position file, filters,
// memory figures, the edition, the runtime folder, the lock and the launcher.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/conffile.h"
#include "platform/files.h"
#include "platform/filters.h"
#include "platform/inifile.h"
#include "platform/launcher.h"
#include "platform/runtime.h"
#include "platform/signalcleanup.h"
#include "platform/sysinfo.h"

namespace fs = std::filesystem;
using namespace zantro;

namespace {

class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/zantro-test-XXXXXX";
    path_ = ::mkdtemp(tmpl);
  }
  ~TempDir() { fs::remove_all(path_); }
  const std::string& path() const { return path_; }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(JoinPath(path_, name), std::ios::binary) << text;
  }
  std::string Read(const std::string& name) const { return ReadFileBytes(JoinPath(path_, name)).value_or("<none>"); }

 private:
  std::string path_;
};

}  // namespace

TEST(ConfFile, SplitsAtTheFirstEqualsAndKeepsTheRest) {
  EXPECT_EQ(SplitConfLine("[GENGAKU]=a=b"), std::make_pair(std::string("[GENGAKU]"), std::string("a=b")));
  EXPECT_EQ(SplitConfLine("[CALC_OPT2] = 1").first, "[CALC_OPT2] ");
  EXPECT_EQ(SplitConfLine("no equals").first, "");
}

TEST(ConfFile, LookupTakesTheFirstExactKeyAndFindsTheFileWithoutCase) {
  TempDir d;
  d.Write("ZANTRO.CONF", "[Tax_Value]=8\r\n[tax_value]=9\r\n[Tax_Value]=10\r\n");
  EXPECT_EQ(ReadConfValue(d.path(), "Zantro.conf", "[Tax_Value]"), "8");
  EXPECT_EQ(ReadConfValue(d.path(), "Zantro.conf", "[TAX_VALUE]"), std::nullopt);
  EXPECT_EQ(ReadConfValue(d.path(), "Number.conf", "[Tax_Value]"), std::nullopt);
}

TEST(ConfFile, IntegersFallBackToTheDefault) {
  EXPECT_EQ(ConfInt(" 42 ", 0), 42);
  EXPECT_EQ(ConfInt("-7", 0), -7);
  EXPECT_EQ(ConfInt("4x", 3), 3);
  EXPECT_EQ(ConfInt("", 5), 5);
  EXPECT_EQ(ConfInt("99999999999", 1), 1);
}

TEST(IniFile, KeysWithoutCaseBadNumbersDefaultOtherLinesKept) {
  TempDir d;
  d.Write("zantro.ini", "; kept\r\n[Other]\r\nTop=1\r\n[fzantro]\r\nTOP=120\r\nLeft=abc\r\nExtra=x\r\n");
  IniFile ini(JoinPath(d.path(), "zantro.ini"));
  EXPECT_EQ(ini.ReadInteger("FZANTRO", "top", 0), 120);
  EXPECT_EQ(ini.ReadInteger("FZANTRO", "Left", 7), 7);
  EXPECT_EQ(ini.ReadInteger("FZANTRO", "Width", 1100), 1100);
  ini.WriteInteger("FZANTRO", "Top", 5);
  ini.WriteInteger("FZANTRO", "Width", 900);
  ASSERT_TRUE(ini.Save());
  EXPECT_EQ(d.Read("zantro.ini"),
            "; kept\r\n[Other]\r\nTop=1\r\n[fzantro]\r\nTop=5\r\nLeft=abc\r\nExtra=x\r\nWidth=900\r\n");
}

TEST(IniFile, MissingFileGetsTheSection) {
  TempDir d;
  IniFile ini(JoinPath(d.path(), "new.ini"));
  ini.WriteInteger("FZANTRO", "Top", 3);
  ASSERT_TRUE(ini.Save());
  EXPECT_EQ(d.Read("new.ini"), "[FZANTRO]\r\nTop=3\r\n");
}

TEST(Filters, TranslatedToQtFormWithBothCasesAndNoEmptyPatterns) {
  EXPECT_EQ(QtFilter("ザントロVersion1(znt)|*.znt"), "ザントロVersion1(znt) (*.znt *.ZNT)");
  EXPECT_EQ(QtFilter("ザントロファイル(znt2)|*.znt2;"), "ザントロファイル(znt2) (*.znt2 *.ZNT2)");
  EXPECT_EQ(QtFilter("CSV|*.csv;*.txt|All|*.*"), "CSV (*.csv *.CSV *.txt *.TXT);;All (*.*)");
  EXPECT_EQ(QtFilter("Nothing|;"), "");
}

TEST(SysInfo, MeminfoInBytesBeyond32Bits) {
  auto m = ParseMeminfo("MemTotal:       16318256 kB\nMemFree: 1 kB\nMemAvailable:   12000000 kB\n");
  EXPECT_EQ(m.TotalBytes, int64_t{16318256} * 1024);
  EXPECT_EQ(m.AvailableBytes, int64_t{12000000} * 1024);
  EXPECT_GT(ReadMemoryStatus().TotalBytes, 0);
}

TEST(Runtime, EditionComesFromTheNameAsGiven) {
  EXPECT_EQ(EditionFromName("std_zantro"), 0);
  EXPECT_EQ(EditionFromName("STD_ZANTRO.exe"), 0);
  EXPECT_EQ(EditionFromName("net_zantro"), 1);
  EXPECT_EQ(EditionFromName("zantro"), 1);
  EXPECT_EQ(BaseName("/opt/z/std_zantro"), "std_zantro");
  EXPECT_EQ(DirName("/opt/z/std_zantro"), "/opt/z");
}

TEST(Runtime, FolderIsCreatedPrivateAndUnsafeOnesAreRefused) {
  TempDir d;
  std::string own = JoinPath(d.path(), "rt");
  ::setenv("ZANTRO_RUNTIME_DIR", own.c_str(), 1);
  std::string error;
  auto rt = RuntimeFolder(&error);
  ASSERT_TRUE(rt) << error;
  struct stat st;
  ASSERT_EQ(::stat(own.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  ::chmod(own.c_str(), 0777);
  EXPECT_FALSE(RuntimeFolder(&error));
  EXPECT_NE(error.find(own), std::string::npos);

  std::string link = JoinPath(d.path(), "link");
  ::chmod(own.c_str(), 0700);
  ::symlink(own.c_str(), link.c_str());
  ::setenv("ZANTRO_RUNTIME_DIR", link.c_str(), 1);
  EXPECT_FALSE(RuntimeFolder(&error));
  ::unsetenv("ZANTRO_RUNTIME_DIR");
}

// Another user who takes the shared temporary folder's name first does not keep the window
// from starting: the folder in the user's home follows; when none works, each is named.
TEST(Runtime, FolderClaimedByAnotherUserFallsBackToTheHome) {
  if (::geteuid() != 0) GTEST_SKIP() << "making another user's folder needs root";
  TempDir d;
  std::string claimed = JoinPath(d.path(), "zantro-0");
  ASSERT_EQ(::mkdir(claimed.c_str(), 0700), 0);
  ASSERT_EQ(::chown(claimed.c_str(), 65534, 65534), 0);
  std::string home = JoinPath(d.path(), ".zantro-run");
  std::string error;
  auto rt = FirstRuntimeFolder({claimed, home}, &error);
  ASSERT_TRUE(rt) << error;
  EXPECT_EQ(*rt, home);
  struct stat st;
  ASSERT_EQ(::lstat(rt->c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  std::string longHome = "/" + std::string(100, 'h') + "/.zantro-run";
  EXPECT_FALSE(FirstRuntimeFolder({claimed, longHome}, &error));
  EXPECT_EQ(error, "runtime folder " + claimed + ": belongs to another user; " + longHome +
                       ": is too long for the sockets (64 bytes at most)");
}

TEST(Runtime, SecondLockIsRefusedUntilTheFirstIsReleased) {
  TempDir d;
  InstanceLock first, second;
  ASSERT_TRUE(first.Acquire(d.path()));
  EXPECT_FALSE(second.Acquire(d.path()));
  first.Release();
  EXPECT_TRUE(second.Acquire(d.path()));
  EXPECT_TRUE(FileExists(JoinPath(d.path(), "ZANTRO.lock")));
}

// What a child process leaves behind when it raises sig while it guards a folder and a file
// in writing; ignoreHup makes it run as under nohup.
std::vector<std::string> LeftAfterSignal(const TempDir& d, int sig, bool ignoreHup, int* status) {
  pid_t child = fork();
  if (child == 0) {
    if (ignoreHup) std::signal(SIGHUP, SIG_IGN);
    std::string work = JoinPath(d.path(), "work");
    ::mkdir(work.c_str(), 0700);
    WriteFileAtomic(JoinPath(work, "HEAD.WRK"), "x");
    RemoveOnSignal guard(work);
    std::string writing = JoinPath(d.path(), ".zt1.tmp");
    WriteFileAtomic(writing, "half");
    SetTemporaryInWriting(writing.c_str());
    std::raise(sig);
    _exit(0);
  }
  ::waitpid(child, status, 0);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(d.path())) left.push_back(e.path().filename().string());
  return left;
}

TEST(SignalCleanup, ARunEndedBySignalLeavesNoTemporaryFiles) {
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    TempDir d;
    int status = 0;
    EXPECT_TRUE(LeftAfterSignal(d, sig, false, &status).empty());
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig);  // ended as the signal ends it
  }
  // A signal the process ignores stays ignored: the run goes on and keeps its files.
  TempDir d;
  int status = 0;
  EXPECT_EQ(LeftAfterSignal(d, SIGHUP, true, &status).size(), 2u);
  EXPECT_TRUE(WIFEXITED(status));
}

TEST(Launcher, CompanionIsTheExactExecutableNameWithoutExe) {
  TempDir d;
  d.Write("docsave_dlg", "#!/bin/sh\n");
  d.Write("setup_dlg", "#!/bin/sh\n");
  ::chmod(JoinPath(d.path(), "docsave_dlg").c_str(), 0755);
  EXPECT_TRUE(CompanionPresent(d.path(), "docsave_dlg.exe"));
  EXPECT_FALSE(CompanionPresent(d.path(), "setup_dlg.exe"));      // not executable
  EXPECT_FALSE(CompanionPresent(d.path(), "DOCSAVE_DLG.exe"));    // exact name only
  EXPECT_EQ(CompanionPath("/p", "takeoff.exe"), "/p/takeoff");
}

TEST(Launcher, ArgumentIsOneElementAndTheWaitKeepsPumping) {
  TempDir d;
  d.Write("echo_dlg", "#!/bin/sh\nprintf '%s|%s|%s' \"$#\" \"$1\" \"$(pwd)\" > out.txt\nsleep 0.1\n");
  ::chmod(JoinPath(d.path(), "echo_dlg").c_str(), 0755);
  Launcher launcher;
  std::string seen;
  launcher.SetObserver([&](const std::string& p, const std::optional<std::string>& a) { seen = p + " " + a.value_or(""); });
  int pumps = 0;
  int rc = launcher.StartAndWait(JoinPath(d.path(), "echo_dlg"), std::string("a b;$HOME;"), d.path(),
                                 [&] { ++pumps; });
  EXPECT_EQ(rc, 0);
  EXPECT_GT(pumps, 0);
  EXPECT_EQ(d.Read("out.txt"), "1|a b;$HOME;|" + fs::canonical(d.path()).string());
  EXPECT_EQ(seen, JoinPath(d.path(), "echo_dlg") + " a b;$HOME;");
  EXPECT_FALSE(launcher.Start(JoinPath(d.path(), "missing"), std::nullopt, d.path()));
}
