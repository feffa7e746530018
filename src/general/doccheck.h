// Reading a document to open, of either format, and the checks made on it in memory before
// it replaces the open one.
#pragma once
#include <string>

#include "general/container.h"
#include "platform/progress.h"

namespace zantro {

// Reads and checks the document at path. Its format is found by its content, whatever its
// extension: a container starts with its "<TITLE>" line, a version-1 file has the shape of
// one (LooksLikeVersion1); a file of neither shape is read as the extension says and refused
// there. Only regular files up to kMaxDocumentBytes are read. With a sink the data lines go
// there (a version-1 file's after it was read whole), as ParseContainer does. Raises FileError.
ParsedDocument ParseDocumentFile(const std::string& path, DataLineSink* data = nullptr);

// Recomputes every sheet and then the breakdown list of doc in memory, as opening it and
// visiting every tab would, and keeps the results in doc: the lines' amounts, each item's
// totals and the document's. So every reader of an opened document (the window, the report,
// the workbook, the printed estimate) shows the same totals, whatever stale totals the file
// stored. An amount that does not fit raises FileError
// "NAME: item N, line R (FIELD): 金額の桁があふれました (overflow)" and doc is unchanged.
// One step per item; a stop raises ProgressCancelled and doc is unchanged.
void CheckRecomputation(ParsedDocument& doc, const std::string& name, Progress& progress = NoProgress());

}  // namespace zantro
