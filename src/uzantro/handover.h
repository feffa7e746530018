// A document opened from the file manager while the window runs: a second start of the
// program hands the document's path over (platform/handover.h) and this window opens it, after
// asking, as closing does, when the open document has unsaved edits.
#pragma once
#include <QString>
#include <string>

namespace zantro {

class TFZANTRO;

// The frame of a handed document (its path, bytes as the file system names them). The window
// takes it at once, so the sender ends, and opens the document from its event loop; runtime is
// where the save dialog is looked for.
void ReceiveHandedDocument(TFZANTRO& w, const std::string& runtime, const std::string& pathBytes);

// Opens the document. With unsaved edits it asks first: "保存" starts the save dialog and opens
// the document once the work is saved (not when the dialog closes without saving),
// "保存しない" opens it and the edits go, "キャンセル" keeps everything.
void OpenHandedDocument(TFZANTRO& w, const std::string& runtime, const QString& path);

}  // namespace zantro
