// The estimate as a PDF file: every page drawn by PageRenderer on a QPdfWriter, the fonts
// embedded, the file written atomically.
#pragma once
#include <QByteArray>
#include <map>
#include <string>
#include <vector>

#include "platform/outputs.h"
#include "platform/progress.h"
#include "printing/layout.h"
#include "printing/render.h"

namespace zantro::printing {

// Draws pages into a PDF document held in memory, a step per page; a stop raises
// ProgressCancelled.
QByteArray RenderPdf(const PrintModel& m, const std::vector<Page>& pages, const FontSet& fonts,
                     Progress& progress = NoProgress());

// RenderPdf written to path (temporary file, then rename). Raises FileError, or
// ProgressCancelled before path is touched.
void WritePdf(const std::string& path, const PrintModel& m, const std::vector<Page>& pages, const FontSet& fonts,
              const OutputRules& rules = {}, Progress& progress = NoProgress());

// Qt's PDF writer maps a glyph back to the lowest code point that uses it, and Japanese fonts
// draw a radical (U+2E80..U+2FDF) and its ideograph with one glyph: a reader copying "見積"
// or "長" from the file would get "⾒" or "⻑". RadicalMap finds, for the radicals a font draws,
// the ideograph drawn with the same glyph; MapRadicalsToIdeographs rewrites the text-map
// entries of the PDF with it (a radical the map lacks takes its compatibility form). Every
// entry keeps its length, so the offsets of the file stay valid.
using RadicalMap = std::map<char16_t, char16_t>;
RadicalMap RadicalEquivalents(const FontSet& fonts);
void MapRadicalsToIdeographs(QByteArray& pdf, const RadicalMap& map);

}  // namespace zantro::printing
