#include "printing/pdf.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "general/errors.h"
#include "platform/files.h"

namespace zantro::printing {
namespace {

constexpr int kPdfDpi = 600;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Rewrites the 4-digit entries "<XXXX>" between from and to.
void MapEntries(QByteArray& pdf, qsizetype from, qsizetype to) {
  for (qsizetype i = from; i + 5 < to; ++i) {
    if (pdf[i] != '<' || pdf[i + 5] != '>') continue;
    int code = 0;
    bool hex = true;
    for (int k = 1; k <= 4 && hex; ++k) {
      int v = HexValue(pdf[i + k]);
      hex = v >= 0;
      code = code * 16 + v;
    }
    // Kangxi radicals; their compatibility form is the unified ideograph.
    if (!hex || code < 0x2F00 || code > 0x2FD5) continue;
    QString ideograph = QString(QChar(code)).normalized(QString::NormalizationForm_KC);
    if (ideograph.size() != 1) continue;
    QByteArray hexText = QByteArray::number(ideograph.at(0).unicode(), 16).toUpper().rightJustified(4, '0');
    pdf.replace(i + 1, 4, hexText);
    i += 5;
  }
}

}  // namespace

void MapRadicalsToIdeographs(QByteArray& pdf) {
  qsizetype at = 0;
  while ((at = pdf.indexOf("begincmap", at)) >= 0) {
    qsizetype end = pdf.indexOf("endcmap", at);
    if (end < 0) return;
    MapEntries(pdf, at, end);
    at = end;
  }
}

QByteArray RenderPdf(const PrintModel& m, const std::vector<Page>& pages, const FontSet& fonts) {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    writer.setCreator("Zantro");
    writer.setTitle(QString::fromStdString(m.Construction.empty() ? "御見積書" : "御見積書 " + m.Construction));
    QPainter painter(&writer);
    PreparePainter(painter, kPdfDpi);
    PageRenderer renderer(m, fonts);
    int count = NumberedPageCount(pages);
    for (size_t i = 0; i < pages.size(); ++i) {
      if (i > 0) writer.newPage();
      renderer.Draw(painter, pages[i], count);
    }
    painter.end();
  }
  MapRadicalsToIdeographs(bytes);
  return bytes;
}

void WritePdf(const std::string& path, const PrintModel& m, const std::vector<Page>& pages, const FontSet& fonts) {
  QByteArray bytes = RenderPdf(m, pages, fonts);
  std::string error;
  if (!WriteFileAtomic(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), &error, true))
    throw FileError(path + ": " + error);
}

}  // namespace zantro::printing
