// zantro: the desktop program, its headless front and the batch commands.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "breakdown/batch.h"
#include "compare/batch.h"
#include "general/recalc.h"
#include "platform/conffile.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/outputs.h"
#include "platform/programfolder.h"
#include "platform/runtime.h"
#include "summary/command.h"
#ifdef ZANTRO_HAVE_PRINTING
#include "printing/comparepdf.h"
#include "printing/estimatebook.h"
#include "printing/job.h"
#include "printing/summarypdf.h"
#include "printing/takeoffpdf.h"
#endif
#ifdef ZANTRO_HAVE_WINDOW
#include "breakdown/gui/breakdownlist.h"
#include "companions/dispatcher.h"
#include "help/gui/helpwindow.h"
#ifdef ZANTRO_HAVE_PRINTING
#include "printing/gui/estimatebook.h"
#endif
#include "uzantro/entry.h"
#endif

namespace {

void PrintHelp() {
  std::puts(
      "usage: zantro [--program-folder DIR] [DOCUMENT]\n"
      "       zantro --headless [--script FILE] [--screen WxH] [--program-folder DIR] [DOCUMENT]\n"
      "       zantro --recalc IN OUT\n"
      "       zantro --pdf DOCUMENT OUT.pdf [--program-folder DIR]\n"
      "       zantro --takeoff-pdf DOCUMENT OUT.pdf [--program-folder DIR]\n"
      "       zantro --report DOCUMENT\n"
      "       zantro --xlsx DOCUMENT OUT.xlsx\n"
      "       zantro --workbook DOCUMENT OUT.xlsx [--program-folder DIR]\n"
      "       zantro --compare OLD NEW [--xlsx OUT | --pdf OUT]\n"
      "       zantro --summary DOCUMENT [--rate N] [--xlsx OUT.xlsx | --pdf OUT.pdf]\n"
      "       zantro --help | --version");
}

#ifdef ZANTRO_HAVE_PRINTING
// "zantro --pdf DOCUMENT OUT.pdf [--program-folder DIR]": the printed estimate of a saved
// document (--takeoff-pdf: its quantity statement; --workbook: its estimate workbook), with
// the print style of the program folder, without a window.
int PdfCommand(int argc, char** argv) {
  const bool takeoff = std::strcmp(argv[1], "--takeoff-pdf") == 0;
  const bool workbook = std::strcmp(argv[1], "--workbook") == 0;
  std::string error;
  std::string folder = zantro::DirName(zantro::AbsolutePath(argv[0]));
  if (std::strchr(argv[0], '/') == nullptr) {  // found in PATH: the running image's folder
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) folder = zantro::DirName(std::string(buf, static_cast<size_t>(n)));
  }
  if (argc == 6 && std::strcmp(argv[4], "--program-folder") == 0) folder = zantro::AbsolutePath(argv[5]);
  else if (argc != 4) {
    std::cerr << "zantro: usage: zantro " << argv[1] << " DOCUMENT " << (workbook ? "OUT.xlsx" : "OUT.pdf")
              << " [--program-folder DIR]\n";
    return 2;
  } else if (auto own = zantro::ChooseProgramFolder(zantro::ProgramFolderInputsOf("", folder), &error)) {
    folder = own->Folder;  // an installed program prints with the style of the user's own folder
  }
  // The quantity statement of every item with takeoff records, or the estimate.
  if (takeoff) return zantro::printing::TakeoffPdfFromDocument(argv[2], argv[3], folder, std::cerr);
  if (workbook) return zantro::printing::EstimateWorkbookFromDocument(argv[2], argv[3], folder, std::cerr);
  return zantro::printing::PdfFromDocument(argv[2], argv[3], folder, std::cerr);
}
#endif

