// "zantro --compare OLD NEW [--xlsx OUT | --pdf OUT]" and what compare_dlg reads: a document
// file, or the open document as the window's work files hold it, each checked and recomputed
// as opening does.
#pragma once
#include <functional>
#include <iosfwd>
#include <string>
#include <utility>

#include "compare/compare.h"
#include "compare/report.h"
#include "general/container.h"

namespace zantro::compare {

// A document file (.znt2 or .znt) read, checked and recomputed. Raises FileError naming the
// file, line and field of a damaged document.
ParsedDocument ReadDocument(const std::string& path);
// The document of the work files of folder (the window saves its sheet before it starts the
// comparison). Raises FileError.
ParsedDocument ReadWorkFiles(const std::string& folder);
// Both files read at once, one on another thread; the old one's error is raised first.
std::pair<ParsedDocument, ParsedDocument> ReadBoth(const std::string& oldPath, const std::string& newPath);

// The PDF writer, which lives with the printed forms; the command takes it from its caller so
// that this module stays without Qt. Raises on failure.
using PdfWriter = std::function<void(const Result&, const Sides&, const std::string& out, const OutputRules&)>;

// args are the words after "--compare". Returns 0 when the documents are the same, 1 when they
// differ (the report on out, or the workbook or PDF written), 2 after a message starting
// "zantro:" on err (usage, an unreadable document, an output refused).
int CompareCommand(int count, char** args, std::ostream& out, std::ostream& err, const PdfWriter& pdf);

}  // namespace zantro::compare
