#include "printing/job.h"

#include <QGuiApplication>
#include <memory>
#include <ostream>
#include <sstream>

#include "general/container.h"
#include "general/errors.h"
#include "general/printdata.h"
#include "general/recalc.h"
#include "platform/conffile.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/qtcore/qtenv.h"
#include "printing/pdf.h"
#include "printing/render.h"

namespace zantro::printing {
namespace {

// A path handed over in Shift-JIS: its UTF-8 spelling when that folder exists, else the bytes
// as they came (a folder name that was never converted).
std::string FolderPath(const std::string& cp932) {
  std::string utf8 = ToUtf8(cp932);
  return IsDirectory(utf8) || !IsDirectory(cp932) ? utf8 : cp932;
}

std::string StyleFolderOf(const std::string& programFolder, const ViewerArguments& args) {
  return args.StyleFolder.empty() ? JoinPath(programFolder, "style") : args.StyleFolder;
}

}  // namespace

std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
  if (QCoreApplication::instance()) return nullptr;
  static int argc = 1;
  static char name[] = "zantro";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  PrepareQtProcess();
  return std::make_unique<QGuiApplication>(argc, argv);
}

ViewerArguments ParseViewerArgument(std::string_view cp932) {
  ViewerArguments a;
  a.ReductionText = ToUtf8(FieldOf(cp932, 1));
  std::string folder = FieldOf(cp932, 2);
  if (!folder.empty()) a.StyleFolder = FolderPath(folder);
  return a;
}

ViewerArguments ArgumentsFromConfiguration(const std::string& programFolder) {
  ViewerArguments a;
  a.ReductionText = ToUtf8(ReadConfValue(programFolder, "Zantro.conf", "[GENGAKU]").value_or(""));
  std::string folder = ReadConfValue(programFolder, "Zantro.conf", "[Print_Dir]").value_or("");
  if (!folder.empty()) a.StyleFolder = FolderPath(folder);
  return a;
}

PrintJob LoadPrintJob(const std::string& dataPath, const std::string& styleFolder, const std::string& reductionText,
                      int32_t documentItems) {
  PrintJob job;
  job.DataPath = dataPath;
  // Print data may be the single-item form, whose lines keep their item's number.
  ParsedDocument doc = ParseContainer(dataPath, nullptr, ContainerForm::SingleItem);
  if (!IsDirectory(styleFolder)) job.Warnings.push_back(styleFolder + ": no such style folder; the default style is used");
  PrintStyle style = ReadPrintStyle(styleFolder, &job.Warnings);
  bool single = doc.ItemCount() == 1 && documentItems > 1;
  job.Model = BuildPrintModel(doc, style, ModelOptions{reductionText, single});
  return job;
}

PrintJob LoadViewerJob(const std::string& programFolder, const ViewerArguments& args) {
  auto head = ReadHeadSummary(programFolder);
  if (!head) throw FileError(JoinPath(programFolder, "HEAD.WRK") + ": 印刷する文書がありません (cannot be read)");
  std::string path = PrintDataPath(programFolder, head->Number);
  if (!FileExists(path)) throw FileError(path + ": 印刷データがありません (no print data)");
  return LoadPrintJob(path, StyleFolderOf(programFolder, args), args.ReductionText, head->ItemCount);
}

std::vector<Page> JobPages(const PrintJob& job, const std::optional<FormSet>& forms) {
  return LayoutPages(job.Model, forms.value_or(job.Model.Style.Forms));
}

int WriteJobPdf(const PrintJob& job, const std::optional<FormSet>& forms, const std::string& out, std::ostream& err,
                const OutputRules& rules, Progress& progress) {
  try {
    std::vector<Page> pages = JobPages(job, forms);
    if (pages.empty()) throw FileError(job.DataPath + ": 印刷するページがありません (no page to print)");
    std::string warning;
    FontSet fonts = ResolveFonts(job.Model.Style, &warning);
    for (const auto& w : job.Warnings) err << "zantro: warning: " << w << "\n";
    if (!warning.empty()) err << "zantro: warning: " << warning;
    WritePdf(out, job.Model, pages, fonts, rules, progress);
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

int PdfFromDocument(const std::string& document, const std::string& out, const std::string& programFolder,
                    std::ostream& err) {
  auto app = EnsureGuiApplication();
  // The messages wait for the progress line to be cleared. A third of the bar for opening,
  // the rest for the pages.
  std::ostringstream said;
  auto progress = BatchProgress("zantro --pdf");
  int status = 0;
  try {
    const OutputRules rules{{document}, true};
    OutputPlace place;
    if (std::string error; !PlaceOutput(out, rules, &place, &error)) throw FileError(error);
    ScratchFolder folder("zantro-pdf");
    ProgressStage opening(*progress, 0, 1000, 3000);
    OpenAndRecompute(document, folder.path(), said, opening);
    std::string data = WritePrintData(folder.path(), folder.path(), false, 0);
    ViewerArguments args = ArgumentsFromConfiguration(programFolder);
    PrintJob job = LoadPrintJob(data, StyleFolderOf(programFolder, args), args.ReductionText, 0);
    ProgressStage pages(*progress, 1000, 2000, 3000);
    status = WriteJobPdf(job, std::nullopt, out, said, rules, pages);
  } catch (const std::exception& e) {
    said << "zantro: " << e.what() << "\n";
    status = 1;
  }
  progress.reset();
  err << said.str();
  return status;
}

}  // namespace zantro::printing
