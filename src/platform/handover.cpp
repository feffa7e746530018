#include "platform/handover.h"

#include "platform/runtime.h"
#include "platform/transport.h"

namespace zantro {

bool HandOverDocument(const std::string& runtime, const char* windowClass, const std::string& path,
                      std::string* error) {
  // The window answers once it has taken the path and opens the document afterwards, so the
  // wait is short even when the window then asks a question.
  SendStatus s = SendToClass(runtime, windowClass, kOpenDocumentIdentifier, AbsolutePath(path), {},
                             kHandOverTimeoutMs, error);
  if (s == SendStatus::NoWindow) *error = std::string(windowClass) + " のウィンドウが見つかりません";
  return s == SendStatus::Delivered;
}

}  // namespace zantro
