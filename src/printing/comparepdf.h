// The comparison as a printed form, 変更対比表: the rows of compare/report.h on A4 landscape
// pages, drawn with the print style's fonts and the estimate's page geometry.
#pragma once
#include <string>

#include "compare/report.h"
#include "platform/outputs.h"
#include "printing/render.h"

class QPainter;

namespace zantro::printing {

// The number of pages the rows and the two totals rows take.
int ComparePageCount(const compare::Result& r);

// Draws page (from 0) on a painter set up by PreparePainter.
void DrawComparePage(QPainter& painter, const FontSet& fonts, const std::string& company, const compare::Result& r,
                     const compare::Sides& sides, int page);

// Writes the PDF to out by rules, with the style of programFolder. Raises FileError (no
// Japanese font, a refused or failed write).
void WriteComparePdf(const compare::Result& r, const compare::Sides& sides, const std::string& programFolder,
                     const std::string& out, const OutputRules& rules);

}  // namespace zantro::printing
