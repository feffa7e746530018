// The program shell through a companion built on it (sample/sample_dlg.cpp), run headless as
// a real process beside a listening window: the shared verbs, the refusal of a bad number
// at its field, the typed reply over the socket, and the window class's control strings.
#include <gtest/gtest.h>
#include <fcntl.h>

#include <QCoreApplication>

#include "platform/files.h"
#include "platform/transport.h"
#include "shell/programshell.h"
#include "testutil/process.h"
#include "testutil/tempdir.h"

using namespace zantro;
using zantro::testing::Spawn;
using zantro::testing::TempDir;
using zantro::testing::WaitExit;

namespace {

const std::string kSend = std::string(ZANTRO_PROGRAM_DIR) + "/zantro-send";

class ShellTest : public ::testing::Test {
 protected:
  // Runs the sample headless with script; returns its exit status, its output in out_.
  int RunSample(const std::string& script, int waitMs = 20000) {
    WriteFileAtomic(dir_.file("s.script"), script);
    pid_t p = Spawn(ZANTRO_SAMPLE_DLG,
                    {"--headless", "--script", dir_.file("s.script"), "--title", "明細入力", "--program-folder",
                     dir_.path(), "0;0;/note.dat;WM_DATAWRITE;"},
                    rt_.path(), dir_.file("out"));
    int status = WaitExit(p, waitMs);
    out_ = ReadFileBytes(dir_.file("out")).value_or("");
    return status;
  }
  pid_t Listen(const char* windowClass) {
    pid_t p = Spawn(kSend, {"--listen", windowClass}, rt_.path(), dir_.file(std::string(windowClass) + ".out"));
    for (int i = 0; i < 500 && FindWindows(rt_.path(), windowClass).empty(); ++i) ::usleep(10000);
    return p;
  }
  std::string Heard(const char* windowClass) { return ReadFileBytes(dir_.file(std::string(windowClass) + ".out")).value_or(""); }

  TempDir dir_, rt_;
  std::string out_;
};

}  // namespace

TEST_F(ShellTest, ACompanionRefusesABadNumberAtItsFieldAndSendsTheTypedLine) {
  pid_t window = Listen("TFZANTRO");
  EXPECT_EQ(RunSample("get SampleDlg\n"
                      "rows PickTable\n"
                      "choose PickTable 1\n"
                      "get NameEdit\n"
                      "set PriceEdit 12x0\n"
                      "click WriteButton\n"
                      "set PriceEdit 1200.5\n"
                      "choose KindBox 1\n"
                      "get KindBox\n"
                      "click WriteButton\n"
                      "state WriteButton\n"),
            0);
  EXPECT_EQ(out_,
            "get SampleDlg=明細入力\n"
            "row PickTable\t0\t配管\tSGP 20A\n"
            "row PickTable\t1\t保温\tGW 25t\n"
            "row PickTable\t2\t支持金物\t\n"
            "get NameEdit=保温\n"
            "notice: 単価が数値ではありません: 12x0\n"
            "get KindBox=20 小数\n"
            "sent: TFZANTRO WM_DATAWRITE;保温;;;1200.5;1200.5;0;0;0;0;0;0;20;0;;0;0;0;0;0;;\n"
            "state WriteButton visible=1 enabled=1 checked=0\n");
  EXPECT_EQ(Heard("TFZANTRO"), "WM_DATAWRITE;保温;;;1200.5;1200.5;0;0;0;0;0;0;20;0;;0;0;0;0;0;;\n");
  SendToClass(rt_.path(), "TFZANTRO", 1, "WM_CLOSE;", nullptr, 2000);
  EXPECT_EQ(WaitExit(window, 2000), 0);

  // Without the window nothing can be sent, and the companion says so.
  EXPECT_EQ(RunSample("set PriceEdit 5\nclick WriteButton\n"), 0);
  EXPECT_EQ(out_, "error: 送り先のウィンドウ TFZANTRO が起動していません。\n");
}

TEST_F(ShellTest, AWindowWaitingForItsNextScriptLineServesCommands) {
  int pipe[2];
  ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);  // the program holds no write end of its own
  pid_t sample = Spawn(ZANTRO_SAMPLE_DLG, {"--headless", "--program-folder", dir_.path(), "0;0;x;y;"}, rt_.path(),
                       dir_.file("out"), pipe[0]);
  ::close(pipe[0]);
  ASSERT_EQ(::write(pipe[1], "get NameEdit\n", 13), 13);
  for (int i = 0; i < 1000 && FindWindows(rt_.path(), "TfSAMPLE_Dlg").empty(); ++i) ::usleep(10000);
  EXPECT_EQ(SendToClass(rt_.path(), "TfSAMPLE_Dlg", 1, "WM_Restore;", nullptr, 3000), SendStatus::Delivered);
  ::close(pipe[1]);  // the end of the script
  EXPECT_EQ(WaitExit(sample, 5000), 0);
  EXPECT_EQ(ReadFileBytes(dir_.file("out")).value_or("?"), "get NameEdit=\n");
}

TEST_F(ShellTest, TheCompanionWindowAnswersRestoreAndCloses) {
  WriteFileAtomic(dir_.file("wait.script"), "sleep 10000\nget NameEdit\n");
  pid_t sample = Spawn(ZANTRO_SAMPLE_DLG,
                       {"--headless", "--script", dir_.file("wait.script"), "--program-folder", dir_.path(), "0;0;x;y;"},
                       rt_.path(), dir_.file("out"));
  for (int i = 0; i < 1000 && FindWindows(rt_.path(), "TfSAMPLE_Dlg").empty(); ++i) ::usleep(10000);
  ASSERT_EQ(FindWindows(rt_.path(), "TfSAMPLE_Dlg").size(), 1u);
  EXPECT_EQ(SendToClass(rt_.path(), "TfSAMPLE_Dlg", 2, "WM_CLOSE;", nullptr, 5000), SendStatus::Delivered);
  EXPECT_EQ(SendToClass(rt_.path(), "TfSAMPLE_Dlg", 1, "WM_Restore;", nullptr, 5000), SendStatus::Delivered);
  EXPECT_EQ(SendToClass(rt_.path(), "TfSAMPLE_Dlg", 1, "WM_CLOSE;", nullptr, 5000), SendStatus::Delivered);
  // Gone from the registry before the close was answered; the script finds its window closed.
  EXPECT_TRUE(FindWindows(rt_.path(), "TfSAMPLE_Dlg").empty());
  EXPECT_EQ(WaitExit(sample, 5000), 2);
  EXPECT_EQ(ReadFileBytes(dir_.file("out")).value_or("?"), "");
}

// Qt's own dialogs (the file chooser behind a folder button, the input box of a prompt) speak
// the language of the program's texts.
TEST(QtTranslation, QtsOwnDialogsSpeakJapanese) {
  int argc = 1;
  char name[] = "test_shell";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  InstallQtTranslation(app);
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "キャンセル");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:").toStdString(), "ファイル名(&N):");
}
