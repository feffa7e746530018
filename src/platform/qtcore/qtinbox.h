// A registered window class served by the Qt event loop: the inbox's descriptors are watched
// with QSocketNotifier and late frames are refused by a timer, so a slow or oversized frame
// never holds the event loop up.
#pragma once
#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

#include "platform/transport.h"

class QSocketNotifier;

namespace zantro {

class QtInbox : public QObject {
  Q_OBJECT

 public:
  // Registers a window of windowClass; nullptr and *error when that fails.
  static std::unique_ptr<QtInbox> Register(const std::string& runtime, std::string_view windowClass,
                                           Inbox::Handler handler, std::string* error);
  ~QtInbox() override;

  const std::string& SocketPath() const { return inbox_->SocketPath(); }
  // The socket disappears at once; the object may be deleted later.
  void Unregister();
  Inbox& Core() { return *inbox_; }

 private:
  explicit QtInbox(std::unique_ptr<Inbox> inbox);
  void Watch(int fd, bool on);
  void ArmTimer();

  std::unique_ptr<Inbox> inbox_;
  QSocketNotifier* listen_ = nullptr;
  std::map<int, QSocketNotifier*> connections_;
  QTimer expiry_;
};

// The pump for a sender on the Qt event loop: incoming commands and timers are served, user
// input waits until the send is over, as with a synchronous message.
void QtPump();

}  // namespace zantro
