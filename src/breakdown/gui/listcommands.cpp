// The commands that restructure the breakdown list (copy, paste, insert, delete, hierarchy,
// transfer), its undo, the double click on a row and the names of items. Each command checks
// first (a refusal is a notice and changes nothing), then runs its change
// (breakdown/listchanges.h) in a ListEdit and commits.

#include "breakdown/gui/breakdownlist.h"
#include "breakdown/gui/listedit.h"
#include "breakdown/listchanges.h"
#include "breakdown/listcsv.h"
#include "general/editframe.h"
#include "general/errors.h"
#include "general/movejournal.h"
#include "general/workfiles.h"
#include "messages/launches.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

const char* kPromptCaption = "ザントロ-XP版-Devived2";

QString NameOf(const Document& doc, int32_t row) { return doc.IsItem(row) ? Q(doc.ItemList[row].ItemName.view()) : QString(); }

}  // namespace

void BreakdownList::Copy() {
  const Document& doc = w_.Doc();
  int32_t top = Selection().Top;
  if (!doc.IsItem(top)) return Notice("ここには複写するデ－タがありません。");
  if (doc.ItemList[top].ItemKind == 20) return Notice("階層元はコピーできません");
  Notice("工 種 :" + NameOf(doc, top) + "を複写しました。");
  copySource_ = top;
}

void BreakdownList::Paste() {
  Document& doc = w_.Doc();
  int32_t t = Selection().Top;
  if (doc.IsItem(t) && doc.ItemList[t].ItemKind == 20) return Notice("階層元に貼り付ける事はできません");
  // Before any copy, or when the copied row is gone, there is nothing to paste.
  if (!doc.IsItem(copySource_)) return Notice("貼り付けるデ－タがありません。先に複写して下さい。");
  QString target = doc.IsItem(t) ? NameOf(doc, t) : QString::number(t);
  if (!Ask(NameOf(doc, copySource_) + " を" + target + ":に貼付ますか？")) return;
  ListEdit edit(w_);
  edit.Doc().CurrentItem = t;
  PasteItem(edit.Doc(), edit.Files(), copySource_, t);
  edit.Commit();
}

void BreakdownList::Insert() {
  Document& doc = w_.Doc();
  int32_t p = Selection().Top;
  if (!doc.IsItem(p)) return Notice("ここに割込することはできません。");
  if (!Ask(NameOf(doc, p) + "以降１つずらしますか？")) return;
  ListEdit edit(w_);
  edit.Doc().CurrentItem = p;
  InsertItemRow(edit.Doc(), edit.Files(), p);
  edit.Commit();
}

void BreakdownList::Delete() {
  Document& doc = w_.Doc();
  int32_t p = Selection().Top;
  if (!doc.IsItem(p)) return Notice("ここには削除する工種がありません。");
  if (!Ask(NameOf(doc, p) + " を削除しますか？")) return;
  ListEdit edit(w_);
  edit.Doc().CurrentItem = p;
  DeleteItemRow(edit.Doc(), edit.Files(), p);
  edit.Commit();
}

void BreakdownList::Hierarchy() {
  Document& doc = w_.Doc();
  RowSelection sel = Selection();
  switch (CheckHierarchyRows(doc, sel.Top, sel.Bottom)) {
    case HierarchyRefusal::Unnamed:
      return Notice("まだ名称の決まっていない項目があります。");
    case HierarchyRefusal::SummaryRow:
      return Notice("合計、小計、諸経費、減額等は階層に含める事はできません");
    case HierarchyRefusal::None:
      break;
  }
  if (!Ask("ここに階層を作成しますか?")) return;
  auto name = w_.Dlg().InputBox(kPromptCaption, "階層元の名称を入力してください", "");
  if (!name) return;
  int32_t code = ParentCodeFor(doc, sel.Top);
  if (code == 0) return Notice("これ以上階層を深くする事はできません");
  ListEdit edit(w_);
  MakeHierarchy(edit.Doc(), edit.Files(), sel.Top, sel.Bottom, Sjis(*name), code);
  edit.Commit();
  w_.SelectRows(sel.Top + 1, sel.Bottom + 1);
}

