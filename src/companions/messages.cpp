// The command strings companions send the window, one handler per command name. Each handler
// decodes its whole text first (messages/commands.h), so a malformed number refuses the
// command before anything of the document has changed.
#include <QLabel>
#include <algorithm>
#include <QLineEdit>

#include "companions/core/linewrite.h"
#include "companions/dispatcher.h"
#include "general/container.h"
#include "general/engine.h"
#include "general/money.h"
#include "general/errors.h"
#include "general/workcodec.h"
#include "general/workfiles.h"
#include "messages/commands.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "uzantro/fzantro.h"
#include "uzantro/sheetcommands.h"
#include "uzantro/sheetedit.h"

namespace zantro {
namespace {

void SetPlan(TFZANTRO& w, const std::string& text) {
  PlanMessage m = PlanMessage::Decode(text);
  // The settings belong to the sheet of the current item, also while the list is shown;
  // settings the sheet cannot be computed with are not taken (the frame puts them back).
  SheetEdit edit(w, UndoCopy::Skip);
  edit.Doc().Settings = m.Settings;
  edit.Commit();
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
    auto title = bytes ? DecodeTitle(*bytes) : std::nullopt;
    if (!title)
      throw FileError(*path + ": not a complete title record (" + std::to_string(sizeof(TitleRecord)) + " bytes)");
    CheckTitleSettings(doc, *title, *path);
    doc.Title = *title;
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
  w.Changed(ChangeScope::Items);  // the title's boxes
}

// The save companion chose path: the document is written there. A failed write keeps the
// document marked modified and issues no number, so closing still asks.
void SaveTo(TFZANTRO& w, const std::string& text) {
  PathMessage m = PathMessage::Decode(text);
  Document& doc = w.Doc();
  // The container takes the title and the lines from the work files. Writing them marks the
  // document modified, which only a complete container clears. When they cannot be written
  // (the program folder's disk is full), the document is written from memory all the same: the
  // open sheet as the window holds it, the other sheets from their work files.
  std::string workFiles;
  try {
    w.SaveSheetChecked("WRK");
  } catch (const FileError& e) {
    workFiles = e.what();
  }
  if (workFiles.empty()) {
    WriteContainer(w.ProgramFolder(), ToUtf8(m.Path), false, 0, *w.Dlg().StartProgress("保存しています"));
  } else {
    WriteContainer(w.ProgramFolder(), doc, ToUtf8(m.Path));
    w.Dlg().ShowNotice(QString::fromUtf8(
        ("作業ファイルを書き込めないため、画面の内容から文書を保存しました。\n" + workFiles).c_str()));
  }
  doc.DocumentModified = false;
  w.ShowDocumentPath(Q(m.Path));
  UpdateDocumentNumber(doc.Title, w.ProgramFolder(), w.Config());
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
  // The undo point of a companion's lines is taken when it starts: each line is applied in a
  // frame that takes none, so undo after the companion brings back the sheet before its first
  // line. A computed line inserted at the selection (WM_CALCDATA) is a command of its own, one
  // step with its insert. A refused write (a total that overflows, a file that cannot be
  // written) leaves neither the line nor the blank lines before it, and the grid shows the
  // document.
  SheetEdit edit(w, insert ? UndoCopy::Take : UndoCopy::Skip);
  if (insert) {
    w.Dlg().Beep();
    w.Dispatch("insert");
  }
  Document& doc = edit.Doc();
  int32_t row = std::max(1, w.SelectedRows().Top);
  doc.CurrentLine = row;
  PutDetailLine(doc, row, m);
  doc.CurrentLine = row + 1;
  edit.Commit(ChangeScope::Lines, save);
  // A companion sending line after line goes on below the last line (the window keeps a row
  // there).
  SelectNextRow(w);
}

void RegisterCompanionMessages(TFZANTRO& w) {
  auto on = [&w](Command c, std::function<void(const std::string&)> fn) {
    w.RegisterMessage(std::string(CommandName(c)), std::move(fn));
  };
  using enum Command;
  on(DataDisp, [&w](const std::string&) {
    if (!w.SheetMode()) return;
    w.ShowTotals(0);
    w.Changed(ChangeScope::Lines);
  });
  on(Plan, [&w](const std::string& text) { SetPlan(w, text); });
  on(DataWrite, [&w](const std::string& text) { WriteDetailLine(w, text, false, true); });
  on(DataWriteDisp, [&w](const std::string& text) { WriteDetailLine(w, text, false, false); });
  on(MultiWrite, [&w](const std::string& text) { WriteDetailLine(w, text, false, false); });
  on(CalcData, [&w](const std::string& text) { WriteDetailLine(w, text, true, true); });
  on(FileSelect, [&w](const std::string& text) { w.OpenDocument(Q(PathMessage::Decode(text).Path)); });
  on(Title, [&w](const std::string&) { TakeTitle(w); });
  on(UndoWrite, [&w](const std::string&) { w.TakeUndoPoint(); });
  on(AutoUp, [&w](const std::string&) { SelectPreviousRow(w); });
  on(Close, [&w](const std::string&) { w.CloseWithoutQuestion(); });
  on(SaveComp, [&w](const std::string& text) { SaveTo(w, text); });
  on(Initialize, [&w](const std::string&) { zantro::Initialize(w); });
  on(SaveRecord, [&w](const std::string&) { w.SaveSheetChecked("WRK"); });
  on(UndoRecord, [&w](const std::string&) { w.TakeUndoPoint(); });
  on(AutoDown, [&w](const std::string&) { SelectNextRow(w); });
}

}  // namespace zantro
