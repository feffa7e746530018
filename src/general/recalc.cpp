// The batch recalculation: the open, recompute and save steps of the window, without one.
#include "general/recalc.h"

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <ostream>

#include "general/container.h"
#include "general/doccheck.h"
#include "general/engine.h"
#include "general/workfiles.h"
#include "platform/files.h"
#include "platform/signalcleanup.h"

namespace zantro {
namespace {

// The engine reports through a plain function; the batch forwards to the caller's stream.
thread_local std::ostream* messageStream = nullptr;

void PrintMessage(const std::string& utf8Text) {
  if (messageStream) *messageStream << utf8Text << "\n";
}

void Require(bool ok, const std::string& what) {
  if (!ok) throw FileError(what);
}

// The document read into folder and loaded, as the window's open leaves it before the sheets.
void OpenInto(Document& doc, const std::string& in, const std::string& folder) {
  InitDocument(doc, folder, false);
  WriteWorkFiles(ParseDocumentFile(in), folder);
  Require(LoadHead(doc, folder, "WRK"), folder + "/HEAD.WRK: cannot be read");
  doc.GroupNames = SplitGroupNames(doc.Title.Opt1Str.view());
}

void RecomputeEverySheet(Document& doc, const std::string& folder) {
  for (int32_t n = 1; n <= doc.LastItem(); ++n) {
    if (!ItemHasSheet(doc.ItemList[n].ItemKind)) continue;
    doc.CurrentItem = n;
    EnsureItemAndLoadSheet(doc, folder, n);
    RecomputeSheet(doc, PrintMessage);
    // Nothing in the private folder needs the old copies, and a rename that replaces a file
    // makes the file system flush the new one first: for a large document that flushing,
    // once per item, would cost more than all the rest of the run.
    DeleteFile(JoinPath(folder, HeadFile("WRK")));
    DeleteFile(JoinPath(folder, SheetFile(n, "WRK")));
    Require(SaveSheet(doc, folder, "WRK"), folder + ": cannot write the work files of item " + std::to_string(n));
  }
}

// The item the window shows first after opening, and with it the settings in force.
void SelectFirstItem(Document& doc, const std::string& folder) {
  doc.CurrentItem = 1;
  for (int32_t n = 1; n <= doc.LastItem(); ++n) {
    if (ItemOpensFirst(doc.ItemList[n].ItemKind)) {
      doc.CurrentItem = n;
      break;
    }
  }
  EnsureItemAndLoadSheet(doc, folder, doc.CurrentItem);
}

}  // namespace

ScratchFolder::ScratchFolder(const char* prefix) {
  std::error_code ec;
  auto base = std::filesystem::temp_directory_path(ec);
  std::string tmpl = ((ec ? std::filesystem::path("/tmp") : base) / (std::string(prefix) + "-XXXXXX")).string();
  if (!mkdtemp(tmpl.data())) throw FileError(tmpl + ": cannot create a temporary folder");
  path_ = tmpl;
  guard_.emplace(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void OpenAndRecompute(const std::string& in, const std::string& folder, std::ostream& err) {
  messageStream = &err;
  struct Reset {
    ~Reset() { messageStream = nullptr; }
  } reset;
  Document doc;
  OpenInto(doc, in, folder);
  try {
    RecomputeEverySheet(doc, folder);
    SelectFirstItem(doc, folder);
    RecomputeBreakdown(doc);
  } catch (const MoneyOverflow& e) {
    throw FileError(in + ": " + e.what());  // the engine names the item, the line and the field
  }
  Require(SaveHead(doc, folder, "WRK"), folder + ": cannot write HEAD.WRK");
}

int RecalcDocument(const std::string& in, const std::string& out, std::ostream& err) {
  try {
    ScratchFolder folder;
    OpenAndRecompute(in, folder.path(), err);
    WriteContainer(folder.path(), out, false, 0);
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace zantro
