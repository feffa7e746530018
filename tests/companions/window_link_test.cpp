// Companion commands reaching the real window over its socket, as a companion sends them:
// line writes at the cursor, the calculated price inserted into a selection, frames of
// another identifier ignored, a thousand writes applied in the order sent, and commands
// served while the window waits for the CSV editor, whose user input waits.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <memory>

#include "companions/dispatcher.h"
#include "general/workfiles.h"
#include "messages/commands.h"
#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "platform/launcher.h"
#include "platform/transport.h"
#include "testutil/headlesswindow.h"
#include "testutil/tempdir.h"
#include "uzantro/companionlink.h"
#include "uzantro/fzantro.h"

using namespace zantro;

namespace {

class WindowLinkTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { zantro::testing::EnsureApplication("test_companions"); }

  void SetUp() override {
    window_ = std::make_unique<TFZANTRO>(zantro::testing::HeadlessSetup(folder_.path(), &dialogs_, &launcher_));
    InstallCompanions(*window_);
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

  void Send(uint32_t id, const std::string& text) {
    ASSERT_EQ(SendToClass(runtime_.path(), "TFZANTRO", id, text, QtPump, 5000), SendStatus::Delivered);
  }

  static std::string Write(Command kind, const std::string& name) {
    DetailLineMessage m;
    m.Kind = kind;
    m.Name = name;
    m.Unit = "m";
    m.FLAG = 10;
    m.CostQty = m.SubQty = Money::Units(2);
    m.CostPrice = m.SubPrice = Money::Units(50);
    return m.Encode();
  }

  std::string NameAt(int32_t line) { return std::string(window_->Doc().LineList[line].NameSpec.view()); }
  int Cursor() { return window_->SelectedRows().Top; }
  size_t LinesOnDisk() {
    return ReadRecords<LineRecord>(folder_.file(SheetFile(window_->Doc().CurrentItem, "WRK"))).value_or(std::vector<LineRecord>{}).size();
  }

  zantro::testing::TempDir folder_, runtime_;
  QStringList lines_;
  ScriptedDialogs dialogs_{[this](const QString& line) { lines_ << line; }};
  Launcher launcher_;
  std::unique_ptr<TFZANTRO> window_;
  std::unique_ptr<QtInbox> link_;
};

}  // namespace

TEST_F(WindowLinkTest, LinesLandAtTheCursorAndCalculatedPricesInTheSelection) {
  window_->SelectRows(1, 1);
  for (const char* name : {"a", "b", "c"}) Send(1, Write(Command::DataWrite, name));
  ASSERT_EQ(window_->Doc().LastLine(), 3);
  EXPECT_EQ(Cursor(), 4);

  window_->SelectRows(5, 5);
  Send(1, Write(Command::DataWrite, "e"));
  ASSERT_EQ(window_->Doc().LastLine(), 5);
  EXPECT_EQ(NameAt(4), "");
  EXPECT_EQ(NameAt(5), "e;");
  EXPECT_EQ(window_->Doc().LineList[5].SubAmount, Money::Units(100));  // the engine's amount
  EXPECT_EQ(Cursor(), 6);
  EXPECT_EQ(LinesOnDisk(), 5u);

  Send(2, Write(Command::DataWrite, "ignored"));
  EXPECT_EQ(window_->Doc().LastLine(), 5);

  window_->SelectRows(2, 4);
  Send(1, Write(Command::CalcData, "calc"));
  ASSERT_EQ(window_->Doc().LastLine(), 8);
  EXPECT_EQ(NameAt(2), "calc;");
  EXPECT_EQ(NameAt(3), "");
  EXPECT_EQ(NameAt(4), "");
  EXPECT_EQ(NameAt(5), "b;");
  EXPECT_EQ(Cursor(), 3);
  EXPECT_EQ(LinesOnDisk(), 8u);
  EXPECT_TRUE(lines_.contains("beep"));
}

TEST_F(WindowLinkTest, AThousandWritesSentBackToBackAreAppliedInOrder) {
  window_->SelectRows(1, 1);
  for (int i = 1; i <= 1000; ++i) Send(1, Write(Command::DataWrite, std::to_string(i)));
  ASSERT_EQ(window_->Doc().LastLine(), 1000);
  for (int i = 1; i <= 1000; ++i) ASSERT_EQ(NameAt(i), std::to_string(i) + ";") << i;
  EXPECT_EQ(LinesOnDisk(), 1000u);
  EXPECT_EQ(window_->Doc().Sheet.Sub, Money::Units(100 * 1000));
}

TEST_F(WindowLinkTest, WhileTheCsvEditorRunsCompanionsAreServedAndTheUserWaits) {
  ::setenv("ZANTRO_RUNTIME_DIR", runtime_.path().c_str(), 1);
  std::string send = std::string(ZANTRO_PROGRAM_DIR) + "/zantro-send";
  WriteFileAtomic(folder_.file("csvznt"), "#!/bin/sh\n\"" + send + "\" TFZANTRO \"" + Write(Command::DataWrite, "served") +
                                              "\"\nsleep 1\n");
  WriteFileAtomic(folder_.file("setup_dlg"), "#!/bin/sh\n");
  ::chmod(folder_.file("csvznt").c_str(), 0755);
  ::chmod(folder_.file("setup_dlg").c_str(), 0755);
  std::vector<std::string> started;
  launcher_.SetObserver([&](const std::string& program, const auto&) { started.push_back(program); });
  window_->SelectRows(1, 1);
  // The user clicks the settings and closes the window while the editor runs, and does not
  // save the line the editor sent (保存しない).
  dialogs_.Queue(ScriptAnswer{ScriptAnswer::Ask, false, false, {}});
  QTimer::singleShot(500, window_.get(), [this] {
    window_->Action("N44")->trigger();
    window_->close();
  });
  window_->Action("N7")->trigger();
  EXPECT_EQ(started, std::vector<std::string>{folder_.file("csvznt")});
  EXPECT_EQ(NameAt(1), "served;");
  EXPECT_TRUE(window_->isVisible());
  for (int i = 0; i < 50 && window_->isVisible(); ++i) QApplication::processEvents();
  EXPECT_FALSE(window_->isVisible());  // the close asked for meanwhile, once the wait ended
}
