// What the program sets up on the desktop: the icon of its message boxes, found whatever the
// case of its name, and the filter that keeps Qt's harmless notes off standard error.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <filesystem>

#include "platform/gui/dialogs.h"
#include "platform/qtcore/qtenv.h"

using namespace zantro;

TEST(DialogIcon, FoundWithoutRegardToCaseAndNullWhenMissing) {
  static int argc = 1;
  static char name[] = "test_uzantro";
  static char* argv[] = {name, nullptr};
  if (!qApp) new QApplication(argc, argv);
  char t[] = "/tmp/zantro-icon-XXXXXX";
  const QString folder = QString::fromUtf8(::mkdtemp(t));
  EXPECT_TRUE(DialogIcon(folder).isNull());
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(folder + "/Dialog.ICO", "ICO"));
  QIcon icon = DialogIcon(folder);
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
  std::filesystem::remove_all(folder.toStdString());
}

QStringList g_seen;

TEST(QtMessageFilter, DropsHarmlessNotesAndPassesTheRestOn) {
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) { g_seen << m; });
  InstallQtMessageFilter();
  qWarning("This plugin does not support propagateSizeHints()");
  qWarning("a warning the user should read");
  qInstallMessageHandler(nullptr);
  EXPECT_EQ(g_seen, QStringList{"a warning the user should read"});
}
