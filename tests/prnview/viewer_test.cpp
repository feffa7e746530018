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
#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "printing/job.h"
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

}  // namespace
}  // namespace zantro
