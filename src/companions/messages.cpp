// The command strings companions send the window, one handler per command name. Each handler
// decodes its whole text first (messages/commands.h), so a malformed number refuses the
// command before anything of the document has changed.
#include <QLabel>
#include <algorithm>
#include <cstring>
#include <QLineEdit>

#include "companions/core/linewrite.h"
#include "companions/dispatcher.h"
#include "general/container.h"
#include "general/engine.h"
#include "general/money.h"
#include "general/errors.h"
#include "general/workfiles.h"
#include "messages/commands.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

inline constexpr const char* kTitleExchangeFile = "HEAD_TITLE.WRK";

void SetPlan(TFZANTRO& w, const std::string& text) {
  PlanMessage m = PlanMessage::Decode(text);
  Document& doc = w.Doc();
  CalcSettings before = doc.Settings;
  doc.Settings = m.Settings;
  try {
    w.ShowTotals(0);
  } catch (...) {
    doc.Settings = before;  // settings the sheet cannot be computed with are not taken
    w.ShowTotals(0);
    throw;
  }
  if (w.SheetMode()) {
    w.RefreshSheet();
  } else {
    // The settings belong to the sheet of the current item; the list shows its totals.
    w.ShowTotals(1);
    if (w.ShowBreakdownList) w.ShowBreakdownList();
  }
  w.SaveSheetChecked("WRK");
}

// The settings of a title record the breakdown list is computed with, checked before the
// record is taken: the addend of its overheads within 0..1 and a folding unit that is not
// negative, as a document may hold them, and the list must compute with them. A title the
// window took without this check saved a document nothing could open again.
void CheckTitleSettings(const Document& doc, const TitleRecord& title, const std::string& path) {
  if (title.CUTLEVEL < kZero || title.CUTLEVEL > kOne)
    throw FileError(path + ": [CUTLEVEL]: " + MoneyToPlainText(title.CUTLEVEL) + " is not between 0 and 1");
  if (title.KETA < 0) throw FileError(path + ": [KETA]: " + std::to_string(title.KETA) + " is negative");
  Document trial = doc;
  trial.Title.CUTLEVEL = title.CUTLEVEL;
  trial.Title.KETA = title.KETA;
  try {
    RecomputeBreakdown(trial);
  } catch (const MoneyOverflow& e) {
    throw FileError(path + ": [CUTLEVEL], [KETA]: " + e.what());
  }
}

// The title companion has written HEAD_TITLE.WRK: the title record is taken over whole, the
// window's own values are put back into it and the breakdown list's working copy written.
void TakeTitle(TFZANTRO& w) {
  Document& doc = w.Doc();
  if (auto path = FindNoCase(w.ProgramFolder(), kTitleExchangeFile)) {
    auto bytes = ReadFileBytes(*path);
    if (!bytes || bytes->size() < sizeof(TitleRecord))
      throw FileError(*path + ": not a complete title record (" + std::to_string(sizeof(TitleRecord)) + " bytes)");
    TitleRecord title;
    std::memcpy(static_cast<void*>(&title), bytes->data(), sizeof(TitleRecord));
    SanitizeRecord(title);
    CheckTitleSettings(doc, title, *path);
    doc.Title = title;
  }
  doc.Title.Opt1Str.set(JoinGroupNames(doc.GroupNames));
  doc.Title.Opt2Str.set(",,,");
  doc.Title.Opt1Int = static_cast<int32_t>(doc.Layout);
  doc.Title.Opt2Int = doc.TaxSeen;
  if (ItemRecord* item = doc.CurrentSheetItem()) {
    item->ALLNTOTAL = doc.Sheet.Cost;
    item->ALLGTOTAL = doc.Sheet.Sub;
    item->SetSettings(doc.Settings);
  }
  if (!SaveHead(doc, w.ProgramFolder(), "WRK"))
    throw FileError(WorkFileNotWritten(JoinPath(w.ProgramFolder(), HeadFile("WRK"))));
  const TitleRecord& t = doc.Title;
  w.Label("ATPL")->setText(Q(t.ATESAKI_1.view()));
  w.Label("WHPL")->setText(Q(t.CONSTRACT_1.view()));
  w.Label("uchiwakebox")->setText(Q(t.WHERE.view()));
  w.Label("limit_date")->setText(Q(t.ULIMIT.view()));
  w.Label("trade")->setText(Q(t.TRADE.view()));
}

