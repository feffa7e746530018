// The summary lines of the breakdown list: subtotal, grand total, reduction, consumption tax,
// overhead and note (the last two finished by their companions' replies), remarks and the
// digit settings of the breakdown-level overheads.
#include "breakdown/gui/breakdownlist.h"
#include "breakdown/gui/listedit.h"
#include "breakdown/listchanges.h"
#include "general/errors.h"
#include "messages/launches.h"
#include "platform/conffile.h"
#include "platform/cp932.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

const char* kCaption = "ザントロ";
const char* kNamePrompt = "名称を入力して下さい";

std::optional<std::string> Conf(const TFZANTRO& w, const char* key) {
  return ReadConfValue(w.ProgramFolder(), kZantroConf, key);
}

}  // namespace

void BreakdownList::Subtotal() {
  RowSelection sel = Selection();
  if (!Ask("小計を作成しますか?")) return;
  auto name = w_.Dlg().InputBox(kCaption, kNamePrompt, "[小    計]");
  if (!name) return;
  ListEdit edit(w_);
  PutSubtotal(edit.Doc(), edit.Files(), sel.Top, sel.Bottom, Sjis(*name));
  edit.Commit();
}

void BreakdownList::GrandTotal() {
  // The total goes below the last row, which is selected before any question; the list
  // grows only when the total is made.
  int32_t row = w_.Doc().LastItem() + 1;
  w_.EnsureGridRow(row);
  w_.SelectRows(row, row);
  if (!Ask("合計を作成しますか?")) return;
  auto name = w_.Dlg().InputBox(kCaption, kNamePrompt, "【総　合　計】");
  if (!name) return;
  ListEdit edit(w_, UndoCopy::Skip);
  ExtendList(edit.Doc(), row);
  PutGrandTotal(edit.Doc(), row, Sjis(*name));
  edit.Commit();
}

void BreakdownList::Reduction() {
  const Document& doc = w_.Doc();
  RowSelection sel = Selection();
  // The row written is the last selected one: it may not hold costing data either.
  if (HoldsCostingData(doc, sel.Top) || HoldsCostingData(doc, sel.Bottom))
    return Notice("すでに積算デ－タが存在しますので減額にはできません");
  if (Ask("ここに減額を作成しますか?")) {
    auto name = w_.Dlg().InputBox(kCaption, kNamePrompt, "減   額");
    if (!name) return;
    auto amountText = w_.Dlg().InputBox(kCaption, "金額を－抜きで入力して下さい", "0");
    if (!amountText) return;
    // Not a number: nothing changes; "1,200" and full-width digits are numbers.
    Money amount = TextToMoney(ToCp932(TypedNumber(amountText->trimmed().toStdString())));
    bool costToo = Conf(w_, "[CALC_OPT5]").value_or("") == "TRUE";
    ListEdit edit(w_);
    PutReduction(edit.Doc(), sel.Bottom, Sjis(*name), amount, costToo);
    edit.Commit();
    return;
  }
  ListEdit edit(w_, UndoCopy::Skip);
  edit.Commit();
}

void BreakdownList::Tax() {
  const Document& doc = w_.Doc();
  RowSelection sel = Selection();
  // Any sheet that carries tax counts, not only the marker a later sheet edit may have reset.
  if (AnySheetTax(doc)) return Notice("明細に既に消費税が入っていますので重複となります");
  if (HoldsCostingData(doc, sel.Top) || HoldsCostingData(doc, sel.Bottom))
    return Notice("すでに積算デ－タが存在しますので消費税にはできません");
  if (!Ask("ここに消費税を作成しますか?")) return;
  std::optional<Money> rate;
  if (auto text = Conf(w_, "[Tax_Value]"); text && !text->empty()) {
    try {
      rate = StrToCurr(*text);
    } catch (const ConversionError&) {
    }
  }
  if (!rate) return Notice("環境設定の消費税率([Tax_Value])が数値ではありません。環境設定で消費税率を入力して下さい。");
  ListEdit edit(w_);
  bool addToCost = w_.Dlg().AskExecute("原価に提出金額と同金額の消費税分を加算しますか？", "加算する", "加算しない");
  PutTaxItem(edit.Doc(), sel.Bottom, *rate, addToCost);
  edit.Commit();
}

void BreakdownList::OverheadStart() {
  const Document& doc = w_.Doc();
  int32_t top = Selection().Top;
  if (top == 1) return Notice("先頭行に諸経費を入れる事はできません。");
  if (HoldsCostingData(doc, top) && !InRange(doc.ItemList[top].ItemKind, 81, 84))
    return Notice("すでに積算デ－タが存在しますので経費にはできません");
  StartSingle("TfOVERHEAD_Dlg", "overhead_dlg.exe", EditionLaunch::Overhead(w_.ProgramEdition()).Encode(),
              "諸経費ダイアログ");
}

void BreakdownList::NoteStart() {
  int32_t top = Selection().Top;
  if (top == 1) return Notice("先頭行にコメントを入れる事はできません。");
  if (HoldsCostingData(w_.Doc(), top)) return Notice("すでに積算デ－タが存在しますのでコメントにはできません");
  StartSingle("TfPICKDATA_Dlg", "pickdata_dlg.exe", PickDataLaunch::ItemNotes(ToCp932(w_.ProgramFolder())).Encode(),
              "選択ダイアログ");
}

void BreakdownList::Remarks() {
  int32_t top = Selection().Top;
  Document& doc = w_.Doc();
  QString preset = doc.IsItem(top) ? Q(doc.ItemList[top].ItemNote.view()) : QString();
  auto text = w_.Dlg().InputBox(kCaption, "備考を入力して下さい", preset);
  if (!text) return;
  ListEdit edit(w_, UndoCopy::Skip);
  ExtendList(edit.Doc(), top);
  edit.Doc().ItemList[top].ItemNote.set(Sjis(*text));
  edit.Commit();
}

void BreakdownList::DigitsStart() {
  const Document& doc = w_.Doc();
  SchemeLaunch launch{true, doc.Settings, doc.Title.CUTLEVEL, doc.Title.KETA};
  StartSingle("TFScheme_Dlg", "scheme_dlg.exe", launch.Encode(), "桁設定ダイアログ");
}

}  // namespace zantro
