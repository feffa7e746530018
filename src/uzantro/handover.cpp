#include "uzantro/handover.h"

#include <QAction>
#include <QFileInfo>
#include <QTimer>

#include "uzantro/companionclasses.h"
#include "uzantro/fzantro.h"

namespace zantro {

namespace {

// While the window waits for a companion (the CSV editor, a takeoff program), the document
// stays: the handed one is opened when the wait is over.
void OpenWhenFree(TFZANTRO& w, const QString& path, int delayMs) {
  QTimer::singleShot(delayMs, &w, [&w, path] {
    if (w.Waiting()) return OpenWhenFree(w, path, 200);
    w.Guard([&] { OpenHandedDocument(w, path); });
  });
}

}  // namespace

void ReceiveHandedDocument(TFZANTRO& w, const std::string& pathBytes) {
  QString path = QString::fromLocal8Bit(pathBytes);
  if (!path.isEmpty()) OpenWhenFree(w, path, 0);
}

void OpenHandedDocument(TFZANTRO& w, const QString& path) {
  if (!w.Headless()) {
    // The user asked for the document on the desktop: the window comes to the front for it.
    if (w.isMinimized()) w.showNormal();
    w.raise();
    w.activateWindow();
  }
  if (w.Doc().DocumentModified) {
    QString question = QFileInfo(path).fileName() + " を開きます。\n編集中のデ－タを保存しますか？";
    switch (w.Dlg().AskChoice(question, {"保存", "保存しない", "キャンセル"})) {
      case 0:
        // The save dialog takes over; the document is opened again once the work is saved.
        if (QAction* save = w.Action("KS1")) save->trigger();
        return;
      case 1:
        break;
      default:
        return;
    }
  }
  w.CloseCompanions(kDocumentCompanions);
  w.OpenDocument(path);
}

}  // namespace zantro
