// Lines that leave and enter a sheet through files: the copy buffer "copydata.tmp" of the
// program folder, parts files (".prt") and the sheet's CSV export. A buffer or parts file is
// read and checked whole before the sheet changes, so a broken file changes nothing.
#include <QLabel>

#include "general/errors.h"
#include "general/linesfile.h"
#include "general/sheetcsv.h"
#include "platform/files.h"
#include "platform/conffile.h"
#include "platform/outputs.h"
#include "uzantro/fzantro.h"
#include "uzantro/sheetedit.h"

namespace zantro {
namespace {

const char* kPartsFilter = "ザントロパ－ツファイル(prt)|*.prt";

}  // namespace

void TFZANTRO::RegisterSheetFileCommands() {
  using enum CommandMode;
  RegisterCommand("copy", Sheet, [this](QObject*) { SheetCopy(); });
  RegisterCommand("paste1", Sheet, [this](QObject*) { SheetPaste(true); });
  RegisterCommand("paste2", Sheet, [this](QObject*) { SheetPaste(false); });
  RegisterCommand("part_save", Sheet, [this](QObject*) { SheetPartSave(); });
  RegisterCommand("part_load", Sheet, [this](QObject*) { SheetPartLoad(); });
  RegisterCommand("csv_out", Sheet, [this](QObject*) { ExportSheetCsv(); });
}

void TFZANTRO::SheetCopy() {
  WriteLinesFile(ResolveNoCase(programFolder_, kCopyBufferFile), doc_.LineList, SelectedRows());
}

void TFZANTRO::SheetPaste(bool merge) {
  // A missing buffer, one of another version or an empty one pastes nothing; a damaged one
  // raises before the sheet is touched.
  auto records = ParseLinesFile(ResolveNoCase(programFolder_, kCopyBufferFile));
  if (!records || records->empty()) return;
  grid_->setUpdatesEnabled(false);
  struct Resume {
    QWidget* w;
    ~Resume() { w->setUpdatesEnabled(true); }
  } resume{grid_};
  SheetEdit edit(*this);
  RowSelection sel = SelectedRows();
  if (merge) {
    // Merge: one blank line at the cursor takes the last record, every other record gets a
    // line inserted for it, so exactly the records are inserted.
    sel.Bottom = sel.Top;
    SelectRows(sel.Top, sel.Top);
    InsertBlankLines(doc_.LineList, sel.Top, 1);
  }
  PasteLines(doc_.LineList, *records, sel, doc_.CurrentLine, merge);
  edit.Commit();
}

void TFZANTRO::SheetPartSave() {
  auto path = dialogs_->SaveFile({"パーツファイルの保存", kPartsFilter, "prt", PartsFolder()});
  if (!path) return;
  WriteLinesFile(path->toStdString(), doc_.LineList, SelectedRows());
  dialogs_->ShowNotice("パーツファイルを保存しました。");
}

void TFZANTRO::SheetPartLoad() {
  SheetEdit edit(*this);
  auto path = dialogs_->OpenFile({"パーツファイルの読込", kPartsFilter, "prt", PartsFolder()});
  if (!path) return;
  auto records = ParseLinesFile(path->toStdString());
  if (!records) return;
  // The last record takes the line at the cursor when that line is empty; a line there that
  // holds anything moves down instead, as under a paste, so a parts load never overwrites it.
  RowSelection sel = SelectedRows();
  const int32_t top = std::max(sel.Top, 1);
  if (top <= doc_.LastLine()) {
    const LineRecord& at = doc_.LineList[top];
    if (at.FLAG != 0 || !at.NameSpec.view().empty() || !at.Unit.view().empty() || !at.Remarks.view().empty())
      InsertBlankLines(doc_.LineList, top, 1);
  }
  PasteLines(doc_.LineList, *records, sel, doc_.CurrentLine, true);
  edit.Commit();
}

QString TFZANTRO::PartsFolder() const {
  // Read at each parts command: the settings dialog may have changed it since start-up.
  std::string dir = ReadConfValue(programFolder_, kZantroConf, "[Part_Dir]").value_or(conf_.PartDir);
  return dir.empty() ? QString::fromStdString(JoinPath(programFolder_, "part")) : Q(dir);
}

void TFZANTRO::ExportSheetCsv() {
  auto path = dialogs_->SaveFileIn(FolderKind::Export, {"CSVファイルへ出力", "csvファイル|*.csv", "csv", QString()});
  if (!path) return;
  std::string error;
  if (!WriteOutput(path->toStdString(), SheetCsv(doc_.LineList), &error)) throw FileError(error);
  dialogs_->ShowNotice("CSVファイルへ出力しました。");
}

}  // namespace zantro
