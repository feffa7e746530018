// What the window shows, derived from the document after every change: the grid (the open
// sheet's rows, or the breakdown list on tab 0), the totals boxes, the item's name and the
// tabs. Handlers report a change through Changed; none of them draws.
#include <QLabel>

#include "general/engine.h"
#include "general/kinds.h"
#include "uzantro/fzantro.h"

namespace zantro {

void TFZANTRO::Changed(ChangeScope scope) {
  if (scope != ChangeScope::Lines) ShowTabsOfDocument();
  ShowTotalsBoxes();
  ShowTitleBoxes();  // the title's boxes and the item's name
  if (view_.Mode == ViewMode::Breakdown) {
    Label("keito_name")->setText("内訳一覧表");
    DrawBreakdownList();
    return;
  }
  // A row below the last line is always there (a companion writing line after line goes on
  // there); a sheet that reaches the grid's end gets ten more rows.
  if (static_cast<int>(doc_.LineList.size()) >= grid_->RowCount()) grid_->SetRowCount(static_cast<int>(doc_.LineList.size()) + 10);
  RefreshSheet();
}

void TFZANTRO::ShowTabsOfDocument() {
  // The captions and the current tab follow the items; the view in force stays.
  const ViewMode mode = view_.Mode;
  RebuildItemTabs();
  if (mode == ViewMode::Breakdown) SelectTab(0);
  else if (tabs_->currentIndex() == 0 && tabs_->count() > 1) SelectTab(1);
  view_.Mode = mode;
}

void TFZANTRO::ShowTotalsBoxes() {
  const bool sheet = view_.Mode == ViewMode::Sheet;
  TotalsTexts t = TotalsTextsFor(doc_.Sheet, doc_.Breakdown, sheet);
  if (!sheet) t.AV1PL.clear();
  const std::pair<const char*, const std::string*> boxes[] = {
      {"SUBNBOX", &t.SUBNBOX},     {"SUBGBOX", &t.SUBGBOX},     {"gsagaku", &t.gsagaku},
      {"NTOTALBOX", &t.NTOTALBOX}, {"GTOTALBOX", &t.GTOTALBOX}, {"nsagaku", &t.nsagaku},
      {"AV1PL", &t.AV1PL},         {"AV2PL", &t.AV2PL}};
  for (const auto& [name, text] : boxes) Label(name)->setText(QString::fromStdString(*text));
}

void TFZANTRO::DrawBreakdownList() {
  grid_->setUpdatesEnabled(false);
  grid_->CellParams().Clear();
  if (grid_->ColCount() != 8) {
    grid_->SetColCount(8);
    ApplyBreakdownWidths();
  }
  // The grid no longer shows sheet rows: the next sheet shown is drawn whole.
  shown_.Valid = false;
  for (int c = 0; c < grid_->ColCount(); ++c) grid_->SetCells(c, 0, QString());
  if (ShowBreakdownList) {
    ShowBreakdownList(*grid_);
  } else {
    for (int r = 0; r < grid_->RowCount(); ++r)
      for (int c = 0; c < grid_->ColCount(); ++c) grid_->SetCells(c, r, QString());
  }
  grid_->setUpdatesEnabled(true);
  grid_->viewport()->update();
}

}  // namespace zantro
