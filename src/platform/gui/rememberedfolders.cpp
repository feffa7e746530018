// The file dialogs that start where the last one of their kind was used.
#include "platform/gui/dialogs.h"

namespace zantro {

std::optional<QString> Dialogs::Remembering(FolderKind kind, FileDialogRequest& r, bool save) {
  if (folders_)
    r.initialDir = QString::fromStdString(DialogStart(folders_->Last(kind), r.initialDir.toStdString()));
  auto path = save ? SaveFile(r) : OpenFile(r);
  // A folder that cannot be remembered (no home, a read-only configuration) only costs the
  // next dialog its start: the choice itself stands.
  if (path && folders_) folders_->Remember(kind, FolderOfChoice(path->toStdString()));
  return path;
}

std::optional<QString> Dialogs::OpenFileIn(FolderKind kind, FileDialogRequest r) { return Remembering(kind, r, false); }

std::optional<QString> Dialogs::SaveFileIn(FolderKind kind, FileDialogRequest r) { return Remembering(kind, r, true); }

}  // namespace zantro
