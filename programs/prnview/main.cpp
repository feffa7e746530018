// prnview: the print viewer. Started by the window with the print option and the style
// folder ("GENGAKU;STYLE;") or with nothing; it reads the print data of the open document and
// shows, prints or writes it as PDF.
//   prnview [--headless] [--script FILE] [--program-folder DIR] [--forms LIST] [ARGUMENTS]
//   prnview --pdf OUT.pdf [--forms cover,breakdown,sheets] [--program-folder DIR] [ARGUMENTS]
#include <QApplication>
#include <clocale>
#include <iostream>
#include <optional>
#include <string>

#include "platform/gui/dialogs.h"
#include "printing/job.h"
#include "printing/takeoffpdf.h"
#include "shell/programshell.h"
#include "viewer.h"

namespace {

using namespace zantro;

printing::ViewerArguments ViewerArgs(ProgramShell& shell) {
  return shell.Arguments().empty() ? printing::ArgumentsFromConfiguration(shell.ProgramFolder())
                                   : printing::ParseViewerArgument(shell.Argument());
}

// The PDF without a display: exit 0 with the file written, or 1 with a message and no file.
int WritePdf(ProgramShell& shell, const std::string& out, const std::optional<printing::FormSet>& forms) {
  try {
    printing::PrintJob job = printing::LoadViewerJob(shell.ProgramFolder(), ViewerArgs(shell));
    return printing::WriteJobPdf(job, forms, out, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "zantro: " << e.what() << "\n";
    return 1;
  }
}

// The quantity statement of the open document's takeoff records, when it has any. A damaged
// takeoff file costs only that form: the estimate's own forms still print.
void OfferTakeoff(PrintViewer& viewer, const std::string& folder) {
  try {
    std::string construction;
    auto sections = printing::TakeoffSections(folder, 0, &construction);
    viewer.OfferTakeoff(std::move(sections), std::move(construction));
  } catch (const std::exception& e) {
    std::cerr << "warning: " << e.what() << "\n";
  }
}

// The preview window, registered as "TFPrnview" (the window's "WM_CLOSE;" closes it).
int RunViewer(ProgramShell& shell, const std::optional<printing::FormSet>& forms) {
  QApplication::setApplicationDisplayName(kApplicationTitle);
  std::optional<printing::PrintJob> job;
  printing::FontSet fonts;
  shell.Guard([&] {
    job = printing::LoadViewerJob(shell.ProgramFolder(), ViewerArgs(shell));
    std::string warning;
    fonts = printing::ResolveFonts(job->Model.Style, &warning);
    for (const auto& w : job->Warnings) std::cerr << "warning: " << w << "\n";
    if (!warning.empty()) std::cerr << "warning: " << warning;
  });
  if (!job) return 1;  // the error has been shown: nothing to print
  PrintViewer viewer(std::move(*job), fonts, shell.Dlg(), shell.Headless());
  OfferTakeoff(viewer, shell.ProgramFolder());
  if (forms) viewer.SelectForm(forms->Cover ? 0 : forms->Breakdown ? 1 : 2);
  shell.Register(&viewer, "TFPrnview");
  return shell.Run(&viewer);
}

}  // namespace

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{"prnview", false, true, {"--pdf", "--forms"}, {}});
  std::optional<printing::FormSet> forms;
  if (auto text = shell.Option("--forms")) {
    forms = printing::ParseForms(*text);
    if (!forms) {
      std::cerr << "zantro: --forms takes cover, breakdown and sheets: " << *text << "\n";
      return 2;
    }
  }
  auto pdf = shell.Option("--pdf");
  if (pdf) qputenv("QT_QPA_PLATFORM", "offscreen");  // no display needed for a file
  if (auto end = shell.Start()) return *end;
  std::setlocale(LC_NUMERIC, "C");
  return pdf ? WritePdf(shell, *pdf, forms) : RunViewer(shell, forms);
}
