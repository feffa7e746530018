// The print viewer's window off screen: the forms it offers, page navigation, the page drawn
// at real size, and the PDF button writing what is shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <cstdio>

#include "general/container.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "printing/job.h"
#include "printing/takeoffpdf.h"
#include "takeoff/sheet.h"
#include "takeoff/statement.h"
#include "testutil/tempdir.h"
#include "viewer.h"

namespace zantro {
namespace {

const std::string kSample = std::string(ZANTRO_SOURCE_DIR) + "/data/Sample/sample.znt2";
const std::string kStyle = std::string(ZANTRO_SOURCE_DIR) + "/data/style";

QApplication& App() {
  static int argc = 1;
  static char name[] = "test_prnview";
  static char* argv[] = {name, nullptr};
  // Never destroyed: a window that was shown leaves devices that cannot outlive the
  // application's end at exit.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

struct Viewer {
  QStringList lines;
  ScriptedDialogs dialogs{[this](const QString& l) { lines << l; }};
  printing::PrintJob job = printing::LoadPrintJob(kSample, kStyle, "", 0);
  PrintViewer window{job, printing::ResolveFonts(job.Model.Style), dialogs};

  QString Label() { return window.findChild<QLabel*>("PageLabel")->text(); }
  void Click(const char* name) { window.findChild<QPushButton*>(name)->click(); }
};

TEST(PrintViewer, FormsPagesAndTheDrawnPage) {
  App();
  Viewer v;
  EXPECT_EQ(v.Label(), "1 / 5");          // all forms of the style: cover, 内訳書, three sheets
  EXPECT_FALSE(v.window.findChild<QPushButton*>("PrevButton")->isEnabled());
  v.Click("NextButton");
  v.Click("NextButton");
  EXPECT_EQ(v.Label(), "3 / 5");
  v.window.SelectForm(2);                 // 明細書 only
  EXPECT_EQ(v.Label(), "1 / 3");
  v.Click("PrevButton");                  // stays on the first page
  EXPECT_EQ(v.window.PageIndex(), 0);
  v.window.SelectForm(0);
  EXPECT_EQ(v.Label(), "1 / 1");

  // The page first fills the width of the window as it is shown, and follows its resizes.
  QWidget* page = v.window.findChild<QWidget*>("PageView");
  QWidget* room = v.window.findChild<QScrollArea*>()->viewport();
  v.window.show();
  QApplication::processEvents();
  EXPECT_NEAR(page->width(), room->width() - 22, 2);
  v.window.resize(1400, 900);
  QApplication::processEvents();
  EXPECT_NEAR(page->width(), room->width() - 22, 2);
  EXPECT_GT(room->width(), 1300);

  // 100 %: the A4 landscape page at the screen's resolution, ink on it.
  v.window.findChild<QComboBox*>("ZoomBox")->setCurrentIndex(2);
  v.window.SelectForm(1);
  double dpi = PageView::ScreenDpi(page);
  EXPECT_NEAR(page->width(), 297 / 25.4 * dpi, 3);
  QImage image = page->grab().toImage();
  int dark = 0;
  for (int y = 0; y < image.height(); y += 3)
    for (int x = 0; x < image.width(); x += 3) dark += qGray(image.pixel(x, y)) < 100;
  EXPECT_GT(dark, 500);
}

TEST(PrintViewer, ThePdfButtonWritesTheFormShown) {
  App();
  testing::TempDir dir;
  Viewer v;
  v.window.SelectForm(2);
  v.dialogs.Queue({ScriptAnswer::File, false, false, QString::fromStdString(dir.file("sheets.pdf"))});
  v.Click("PdfButton");
  EXPECT_EQ(v.lines.value(0), "dialog: save|PDFファイルに保存|PDFファイル(pdf)|*.pdf|pdf|SE-1024.pdf");
  ASSERT_TRUE(FileExists(dir.file("sheets.pdf")));
  FILE* p = popen(("pdfinfo '" + dir.file("sheets.pdf") + "'").c_str(), "r");
  char buf[4096] = {};
  fread(buf, 1, sizeof buf - 1, p);
  pclose(p);
  EXPECT_NE(std::string(buf).find("Pages:           3"), std::string::npos) << buf;
}

// The printer gets the pages of the range asked for, on A4 landscape, from the sheet's corner.
TEST(PrintViewer, PrintingSendsTheChosenPagesToThePrinter) {
  App();
  testing::TempDir dir;
  Viewer v;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir.file("printed.pdf")));
  v.window.PrintPages(printer, 1, 3);
  FILE* p = popen(("pdfinfo '" + dir.file("printed.pdf") + "'").c_str(), "r");
  char buf[4096] = {};
  fread(buf, 1, sizeof buf - 1, p);
  pclose(p);
  EXPECT_NE(std::string(buf).find("Pages:           3"), std::string::npos) << buf;
  EXPECT_NE(std::string(buf).find("842 x 595"), std::string::npos) << buf;
}

// The quantity statement is a fifth entry of the form box only when a section holds a line;
// chosen, its pages are the ones shown, drawn and printed.
TEST(PrintViewer, TheQuantityStatementIsOfferedOnlyWithMeasurements) {
  App();
  Viewer v;
  auto* box = v.window.findChild<QComboBox*>("FormBox");
  v.window.OfferTakeoff({printing::TakeoffSection{"1　空", {}}}, "");
  EXPECT_EQ(box->count(), 4);
  v.window.SelectForm(4);                 // not offered: all forms
  EXPECT_EQ(v.Label(), "1 / 5");

  std::vector<takeoff::Row> rows(2);
  // The sheet holds its texts as the files do (Shift-JIS).
  rows[0].System = Sj("給水"), rows[0].Name = Sj("鋼管"), rows[0].Unit = "m", rows[0].Expression = "3.5+1.5";
  rows[1] = rows[0], rows[1].Expression = "2*2";
  for (auto& r : rows) r.Result = *takeoff::Compute(r, nullptr);
  v.window.OfferTakeoff({printing::TakeoffSection{"1　衛生", takeoff::StatementOf(rows)}}, "試験");
  ASSERT_EQ(box->count(), 5);
  EXPECT_EQ(box->itemText(4), "数量調書");
  v.window.SelectForm(4);
  EXPECT_EQ(v.Label(), "1 / 1");
  EXPECT_EQ(box->currentIndex(), 4);

  testing::TempDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir.file("statement.pdf")));
  v.window.PrintPages(printer, 0, 0);
  FILE* p = popen(("pdftotext -layout '" + dir.file("statement.pdf") + "' -").c_str(), "r");
  char buf[8192] = {};
  fread(buf, 1, sizeof buf - 1, p);
  pclose(p);
  std::string text(buf);
  for (const char* t : {"3.5+1.5", "2*2", "鋼管", "系統："}) EXPECT_NE(text.find(t), std::string::npos) << t << "\n" << text;

  v.window.SelectForm(1);                 // back to the estimate's forms
  EXPECT_EQ(v.Label(), "1 / 1");
}

}  // namespace
}  // namespace zantro
