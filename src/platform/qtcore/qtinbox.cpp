#include "platform/qtcore/qtinbox.h"

#include <QCoreApplication>
#include <QSocketNotifier>

namespace zantro {

std::unique_ptr<QtInbox> QtInbox::Register(const std::string& runtime, std::string_view windowClass,
                                           Inbox::Handler handler, std::string* error) {
  auto inbox = Inbox::Open(runtime, windowClass, error);
  if (!inbox) return nullptr;
  inbox->SetHandler(std::move(handler));
  return std::unique_ptr<QtInbox>(new QtInbox(std::move(inbox)));
}

QtInbox::QtInbox(std::unique_ptr<Inbox> inbox) : inbox_(std::move(inbox)) {
  inbox_->SetWatch([this](int fd, bool on) { Watch(fd, on); });
  listen_ = new QSocketNotifier(inbox_->ListenFd(), QSocketNotifier::Read, this);
  connect(listen_, &QSocketNotifier::activated, this, [this] {
    inbox_->AcceptReady();
    ArmTimer();
  });
  expiry_.setSingleShot(true);
  connect(&expiry_, &QTimer::timeout, this, [this] {
    inbox_->Expire();
    ArmTimer();
  });
}

QtInbox::~QtInbox() {
  inbox_->SetWatch(nullptr);
  for (auto& [fd, n] : connections_) delete n;
}

void QtInbox::Unregister() {
  if (listen_) listen_->setEnabled(false);
  inbox_->Unregister();
}

void QtInbox::Watch(int fd, bool on) {
  if (on) {
    auto* n = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(n, &QSocketNotifier::activated, this, [this, fd] { inbox_->ReadReady(fd); });
    connections_[fd] = n;
    return;
  }
  auto it = connections_.find(fd);
  if (it == connections_.end()) return;
  // Called from the notifier's own signal: it goes once the signal has returned.
  it->second->setEnabled(false);
  it->second->deleteLater();
  connections_.erase(it);
}

void QtInbox::ArmTimer() {
  int next = inbox_->Expire();
  if (next >= 0) expiry_.start(next + 1);
  else expiry_.stop();
}

void QtPump() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace zantro
