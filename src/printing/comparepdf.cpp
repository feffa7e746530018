#include "printing/comparepdf.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "general/errors.h"
#include "platform/files.h"
#include "printing/job.h"
#include "printing/layout.h"
#include "printing/pdf.h"
#include "printing/style.h"

namespace zantro::printing {
namespace {

namespace g = geometry;

constexpr int kPdfDpi = 600;
constexpr double kPad = 14;
const QColor kHeaderFill(0xE6, 0xE6, 0xE6);
const QColor kTotalFill(0xF3, 0xF3, 0xF3);

// Widths (0.1 mm) of the report's nine columns: together the table width.
constexpr double kWidths[9] = {150, 110, 420, 100, 620, 260, 340, 340, 330};
static_assert(kWidths[0] + kWidths[1] + kWidths[2] + kWidths[3] + kWidths[4] + kWidths[5] + kWidths[6] +
                  kWidths[7] + kWidths[8] == g::kTableWidth);

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

QFont Font(const FontSet& fonts, double points, bool bold = false, bool title = false) {
  QFont f(title ? fonts.Title : fonts.Body);
  f.setPixelSize(std::max(1, static_cast<int>(points * 254.0 / 72.0 + 0.5)));
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setKerning(false);
  f.setStyleStrategy(QFont::PreferNoShaping);
  return f;
}

Qt::Alignment AlignOf(size_t column) {
  if (column >= 6) return Qt::AlignRight;
  if (column == 0 || column == 1 || column == 3) return Qt::AlignHCenter;
  return Qt::AlignLeft;
}

double RowTop(int row) { return g::kTableTop + g::kHeaderRow + row * g::kRowHeight; }

void DrawCells(QPainter& p, double top, double height, const std::vector<std::string>& cells, const QFont& font,
               bool captions = false) {
  double x = g::kMarginX;
  for (size_t c = 0; c < cells.size(); ++c) {
    Qt::Alignment align = captions ? Qt::AlignHCenter : AlignOf(c);
    FitText(p, QRectF(x + kPad, top, kWidths[c] - 2 * kPad, height), Q(cells[c]), align, font);
    x += kWidths[c];
  }
}

void DrawFrame(QPainter& p, const FontSet& fonts, const std::string& company, const compare::Sides& sides) {
  QFont titleFont = Font(fonts, 20, true, true);
  FitText(p, QRectF(0, g::kMarginTop, g::kPageWidth, 95), "変　更　対　比　表", Qt::AlignHCenter, titleFont);
  double tw = QFontMetricsF(titleFont).horizontalAdvance("変　更　対　比　表") + 100;
  p.setPen(QPen(Qt::black, 2));
  p.drawLine(QPointF((g::kPageWidth - tw) / 2, g::kMarginTop + 100), QPointF((g::kPageWidth + tw) / 2, g::kMarginTop + 100));
  FitText(p, QRectF(g::kMarginX, g::kMarginTop + 110, 1300, 45), "旧　" + Q(sides.Old), Qt::AlignLeft, Font(fonts, 9));
  FitText(p, QRectF(g::kMarginX, g::kMarginTop + 155, 1300, 45), "新　" + Q(sides.New), Qt::AlignLeft, Font(fonts, 9));
  if (!company.empty())
    FitText(p, QRectF(g::kMarginX + g::kTableWidth - 900, g::kMarginTop + 125, 900, 70), Q(company), Qt::AlignRight,
            Font(fonts, 10));
}

void DrawTable(QPainter& p, const FontSet& fonts, int rows) {
  const double top = g::kTableTop, left = g::kMarginX, right = left + g::kTableWidth;
  const double bottom = RowTop(rows);
  p.fillRect(QRectF(left, top, g::kTableWidth, g::kHeaderRow), kHeaderFill);
  std::vector<std::string> captions = compare::ReportCaptions();
  DrawCells(p, top, g::kHeaderRow, captions, Font(fonts, 10), true);
  p.setPen(QPen(Qt::black, 2));
  double x = left;
  for (double w : kWidths) {
    x += w;
    if (x < right - 1) p.drawLine(QPointF(x, top), QPointF(x, bottom));
  }
  for (int r = 0; r <= rows; ++r) p.drawLine(QPointF(left, RowTop(r)), QPointF(right, RowTop(r)));
  p.setPen(QPen(Qt::black, 5));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(left, top, g::kTableWidth, bottom - top));
}

}  // namespace

int ComparePageCount(const compare::Result& r) {
  const size_t rows = r.Rows.size() + 2;
  return static_cast<int>((rows + g::kRowsPerPage - 1) / g::kRowsPerPage);
}

void DrawComparePage(QPainter& p, const FontSet& fonts, const std::string& company, const compare::Result& r,
                     const compare::Sides& sides, int page) {
  p.save();
  p.fillRect(QRectF(0, 0, g::kPageWidth, g::kPageHeight), Qt::white);
  DrawFrame(p, fonts, company, sides);
  const size_t first = static_cast<size_t>(page) * g::kRowsPerPage;
  const size_t all = r.Rows.size() + 2;
  const int count = static_cast<int>(std::min<size_t>(g::kRowsPerPage, all - first));
  auto totals = compare::TotalsCells(r.Sums);
  for (int k = 0; k < count; ++k)
    if (first + k >= r.Rows.size()) p.fillRect(QRectF(g::kMarginX, RowTop(k), g::kTableWidth, g::kRowHeight), kTotalFill);
  DrawTable(p, fonts, count);
  const QFont body = Font(fonts, 9.5), bold = Font(fonts, 9.5, true);
  for (int k = 0; k < count; ++k) {
    size_t i = first + static_cast<size_t>(k);
    if (i < r.Rows.size()) DrawCells(p, RowTop(k), g::kRowHeight, compare::ReportCells(r.Rows[i]), body);
    else DrawCells(p, RowTop(k), g::kRowHeight, totals[i - r.Rows.size()], bold);
  }
  FitText(p, QRectF(0, g::kPageHeight - g::kMarginBottom - g::kFooter + 20, g::kPageWidth, g::kFooter - 20),
          QString("%1 / %2").arg(page + 1).arg(ComparePageCount(r)), Qt::AlignHCenter, Font(fonts, 9));
  p.restore();
}

void WriteComparePdf(const compare::Result& r, const compare::Sides& sides, const std::string& programFolder,
                     const std::string& out, const OutputRules& rules) {
  auto app = EnsureGuiApplication();
  ViewerArguments args = ArgumentsFromConfiguration(programFolder);
  PrintStyle style = ReadPrintStyle(args.StyleFolder.empty() ? JoinPath(programFolder, "style") : args.StyleFolder);
  FontSet fonts = ResolveFonts(style);
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    writer.setCreator("Zantro");
    writer.setTitle("変更対比表");
    QPainter painter(&writer);
    PreparePainter(painter, kPdfDpi);
    for (int page = 0, pages = ComparePageCount(r); page < pages; ++page) {
      if (page > 0) writer.newPage();
      DrawComparePage(painter, fonts, style.Company, r, sides, page);
    }
    painter.end();
  }
  MapRadicalsToIdeographs(bytes, RadicalEquivalents(fonts));
  std::string error;
  OutputRules synced = rules;
  synced.Sync = true;
  if (!WriteOutput(out, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), &error, synced))
    throw FileError(error);
}

}  // namespace zantro::printing
