// A document opened from the file manager while the window runs: a second start of the
// program hands the document's path over (platform/handover.h) and this window opens it, after
// asking, as closing does, when the open document has unsaved edits.
#pragma once
#include <QString>
#include <string>

namespace zantro {

class TFZANTRO;

// The frame of a handed document (its path, bytes as the file system names them). The window
// takes it at once, so the sender ends, and opens the document from its event loop.
void ReceiveHandedDocument(TFZANTRO& w, const std::string& pathBytes);

// Opens the document: with unsaved edits it asks "保存" (the save dialog starts and the open
// document stays, as when closing), "保存しない" (the edits go) or "キャンセル".
void OpenHandedDocument(TFZANTRO& w, const QString& path);

}  // namespace zantro
