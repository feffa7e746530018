// The window among companions over real sockets: only command frames reach its hook, a
// failing command is shown while the sender still gets its answer, and its close hook ends a
// running companion.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <memory>

#include "general/errors.h"
#include "platform/gui/dialogs.h"
#include "platform/launcher.h"
#include "platform/transport.h"
#include "testutil/headlesswindow.h"
#include "testutil/tempdir.h"
#include "uzantro/companionlink.h"
#include "uzantro/fzantro.h"

using namespace zantro;

namespace {

class CompanionLinkTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { zantro::testing::EnsureApplication("test_uzantro"); }

  void SetUp() override {
    window_ = std::make_unique<TFZANTRO>(zantro::testing::HeadlessSetup(folder_.path(), &dialogs_, &launcher_));
    window_->show();
    QApplication::processEvents();
    std::string error;
    link_ = ConnectCompanions(*window_, runtime_.path(), &error);
    ASSERT_TRUE(link_) << error;
  }

  void TearDown() override {
    link_.reset();
    window_.reset();
  }

  SendStatus Send(uint32_t id, const std::string& text) {
    return SendToClass(runtime_.path(), "TFZANTRO", id, text, QtPump, 5000);
  }

  zantro::testing::TempDir folder_, runtime_;
  QStringList lines_;
  ScriptedDialogs dialogs_{[this](const QString& line) { lines_ << line; }};
  Launcher launcher_;
  std::unique_ptr<TFZANTRO> window_;
  std::unique_ptr<QtInbox> link_;
};

}  // namespace

TEST_F(CompanionLinkTest, OnlyCommandFramesReachTheWindowAndErrorsAreShown) {
  std::vector<std::string> got;
  window_->CompanionCommand = [&](int id, const std::string& text) {
    got.push_back(std::to_string(id) + ":" + text);
    if (text.starts_with("WM_PLAN;")) throw ConversionError("'x' is not a valid floating point value");
  };
  EXPECT_EQ(Send(2, "WM_INITIALIZE;"), SendStatus::Delivered);
  EXPECT_EQ(Send(1, "WM_DATADISP;"), SendStatus::Delivered);
  EXPECT_EQ(Send(1, "WM_PLAN;x;"), SendStatus::Delivered);
  window_->ReceiveFrame(3, "WM_CLOSE;");  // the script's message-id takes the same path
  EXPECT_EQ(got, (std::vector<std::string>{"1:WM_DATADISP;", "1:WM_PLAN;x;"}));
  EXPECT_EQ(lines_, QStringList{"error: 'x' is not a valid floating point value"});
}

TEST_F(CompanionLinkTest, TheCloseHookEndsARunningCompanion) {
  std::string send = std::string(ZANTRO_PROGRAM_DIR) + "/zantro-send";
  pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("ZANTRO_RUNTIME_DIR", runtime_.path().c_str(), 1);
    int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::execl(send.c_str(), send.c_str(), "--listen", "TFCover_Dlg", nullptr);
    ::_exit(127);
  }
  for (int i = 0; i < 500 && FindWindows(runtime_.path(), "TFCover_Dlg").empty(); ++i) ::usleep(10000);
  EXPECT_TRUE(window_->RestoreCompanion("TFCover_Dlg"));
  window_->CloseCompanions({"TfPICKDATA_Dlg", "TFCover_Dlg"});
  EXPECT_FALSE(window_->RestoreCompanion("TFCover_Dlg"));
  int status = -1;
  bool ended = false;
  for (int i = 0; i < 200 && !ended; ++i) ended = ::waitpid(pid, &status, WNOHANG) == pid || (::usleep(10000), false);
  if (!ended) ::kill(pid, SIGKILL), ::waitpid(pid, &status, 0);
  EXPECT_TRUE(ended && WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
