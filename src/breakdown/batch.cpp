#include "breakdown/batch.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <optional>

#include "breakdown/listtext.h"
#include "breakdown/listworkbook.h"
#include "general/engine.h"
#include "general/errors.h"
#include "general/doccheck.h"
#include "general/recalc.h"
#include "general/workfiles.h"
#include "platform/files.h"
#include "platform/signalcleanup.h"

namespace zantro {
namespace {

void ToStderr(const std::string& text) { std::cerr << "zantro: " << text << "\n"; }

}  // namespace

Document OpenForReport(const std::string& path, ParsedDocument* parsedOut) {
  ParsedDocument parsed = ParseDocumentFile(path);
  // Every sheet is computed, as opening the document does: a stale item total in the file
  // is not reported, and an amount that does not fit refuses the document.
  CheckRecomputation(parsed, path);
  Document doc;
  doc.Title = parsed.Title;
  doc.ItemList.assign(1, ItemRecord{});
  doc.ItemList.insert(doc.ItemList.end(), parsed.Items.begin(), parsed.Items.end());
  if (doc.LastItem() < 1) doc.ItemList.push_back(NewItem());
  doc.ItemCount = doc.LastItem();
  doc.Layout = doc.Title.Opt1Int == 1 ? ColumnLayout::Ten : ColumnLayout::Nine;
  doc.GroupNames = SplitGroupNames(doc.Title.Opt1Str.view());
  doc.CurrentItem = FirstShownItem(doc);
  doc.Settings = SettingsShownFirst(doc);
  if (auto lines = parsed.Lines.find(doc.CurrentItem); lines != parsed.Lines.end())
    for (LineRecord line : lines->second) {
      line.ItemNo = 0;
      doc.LineList.push_back(line);
    }
  ShowTotals(doc, 0, &ToStderr);
  if (parsedOut) *parsedOut = std::move(parsed);
  return doc;
}

int PrintBreakdownReport(const std::string& path, const std::string& reductionText, std::ostream& out,
                         std::ostream& err) {
  Document doc;
  try {
    doc = OpenForReport(path);
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 1;
  }
  auto line = [&](const ListRowTexts& t) {
    for (size_t c = 0; c < t.size(); ++c) out << (c ? "\t" : "") << t[c];
    out << "\n";
  };
  line(ListCaptions());
  for (int32_t r = 1; r <= doc.LastItem(); ++r) line(ListRowTextsFor(doc, r, reductionText));
  TotalsTexts t = TotalsTextsFor(doc.Sheet, doc.Breakdown, false);
  out << "\t原　価\t提出金額\t差　額\t利益率\n";
  out << "総 合 計\t" << t.NTOTALBOX << "\t" << t.GTOTALBOX << "\t" << t.nsagaku << "\t" << t.AV2PL << "\n";
  return 0;
}

int ExportBreakdownWorkbook(const std::string& path, const std::string& out, std::ostream& err) {
  // A third of the bar for laying out the work files, a third for reading them back, a third for
  // the worksheets; the message waits for the progress line to be cleared.
  auto progress = BatchProgress("zantro --xlsx");
  std::string failure;
  try {
    const OutputRules rules{{path}, true};
    OutputPlace place;
    if (std::string error; !PlaceOutput(out, rules, &place, &error)) throw FileError(error);
    ParsedDocument parsed;
    Document doc = OpenForReport(path, &parsed);
    std::string text;
    {
      ScratchFolder scratch("zantro-xlsx");
      ProgressStage laying(*progress, 0, 1000, 3000);
      WriteWorkFiles(parsed, scratch.path(), laying);
      // The work files carry the totals of the recomputation, as the window's would.
      parsed.Title = doc.Title;
      if (!SaveHead(doc, scratch.path(), "WRK")) throw FileError(scratch.path() + ": HEAD.WRK cannot be written");
      ProgressStage reading(*progress, 1000, 1000, 3000);
      text = ContainerText(scratch.path(), false, 0, reading);
    }
    ProgressStage building(*progress, 2000, 1000, 3000);
    WriteBreakdownWorkbook(text, out, rules, building);
  } catch (const std::exception& e) {
    failure = e.what();
  }
  progress.reset();
  if (failure.empty()) return 0;
  err << "zantro: " << failure << "\n";
  return 1;
}

}  // namespace zantro
