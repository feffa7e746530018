// The main window as the tests and benchmarks run it: headless, on a 1280 x 1024 screen, with
// the dialogs and the launcher the caller gives.
#pragma once
#include <QApplication>
#include <string>

#include "platform/qtcore/qtenv.h"
#include "uzantro/fzantro.h"

namespace zantro::testing {

// The one QApplication of a test or benchmark program; it lives as long as the process.
// offscreen: no display is needed (benchmarks, which also take a fixed date).
inline void EnsureApplication(const char* name, bool offscreen = false) {
  static int argc = 1;
  static std::string programName = name;
  static char* argv[] = {programName.data(), nullptr};
  if (qApp) return;
  if (offscreen) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("ZANTRO_TODAY", "2026-12-07", 1);
    PrepareQtProcess();
  }
  new QApplication(argc, argv);
}

inline WindowSetup HeadlessSetup(const std::string& programFolder, Dialogs* dialogs, Launcher* launcher,
                                 const std::string& startupDocument = {}) {
  WindowSetup s;
  s.ProgramFolder = programFolder;
  s.ExecutableName = "zantro";
  s.StartupDocument = startupDocument;
  s.WorkArea = QRect(0, 0, 1280, 1024);
  s.ScreenSize = QSize(1280, 1024);
  s.dialogs = dialogs;
  s.launcher = launcher;
  s.Headless = true;
  return s;
}

}  // namespace zantro::testing