// The save companion chose path: the document is written there. A failed write keeps the
// document marked modified and issues no number, so closing still asks.
void SaveTo(TFZANTRO& w, const std::string& text) {
  PathMessage m = PathMessage::Decode(text);
  Document& doc = w.Doc();
  // The container takes the title and the lines from the work files. Writing them marks the
  // document modified, which only a complete container clears.
  w.SaveSheetChecked("WRK");
  WriteContainer(w.ProgramFolder(), ToUtf8(m.Path), false, 0);
  doc.DocumentModified = false;
  if (auto* name = qobject_cast<QLineEdit*>(w.Component("DocName"))) name->setText(Q(m.Path));
  UpdateDocumentNumber(doc.Title, w.ProgramFolder(), w.Config());
}

// Reformats the rows whose line differs from shown: the written line, the blank lines before
// it and every line whose amounts the totals changed (ranges, overheads, tax, totals).
void RedrawChangedRows(TFZANTRO& w, const Document& shown) {
  const auto& now = w.Doc().LineList;
  const auto& old = shown.LineList;
  for (size_t r = 1; r < now.size(); ++r)
    if (r >= old.size() || std::memcmp(&now[r], &old[r], sizeof(LineRecord)) != 0) w.FormatRow(static_cast<int>(r));
}

void Initialize(TFZANTRO& w) {
  w.NewDocument();
  w.RebuildItemTabs();
  w.EnterSheetMode();
  w.SelectRows(1, 1);
  w.Doc().DocumentModified = false;
}

}  // namespace

void WriteDetailLine(TFZANTRO& w, const std::string& text, bool insert, bool save) {
  if (!w.SheetMode()) return;
  DetailLineMessage m = DetailLineMessage::Decode(text);
  Document& doc = w.Doc();
  Document before = doc;
  try {
    if (insert) {
      w.Dlg().Beep();
      w.SheetInsert();
    }
    Document shown = insert ? doc : before;
    int32_t row = std::max(1, w.SelectedRows().Top);
    doc.CurrentLine = row;
    PutDetailLine(doc, row, m);
    w.ShowTotals(0);
    RedrawChangedRows(w, shown);
    doc.CurrentLine = row + 1;
    doc.DocumentModified = true;
    if (save) w.SaveSheetChecked("WRK");
    else w.MarkSheetUnsaved();
  } catch (...) {
    // Nothing of a write that fails stays: neither the line nor the blank lines before it.
    doc = before;
    if (insert) w.SaveSheetChecked("WRK");
    w.ShowTotals(0);
    w.RefreshSheet();
    throw;
  }
  // A companion sending line after line goes on below the grid's last row.
  if (doc.CurrentLine >= w.Grid()->RowCount()) w.AddGridRows(10);
  w.SelectNextRow();
}

void RegisterCompanionMessages(TFZANTRO& w) {
  auto on = [&w](Command c, std::function<void(const std::string&)> fn) {
    w.RegisterMessage(std::string(CommandName(c)), std::move(fn));
  };
  using enum Command;
  on(DataDisp, [&w](const std::string&) {
    if (!w.SheetMode()) return;
    w.ShowTotals(0);
    w.RefreshSheet();
  });
  on(Plan, [&w](const std::string& text) { SetPlan(w, text); });
  on(DataWrite, [&w](const std::string& text) { WriteDetailLine(w, text, false, true); });
  on(DataWriteDisp, [&w](const std::string& text) { WriteDetailLine(w, text, false, false); });
  on(MultiWrite, [&w](const std::string& text) { WriteDetailLine(w, text, false, false); });
  on(CalcData, [&w](const std::string& text) { WriteDetailLine(w, text, true, true); });
  on(FileSelect, [&w](const std::string& text) { w.OpenDocument(Q(PathMessage::Decode(text).Path)); });
  on(Title, [&w](const std::string&) { TakeTitle(w); });
  on(UndoWrite, [&w](const std::string&) { w.SaveSheetChecked("UND"); });
  on(AutoUp, [&w](const std::string&) { w.SelectPreviousRow(); });
  on(Close, [&w](const std::string&) { w.CloseWithoutQuestion(); });
  on(SaveComp, [&w](const std::string& text) { SaveTo(w, text); });
  on(Initialize, [&w](const std::string&) { zantro::Initialize(w); });
  on(SaveRecord, [&w](const std::string&) { w.SaveSheetChecked("WRK"); });
  on(UndoRecord, [&w](const std::string&) { w.SaveSheetChecked("UND"); });
  on(AutoDown, [&w](const std::string&) { w.SelectNextRow(); });
}

}  // namespace zantro
