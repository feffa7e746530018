// The window among its companions: registered as window class TFZANTRO, so companions find it
// and their frames reach ReceiveFrame, and its CloseCompanions and RestoreCompanion hooks
// talk to the companion windows of the same runtime folder.
#pragma once
#include <memory>
#include <string>

#include "platform/qtcore/qtinbox.h"

namespace zantro {

class TFZANTRO;

// The registration lives as long as the returned object; nullptr (and *error) when the
// socket cannot be made, the window then works without companions.
std::unique_ptr<QtInbox> ConnectCompanions(TFZANTRO& window, const std::string& runtime, std::string* error);

}  // namespace zantro
