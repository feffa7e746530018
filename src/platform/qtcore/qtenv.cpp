#include "platform/qtcore/qtenv.h"

#include <QString>
#include <QtGlobal>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/runtime.h"

namespace zantro {
namespace {

// Qt's own check of a runtime folder: a directory of the caller's with mode 0700 exactly.
bool UsableForQt(const char* path) {
  struct stat st{};
  return path && *path && ::lstat(path, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
         (st.st_mode & 07777) == 0700;
}

// Notes Qt prints that tell the user nothing to act on:
// - the offscreen platform of the headless front cannot size a window by its hints, and says
//   so for every window whose size hints change.
constexpr std::string_view kHarmless[] = {
    "This plugin does not support propagateSizeHints()",
};

QtMessageHandler g_previous = nullptr;

void Filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  const QByteArray text = message.toUtf8();
  for (std::string_view harmless : kHarmless)
    if (std::string_view(text.constData(), size_t(text.size())) == harmless) return;
  if (g_previous) g_previous(type, context, message);
}

}  // namespace

void PrepareQtRuntimeFolder(const std::string& runtimeFolder) {
  if (UsableForQt(std::getenv("XDG_RUNTIME_DIR")) || !UsableForQt(runtimeFolder.c_str())) return;
  ::setenv("ZANTRO_RUNTIME_DIR", runtimeFolder.c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", runtimeFolder.c_str(), 1);
}

void InstallQtMessageFilter() {
  QtMessageHandler previous = qInstallMessageHandler(Filter);
  if (previous != Filter) g_previous = previous;
}

void PrepareQtProcess() {
  std::string error;
  if (auto folder = RuntimeFolder(&error)) PrepareQtRuntimeFolder(*folder);
  InstallQtMessageFilter();
}

}  // namespace zantro
