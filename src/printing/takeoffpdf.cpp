#include "printing/takeoffpdf.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <memory>
#include <ostream>

#include "general/document.h"
#include "general/errors.h"
#include "general/recalc.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/qtcore/qtenv.h"
#include "printing/job.h"
#include "printing/layout.h"
#include "printing/pdf.h"
#include "printing/render.h"
#include "printing/style.h"

namespace zantro::printing {
namespace {

namespace g = geometry;
using takeoff::StatementKind;
using takeoff::StatementLine;

constexpr int kPdfDpi = 600;

// Column widths (0.1 mm) of 図面, 名称, 仕様, 計算式, 倍数, 結果, 単位: together the table width.
constexpr double kWidths[7] = {300, 620, 480, 740, 180, 250, 100};
const char* const kCaptions[7] = {"図面", "名　称", "仕　様", "計　算　式", "倍数", "結果", "単位"};

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

class Renderer {
 public:
  Renderer(QPainter& p, FontSet fonts) : p_(p), fonts_(std::move(fonts)) {}

  void Draw(const TakeoffSection& section, const std::string& construction, const TakeoffPage& page, int number,
            int count) {
    QFont title = Font(20, true, true);
    p_.setFont(title);
    p_.drawText(QRectF(0, g::kMarginTop, g::kPageWidth, 95), Qt::AlignHCenter | Qt::AlignVCenter, "数　量　調　書");
    p_.setFont(Font(9.5));
    if (!construction.empty())
      p_.drawText(QRectF(g::kMarginX, g::kMarginTop, 1000, 60), Qt::AlignLeft | Qt::AlignVCenter, "工事名称　" + Q(construction));
    p_.setFont(Font(12, true));
    p_.drawText(QRectF(g::kMarginX, g::kMarginTop + 125, g::kTableWidth, 70), Qt::AlignLeft | Qt::AlignVCenter,
                Q(section.ItemName));
    double top = g::kTableTop;
    p_.setFont(Font(10));
    double x = g::kMarginX;
    for (int c = 0; c < 7; ++c) {
      p_.drawRect(QRectF(x, top, kWidths[c], g::kHeaderRow));
      p_.drawText(QRectF(x, top, kWidths[c], g::kHeaderRow), Qt::AlignCenter, kCaptions[c]);
      x += kWidths[c];
    }
    top += g::kHeaderRow;
    for (size_t i = page.First; i < page.First + page.Count; ++i, top += g::kRowHeight)
      DrawLine(section.Lines[i], top);
    p_.setFont(Font(9));
    p_.drawText(QRectF(0, g::kPageHeight - g::kMarginBottom - g::kFooter, g::kPageWidth, g::kFooter), Qt::AlignCenter,
                QString("%1 / %2").arg(number).arg(count));
  }

 private:
  // Sizes in the painter's unit (0.1 mm), as the other forms set them.
  QFont Font(double points, bool bold = false, bool title = false) const {
    QFont f(title ? fonts_.Title : fonts_.Body);
    f.setPixelSize(std::max(1, static_cast<int>(points * 254.0 / 72.0 + 0.5)));
    f.setBold(bold);
    // Shaped, the Japanese fonts give the digits after a Latin letter ("P-101") glyphs that the
    // PDF's text layer cannot name, so a copy or a search of the PDF lost them. These texts need
    // no shaping.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
  }

  void DrawLine(const StatementLine& l, double top) {
    const double height = g::kRowHeight;
    p_.drawLine(QPointF(g::kMarginX, top + height), QPointF(g::kMarginX + g::kTableWidth, top + height));
    if (l.Kind == StatementKind::Heading || l.Kind == StatementKind::TotalsHeading) {
      p_.setFont(Font(10.5, true));
      p_.drawText(QRectF(g::kMarginX + 20, top, g::kTableWidth - 40, height), Qt::AlignLeft | Qt::AlignVCenter,
                  Q(l.Cells[0]));
      return;
    }
    const QFont font = Font(10, l.Kind == StatementKind::Total);
    double x = g::kMarginX;
    for (int c = 0; c < 7; ++c) {
      Qt::Alignment align = c == 4 || c == 5 ? Qt::AlignRight : c == 6 ? Qt::AlignHCenter : Qt::AlignLeft;
      FitText(p_, QRectF(x + 15, top, kWidths[c] - 30, height), Q(l.Cells[static_cast<size_t>(c)]), align, font);
      x += kWidths[c];
    }
  }

