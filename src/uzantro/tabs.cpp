// The tab strip under the grid: tab 0 is the breakdown list, every other tab one item's
// sheet. ListBox1 holds the item number of each sheet tab (entry t - 1 for tab t).
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>

#include "general/kinds.h"
#include "uzantro/fzantro.h"

namespace zantro {

void TFZANTRO::RebuildItemTabs() {
  // One pass over the items; the strip and ListBox1 change only where they differ, so a tab
  // click, which rebuilds with the same items, lays nothing out again.
  QSignalBlocker block(tabs_);
  QStringList captions{"内訳表"};
  QStringList numbers;
  int index = 0;
  for (int32_t i = 1; i <= doc_.LastItem(); ++i) {
    const ItemRecord& item = doc_.ItemList[i];
    if (ItemHasTab(item.ItemKind)) {
      numbers << QString::number(i);
      captions << Q(item.ItemName.view());
    }
    // A current item without a tab selects the tab of the last sheet item above it.
    if (i == doc_.CurrentItem) index = static_cast<int>(numbers.size());
  }
  SetListBoxEntries(numbers);
  tabs_->SetCaptions(captions);
  tabs_->setCurrentIndex(index);
  view_.Mode = index == 0 ? ViewMode::Breakdown : ViewMode::Sheet;
}

void TFZANTRO::SetListBoxEntries(const QStringList& numbers) {
  bool same = listBox1_->count() == numbers.size();
  for (int i = 0; same && i < numbers.size(); ++i) same = listBox1_->item(i)->text() == numbers[i];
  if (same) return;
  listBox1_->clear();
  listBox1_->addItems(numbers);
}

void TFZANTRO::SelectTab(int index) {
  QSignalBlocker block(tabs_);
  tabs_->setCurrentIndex(index);
  view_.Mode = tabs_->currentIndex() == 0 ? ViewMode::Breakdown : ViewMode::Sheet;
}

void TFZANTRO::TabControl1Change(int index) {
  if (index == 0) {
    EnterBreakdownMode();
    grid_->SetTopRow(1);
    grid_->SetLeftCol(grid_->FixedCols());
    SelectRows(1, 1);
    return;
  }
  QListWidgetItem* entry = listBox1_->item(index - 1);
  if (entry) OpenItem(entry->text().toInt());
}

void TFZANTRO::EnterBreakdownMode() {
  CloseCompanions({"TFTreeprice_Dlg", "Tfseqprice_Dlg", "Tfcodeprice_Dlg", "Tfcalcprice_Dlg", "TFRowedit_Dlg"});
  for (const char* name : {"GradBtn6", "GradBtn15", "GradBtn17", "GradBtn9", "GradBtn16", "GradBtn13", "GradBtn14",
                           "gbtn01", "gbtn02", "gbtn03", "gbtn04", "gbtn05", "gbtn06", "gbtn07", "netbt", "GradBtn23"})
    Button(name)->setEnabled(false);
  SetMenuEnabled("meisai_menu", false);
  SetMenuEnabled("item_menu", true);
  SelectTab(0);
  Changed(ChangeScope::Items);
}

void TFZANTRO::EnterSheetMode() {
  if (tabs_->currentIndex() == 0 && tabs_->count() > 1) SelectTab(1);
  SetMenuEnabled("meisai_menu", true);
  SetMenuEnabled("item_menu", false);
}

}  // namespace zantro
