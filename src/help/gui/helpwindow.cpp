#include "help/gui/helpwindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "help/guide.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(name);
  return b;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent, const QString& guideFolder)
    : QWidget(parent, Qt::Window), folder_(guideFolder), browser_(new QTextBrowser(this)) {
  setObjectName("HelpWindow");
  browser_->setObjectName("HelpView");
  // Web addresses go to the desktop's browser; the guide's own links stay here.
  browser_->setOpenExternalLinks(true);
  browser_->setSearchPaths({guideFolder});
  auto* home = Button(this, "HelpIndex", "目次");
  auto* back = Button(this, "HelpBack", "戻る");
  auto* forward = Button(this, "HelpForward", "進む");
  back->setEnabled(false);
  forward->setEnabled(false);
  auto* bar = new QHBoxLayout;
  bar->addWidget(home);
  bar->addWidget(back);
  bar->addWidget(forward);
  bar->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(browser_);
  connect(home, &QPushButton::clicked, this, [this] { ShowChapter(QString::fromUtf8(kGuideIndex.data())); });
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] { ShowTitle(); });
  resize(900, 700);
}

void HelpWindow::ShowChapter(const QString& file) {
  browser_->setSource(QUrl::fromLocalFile(QDir(folder_).filePath(file)), QTextDocument::MarkdownResource);
}

// The caption names the chapter as rendered: its first block is the chapter's heading.
void HelpWindow::ShowTitle() {
  setWindowTitle("取扱説明書 - " + browser_->document()->firstBlock().text());
}

void InstallHelp(TFZANTRO& w) {
  w.RegisterClick("N28", [&w] {
    if (auto* open = w.findChild<HelpWindow*>("HelpWindow", Qt::FindDirectChildrenOnly)) {
      open->show();
      open->raise();
      open->activateWindow();
      return;
    }
    auto candidates = GuideCandidates(w.ProgramFolder(), QCoreApplication::applicationDirPath().toStdString());
    auto folder = FindGuideFolder(candidates);
    if (!folder) {
      QString where;
      for (const auto& c : candidates) where += "\r\n" + QString::fromStdString(c);
      w.Dlg().ShowNotice("取扱説明書が見つかりません。次のフォルダーを探しました:" + where);
      return;
    }
    auto* help = new HelpWindow(&w, QString::fromStdString(*folder));
    help->setAttribute(Qt::WA_DeleteOnClose);
    help->ShowChapter(QString::fromUtf8(kGuideIndex.data()));
    help->show();
  });
}

}  // namespace zantro
