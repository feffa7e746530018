// The help window: the user guide's chapters in a text browser that renders their Markdown,
// follows the links between chapters and shows their pictures. F1 and the help menu open it.
#pragma once
#include <QString>
#include <QWidget>

class QTextBrowser;

namespace zantro {

class TFZANTRO;

class HelpWindow : public QWidget {
 public:
  // A window of its own (not a child drawn inside parent) over the guide in guideFolder.
  HelpWindow(QWidget* parent, const QString& guideFolder);
  // Shows a chapter by its file name in the guide folder ("index.md").
  void ShowChapter(const QString& file);
  QTextBrowser* Browser() const { return browser_; }

 private:
  void ShowTitle();
  QString folder_;
  QTextBrowser* browser_;
};

// The help menu item N28 (F1) opens the guide's index, or brings the open help window forward;
// without a guide it says where it looked.
void InstallHelp(TFZANTRO& window);

}  // namespace zantro
