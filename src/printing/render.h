// Drawing of the pages with QPainter: the same code draws the preview, the PDF and the printer.
// The painter's unit is a tenth of a millimetre with the origin at the top left of the sheet
// (see geometry in layout.h); PreparePainter sets that up for any paint device.
#pragma once
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <string>

#include "printing/layout.h"
#include "printing/model.h"

class QPainter;
class QPaintDevice;

namespace zantro::printing {

// The font families the forms use, checked against the installed fonts.
struct FontSet {
  QString Body, Title;
};

// The style's fonts when they are installed and draw Japanese, else the first installed
// Japanese font (a warning says which). Raises FileError when no Japanese font is installed:
// a printout without its characters must not be produced.
FontSet ResolveFonts(const PrintStyle& style, std::string* warning = nullptr);

// Scales painter so that one unit is 0.1 mm on device (dots per inch dpi) and the sheet's
// top left is at offset (device pixels, for a printer's unprintable margin).
void PreparePainter(QPainter& painter, double dpi, QPointF offset = {});

// Draws text into r on one line. Text that does not fit is narrowed (down to half its width)
// and then made smaller, never cut: a printed form must show every character.
void FitText(QPainter& p, const QRectF& r, const QString& text, Qt::Alignment align, QFont f);

class PageRenderer {
 public:
  PageRenderer(const PrintModel& model, FontSet fonts);
  // Draws page; pageCount is the number of numbered pages ("n / N").
  void Draw(QPainter& p, const Page& page, int pageCount) const;

 private:
  void DrawCover(QPainter& p) const;
  void DrawCoverAmount(QPainter& p, double top) const;
  void DrawCoverTable(QPainter& p, double top) const;
  void DrawCompany(QPainter& p, double top) const;
  void DrawBreakdown(QPainter& p, const Page& page) const;
  void DrawSheet(QPainter& p, const Page& page) const;
  void DrawListFrame(QPainter& p, const QString& title, const QString& subtitle, const Page& page,
                     int pageCount) const;
  QFont Font(double points, bool bold = false, bool title = false) const;

  const PrintModel& m_;
  FontSet fonts_;
};

}  // namespace zantro::printing
