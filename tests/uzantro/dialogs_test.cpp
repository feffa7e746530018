// The message boxes find their icon in the program folder whatever the case of its name.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <filesystem>

#include "platform/gui/dialogs.h"

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
