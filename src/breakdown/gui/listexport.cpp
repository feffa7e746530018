// The spreadsheet export from the window: the print data file of the document, then the
// workbook beside it, opened with the desktop's opener when there is one. Both are made in
// memory first and written only when the whole is made, so a stopped export writes nothing.
#include "breakdown/gui/breakdownlist.h"
#include "breakdown/listworkbook.h"
#include "general/container.h"
#include "general/errors.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/launcher.h"
#include "uzantro/fzantro.h"

#include <sys/stat.h>

namespace zantro {

void BreakdownList::SpreadsheetOut() {
  Document& doc = w_.Doc();
  const std::string& folder = w_.ProgramFolder();
  if (!w_.SheetMode()) {
    w_.ShowTotals(1);
    w_.SaveHeadTo("WRK");
  }
  std::string printData = JoinPath(folder, "printdata");
  ::mkdir(printData.c_str(), 0755);
  std::string stem = JoinPath(printData, ToUtf8(doc.Title.NUMBER.view()));
  auto progress = w_.Dlg().StartProgress("エクセル形式で保存しています");
  const int64_t items = doc.LastItem();
  ProgressStage reading(*progress, 0, items, 2 * items + 1);
  const std::string text = ContainerText(folder, false, 0, reading);
  std::string_view piece = text;
  OutputPlace place;  // refused targets are refused before the work
  if (std::string error; !PlaceOutput(stem + ".dat", {}, &place, &error)) throw FileError(error);
  ProgressStage building(*progress, items, items + 1, 2 * items + 1);
  WriteBreakdownWorkbook(text, stem + ".xlsx", {}, building);
  WriteContainerText(stem + ".dat", {&piece, 1});
  progress.reset();
  auto opener = FindInPath("xdg-open");
  if (!opener && !w_.Headless()) return w_.Dlg().ShowNotice(QString::fromStdString("エクセル形式で保存しました\r\n" + stem + ".xlsx"));
  if (w_.Headless()) return w_.Launch().Report("xdg-open", stem + ".xlsx");
  w_.Launch().Start(*opener, stem + ".xlsx", folder);
}

}  // namespace zantro
