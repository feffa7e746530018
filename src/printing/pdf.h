// The estimate as a PDF file: every page drawn by PageRenderer on a QPdfWriter, the fonts
// embedded, the file written atomically.
#pragma once
#include <QByteArray>
#include <string>
#include <vector>

#include "printing/layout.h"
#include "printing/render.h"

namespace zantro::printing {

// Draws pages into a PDF document held in memory.
QByteArray RenderPdf(const PrintModel& m, const std::vector<Page>& pages, const FontSet& fonts);

// RenderPdf written to path (temporary file, then rename). Raises FileError.
void WritePdf(const std::string& path, const PrintModel& m, const std::vector<Page>& pages, const FontSet& fonts);

// Qt's PDF writer maps a glyph back to the lowest code point that uses it, and Japanese fonts
// draw a Kangxi radical and its ideograph with one glyph: a reader copying "見積" from the file
// would get the radical "⾒". This rewrites each such entry of the text maps to the ideograph.
// Every entry keeps its length, so the offsets of the file stay valid.
void MapRadicalsToIdeographs(QByteArray& pdf);

}  // namespace zantro::printing
