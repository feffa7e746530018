// The detail sheet in StrColGrid1: headers and cell formats, the rows drawn from the line
// list, the totals panel and the commands that only change the view.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <cstring>
#include <exception>

#include "general/engine.h"
#include "general/errors.h"
#include "platform/cp932.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

const QColor kHeaderColor = ColorFromNumber(10652814);

// Engine messages ("消費税が重複しています") become notices of the window.
void EngineMessage(const std::string& text) {
  if (TFZANTRO* w = MainWindow()) w->Dlg().ShowNotice(QString::fromStdString(text));
}

TSCGCellParam* ColumnParam(TStrColGrid* g, int col, TAlignment a) {
  TSCGCellParam* p = g->AddRangeParam(col, 1, col, std::max(1, g->RowCount() - 1));
  p->SetAlignment(a);
  p->SetFontWidth(1);
  return p;
}

}  // namespace

int TFZANTRO::LevelIndex() const { return std::max(0, levelBox_->currentIndex()); }

RowSelection TFZANTRO::SelectedRows() const {
  TGridRect s = grid_->Selection();
  return RowSelection{s.Top, s.Bottom};
}

std::optional<int32_t> TFZANTRO::SelectedLineNumber() const {
  bool ok = false;
  int line = grid_->Cells(0, grid_->Selection().Top).toInt(&ok);
  return ok ? std::optional<int32_t>(line) : std::nullopt;
}

RowView TFZANTRO::ViewState() const {
  RowView v;
  v.Layout = doc_.Layout;
  v.AmountSide = AmountSide();
  v.PriceKind = PriceKind();
  v.QuantityScale = doc_.Settings.QuantityScale;
  v.LineRoundAddend = doc_.Settings.LineRoundAddend;
  v.Gengaku = ToUtf8(conf_.Gengaku);
  return v;
}

void TFZANTRO::SetColumnHeaders() {
  using enum TAlignment;
  RowView v = ViewState();
  const int k = v.k();
  TStrColGrid* g = grid_;
  if (g->ColCount() != v.ColCount()) g->SetColCount(v.ColCount());
  g->CellParams().Clear();
  auto headers = SheetHeaders(v);
  for (int c = 0; c < v.ColCount(); ++c) {
    g->SetCells(c, 0, QString::fromStdString(headers[c]));
    TSCGCellParam* p = g->FindCellParam(c, 0, true);
    p->SetFontColor(colors::clWhite);
    p->SetFontColorEnabled(true);
    p->SetFontWidth(1);
    p->SetAlignment(taCenter);
    if (c <= 7) {
      p->SetCellColor(kHeaderColor);
      p->SetCellColorEnabled(true);
    }
  }
  TSCGCellParam* number = ColumnParam(g, 0, taCenter);
  number->SetFontColor(colors::clWhite);
  number->SetFontColorEnabled(true);
  for (int c = 1; c <= k + 1; ++c) {
    TSCGCellParam* p = ColumnParam(g, c, taLeftJustify);
    p->SetFontColor(colors::clBlack);
    p->SetFontColorEnabled(true);
  }
  ColumnParam(g, k + 2, taRightJustify);
  TSCGCellParam* group = ColumnParam(g, k + 3, taCenter);
  group->SetFontColor(colors::clBlack);
  group->SetFontColorEnabled(true);
  group->SetCellColor(colors::clWhite);
  group->SetCellColorEnabled(true);
  ColumnParam(g, k + 4, taCenter);
  for (int c = k + 5; c <= k + 7; ++c) ColumnParam(g, c, taRightJustify);
}