// "zantro --compare OLD NEW [--xlsx OUT | --pdf OUT]": the PDF with the print style of the
// folder the program runs from.
int CompareCommand(int argc, char** argv) {
  zantro::compare::PdfWriter pdf;
#ifdef ZANTRO_HAVE_PRINTING
  pdf = [](const zantro::compare::Result& r, const zantro::compare::Sides& sides, const std::string& out,
           const zantro::OutputRules& rules) {
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string folder = n > 0 ? zantro::DirName(std::string(buf, static_cast<size_t>(n))) : ".";
    zantro::printing::WriteComparePdf(r, sides, folder, out, rules);
  };
#endif
  return zantro::compare::CompareCommand(argc - 2, argv + 2, std::cout, std::cerr, pdf);
}

// The text in front of reduction amounts: [GENGAKU] of the configuration beside the program.
std::string ReductionText() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  std::string folder = zantro::DirName(std::string(buf, static_cast<size_t>(n)));
  return zantro::ToUtf8(zantro::ReadConfValue(folder, "Zantro.conf", "[GENGAKU]").value_or(""));
}

// 0 when what was printed reached standard output, else 1 with the reason.
int StandardOutputStatus() {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
  std::cerr << "zantro: standard output: " << std::strerror(errno ? errno : EIO) << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // A write past the file-size limit then fails with EFBIG, which every writer reports, instead
  // of the signal ending the program with nothing said and nothing cleaned up.
  std::signal(SIGXFSZ, SIG_IGN);
  zantro::GuardStandardStreams();
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    PrintHelp();
    return StandardOutputStatus();
  }
  // The batch recalculation runs before anything of the window: no configuration, no lock.
  if (argc > 1 && std::strcmp(argv[1], "--recalc") == 0) return zantro::RecalcCommand(argc - 2, argv + 2, std::cerr);
#ifdef ZANTRO_HAVE_PRINTING
  if (argc > 1 && (std::strcmp(argv[1], "--pdf") == 0 || std::strcmp(argv[1], "--takeoff-pdf") == 0 ||
                   std::strcmp(argv[1], "--workbook") == 0))
    return PdfCommand(argc, argv);
#endif
  // The breakdown list without a window: its report and its spreadsheet export.
  if (argc > 1 && std::strcmp(argv[1], "--report") == 0) {
    if (argc != 3) {
      std::cerr << "zantro: usage: zantro --report DOCUMENT\n";
      return 2;
    }
    // The report is made whole, then written: a write that fails is reported with its reason.
    std::ostringstream report;
    if (int status = zantro::PrintBreakdownReport(argv[2], ReductionText(), report, std::cerr); status != 0)
      return status;
    std::string error;
    if (zantro::WriteOutput("-", report.str(), &error, {{}, true})) return 0;
    std::cerr << "zantro: " << error << "\n";
    return 1;
  }
  if (argc > 1 && std::strcmp(argv[1], "--xlsx") == 0) {
    if (argc != 4) {
      std::cerr << "zantro: usage: zantro --xlsx DOCUMENT OUT.xlsx\n";
      return 2;
    }
    return zantro::ExportBreakdownWorkbook(argv[2], argv[3], std::cerr);  // "-": standard output
  }
  if (argc > 1 && std::strcmp(argv[1], "--compare") == 0) return CompareCommand(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--summary") == 0) {
#ifdef ZANTRO_HAVE_PRINTING
    return zantro::summary::SummaryCommand({argv + 2, argv + argc}, std::cerr, zantro::printing::SummaryPdfWriter());
#else
    return zantro::summary::SummaryCommand({argv + 2, argv + argc}, std::cerr);
#endif
  }
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("zantro 2.0.0");
    return StandardOutputStatus();
  }
#ifdef ZANTRO_HAVE_WINDOW
  return zantro::RunWindowProgram(argc, argv, [](zantro::TFZANTRO& w) {
    zantro::InstallCompanions(w);
    zantro::InstallBreakdownList(w);
    zantro::InstallHelp(w);
#ifdef ZANTRO_HAVE_PRINTING
    zantro::printing::InstallEstimateBook(w);
#endif
  });
#else
  PrintHelp();
  return 0;
#endif
}
