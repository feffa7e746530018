#include "uzantro/handover.h"

#include <QAction>
#include <QFileInfo>
#include <QTimer>

#include "platform/transport.h"
#include "uzantro/companionclasses.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

void OpenNow(TFZANTRO& w, const QString& path) {
  w.CloseCompanions(kDocumentCompanions);
  w.OpenDocument(path);
}

// After 保存 the save dialog runs on its own and reports the saved document later: the handed
// document waits for the work to be saved, and is dropped when the dialog ends without saving
// (or never appears: the save could not start).
class OpenAfterSave : public QObject {
 public:
  static constexpr int kTickMs = 250;
  static constexpr int kAppearTicks = 40;

  OpenAfterSave(TFZANTRO& w, std::string runtime, QString path)
      : QObject(&w), w_(w), runtime_(std::move(runtime)), path_(std::move(path)) {
    setObjectName("OpenAfterSave");
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    timer_.start(kTickMs);
  }

 private:
  void Tick() {
    if (!w_.Doc().DocumentModified) {
      timer_.stop();
      deleteLater();
      w_.Guard([&] { OpenNow(w_, path_); });
      return;
    }
    bool running = !FindWindows(runtime_, "Tfdocsave_Dlg").empty();
    seen_ = seen_ || running;
    if (!running && (seen_ || ++waited_ > kAppearTicks)) {
      timer_.stop();
      deleteLater();
    }
  }

  TFZANTRO& w_;
  std::string runtime_;
  QString path_;
  QTimer timer_;
  bool seen_ = false;
  int waited_ = 0;
};

// While the window waits for a companion (the CSV editor, a takeoff program), the document
// stays: the handed one is opened when the wait is over.
void OpenWhenFree(TFZANTRO& w, const std::string& runtime, const QString& path, int delayMs) {
  QTimer::singleShot(delayMs, &w, [&w, runtime, path] {
    if (w.Waiting()) return OpenWhenFree(w, runtime, path, 200);
    w.Guard([&] { OpenHandedDocument(w, runtime, path); });
  });
}

}  // namespace

void ReceiveHandedDocument(TFZANTRO& w, const std::string& runtime, const std::string& pathBytes) {
  QString path = QString::fromLocal8Bit(pathBytes);
  if (!path.isEmpty()) OpenWhenFree(w, runtime, path, 0);
}

void OpenHandedDocument(TFZANTRO& w, const std::string& runtime, const QString& path) {
  if (!w.Headless()) {
    // The user asked for the document on the desktop: the window comes to the front for it.
    if (w.isMinimized()) w.showNormal();
    w.raise();
    w.activateWindow();
  }
  // A document handed over while an earlier one waits for its save replaces it.
  delete w.findChild<QObject*>("OpenAfterSave", Qt::FindDirectChildrenOnly);
  if (w.Doc().DocumentModified) {
    QString question = QFileInfo(path).fileName() + " を開きます。\n編集中のデ－タを保存しますか？";
    switch (w.Dlg().AskChoice(question, {"保存", "保存しない", "キャンセル"})) {
      case 0:
        new OpenAfterSave(w, runtime, path);
        if (QAction* save = w.Action("KS1")) save->trigger();
        return;
      case 1:
        break;
      default:
        return;
    }
  }
  OpenNow(w, path);
}

}  // namespace zantro