void TFZANTRO::RefreshSheet() {
  grid_->setUpdatesEnabled(false);
  SetColumnHeaders();
  SetMenuEnabled("meisai_menu", true);
  SetMenuEnabled("item_menu", false);
  Label("strtx")->setText(QString("%1-%2").arg(doc_.CurrentItem).arg(doc_.LastItem()));
  RowView view = ViewState();
  bool same = shown_.Valid && shown_.View == view && shown_.Rows == grid_->RowCount() && shown_.Cols == grid_->ColCount();
  if (!same || !RedrawChangedRows()) RedrawAllRows();
  shown_.Valid = true;
  shown_.View = view;
  shown_.Rows = grid_->RowCount();
  shown_.Cols = grid_->ColCount();
  shown_.Lines = doc_.LineList;
  grid_->setUpdatesEnabled(true);
  grid_->viewport()->update();
}

void TFZANTRO::RedrawAllRows() {
  const int cols = grid_->ColCount();
  for (int r = 1; r < grid_->RowCount(); ++r) {
    grid_->SetCells(0, r, QString::number(r));
    for (int c = 1; c < cols; ++c) grid_->SetCells(c, r, QString());
  }
  for (int r = 1; r <= doc_.LastLine() && r < grid_->RowCount(); ++r) FormatRow(r);
}