  QPainter& p_;
  FontSet fonts_;
};

std::string StyleFolder(const std::string& programFolder) {
  ViewerArguments args = ArgumentsFromConfiguration(programFolder);
  return args.StyleFolder.empty() ? JoinPath(programFolder, "style") : args.StyleFolder;
}

}  // namespace

std::vector<TakeoffPage> TakeoffPages(const std::vector<TakeoffSection>& sections) {
  std::vector<TakeoffPage> pages;
  const size_t perPage = static_cast<size_t>(g::kRowsPerPage);
  for (size_t s = 0; s < sections.size(); ++s) {
    size_t n = sections[s].Lines.size();
    for (size_t first = 0; first < n || first == 0; first += perPage) {
      pages.push_back(TakeoffPage{s, first, std::min(perPage, n - first)});
      if (n == 0) break;
    }
  }
  return pages;
}

void DrawTakeoffPage(QPainter& painter, const FontSet& fonts, const std::vector<TakeoffSection>& sections,
                     const std::string& construction, const TakeoffPage& page, int number, int count) {
  Renderer(painter, fonts).Draw(sections[page.Section], construction, page, number, count);
}

std::string ConstructionOf(const std::string& folder) {
  Document doc;
  LoadHead(doc, folder, "WRK");
  return ToUtf8(doc.Title.CONSTRACT_1.view());
}

std::vector<TakeoffSection> TakeoffSections(const std::string& folder, int32_t item, std::string* construction) {
  Document doc;
  LoadHead(doc, folder, "WRK");
  if (construction) *construction = ToUtf8(doc.Title.CONSTRACT_1.view());
  std::vector<TakeoffSection> out;
  int32_t last = std::max<int32_t>(doc.ItemCount, item);
  for (int32_t n = item > 0 ? item : 1; n <= (item > 0 ? item : last); ++n) {
    std::vector<takeoff::Row> rows = takeoff::LoadRows(folder, n);
    if (rows.empty() && item == 0) continue;
    std::string name = n < static_cast<int32_t>(doc.ItemList.size()) ? ToUtf8(doc.ItemList[static_cast<size_t>(n)].ItemName.view()) : "";
    out.push_back(TakeoffSection{std::to_string(n) + "　" + name, takeoff::StatementOf(rows)});
  }
  return out;
}

int WriteTakeoffPdf(const std::vector<TakeoffSection>& sections, const std::string& construction,
                    const std::string& programFolder, const std::string& out, std::ostream& err) {
  auto app = EnsureGuiApplication();
  try {
    std::vector<std::string> warnings;
    FontSet fonts = ResolveFonts(ReadPrintStyle(StyleFolder(programFolder), &warnings));
    return WriteTakeoffPdf(sections, construction, fonts, out, err);
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 1;
  }
}

int WriteTakeoffPdf(const std::vector<TakeoffSection>& sections, const std::string& construction,
                    const FontSet& fonts, const std::string& out, std::ostream& err) {
  bool any = false;
  for (const TakeoffSection& s : sections) any = any || !s.Lines.empty();
  if (!any) {
    err << "zantro: 数量調書にする拾出しがありません\n";
    return 1;
  }
  auto app = EnsureGuiApplication();
  try {
    std::vector<TakeoffPage> pages = TakeoffPages(sections);
    QByteArray bytes;
    {
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      QPdfWriter writer(&buffer);
      writer.setResolution(kPdfDpi);
      writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
      writer.setCreator("Zantro");
      writer.setTitle("数量調書");
      QPainter painter(&writer);
      PreparePainter(painter, kPdfDpi);
      for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) writer.newPage();
        DrawTakeoffPage(painter, fonts, sections, construction, pages[i], static_cast<int>(i + 1),
                        static_cast<int>(pages.size()));
      }
      painter.end();
    }
    MapRadicalsToIdeographs(bytes, RadicalEquivalents(fonts));
    std::string error;
    if (!WriteFileAtomic(out, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), &error, true))
      throw FileError(out + ": " + error);
    return 0;
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 1;
  }
}

int TakeoffPdfFromWorkFiles(const std::string& programFolder, int32_t item, const std::string& out, std::ostream& err) {
  try {
    std::string construction;
    auto sections = TakeoffSections(programFolder, item, &construction);
    return WriteTakeoffPdf(sections, construction, programFolder, out, err);
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 1;
  }
}

int TakeoffPdfFromDocument(const std::string& document, const std::string& out, const std::string& programFolder,
                           std::ostream& err) {
  try {
    ScratchFolder folder("zantro-takeoff");
    OpenAndRecompute(document, folder.path(), err);
    std::string construction;
    auto sections = TakeoffSections(folder.path(), 0, &construction);
    return WriteTakeoffPdf(sections, construction, programFolder, out, err);
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace zantro::printing
