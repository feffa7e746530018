#include "printing/pdf.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>

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
void MapEntries(QByteArray& pdf, qsizetype from, qsizetype to, const RadicalMap& map) {
  for (qsizetype i = from; i + 5 < to; ++i) {
    if (pdf[i] != '<' || pdf[i + 5] != '>') continue;
    int code = 0;
    bool hex = true;
    for (int k = 1; k <= 4 && hex; ++k) {
      int v = HexValue(pdf[i + k]);
      hex = v >= 0;
      code = code * 16 + v;
    }
    if (!hex || code < 0x2E80 || code > 0x2FDF) continue;
    char16_t to16 = 0;
    if (auto it = map.find(static_cast<char16_t>(code)); it != map.end()) to16 = it->second;
    else if (QString kc = QString(QChar(code)).normalized(QString::NormalizationForm_KC); kc.size() == 1)
      to16 = kc.at(0).unicode();
    if (to16 == 0 || to16 == code) continue;
    QByteArray hexText = QByteArray::number(to16, 16).toUpper().rightJustified(4, '0');
    pdf.replace(i + 1, 4, hexText);
    i += 5;
  }
}

}  // namespace

void MapRadicalsToIdeographs(QByteArray& pdf, const RadicalMap& map) {
  qsizetype at = 0;
  while ((at = pdf.indexOf("begincmap", at)) >= 0) {
    qsizetype end = pdf.indexOf("endcmap", at);
    if (end < 0) return;
    MapEntries(pdf, at, end, map);
    at = end;
  }
}

RadicalMap RadicalEquivalents(const FontSet& fonts) {
  RadicalMap map;
  for (const QString& family : {fonts.Body, fonts.Title}) {
    QRawFont raw = QRawFont::fromFont(QFont(family));
    if (!raw.isValid()) continue;
    auto glyphsOf = [&raw](char16_t first, char16_t last) {
      QString text;
      for (char32_t c = first; c <= last; ++c) text += QChar(static_cast<char16_t>(c));
      return raw.glyphIndexesForString(text);
    };
    std::map<quint32, char16_t> radicalOfGlyph;
    auto radicals = glyphsOf(0x2E80, 0x2FDF);
    for (qsizetype i = 0; i < radicals.size(); ++i)
      if (radicals[i] != 0 && !map.contains(static_cast<char16_t>(0x2E80 + i)))
        radicalOfGlyph.emplace(radicals[i], static_cast<char16_t>(0x2E80 + i));
    // The common ideographs first, then extension A: the lowest code of a glyph wins.
    for (auto [first, last] : {std::pair<char16_t, char16_t>{0x4E00, 0x9FFF}, {0x3400, 0x4DBF}}) {
      auto glyphs = glyphsOf(first, last);
      for (qsizetype i = 0; i < glyphs.size(); ++i)
        if (auto it = radicalOfGlyph.find(glyphs[i]); it != radicalOfGlyph.end() && !map.contains(it->second))
          map.emplace(it->second, static_cast<char16_t>(first + i));
    }
  }
  return map;
}

QByteArray RenderPdf(const PrintModel& m, const std::vector<Page>& pages, const FontSet& fonts, Progress& progress) {
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
    const auto total = static_cast<int64_t>(pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
      StepOrCancel(progress, static_cast<int64_t>(i), total);
      if (i > 0) writer.newPage();
      renderer.Draw(painter, pages[i], count);
    }
    painter.end();
    progress.Step(total, total);
  }
  MapRadicalsToIdeographs(bytes, RadicalEquivalents(fonts));
  return bytes;
}

void WritePdf(const std::string& path, const PrintModel& m, const std::vector<Page>& pages, const FontSet& fonts,
              const OutputRules& rules, Progress& progress) {
  QByteArray bytes = RenderPdf(m, pages, fonts, progress);
  std::string error;
  OutputRules synced = rules;
  synced.Sync = true;
  if (!WriteOutput(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), &error, synced))
    throw FileError(error);
}

}  // namespace zantro::printing
