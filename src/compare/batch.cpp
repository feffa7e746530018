#include "compare/batch.h"

#include <cstring>
#include <exception>
#include <future>
#include <ostream>

#include "general/doccheck.h"
#include "general/errors.h"

namespace zantro::compare {

ParsedDocument ReadDocument(const std::string& path) {
  ParsedDocument doc = ParseDocumentFile(path);
  CheckRecomputation(doc, path);
  return doc;
}

ParsedDocument ReadWorkFiles(const std::string& folder) {
  ParsedDocument doc = ParseContainerText(ContainerText(folder, false, 0), folder + "/HEAD.WRK");
  CheckRecomputation(doc, folder + "/HEAD.WRK");
  return doc;
}

std::pair<ParsedDocument, ParsedDocument> ReadBoth(const std::string& oldPath, const std::string& newPath) {
  auto old = std::async(std::launch::async, [&oldPath] { return ReadDocument(oldPath); });
  ParsedDocument now;
  std::exception_ptr newError;
  try {
    now = ReadDocument(newPath);
  } catch (...) {
    newError = std::current_exception();
  }
  ParsedDocument before = old.get();
  if (newError) std::rethrow_exception(newError);
  return {std::move(before), std::move(now)};
}

int CompareCommand(int count, char** args, std::ostream& out, std::ostream& err, const PdfWriter& pdf) {
  const bool withFile = count == 4 && (std::strcmp(args[2], "--xlsx") == 0 || std::strcmp(args[2], "--pdf") == 0);
  if (count != 2 && !withFile) {
    err << "zantro: usage: zantro --compare OLD NEW [--xlsx OUT | --pdf OUT]\n";
    return 2;
  }
  try {
    const OutputRules rules{{args[0], args[1]}, true};
    if (withFile) {
      OutputPlace place;
      if (std::string error; !PlaceOutput(args[3], rules, &place, &error)) throw FileError(error);
    }
    // The two documents are read side by side, one on each core.
    auto [oldDoc, newDoc] = ReadBoth(args[0], args[1]);
    Result r = Compare(oldDoc, newDoc);
    const Sides sides{args[0], args[1]};
    if (!withFile) {
      out << ReportText(r) << std::flush;
      if (!out) throw FileError("standard output: the report cannot be written");
    } else if (std::strcmp(args[2], "--xlsx") == 0) {
      WriteWorkbook(r, sides, args[3], rules);
    } else {
      if (!pdf) throw FileError("--pdf: this program prints no PDF");
      pdf(r, sides, args[3], rules);
    }
    return r.Differs() ? 1 : 0;
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 2;
  }
}

}  // namespace zantro::compare
