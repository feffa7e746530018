// A print job: where the print data and the style come from, and the command-line prints.
// The viewer and "zantro --pdf" both come through here, so they print the same pages.
#pragma once
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/outputs.h"
#include "platform/progress.h"
#include "printing/layout.h"
#include "printing/model.h"

class QGuiApplication;

namespace zantro::printing {

// The forms need an application object for their fonts: a batch run without one gets one off
// screen (kept alive by the pointer returned); with one, nullptr.
std::unique_ptr<QGuiApplication> EnsureGuiApplication();

// The viewer's launch argument: the print option ([GENGAKU]) and the style folder, each
// followed by ";" (Shift-JIS). Without an argument both come from Zantro.conf of the program
// folder, as the window would pass them.
struct ViewerArguments {
  std::string ReductionText;   // UTF-8
  std::string StyleFolder;     // a path; empty: the program folder's "style"
};
ViewerArguments ParseViewerArgument(std::string_view cp932);
ViewerArguments ArgumentsFromConfiguration(const std::string& programFolder);

struct PrintJob {
  PrintModel Model;
  std::string DataPath;                  // the print data file read
  std::vector<std::string> Warnings;     // style lines and fonts not taken (UTF-8)
};

// Reads one print data file with the style of styleFolder. Print data of one item while the
// document holds documentItems > 1 items is one sheet's. Raises FileError naming the file,
// line and field of a damaged file.
PrintJob LoadPrintJob(const std::string& dataPath, const std::string& styleFolder, const std::string& reductionText,
                      int32_t documentItems);

// Finds the print data of the program folder: the document number in HEAD.WRK names
// printdata/<number>.dat, and HEAD.WRK's item count tells one sheet's print data. Raises FileError with a message that says what is missing.
PrintJob LoadViewerJob(const std::string& programFolder, const ViewerArguments& args);

// The pages of forms, or of the style's forms when forms is nullopt.
std::vector<Page> JobPages(const PrintJob& job, const std::optional<FormSet>& forms);

// Writes the PDF of the job's pages. Returns 0, or 1 after a message on err (nothing written
// when there is no page or a font is missing, or when the user stopped it: "中止しました").
// Messages start with "zantro:". out is written by rules (platform/outputs.h).
int WriteJobPdf(const PrintJob& job, const std::optional<FormSet>& forms, const std::string& out, std::ostream& err,
                const OutputRules& rules = {}, Progress& progress = NoProgress());

// "zantro --pdf DOCUMENT OUT": opens and recomputes the document in a private folder, writes
// its print data there and prints it with the style of programFolder. Returns the exit status.
// The progress (opening, then the pages) is shown on standard error when it is a terminal.
int PdfFromDocument(const std::string& document, const std::string& out, const std::string& programFolder,
                    std::ostream& err);

}  // namespace zantro::printing
