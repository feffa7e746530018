// prnview: the print viewer. Started by the window with the print option and the style
// folder ("GENGAKU;STYLE;") or with nothing; it reads the print data of the open document and
// shows, prints or writes it as PDF.
//   prnview [--program-folder DIR] [ARGUMENTS]
//   prnview --pdf OUT.pdf [--forms cover,breakdown,sheets] [--program-folder DIR] [ARGUMENTS]
#include <QApplication>
#include <QMessageBox>
#include <clocale>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>

#include "platform/gui/dialogs.h"
#include "platform/runtime.h"
#include "printing/job.h"
#include "viewer.h"

namespace {

using namespace zantro;

struct Arguments {
  std::string programFolder;
  std::string pdf;
  std::optional<printing::FormSet> forms;
  std::optional<std::string> argument;  // the launch argument, Shift-JIS
};

[[noreturn]] void Usage(const std::string& why) {
  std::cerr << "prnview: " << why << "\n"
            << "usage: prnview [--program-folder DIR] [ARGUMENTS]\n"
            << "       prnview --pdf OUT.pdf [--forms cover,breakdown,sheets] [--program-folder DIR] [ARGUMENTS]\n";
  std::exit(2);
}

std::string ExecutableFolder(const char* argv0) {
  if (std::string(argv0).find('/') != std::string::npos) return DirName(AbsolutePath(argv0));
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? DirName(std::string(buf, static_cast<size_t>(n))) : AbsolutePath(".");
}

Arguments Parse(int argc, char** argv) {
  Arguments a;
  for (int i = 1; i < argc; ++i) {
    std::string s = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Usage(s + " needs a value");
      return argv[++i];
    };
    if (s == "--program-folder") a.programFolder = AbsolutePath(value());
    else if (s == "--pdf") a.pdf = value();
    else if (s == "--forms") {
      a.forms = printing::ParseForms(value());
      if (!a.forms) Usage("--forms takes cover, breakdown and sheets");
    } else if (s.starts_with("--")) Usage("unknown option " + s);
    else if (!a.argument) a.argument = s;
    else Usage("one argument string only");
  }
  if (a.programFolder.empty()) a.programFolder = ExecutableFolder(argv[0]);
  return a;
}

printing::ViewerArguments ViewerArgs(const Arguments& a) {
  return a.argument ? printing::ParseViewerArgument(*a.argument)
                    : printing::ArgumentsFromConfiguration(a.programFolder);
}

// The PDF without a display: exit 0 with the file written, or 1 with a message and no file.
int WritePdf(const Arguments& a, int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  try {
    printing::PrintJob job = printing::LoadViewerJob(a.programFolder, ViewerArgs(a));
    return printing::WriteJobPdf(job, a.forms, a.pdf, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << "\n";
    return 1;
  }
}

int RunViewer(const Arguments& a, int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationDisplayName(kApplicationTitle);
  InteractiveDialogs dialogs(nullptr, QString::fromStdString(a.programFolder));
  try {
    printing::PrintJob job = printing::LoadViewerJob(a.programFolder, ViewerArgs(a));
    std::string warning;
    printing::FontSet fonts = printing::ResolveFonts(job.Model.Style, &warning);
    for (const auto& w : job.Warnings) std::cerr << "warning: " << w << "\n";
    if (!warning.empty()) std::cerr << "warning: " << warning;
    PrintViewer viewer(std::move(job), fonts, dialogs);
    dialogs.SetParent(&viewer);
    if (a.forms) viewer.SelectForm(a.forms->Cover ? 0 : a.forms->Breakdown ? 1 : 2);
    viewer.show();
    return app.exec();
  } catch (const std::exception& e) {
    dialogs.ShowError(QString::fromStdString(e.what()));
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  Arguments a = Parse(argc, argv);
  if (!a.pdf.empty()) return WritePdf(a, argc, argv);
  return RunViewer(a, argc, argv);
}
