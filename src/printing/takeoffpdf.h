// The quantity statement (数量調書) as a printed form: the statement lines of each item's
// takeoff (src/takeoff/statement.h) on A4 landscape pages with the fonts of the print style.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "printing/render.h"
#include "takeoff/statement.h"

class QPainter;

namespace zantro::printing {

struct TakeoffSection {
  std::string ItemName;  // UTF-8
  std::vector<takeoff::StatementLine> Lines;
};

// The sections of the work files of folder: item n alone, or every item with takeoff records
// when n is 0. Raises FileError for a damaged takeoff file.
std::vector<TakeoffSection> TakeoffSections(const std::string& folder, int32_t item, std::string* construction);

// The construction name of the title in the work files of folder (UTF-8; empty when none).
std::string ConstructionOf(const std::string& folder);

// One page of the statement: lines [First, First + Count) of section Section.
struct TakeoffPage {
  size_t Section = 0, First = 0, Count = 0;
};
std::vector<TakeoffPage> TakeoffPages(const std::vector<TakeoffSection>& sections);

// Draws page (number of count) on a painter set up by PreparePainter: the PDF and the print
// viewer draw the statement through here, so the two show the same pages.
void DrawTakeoffPage(QPainter& painter, const FontSet& fonts, const std::vector<TakeoffSection>& sections,
                     const std::string& construction, const TakeoffPage& page, int number, int count);

// Writes the PDF (atomically) with fonts. Returns 0, or 1 after a message on err (nothing
// written when there is no measurement).
int WriteTakeoffPdf(const std::vector<TakeoffSection>& sections, const std::string& construction,
                    const FontSet& fonts, const std::string& out, std::ostream& err);

// Writes the PDF (atomically) with the style of programFolder. Returns 0, or 1 after a
// message on err (nothing written when there is no measurement or no Japanese font).
int WriteTakeoffPdf(const std::vector<TakeoffSection>& sections, const std::string& construction,
                    const std::string& programFolder, const std::string& out, std::ostream& err);

// "takeoff --pdf ITEM OUT.pdf": item ITEM of the work files of programFolder.
int TakeoffPdfFromWorkFiles(const std::string& programFolder, int32_t item, const std::string& out, std::ostream& err);
// "zantro --takeoff-pdf DOCUMENT OUT.pdf": every item of a saved document.
int TakeoffPdfFromDocument(const std::string& document, const std::string& out, const std::string& programFolder,
                           std::ostream& err);

}  // namespace zantro::printing