bool TFZANTRO::RedrawChangedRows() {
  const std::vector<LineRecord>& old = shown_.Lines;
  const std::vector<LineRecord>& now = doc_.LineList;
  const int m = static_cast<int>(old.size()) - 1, n = static_cast<int>(now.size()) - 1;
  if (std::max(m, n) >= grid_->RowCount()) return false;
  auto same = [](const LineRecord& a, const LineRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  // Lines p+1 .. n-s are new; the s lines after them are those that stood at m-s+1 .. m.
  int p = 0, s = 0;
  while (p < std::min(m, n) && same(old[p + 1], now[p + 1])) ++p;
  while (s < std::min(m, n) - p && same(old[m - s], now[n - s])) ++s;
  if (s > 0 && m != n) {
    grid_->MoveRowTexts(m - s + 1, s, n - s + 1);
    for (int r = n - s + 1; r <= n; ++r) grid_->SetCells(0, r, QString::number(r));
  }
  for (int r = p + 1; r <= n - s; ++r) FormatRow(r);
  for (int r = n + 1; r <= m; ++r) {
    grid_->SetCells(0, r, QString::number(r));
    for (int c = 1; c < grid_->ColCount(); ++c) grid_->SetCells(c, r, QString());
  }
  return true;
}

void TFZANTRO::FormatRow(int r) {
  if (r < 1 || r > doc_.LastLine()) return;
  RowTexts texts = FormatRowTexts(doc_.LineList[r], ViewState());
  grid_->SetCells(0, r, QString::number(r));
  for (int c = 1; c < grid_->ColCount() && c < 10; ++c) grid_->SetCells(c, r, QString::fromStdString(texts[c]));
}

void TFZANTRO::ShowTotals(int32_t mode) {
  // An amount that does not fit leaves no stale total in the boxes, and the grid has room for
  // the sheet all the same; the error goes on to the caller (an edit is then taken back).
  TotalsTexts t;
  std::exception_ptr overflow;
  try {
    t = ::zantro::ShowTotals(doc_, mode, &EngineMessage);
  } catch (const MoneyOverflow&) {
    overflow = std::current_exception();
  }
  const std::pair<const char*, const std::string*> boxes[] = {
      {"SUBNBOX", &t.SUBNBOX},     {"SUBGBOX", &t.SUBGBOX},     {"gsagaku", &t.gsagaku},
      {"NTOTALBOX", &t.NTOTALBOX}, {"GTOTALBOX", &t.GTOTALBOX}, {"nsagaku", &t.nsagaku},
      {"AV1PL", &t.AV1PL},         {"AV2PL", &t.AV2PL}};
  for (const auto& [name, text] : boxes) Label(name)->setText(QString::fromStdString(*text));
  // A sheet longer than the grid gets room for it and ten more rows.
  if (static_cast<int>(doc_.LineList.size()) > grid_->RowCount()) {
    grid_->SetRowCount(static_cast<int>(doc_.LineList.size()) + 10);
    if (SheetMode()) SetColumnHeaders();
  }
  if (overflow) std::rethrow_exception(overflow);
}

void TFZANTRO::ShowSheet() {
  // A sheet that holds a line whose amount does not fit is drawn all the same, with the
  // error, so the user sees the line the error names and can correct it.
  try {
    ShowTotals(0);
  } catch (const MoneyOverflow& e) {
    dialogs_->ShowError(QString::fromUtf8(e.what()));
  }
  RefreshSheet();
}

void TFZANTRO::ShowLineProperties() {
  bool ok = false;
  int row = grid_->Cells(0, grid_->Selection().Top).toInt(&ok);
  if (!ok || row < 1 || row > doc_.LastLine()) return;
  std::string text = LinePropertiesText(row, doc_.LineList[row], grid_->Cells(1, row).toStdString(), doc_.GroupNames);
  dialogs_->ShowNotice(QString::fromStdString(text));
}

void TFZANTRO::SetAmountSide(int side) {
  view_.AmountSide = side;
  Component("netbt")->setProperty("tag", side);  // the designed place of the value, for scripts
  Changed(ChangeScope::Lines);
}

void TFZANTRO::TogglePriceKind() {
  QAction* n41 = Action("N41");
  int kind = view_.PriceKind == 1 ? 0 : 1;
  view_.PriceKind = kind;
  n41->setProperty("tag", kind);
  n41->setText(kind == 1 ? "通常単価を表示" : "付帯単価を表示");
  Changed(ChangeScope::Lines);
}

void TFZANTRO::SetLayout(ColumnLayout layout) {
  doc_.Layout = layout;
  grid_->SetColCount(layout == ColumnLayout::Ten ? 10 : 9);
  SetColumnHeaders();
  ApplySheetLayout();
  doc_.CurrentLine = 1;
  ShowSheet();
}

void TFZANTRO::ResetSheetFormat() {
  SetColumnHeaders();
  doc_.CurrentLine = 1;
  ShowSheet();
}

void TFZANTRO::AddGridRows(int n) {
  int old = grid_->RowCount();
  grid_->SetRowCount(old + n);
  SetColumnHeaders();  // the column formats cover the new rows (row numbers in white)
  if (n > 1)
    for (int r = 1; r < grid_->RowCount(); ++r) grid_->SetCells(0, r, QString::number(r));
}

void TFZANTRO::EnsureGridRow(int row) {
  if (row >= grid_->RowCount()) grid_->SetRowCount(row + 1);
}

void TFZANTRO::TrimGridRows(int rows) {
  rows = std::max(rows, static_cast<int>(doc_.LineList.size()) + 1);
  if (rows < grid_->RowCount()) grid_->SetRowCount(rows);
}

QStringList TFZANTRO::LevelCaptions() const {
  QStringList names;
  for (int i = 0; i < 5; ++i) names << levelBox_->itemText(i);
  return names;
}

QString TFZANTRO::CaptionOf(const QString& name) const {
  if (auto* a = qobject_cast<QAction*>(Component(name))) return a->text();
  if (auto* b = qobject_cast<QPushButton*>(Component(name))) return b->text();
  return {};
}

void TFZANTRO::ShowDocumentPath(const QString& path) { docName_->setText(path); }

void TFZANTRO::SelectRows(int top, int bottom) {
  top = std::clamp(top, 1, std::max(1, grid_->RowCount() - 1));
  bottom = std::clamp(bottom, top, std::max(1, grid_->RowCount() - 1));
  grid_->SetSelection(TGridRect{1, top, grid_->ColCount() - 1, bottom});
  if (top < grid_->TopRow() || top >= grid_->TopRow() + std::max(1, grid_->VisibleRowCount())) grid_->SetTopRow(top);
  if (top == 1) grid_->SetTopRow(1);
}

void TFZANTRO::SelectTopLine() {
  grid_->SetTopRow(1);
  SelectRows(1, 1);
}

void TFZANTRO::SelectLastLine() {
  int n = doc_.LastLine();
  if (n < 1) return;
  SelectRows(n, n);
  grid_->SetTopRow(std::max(1, n - 1));
}

}  // namespace zantro
