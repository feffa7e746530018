// The help window renders a chapter's Markdown, follows a link to the next chapter with its
// picture, and goes back.
#include "help/gui/helpwindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include "platform/files.h"
#include "testutil/headlesswindow.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

TEST(HelpWindow, ShowsChaptersFollowsLinksAndGoesBack) {
  testing::EnsureApplication("test_help", true);
  testing::TempDir dir;
  QImage picture(4, 3, QImage::Format_RGB32);
  picture.fill(Qt::red);
  std::filesystem::create_directories(dir.file("images"));
  ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("images/p.png"))));
  ASSERT_TRUE(WriteFileAtomic(dir.file("index.md"), "# ザントロ 使い方ガイド\n\n- [印刷](print.md)\n"));
  ASSERT_TRUE(WriteFileAtomic(dir.file("print.md"), "# 印刷\n\n**太字**の説明\n\n![画面](images/p.png)\n"));
  HelpWindow help(nullptr, QString::fromStdString(dir.path()));
  help.ShowChapter("index.md");
  QTextBrowser* view = help.Browser();
  // Rendered, not shown as source: the heading has lost its "#".
  EXPECT_EQ(view->document()->firstBlock().text(), "ザントロ 使い方ガイド");
  EXPECT_EQ(help.windowTitle(), "取扱説明書 - ザントロ 使い方ガイド");
  auto* back = help.findChild<QPushButton*>("HelpBack");
  EXPECT_FALSE(back->isEnabled());
  // A link as the user clicks it: relative to the chapter shown.
  view->setSource(QUrl("print.md"));
  EXPECT_EQ(help.windowTitle(), "取扱説明書 - 印刷");
  EXPECT_TRUE(view->toPlainText().contains("太字の説明"));
  EXPECT_TRUE(back->isEnabled());
  QVariant image = view->document()->resource(QTextDocument::ImageResource, QUrl("images/p.png"));
  EXPECT_EQ(image.value<QImage>().size(), QSize(4, 3));
  back->click();
  EXPECT_EQ(help.windowTitle(), "取扱説明書 - ザントロ 使い方ガイド");
  help.findChild<QPushButton*>("HelpForward")->click();
  help.findChild<QPushButton*>("HelpIndex")->click();
  EXPECT_EQ(help.windowTitle(), "取扱説明書 - ザントロ 使い方ガイド");
}

}  // namespace
}  // namespace zantro
