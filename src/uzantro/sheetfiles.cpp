// Lines that leave and enter a sheet through files: the copy buffer "copydata.tmp" of the
// program folder, parts files (".prt") and the sheet's CSV export. A buffer or parts file is
// read and checked whole before the sheet changes, so a broken file changes nothing.
#include "general/errors.h"
#include "general/linesfile.h"
#include "general/sheetcsv.h"
#include "platform/conffile.h"
#include "platform/files.h"
#include "platform/outputs.h"
#include "uzantro/fzantro.h"
#include "uzantro/sheetcommands.h"
#include "uzantro/sheetedit.h"

namespace zantro {
namespace {

const char* kPartsFilter = "ザントロパ－ツファイル(prt)|*.prt";

}  // namespace

void SheetCommands::Copy() {
  WriteLinesFile(ResolveNoCase(w_.ProgramFolder(), kCopyBufferFile), w_.Doc().LineList, w_.SelectedRows());
}

void SheetCommands::Paste(bool merge) {
  // A missing buffer, one of another version or an empty one pastes nothing; a damaged one
  // raises before the sheet is touched.
  auto records = ParseLinesFile(ResolveNoCase(w_.ProgramFolder(), kCopyBufferFile));
  if (!records || records->empty()) return;
  SheetEdit edit(w_);
  Document& doc = edit.Doc();
  RowSelection sel = w_.SelectedRows();
  if (merge) {
    // Merge: one blank line at the cursor takes the last record, every other record gets a
    // line inserted for it, so exactly the records are inserted.
    sel.Bottom = sel.Top;
    w_.SelectRows(sel.Top, sel.Top);
    InsertBlankLines(doc.LineList, sel.Top, 1);
  }
  PasteLines(doc.LineList, *records, sel, doc.CurrentLine, merge);
  edit.Commit();
}

void SheetCommands::PartSave() {
  auto path = w_.Dlg().SaveFile({"パーツファイルの保存", kPartsFilter, "prt", PartsFolder()});
  if (!path) return;
  WriteLinesFile(path->toStdString(), w_.Doc().LineList, w_.SelectedRows());
  w_.Dlg().ShowNotice("パーツファイルを保存しました。");
}

void SheetCommands::PartLoad() {
  SheetEdit edit(w_);
  auto path = w_.Dlg().OpenFile({"パーツファイルの読込", kPartsFilter, "prt", PartsFolder()});
  if (!path) return;
  auto records = ParseLinesFile(path->toStdString());
  if (!records) return;
  // The last record takes the line at the cursor when that line is empty; a line there that
  // holds anything moves down instead, as under a paste, so a parts load never overwrites it.
  Document& doc = edit.Doc();
  RowSelection sel = w_.SelectedRows();
  const int32_t top = std::max(sel.Top, 1);
  if (top <= doc.LastLine()) {
    const LineRecord& at = doc.LineList[top];
    if (at.FLAG != 0 || !at.NameSpec.view().empty() || !at.Unit.view().empty() || !at.Remarks.view().empty())
      InsertBlankLines(doc.LineList, top, 1);
  }
  PasteLines(doc.LineList, *records, sel, doc.CurrentLine, true);
  edit.Commit();
}

QString SheetCommands::PartsFolder() const {
  // Read at each parts command: the settings dialog may have changed it since start-up.
  const std::string& program = w_.ProgramFolder();
  std::string dir = ReadConfValue(program, kZantroConf, "[Part_Dir]").value_or(w_.Config().PartDir);
  return dir.empty() ? QString::fromStdString(JoinPath(program, "part")) : Q(dir);
}

void SheetCommands::ExportCsv() {
  auto path = w_.Dlg().SaveFileIn(FolderKind::Export, {"CSVファイルへ出力", "csvファイル|*.csv", "csv", QString()});
  if (!path) return;
  std::string error;
  if (!WriteOutput(path->toStdString(), SheetCsv(w_.Doc().LineList), &error)) throw FileError(error);
  w_.Dlg().ShowNotice("CSVファイルへ出力しました。");
}

}  // namespace zantro
