#include "shell/programshell.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

#include "general/money.h"
#include "messages/commands.h"
#include "platform/companioncontrol.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/launcher.h"
#include "platform/programfolder.h"
#include "platform/transport.h"
#include "platform/qtcore/qtenv.h"

namespace zantro {
namespace {

void WriteLine(const QString& line) {
  std::fputs(line.toUtf8().constData(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace

void InstallQtTranslation(QCoreApplication& app) {
  // Qt's own dialogs (file choosers, input boxes) speak the language of the program's own texts,
  // whatever the locale of the session. Without the translations they stay as Qt ships them.
  auto* qt = new QTranslator(&app);
  if (qt->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
               QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(qt);
  else
    delete qt;
}

std::string ExecutableFolder(const std::string& argv0) {
  if (argv0.find('/') != std::string::npos) return DirName(AbsolutePath(argv0));
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? DirName(std::string(buf, static_cast<size_t>(n))) : AbsolutePath(".");
}

ProgramShell::ProgramShell(int& argc, char** argv, ShellOptions options)
    : options_(std::move(options)), argc_(argc), argv_(argv), executable_(argv[0]) {
  bool optionsEnd = false;
  for (int i = 1; i < argc; ++i) {
    std::string s = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Usage(s + " needs a value");
      return argv[++i];
    };
    if (optionsEnd || !s.starts_with("--")) arguments_.push_back(s);
    else if (s == "--") optionsEnd = true;
    else if (s == "--headless") headless_ = true;
    else if (s == "--script") script_ = value();
    else if (s == "--program-folder") programFolderOption_ = value();
    else if (s == "--screen") {
      std::string v = value();
      int w = 0, h = 0;
      if (std::sscanf(v.c_str(), "%dx%d", &w, &h) != 2 || w < 320 || h < 240) Usage("--screen WxH: " + v);
      screen_ = QSize(w, h);
    } else if (std::ranges::find(options_.ValueOptions, s) != options_.ValueOptions.end()) {
      own_[s] = value();
    } else if (std::ranges::find(options_.FlagOptions, s) != options_.FlagOptions.end()) {
      own_[s] = std::string();
    } else {
      Usage("unknown option " + s);
    }
  }
}

ProgramShell::~ProgramShell() = default;

std::optional<std::string> ProgramShell::Option(const std::string& name) const {
  auto it = own_.find(name);
  return it == own_.end() ? std::nullopt : std::optional<std::string>(it->second);
}

void ProgramShell::Usage(const std::string& why) const {
  std::string own;
  for (const auto& o : options_.ValueOptions) own += " [" + o + " VALUE]";
  for (const auto& o : options_.FlagOptions) own += " [" + o + "]";
  std::fprintf(stderr,
               "%s: %s\nusage: %s [--headless] [--script FILE] [--program-folder DIR] [--screen WxH]%s [ARGUMENTS]\n",
               options_.Name.c_str(), why.c_str(), options_.Name.c_str(), own.c_str());
  std::exit(2);
}

int ProgramShell::Refuse(const QString& text) {
  if (headless_) {
    WriteLine("notice: " + text);
    return 1;
  }
  if (!app_) app_ = std::make_unique<QApplication>(argc_, argv_);
  QMessageBox box(QMessageBox::Information, QString::fromUtf8(kApplicationTitle), text);
  box.exec();
  return 1;
}

std::optional<int> ProgramShell::Start() {
  std::string error;
  auto runtime = RuntimeFolder(&error);
  if (!runtime) {
    std::fprintf(stderr, "%s: %s\n", options_.Name.c_str(), error.c_str());
    return 1;
  }
  runtime_ = *runtime;
  PrepareQtRuntimeFolder(runtime_);
  InstallQtMessageFilter();
  if (options_.SingleInstance && !lock_.Acquire(runtime_)) {
    if (options_.AlreadyRunning)
      if (auto end = options_.AlreadyRunning(*this)) return end;
    return Refuse("すでに起動しています。");
  }
  auto chosen = ChooseProgramFolder(ProgramFolderInputsOf(programFolderOption_, ExecutableFolder(executable_)), &error);
  if (!chosen) {
    std::string text = "プログラムフォルダーを用意できません: " + error;
    std::fprintf(stderr, "%s: %s\n", options_.Name.c_str(), text.c_str());
    return Refuse(QString::fromStdString(text));
  }
  programFolder_ = chosen->Folder;
  programsFolder_ = chosen->Programs;
  // The programs this one starts work in the same folder, wherever they lie themselves.
  ::setenv(kProgramFolderVariable, programFolder_.c_str(), 1);
  SetProgramsFolder(programFolder_, programsFolder_);
  if (options_.FolderMustBeWritable && !FolderWritable(programFolder_)) {
    // The work and exchange files live in the program folder: without it edits would be lost.
    std::string text = "プログラムフォルダーに書き込めません: " + programFolder_;
    std::fprintf(stderr, "%s: %s\n", options_.Name.c_str(), text.c_str());
    return Refuse(QString::fromStdString(text));
  }
  // The work files of a program folder admit one writer, whatever runtime folder a second
  // window was given.
  if (options_.SingleInstance && !folderLock_.Acquire(programFolder_)) return Refuse("すでに起動しています。");
  if (headless_ && !script_.empty()) {
    // A script is a regular file; anything else is a fault found before the window starts.
    struct stat st;
    if (::stat(script_.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || ::access(script_.c_str(), R_OK) != 0) {
      std::fprintf(stderr, "%s: cannot read the script %s\n", options_.Name.c_str(), script_.c_str());
      return 2;
    }
  }
  // ZANTRO_HEADLESS_PLATFORM=xcb runs a script against a real X server (Xvfb screenshots).
  if (headless_) {
    QByteArray platform = qgetenv("ZANTRO_HEADLESS_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
  }
  app_ = std::make_unique<QApplication>(argc_, argv_);
  std::setlocale(LC_NUMERIC, "C");  // no conversion may depend on the locale
  InstallQtTranslation(*app_);
  QString folder = QString::fromStdString(programFolder_);
  if (headless_) {
    scripted_ = std::make_unique<ScriptedDialogs>([folder](const QString& line) { WriteLine(EscapeOutput(line, folder)); });
    dialogs_ = scripted_.get();
  } else {
    interactive_ = std::make_unique<InteractiveDialogs>(nullptr, folder);
    dialogs_ = interactive_.get();
  }
  if (std::string store = UserFolderStorePath(); !store.empty()) dialogs_->RememberFoldersIn(FolderStore(store));
  return std::nullopt;
}

void ProgramShell::Guard(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const ScriptMismatch&) {
    throw;  // the script itself is wrong; its runner ends the program
  } catch (const std::exception& e) {
    dialogs_->ShowError(QString::fromUtf8(e.what()));
  }
}

void ProgramShell::Say(const QString& line) {
  if (headless_) WriteLine(EscapeOutput(line, QString::fromStdString(programFolder_)));
}

void ProgramShell::ReportLaunch(const std::string& program, const std::optional<std::string>& argument) {
  QString line = "launch: " + QString::fromStdString(program);
  if (argument) line += " " + QString::fromStdString(ToUtf8(*argument));
  Say(line);
}

bool ProgramShell::Register(QWidget* root, const char* windowClass, std::function<void(const std::string&)> onCommand) {
  QPointer<QWidget> window(root);
  auto handler = [this, window, onCommand = std::move(onCommand)](uint32_t id, const std::string& text) {
    if (id != kCommandIdentifier) return;  // not a command
    std::string name = FieldOf(text, 1);
    if (name == "WM_CLOSE") {
      // Gone from the registry before the sender hears the answer.
      inbox_->Unregister();
      if (window) window->close();
    } else if (name == "WM_Restore") {
      if (window) window->showNormal(), window->raise(), window->activateWindow();
    } else if (onCommand) {
      Guard([&] { onCommand(text); });
    }
  };
  std::string error;
  inbox_ = QtInbox::Register(runtime_, windowClass, handler, &error);
  if (!inbox_) std::fprintf(stderr, "%s: %s\n", options_.Name.c_str(), error.c_str());
  return inbox_ != nullptr;
}

bool ProgramShell::Send(const char* windowClass, std::string_view text) {
  std::string error;
  SendStatus s = SendToClass(runtime_, windowClass, kCommandIdentifier, text, QtPump, -1, &error);
  if (s == SendStatus::Delivered) {
    Say(QString("sent: %1 %2").arg(windowClass, QString::fromStdString(ToUtf8(text))));
    return true;
  }
  dialogs_->ShowError(s == SendStatus::NoWindow
                          ? QString("送り先のウィンドウ %1 が起動していません。").arg(windowClass)
                          : QString("送れませんでした: %1").arg(QString::fromStdString(error)));
  return false;
}

void ProgramShell::CloseCompanions(std::initializer_list<const char*> classes) {
  zantro::CloseCompanions(runtime_, classes, QtPump, std::cerr);
}

bool ProgramShell::RestoreCompanion(const char* windowClass) {
  return zantro::RestoreCompanion(runtime_, windowClass, QtPump);
}

namespace {

// A dialog taller or wider than the work area (a screen 1024 pixels high) is made to fit it,
// with room for the frame's title bar, and one that would stand partly outside it is moved in.
// The main window keeps the geometry of its position file, which it fits itself.
void FitToWorkArea(QWidget* w) {
  QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
  if (!screen || w->objectName() == "FZANTRO") return;
  const QRect area = screen->availableGeometry();
  constexpr int kTitleBar = 32;
  QSize size = w->testAttribute(Qt::WA_Resized) ? w->size() : w->sizeHint();
  size = size.boundedTo(QSize(area.width(), area.height() - kTitleBar));
  w->resize(size);
  QPoint at = w->testAttribute(Qt::WA_Moved) ? w->pos() : area.center() - QPoint(size.width() / 2, size.height() / 2);
  at.setX(std::clamp(at.x(), area.left(), area.right() + 1 - size.width()));
  at.setY(std::clamp(at.y(), area.top(), area.bottom() + 1 - size.height() - kTitleBar) );
  w->move(at);
}

}  // namespace

int ProgramShell::Run(ScriptRoot root, const std::function<void(ScriptRunner&)>& addVerbs) {
  if (interactive_) interactive_->SetParent(root.widget);
  FitToWorkArea(root.widget);
  root.widget->show();
  if (!headless_) return app_->exec();
  QApplication::processEvents();
  ScriptRunner runner(std::move(root), scripted_.get(), WriteLine, QString::fromStdString(programFolder_));
  if (addVerbs) addVerbs(runner);
  if (script_.empty()) return runner.RunStandardInput();
  std::ifstream in(script_, std::ios::binary);
  return runner.Run(in);
}

}  // namespace zantro
