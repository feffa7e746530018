// The window's progress box: a thin form over ProgressGate. It appears only when the work has
// run for half a second, and it serves the window's events at each step so that its button
// can be pressed; the box is modal, so the rest of the window takes no input meanwhile, and
// companions' commands (socket events) wait until the work is over.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/gui/dialogs.h"

namespace zantro {

namespace {

class ProgressBox : public Progress {
 public:
  ProgressBox(QWidget* parent, QString label, QString programFolder)
      : parent_(parent), label_(std::move(label)), programFolder_(std::move(programFolder)) {}
  ~ProgressBox() override { delete box_; }

  bool Step(int64_t done, int64_t total) override {
    if (gate_.Due(done, total)) {
      if (!box_) Show();
      bar_->setValue(static_cast<int>(Permille(done, total)));
    }
    // Events are served at most every 20 ms: often enough for the button and the drawing,
    // rarely enough that thousands of short steps do not wait on them.
    if (box_ && (!served_.isValid() || served_.elapsed() >= 20)) {
      QApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
      served_.start();
    }
    return !stopped_;
  }

 private:
  void Show() {
    box_ = new QDialog(parent_);
    box_->setWindowTitle(QString::fromUtf8(kApplicationTitle));
    if (QIcon icon = DialogIcon(programFolder_); !icon.isNull()) box_->setWindowIcon(icon);
    box_->setModal(true);
    auto* layout = new QVBoxLayout(box_);
    layout->addWidget(new QLabel(label_, box_));
    bar_ = new QProgressBar(box_);
    bar_->setRange(0, 1000);
    bar_->setMinimumWidth(320);
    layout->addWidget(bar_);
    auto* cancel = new QPushButton(QString::fromUtf8("キャンセル"), box_);
    QObject::connect(cancel, &QPushButton::clicked, box_, [this, cancel] {
      stopped_ = true;
      cancel->setEnabled(false);
    });
    // Escape and the close button stop the work too, instead of hiding the box.
    QObject::connect(box_, &QDialog::rejected, box_, [this] { stopped_ = true; });
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    box_->show();
  }

  QWidget* parent_;
  QString label_;
  QString programFolder_;
  ProgressGate gate_;
  QDialog* box_ = nullptr;
  QProgressBar* bar_ = nullptr;
  bool stopped_ = false;
  QElapsedTimer served_;
};

}  // namespace

std::unique_ptr<Progress> InteractiveDialogs::StartProgress(const QString& label) {
  return std::make_unique<ProgressBox>(parent_, label, programFolder_);
}

}  // namespace zantro
