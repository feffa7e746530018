#include "uzantro/companionlink.h"

#include <iostream>

#include "platform/companioncontrol.h"
#include "platform/handover.h"
#include "uzantro/handover.h"
#include "uzantro/fzantro.h"

namespace zantro {

std::unique_ptr<QtInbox> ConnectCompanions(TFZANTRO& window, const std::string& runtime, std::string* error) {
  window.CloseCompanions = [runtime](std::initializer_list<const char*> classes) {
    zantro::CloseCompanions(runtime, classes, QtPump, std::cerr);
  };
  window.RestoreCompanion = [runtime](const char* windowClass) {
    return zantro::RestoreCompanion(runtime, windowClass, QtPump);
  };
  return QtInbox::Register(
      runtime, "TFZANTRO",
      [&window, runtime](uint32_t id, const std::string& text) {
        if (id == kOpenDocumentIdentifier) return ReceiveHandedDocument(window, runtime, text);
        window.ReceiveFrame(id, text);
      },
      error);
}

}  // namespace zantro
