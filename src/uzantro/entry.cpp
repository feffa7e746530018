// The desktop program and the headless front: arguments, the runtime folder and the
// single-instance lock, the program folder, the application object and the window.
#include "uzantro/entry.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "platform/launcher.h"
#include "platform/runtime.h"
#include "uzantro/companionlink.h"
#include "uzantro/fzantro.h"
#include "uzantro/headless.h"

namespace zantro {
namespace {

struct Arguments {
  bool headless = false;
  std::string script;               // empty: standard input
  QSize screen{1280, 1024};
  std::string programFolder;
  std::string document;
  std::string executable;           // argv[0]
};

[[noreturn]] void Usage(const std::string& why) {
  std::fprintf(stderr, "zantro: %s\n", why.c_str());
  std::exit(2);
}

Arguments Parse(int argc, char** argv) {
  Arguments a;
  a.executable = argv[0];
  for (int i = 1; i < argc; ++i) {
    std::string s = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Usage(s + " needs a value");
      return argv[++i];
    };
    if (s == "--headless") a.headless = true;
    else if (s == "--script") a.script = value();
    else if (s == "--program-folder") a.programFolder = value();
    else if (s == "--screen") {
      std::string v = value();
      int w = 0, h = 0;
      if (std::sscanf(v.c_str(), "%dx%d", &w, &h) != 2 || w < 320 || h < 240) Usage("--screen WxH: " + v);
      a.screen = QSize(w, h);
    } else if (s.starts_with("--")) Usage("unknown option " + s);
    else if (a.document.empty()) a.document = s;
  }
  return a;
}

// The folder of the executable: of argv[0] as given (links not resolved), else of the running
// image when the shell found the program in PATH.
std::string ExecutableFolder(const std::string& argv0) {
  if (argv0.find('/') != std::string::npos) return DirName(AbsolutePath(argv0));
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? DirName(std::string(buf, static_cast<size_t>(n))) : AbsolutePath(".");
}

int Refuse(const Arguments& a, const QString& text, int argc, char** argv) {
  if (a.headless) {
    std::printf("notice: %s\n", text.toUtf8().constData());
    return 1;
  }
  QApplication app(argc, argv);
  QMessageBox box(QMessageBox::Information, QString::fromUtf8(kApplicationTitle), text);
  box.exec();
  return 1;
}

// Companions find the window; without the socket it still works, alone.
std::unique_ptr<QtInbox> Link(TFZANTRO& window, const std::string& runtime) {
  std::string error;
  auto link = ConnectCompanions(window, runtime, &error);
  if (!link) std::fprintf(stderr, "zantro: %s\n", error.c_str());
  return link;
}

}  // namespace

int RunWindowProgram(int argc, char** argv, const WindowModules& modules) {
  Arguments a = Parse(argc, argv);
  std::string error;
  auto runtime = RuntimeFolder(&error);
  if (!runtime) {
    std::fprintf(stderr, "zantro: %s\n", error.c_str());
    return 1;
  }
  InstanceLock lock;
  if (!lock.Acquire(*runtime)) return Refuse(a, "すでに起動しています。", argc, argv);
  std::string folder = a.programFolder.empty() ? ExecutableFolder(a.executable) : AbsolutePath(a.programFolder);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (!FolderWritable(folder)) {
    // The work files live in the program folder: without it every edit would be lost.
    std::string text = "プログラムフォルダーに書き込めません: " + folder;
    std::fprintf(stderr, "zantro: %s\n", text.c_str());
    return Refuse(a, QString::fromStdString(text), argc, argv);
  }
  // The work files of a program folder admit one writer, whatever runtime folder a second
  // window was given.
  InstanceLock folderLock;
  if (!folderLock.Acquire(folder)) return Refuse(a, "すでに起動しています。", argc, argv);
  // ZANTRO_HEADLESS_PLATFORM=xcb runs a script against a real X server (Xvfb screenshots).
  if (a.headless) qputenv("QT_QPA_PLATFORM", qgetenv("ZANTRO_HEADLESS_PLATFORM").isEmpty() ? "offscreen" : qgetenv("ZANTRO_HEADLESS_PLATFORM"));
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // no conversion may depend on the locale

  QString programFolder = QString::fromStdString(folder);
  auto write = [](const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
  };
  ScriptedDialogs scripted([&](const QString& line) { write(EscapeOutput(line, programFolder)); });
  Launcher launcher;
  WindowSetup setup;
  setup.ProgramFolder = folder;
  setup.ExecutableName = BaseName(a.executable);
  setup.StartupDocument = a.document.empty() ? std::string() : AbsolutePath(a.document);
  setup.launcher = &launcher;
  setup.Headless = a.headless;
  if (a.headless) {
    setup.WorkArea = QRect(QPoint(0, 0), a.screen);
    setup.ScreenSize = a.screen;
    setup.dialogs = &scripted;
    launcher.SetObserver([&](const std::string& program, const std::optional<std::string>& arg) {
      QString line = "launch: " + QString::fromStdString(program);
      if (arg) line += " " + QString::fromStdString(ToUtf8(*arg));
      write(EscapeOutput(line, programFolder));
    });
    // A script is a file or standard input: a folder, a device or a pipe by name is a fault
    // of the script, like a file that cannot be read, and found before the window starts.
    std::ifstream script;
    if (!a.script.empty()) {
      struct stat st;
      if (::stat(a.script.c_str(), &st) == 0 && S_ISREG(st.st_mode)) script.open(a.script, std::ios::binary);
      if (!script.is_open()) {
        std::fprintf(stderr, "zantro: cannot read the script %s\n", a.script.c_str());
        return 2;
      }
    }
    TFZANTRO window(setup);
    auto link = Link(window, *runtime);
    if (modules) modules(window);
    window.show();
    QApplication::processEvents();
    ScriptRunner runner(&window, &scripted, write, programFolder);
    return runner.Run(a.script.empty() ? std::cin : script);
  }
  QScreen* screen = QGuiApplication::primaryScreen();
  setup.WorkArea = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
  setup.ScreenSize = screen ? screen->size() : QSize(1280, 1024);
  InteractiveDialogs dialogs(nullptr, programFolder);
  setup.dialogs = &dialogs;
  TFZANTRO window(setup);
  auto link = Link(window, *runtime);
  if (modules) modules(window);
  dialogs.SetParent(&window);
  window.show();
  return app.exec();
}

}  // namespace zantro
