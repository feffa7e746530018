// The window's progress box: nothing for the first half second, then a modal box whose bar
// follows the steps and whose button stops the work; it goes with the work.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include "platform/gui/dialogs.h"

namespace zantro {
namespace {

QDialog* ShownBox() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) return d;
  return nullptr;
}

TEST(ProgressBox, AppearsAfterHalfASecondAndItsButtonStops) {
  int argc = 1;
  char name[] = "progressbox_test";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  QWidget window;
  InteractiveDialogs dialogs(&window, QString());
  auto progress = dialogs.StartProgress("開いています");
  EXPECT_TRUE(progress->Step(0, 8));
  EXPECT_EQ(ShownBox(), nullptr);
  QThread::msleep(520);
  EXPECT_TRUE(progress->Step(2, 8));
  QDialog* box = ShownBox();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isModal());
  EXPECT_EQ(box->findChild<QLabel*>()->text(), QString("開いています"));
  EXPECT_EQ(box->findChild<QProgressBar*>()->value(), 250);
  EXPECT_TRUE(progress->Step(6, 8));
  EXPECT_EQ(box->findChild<QProgressBar*>()->value(), 750);
  box->findChild<QPushButton*>()->click();
  EXPECT_FALSE(progress->Step(7, 8));
  EXPECT_FALSE(progress->Step(8, 8));  // a stop holds
  progress.reset();
  EXPECT_EQ(ShownBox(), nullptr);

  // Escape stops too.
  progress = dialogs.StartProgress("保存しています");
  QThread::msleep(520);
  EXPECT_TRUE(progress->Step(1, 2));
  ASSERT_NE(ShownBox(), nullptr);
  ShownBox()->reject();
  EXPECT_FALSE(progress->Step(2, 2));
}

}  // namespace
}  // namespace zantro
