#include "printing/summarypdf.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <unistd.h>

#include <ostream>

#include "general/errors.h"
#include "platform/files.h"
#include "platform/outputs.h"
#include "platform/runtime.h"
#include "printing/job.h"
#include "printing/layout.h"
#include "printing/pdf.h"
#include "printing/render.h"
#include "printing/style.h"

namespace zantro::printing {
namespace {

namespace g = geometry;
using summary::Table;
constexpr int kPdfDpi = 600;

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

struct TablePage {
  size_t Table = 0, First = 0, Count = 0;
};

std::vector<TablePage> Pages(const std::vector<Table>& tables) {
  std::vector<TablePage> pages;
  const size_t per = static_cast<size_t>(g::kRowsPerPage);
  for (size_t t = 0; t < tables.size(); ++t) {
    const size_t n = tables[t].Rows.size();
    for (size_t first = 0; first == 0 || first < n; first += per) pages.push_back(TablePage{t, first, std::min(per, n - first)});
  }
  return pages;
}

// Column widths over the table width: names wide, other text columns and numbers alike.
std::vector<double> Widths(const Table& t) {
  std::vector<double> weight;
  for (const std::string& c : t.Captions) weight.push_back(c == "名称" || c == "工種名" ? 3.0 : c == "規格" ? 2.5 : 1.2);
  double sum = 0;
  for (double w : weight) sum += w;
  for (double& w : weight) w = w / sum * g::kTableWidth;
  return weight;
}

class Renderer {
 public:
  Renderer(QPainter& p, FontSet fonts) : p_(p), fonts_(std::move(fonts)) {}

  void Draw(const Table& t, const std::string& construction, const TablePage& page, int number, int count) {
    p_.setFont(Font(20, true, true));
    p_.drawText(QRectF(0, g::kMarginTop, g::kPageWidth, 95), Qt::AlignHCenter | Qt::AlignVCenter, "集　計　表");
    p_.setFont(Font(9.5));
    if (!construction.empty())
      p_.drawText(QRectF(g::kMarginX, g::kMarginTop, 1500, 60), Qt::AlignLeft | Qt::AlignVCenter, "工事名称　" + Q(construction));
    p_.setFont(Font(12, true));
    p_.drawText(QRectF(g::kMarginX, g::kMarginTop + 125, g::kTableWidth, 70), Qt::AlignLeft | Qt::AlignVCenter, Q(t.Title));
    const std::vector<double> widths = Widths(t);
    double top = g::kTableTop, x = g::kMarginX;
    const QFont head = Font(9.5);
    for (size_t c = 0; c < t.Captions.size(); ++c) {
      p_.drawRect(QRectF(x, top, widths[c], g::kHeaderRow));
      FitText(p_, QRectF(x + 10, top, widths[c] - 20, g::kHeaderRow), Q(t.Captions[c]), Qt::AlignCenter, head);
      x += widths[c];
    }
    top += g::kHeaderRow;
    const QFont body = Font(9.5);
    for (size_t r = page.First; r < page.First + page.Count; ++r, top += g::kRowHeight) {
      p_.drawLine(QPointF(g::kMarginX, top + g::kRowHeight), QPointF(g::kMarginX + g::kTableWidth, top + g::kRowHeight));
      x = g::kMarginX;
      for (size_t c = 0; c < t.Rows[r].size() && c < widths.size(); ++c) {
        const summary::Cell& cell = t.Rows[r][c];
        FitText(p_, QRectF(x + 15, top, widths[c] - 30, g::kRowHeight), Q(cell.Text),
                cell.Value ? Qt::AlignRight : Qt::AlignLeft, body);
        x += widths[c];
      }
    }
    p_.setFont(Font(9));
    p_.drawText(QRectF(0, g::kPageHeight - g::kMarginBottom - g::kFooter, g::kPageWidth, g::kFooter), Qt::AlignCenter,
                QString("%1 / %2").arg(number).arg(count));
  }

 private:
  QFont Font(double points, bool bold = false, bool title = false) const {
    QFont f(title ? fonts_.Title : fonts_.Body);
    f.setPixelSize(std::max(1, static_cast<int>(points * 254.0 / 72.0 + 0.5)));
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferNoShaping);  // keeps the text layer searchable (see takeoffpdf)
    return f;
  }
  QPainter& p_;
  FontSet fonts_;
};

std::string StyleFolder(const std::string& programFolder) {
  ViewerArguments args = ArgumentsFromConfiguration(programFolder);
  return args.StyleFolder.empty() ? JoinPath(programFolder, "style") : args.StyleFolder;
}

std::string OwnFolder() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? DirName(std::string(buf, static_cast<size_t>(n))) : std::string(".");
}

}  // namespace

int WriteSummaryPdf(const std::vector<Table>& tables, const std::string& construction, const std::string& programFolder,
                    const std::string& out, const OutputRules& rules, std::ostream& err) {
  auto app = EnsureGuiApplication();
  try {
    std::vector<std::string> warnings;
    FontSet fonts = ResolveFonts(ReadPrintStyle(StyleFolder(programFolder), &warnings));
    const std::vector<TablePage> pages = Pages(tables);
    QByteArray bytes;
    {
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      QPdfWriter writer(&buffer);
      writer.setResolution(kPdfDpi);
      writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
      writer.setCreator("Zantro");
      writer.setTitle("集計表");
      QPainter painter(&writer);
      PreparePainter(painter, kPdfDpi);
      Renderer renderer(painter, fonts);
      for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) writer.newPage();
        renderer.Draw(tables[pages[i].Table], construction, pages[i], static_cast<int>(i + 1), static_cast<int>(pages.size()));
      }
      painter.end();
    }
    MapRadicalsToIdeographs(bytes, RadicalEquivalents(fonts));
    std::string error;
    if (!WriteOutput(out, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), &error,
                     rules))
      throw FileError(error);
    return 0;
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 1;
  }
}

summary::PdfWriter SummaryPdfWriter() {
  return [](const std::vector<Table>& tables, const std::string& construction, const std::string& out,
            const OutputRules& rules, std::ostream& err) {
    return WriteSummaryPdf(tables, construction, OwnFolder(), out, rules, err);
  };
}

}  // namespace zantro::printing
