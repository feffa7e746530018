// The print viewer's window: the pages of the estimate one at a time, the form to show, page
// navigation and zoom, and the PDF and print buttons. Object names are the ones scripts use.
#pragma once
#include <QMainWindow>
#include <vector>

#include "printing/job.h"
#include "printing/render.h"

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
  void Show(const printing::PageRenderer* renderer, const printing::Page* page, int pageCount, double zoom);
  // Pixels per inch of the page at 100 %: the page shows at its real size on the screen.
  static double ScreenDpi(const QWidget* w);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const printing::PageRenderer* renderer_ = nullptr;
  const printing::Page* page_ = nullptr;
  int pageCount_ = 0;
  double zoom_ = 1.0;
};

class PrintViewer : public QMainWindow {
 public:
  // headless: no desktop print dialog can be answered, so the print button only says so.
  PrintViewer(printing::PrintJob job, printing::FontSet fonts, Dialogs& dialogs, bool headless = false);
  ~PrintViewer() override;

  int PageIndex() const { return index_; }
  int ShownPages() const { return static_cast<int>(shown_.size()); }
  // Index 0 表紙, 1 内訳書, 2 明細書, 3 全部.
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
  std::vector<printing::Page> ShownPages(const std::vector<printing::Page>& all) const;

  printing::PrintJob job_;
  printing::FontSet fonts_;
  Dialogs& dialogs_;
  printing::PageRenderer renderer_;
  std::vector<printing::Page> all_;     // every page of the style's forms
  std::vector<printing::Page> shown_;   // the pages of the chosen form
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
