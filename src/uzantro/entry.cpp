// The desktop program and its headless front: the program shell with the single-instance
// lock, then the window registered among its companions and run (event loop or script).
#include "uzantro/entry.h"

#include <QGuiApplication>
#include <QScreen>
#include <cstdio>

#include "platform/handover.h"
#include "platform/launcher.h"
#include "platform/runtime.h"
#include "shell/programshell.h"
#include "uzantro/companionlink.h"
#include "uzantro/fzantro.h"
#include "uzantro/headless.h"

namespace zantro {
namespace {

// Companions find the window; without the socket it still works, alone.
std::unique_ptr<QtInbox> Link(TFZANTRO& window, const std::string& runtime) {
  std::string error;
  auto link = ConnectCompanions(window, runtime, &error);
  if (!link) std::fprintf(stderr, "zantro: %s\n", error.c_str());
  return link;
}

// A second start that names a document (the file manager opening one) gives it to the window
// that runs; without a document, or when the window does not take it, the start is refused.
std::optional<int> HandOverStart(const ProgramShell& shell) {
  if (shell.Argument().empty()) return std::nullopt;
  std::string error;
  if (HandOverDocument(shell.Runtime(), "TFZANTRO", shell.Argument(), &error)) return 0;
  std::fprintf(stderr, "zantro: %s\n", error.c_str());
  return std::nullopt;
}

}  // namespace

int RunWindowProgram(int argc, char** argv, const WindowModules& modules) {
  ShellOptions options{"zantro", true, true};
  options.AlreadyRunning = HandOverStart;
  ProgramShell shell(argc, argv, options);
  if (auto end = shell.Start()) return *end;

  Launcher launcher;
  WindowSetup setup;
  setup.ProgramFolder = shell.ProgramFolder();
  setup.ExecutableName = BaseName(shell.ExecutablePath());
  setup.StartupDocument = shell.Argument().empty() ? std::string() : AbsolutePath(shell.Argument());
  setup.launcher = &launcher;
  setup.Headless = shell.Headless();
  setup.dialogs = &shell.Dlg();
  if (shell.Headless()) {
    setup.WorkArea = QRect(QPoint(0, 0), shell.Screen());
    setup.ScreenSize = shell.Screen();
    launcher.SetObserver([&shell](const std::string& program, const std::optional<std::string>& arg) {
      shell.ReportLaunch(program, arg);
    });
  } else {
    QScreen* screen = QGuiApplication::primaryScreen();
    setup.WorkArea = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    setup.ScreenSize = screen ? screen->size() : QSize(1280, 1024);
  }
  TFZANTRO window(setup);
  auto link = Link(window, shell.Runtime());
  if (modules) modules(window);
  return shell.Run(WindowRoot(window), [&window](ScriptRunner& r) { AddWindowVerbs(r, window); });
}

}  // namespace zantro
