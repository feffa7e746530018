// The editing commands of a detail sheet. Each handler reads the selection, runs its change
// (general/sheetchanges.h) inside a SheetEdit and commits; the frame takes the undo copy,
// recomputes, writes the working copy and has the window show the change. Refusals return
// before the commit, which leaves the document as it was.
#include "uzantro/sheetcommands.h"

#include <memory>

#include "general/errors.h"
#include "general/sheetchanges.h"
#include "general/textchanges.h"
#include "general/workfiles.h"
#include "messages/launches.h"
#include "platform/conffile.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "uzantro/convertitems.h"
#include "uzantro/fzantro.h"
#include "uzantro/sheetedit.h"

namespace zantro {
namespace {

const char* kAppCaption = "ザントロ-XP版-Devived2";

}  // namespace

void InstallSheetCommands(TFZANTRO& window) {
  // The window keeps the commands alive through the handlers it holds.
  std::make_shared<SheetCommands>(window)->Install();
}

void SheetCommands::Install() {
  using enum CommandMode;
  // Every handler holds the commands: they live as long as the window's tables.
  auto self = shared_from_this();
  auto word = [this, self](const char* w, std::function<void()> fn) {
    w_.RegisterCommand(w, Sheet, [self, fn = std::move(fn)](QObject*) { fn(); });
  };
  word("erase", [this] { Erase(); });
  word("insert", [this] { Insert(); });
  word("delete", [this] { Delete(); });
  word("undo", [this] { Undo(); });
  word("move_up", [this] { Move(-1); });
  word("move_down", [this] { Move(1); });
  word("swap", [this] { Swap(); });
  word("sumline", [this] { TotalLine(); });
  // The popup's "合計線入力" carries its own word for the same total line.
  word("sum_line", [this] { TotalLine(); });
  word("taxin", [this] { TaxLine(); });
  word("new_data", [this] { NewData(); });
  word("uchiwake_title", [this] { RenameItem(); });
  word("copy", [this] { Copy(); });
  word("paste1", [this] { Paste(true); });
  word("paste2", [this] { Paste(false); });
  word("part_save", [this] { PartSave(); });
  word("part_load", [this] { PartLoad(); });
  word("csv_out", [this] { ExportCsv(); });
  w_.RegisterClick("N47", [this, self] {
    if (!w_.SheetMode()) return w_.Dlg().ShowNotice("現在は内訳モードです。");
    ShowQuantitySum();
  });
  for (auto items : {MenuTextItems(), CursorTextItems()})
    for (const TextItem& t : items) w_.RegisterItemClick(t.name, [this, self](QObject* item) { TextCommandClick(item); });
  for (const BulkGroup& g : BulkGroups())
    for (const BulkItem& b : g.items)
      for (int tag = 0; tag < 3; ++tag)
        w_.RegisterItemClick(QString(b.name) + QString::number(tag), [this, self](QObject* item) { BulkCommand(item); });
}

void SelectNextRow(TFZANTRO& w) {
  int top = w.SelectedRows().Top + 1;
  w.SelectRows(top, top);
}

void SelectPreviousRow(TFZANTRO& w) {
  int top = w.SelectedRows().Top;
  if (top > 1) w.SelectRows(top - 1, top - 1);
}

int32_t SheetCommands::SelectedLine() const {
  return w_.SelectedLineNumber().value_or(w_.SelectedRows().Top);
}

void SheetCommands::Erase() {
  SheetEdit edit(w_);
  Change c = EraseLines(edit.Doc(), w_.SelectedRows());
  if (c == Change::Refused) w_.Dlg().ShowNotice("ここでは修正できないデータが含まれています");
  if (c != Change::Done) return;
  edit.Commit();
}

void SheetCommands::Insert() {
  SheetEdit edit(w_);
  if (InsertLines(edit.Doc(), w_.SelectedRows()) != Change::Done) return;
  edit.Commit();
}

void SheetCommands::Delete() {
  SheetEdit edit(w_);
  if (DeleteLines(edit.Doc(), w_.SelectedRows()) != Change::Done) return;
  edit.Commit();
}

void SheetCommands::Undo() {
  // The undo copy is read, never written: undoing twice gives the same state.
  Document& doc = w_.Doc();
  if (!FindNoCase(w_.ProgramFolder(), SheetFile(doc.CurrentItem, "UND"))) return;
  ReloadSheet(doc, w_.ProgramFolder(), "UND");
  w_.ShowTotals(0);
  w_.SaveSheetChecked("WRK");
  w_.Changed(ChangeScope::Lines);
}

void SheetCommands::Move(int direction) {
  SheetEdit edit(w_);
  int32_t line = SelectedLine();
  if ((direction < 0 ? MoveLineUp(edit.Doc(), line) : MoveLineDown(edit.Doc(), line)) != Change::Done) return;
  edit.Commit();
  if (direction < 0) SelectPreviousRow(w_);
  else SelectNextRow(w_);
}

void SheetCommands::Swap() {
  SheetEdit edit(w_);
  if (SwapWithPicked(edit.Doc(), w_.SelectedRows().Top) != Change::Done) return;
  edit.Commit();
}

void SheetCommands::TotalLine() {
  SheetEdit edit(w_);
  Change c = PutTotalLine(edit.Doc(), SelectedLine());
  if (c == Change::Refused) w_.Dlg().ShowNotice("ここへは入力できません");
  if (c != Change::Done) return;
  edit.Commit();
  SelectNextRow(w_);
}

void SheetCommands::TaxLine() {
  // A tax item in the breakdown list already taxes every sheet; the marker in the title is
  // reset from the sheet by every save, so the list itself is asked.
  if (HasTaxItem(w_.Doc())) return w_.Dlg().ShowNotice("内訳表紙にすでに消費税が入っています。");
  SheetEdit edit(w_);
  int32_t line = SelectedLine();
  bool addToCost = w_.Dlg().AskExecute("原価に提出金額と同金額の消費税分を加算しますか？", "実行", "キャンセル");
  Money rate = TextToMoney(ReadConfValue(w_.ProgramFolder(), kZantroConf, "[Tax_Value]").value_or(""));
  PutTaxLine(edit.Doc(), line, rate, addToCost);
  edit.Commit();
  SelectNextRow(w_);
}

void SheetCommands::NewData() {
  Document& doc = w_.Doc();
  std::optional<int32_t> shown = w_.SelectedLineNumber();
  int32_t line = shown.value_or(w_.SelectedRows().Top);
  doc.CurrentLine = line;
  if (line >= 1 && line <= doc.LastLine()) {
    int32_t kind = doc.LineList[line].FLAG;
    if (kind == LineKinds::Tax) return w_.Dlg().ShowNotice("このデ－タはここでは修正できません");
    if (kind >= 100 && kind <= 200 &&
        !w_.Dlg().AskExecute("数量調書からのデータです。編集すると積算データとなります。\r\n編集しますか？", "実行",
                             "キャンセル"))
      return;
  }
  if (!CompanionPresent(w_.ProgramFolder(), "rowedit_dlg.exe") || w_.RestoreCompanion("TFRowedit_Dlg")) return;
  // The lines the dialog writes are one step of undo: back to the sheet as it is now.
  w_.TakeUndoPoint();
  // The dialog is handed the number the row shows (nothing for a row past the numbered ones).
  RowEditLaunch launch{doc.CurrentItem, shown ? std::to_string(*shown) : std::string(), doc.GroupNames};
  w_.StartCompanion("rowedit_dlg.exe", launch.Encode());
}

void SheetCommands::RenameItem() {
  const Document& doc = w_.Doc();
  if (!doc.IsItem(doc.CurrentItem)) return;
  auto name = w_.Dlg().InputBox(kAppCaption, "内訳名入力", Q(doc.ItemList[doc.CurrentItem].ItemName.view()));
  if (!name) return;
  SheetEdit edit(w_);
  RenameCurrentItem(edit.Doc(), CutWhole(Sjis(*name), 100));
  edit.Commit(ChangeScope::Items);
}

void SheetCommands::ShowQuantitySum() {
  QuantitySum sum = SumQuantities(w_.Doc(), w_.SelectedRows());
  w_.Dlg().ShowNotice(QString::fromStdString("■数量集計結果\r\n原価数量:" + MoneyToPlainText(sum.Cost) + "\r\n" +
                                             "提出数量:" + MoneyToPlainText(sum.Sub)));
}

}  // namespace zantro
