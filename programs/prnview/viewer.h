// The print viewer's window: the pages of the estimate one at a time, the form to show, page
// navigation and zoom, and the PDF and print buttons. Object names are the ones scripts use.
#pragma once
#include <QMainWindow>
#include <functional>
#include <vector>

#include "printing/job.h"
#include "printing/render.h"
#include "printing/takeoffpdf.h"

class QComboBox;
class QPrinter;
class QLabel;
class QPushButton;
class QScrollArea;

namespace zantro {

class Dialogs;

class PageView : public QWidget {
 public:
  explicit PageView(QWidget* parent) : QWidget(parent) {}
  // draw paints one page on a painter prepared for the page's unit; empty: no page.
  void Show(std::function<void(QPainter&)> draw, double zoom);
  // Pixels per inch of the page at 100 %: the page shows at its real size on the screen.
  static double ScreenDpi(const QWidget* w);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  std::function<void(QPainter&)> draw_;
  double zoom_ = 1.0;
};

class PrintViewer : public QMainWindow {
 public:
  // headless: no desktop print dialog can be answered, so the print button only says so.
  PrintViewer(printing::PrintJob job, printing::FontSet fonts, Dialogs& dialogs, bool headless = false);
  ~PrintViewer() override;

  int PageIndex() const { return index_; }
  int ShownPages() const;
  // The quantity statement of the document's takeoff: offered as the form after 全部 when it
  // holds a measurement, else the form box stays as it is.
  void OfferTakeoff(std::vector<printing::TakeoffSection> sections, std::string construction);
  // Index 0 表紙, 1 内訳書, 2 明細書, 3 全部, 4 数量調書 (when offered).
  void SelectForm(int index);
  void GoTo(int index);
  void SavePdf();
  void Print();
  // Pages first..last (0-based, of the form shown) on printer, whose page layout is set here.
  void PrintPages(QPrinter& printer, int first, int last);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void BuildWindow();
  void Refresh();
  double Zoom() const;
  void DrawPage(QPainter& painter, int index) const;
  std::vector<printing::Page> ShownPages(const std::vector<printing::Page>& all) const;

  printing::PrintJob job_;
  printing::FontSet fonts_;
  Dialogs& dialogs_;
  printing::PageRenderer renderer_;
  std::vector<printing::Page> all_;     // every page of the style's forms
  std::vector<printing::Page> shown_;   // the pages of the chosen form
  std::vector<printing::TakeoffSection> takeoff_;
  std::string construction_;                        // of the takeoff's title (UTF-8)
  std::vector<printing::TakeoffPage> takeoffPages_;
  bool takeoffShown_ = false;                       // the quantity statement is the form shown
  int pageCount_ = 0;
  int index_ = 0;
  bool headless_ = false;
  QComboBox* formBox_ = nullptr;
  QComboBox* zoomBox_ = nullptr;
  QLabel* pageLabel_ = nullptr;
  QPushButton* prev_ = nullptr;
  QPushButton* next_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  PageView* view_ = nullptr;
};

}  // namespace zantro