void BreakdownList::TransferStart() {
  int32_t top = Selection().Top;
  if (HoldsCostingData(w_.Doc(), top)) return Notice("すでに積算デ－タが存在しますのでこの場所には転送できません");
  StartSingle("Tfdocfetch_Dlg", "docfetch_dlg.exe", EditionLaunch::DocFetch(w_.ProgramEdition()).Encode(),
              "転送ダイアログ");
}

void BreakdownList::Undo() {
  Document& doc = w_.Doc();
  const std::string& folder = w_.ProgramFolder();
  Document undone = doc;
  if (!LoadHead(undone, folder, "UND")) return;
  // The detail files the last command moved come back with the list that names them (or
  // neither does): their moves are finished once HEAD.WRK is written, and a failed write
  // leaves them to the next start, which undoes them under the unchanged list.
  RestoreKeptFiles(folder, PutBack::LeaveJournal);
  doc = std::move(undone);
  if (!doc.IsItem(doc.CurrentItem)) doc.CurrentItem = doc.LastItem();
  FollowCurrentItem(doc, folder);
  w_.ShowTotals(1);
  if (!SaveHead(doc, folder, "WRK")) throw FileError(WorkFileNotWritten(folder + "/" + HeadFile("WRK")));
  FinishMoves(folder);
  w_.Changed(ChangeScope::Items);
}

void BreakdownList::OpenRow() {
  Document& doc = w_.Doc();
  int32_t r = Selection().Top;
  int32_t kind = doc.IsItem(r) ? doc.ItemList[r].ItemKind : ItemKinds::Normal;
  const char* prompt = nullptr;
  if (InRange(kind, 20, 29)) prompt = "階層元の名称を入力してください";
  else if (InRange(kind, 81, 84)) prompt = "諸経費の名称を入力してください";
  else if (kind == ItemKinds::Reduction || kind == ItemKinds::Subtotal || kind == ItemKinds::Total) prompt = "名称を入力してください";
  else if (kind == ItemKinds::Note) prompt = "コメントを入力してください";
  else if (kind == ItemKinds::Tax) return Notice("この項目は編集できません。");
  if (!prompt) {
    // An item with a sheet, or a row past the end: its sheet opens.
    if (!doc.IsItem(r)) {
      ListEdit edit(w_, UndoCopy::Skip);
      ExtendList(edit.Doc(), r);
      edit.Commit();
    }
    return w_.OpenItem(r);
  }
  auto name = w_.Dlg().InputBox(kPromptCaption, prompt, NameOf(doc, r));
  if (!name) return;
  // The rename writes the working copy: a later tab click reloads the list from it.
  ListEdit edit(w_, UndoCopy::Skip);
  edit.Doc().ItemList[r].ItemName.set(Sjis(*name));
  edit.Commit();
}

void BreakdownList::NameEntry() {
  Document& doc = w_.Doc();
  int32_t r = Selection().Top;
  auto name = w_.Dlg().InputBox(kPromptCaption, "内訳名入力", NameOf(doc, r));
  if (!name) return;
  ListEdit edit(w_);
  ExtendList(edit.Doc(), r);
  edit.Doc().ItemList[r].ItemName.set(Sjis(*name));
  edit.Commit();
}

void BreakdownList::NameListStart(bool sheetUndo) {
  if (sheetUndo) w_.TakeUndoPoint();
  StartSingle("TfPICKDATA_Dlg", "pickdata_dlg.exe", PickDataLaunch::BreakdownNames(ToCp932(w_.ProgramFolder())).Encode(),
              "選択ダイアログ");
}

void BreakdownList::CsvOut() {
  auto path = w_.Dlg().SaveFileIn(FolderKind::Export, {"CSV出力", "csvファイル|*.csv", "csv", QString()});
  if (!path) return;
  WriteBreakdownCsv(w_.Doc(), path->toStdString(), *w_.Dlg().StartProgress("CSVに出力しています"));
}

}  // namespace zantro
