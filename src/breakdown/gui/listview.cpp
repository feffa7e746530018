// The breakdown list drawn in StrColGrid1: the header row, one row per item with its kind's
// texts (breakdown/listtext.h), row numbers on every row past the list; and the selection
// helpers of the list's commands.
#include <QLabel>
#include <QPushButton>

#include "breakdown/gui/breakdownlist.h"
#include "breakdown/listtext.h"
#include "platform/cp932.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

const QColor kHeaderColor = ColorFromNumber(0xC08080);
// Parents and the summary rows stand out from the ordinary items.
const QColor kParentColor = ColorFromNumber(0xF4ECE4);
const QColor kSummaryColor = ColorFromNumber(0xE0F4F8);

using enum TAlignment;
// Names and remarks read from the left, amounts and ranges from the right.
constexpr TAlignment kAlign[] = {taCenter, taCenter, taLeftJustify, taRightJustify, taRightJustify,
                                 taRightJustify, taRightJustify, taLeftJustify};

TSCGCellParam* ColumnFormat(TStrColGrid* g, int col, int row, int rowMax, const QColor& font) {
  TSCGCellParam* p = g->AddRangeParam(col, row, col, rowMax);
  p->SetAlignment(kAlign[col]);
  p->SetFontColor(font);
  p->SetFontColorEnabled(true);
  return p;
}

// The parameter added last governs a cell whole, so a coloured row repeats each column's
// alignment.
void RowColour(TStrColGrid* g, int row, const QColor& c) {
  for (int col = 1; col < 8; ++col) {
    TSCGCellParam* p = ColumnFormat(g, col, row, row, colors::clBlack);
    p->SetCellColor(c);
    p->SetCellColorEnabled(true);
  }
}

}  // namespace

void BreakdownList::Draw(TStrColGrid& grid) {
  TStrColGrid* g = &grid;
  const Document& doc = w_.Doc();
  g->setUpdatesEnabled(false);
  const ListRowTexts& captions = ListCaptions();
  for (int c = 0; c < 8; ++c) {
    TSCGCellParam* p = g->FindCellParam(c, 0, true);
    p->SetCellColor(kHeaderColor);
    p->SetCellColorEnabled(true);
    if (c == 0) continue;
    p->SetFontColor(colors::clWhite);
    p->SetFontColorEnabled(true);
    p->SetFontWidth(1);
    p->SetAlignment(TAlignment::taCenter);
    g->SetCells(c, 0, QString::fromStdString(captions[c]));
  }
  // One empty row below the list is always there to be selected: commands reach past the end.
  if (g->RowCount() < doc.LastItem() + 2) g->SetRowCount(doc.LastItem() + 2);
  const int last = std::max(1, g->RowCount() - 1);
  ColumnFormat(g, 0, 1, last, colors::clWhite);
  for (int c = 1; c < 8; ++c) ColumnFormat(g, c, 1, last, colors::clBlack);
  for (int r = 1; r < g->RowCount(); ++r) {
    g->SetCells(0, r, QString::number(r));
    for (int c = 1; c < 8; ++c) g->SetCells(c, r, QString());
  }
  const std::string reduction = ToUtf8(w_.Config().Gengaku);
  for (int32_t r = 1; r <= doc.LastItem(); ++r) {
    ListRowTexts t = ListRowTextsFor(doc, r, reduction);
    for (int c = 1; c < 8; ++c) g->SetCells(c, r, QString::fromStdString(t[c]));
    int32_t k = doc.ItemList[r].ItemKind;
    if (InRange(k, 20, 29)) RowColour(g, r, kParentColor);
    else if (!ItemHasTab(k) && k != ItemKinds::Note) RowColour(g, r, kSummaryColor);
  }
  g->setUpdatesEnabled(true);
  g->viewport()->update();
}

RowSelection BreakdownList::Selection() const { return w_.SelectedRows(); }

void BreakdownList::SelectAll() { w_.SelectRows(1, std::max<int32_t>(1, w_.Doc().LastItem())); }

void BreakdownList::SelectLast() {
  int32_t n = w_.Doc().LastItem();
  if (n < 1) return;
  w_.SelectRows(n, n);
}

void BreakdownList::SelectNextRow() {
  int next = Selection().Top + 1;
  w_.EnsureGridRow(next);
  w_.SelectRows(next, next);
}

bool BreakdownList::Ask(const QString& text) { return w_.Dlg().AskExecute(text, "実行", "キャンセル"); }
void BreakdownList::Notice(const QString& text) { w_.Dlg().ShowNotice(text); }
QString BreakdownList::Gengaku() const { return Q(w_.Config().Gengaku); }

void BreakdownList::StartSingle(const char* windowClass, const char* exeName, const std::string& argument,
                                const char* what) {
  if (w_.RestoreCompanion(windowClass)) return;
  if (!w_.StartCompanion(exeName, argument)) Notice(NotInstalledNotice(QString(what) + "がインストールされていません"));
}

}  // namespace zantro
