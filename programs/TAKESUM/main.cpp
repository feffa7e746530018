// TAKESUM (TFTAKESUM, 調書集計): started by the window with the item number; shows the sheet's
// takeoff lines ordered by price group and name with the group subtotals, and on OK writes
// that order into DATASORTn.WRK and the sheet's working copy (src/takeoff/aggregate.h). The
// window waits for it to end and reloads the sheet.
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/dialogframe.h"
#include "messages/launches.h"
#include "takeoff/aggregate.h"
#include "takeoff/apply.h"

using namespace zantro;

namespace {

QTableWidget* SumTable(QWidget* parent, const std::vector<takeoff::SortEntry>& order) {
  auto* table = Named(new QTableWidget(static_cast<int>(order.size()), 6, parent), "SumTable");
  table->setHorizontalHeaderLabels({"GR", "名称", "仕様", "単位", "数量", "金額"});
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  const int widths[] = {40, 200, 160, 50, 90, 110};
  for (int c = 0; c < 6; ++c) table->setColumnWidth(c, widths[c]);
  for (int r = 0; r < static_cast<int>(order.size()); ++r) {
    const takeoff::SortEntry& e = order[static_cast<size_t>(r)];
    QStringList cells{QString(QChar(e.Group)), e.Subtotal ? Readable(takeoff::SubtotalName(e.Group)) : Readable(e.Name),
                      Readable(e.Spec), Readable(e.Unit), e.Subtotal ? QString() : QString::fromStdString(MoneyToPlainText(e.Quantity)),
                      QString::fromStdString(MoneyText(e.Amount))};
    for (int c = 0; c < 6; ++c) table->setItem(r, c, new QTableWidgetItem(cells[c]));
  }
  return table;
}

}  // namespace

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{"TAKESUM"});
  if (auto end = shell.Start()) return *end;
  auto launch = LaunchArgument(shell, "調書集計", TakeoffSumLaunch::Decode);
  if (!launch) return 1;
  if (launch->Item < 1) {
    shell.Dlg().ShowError("調書集計の起動引数が正しくありません: 項目番号がありません");
    return 1;
  }
  const int32_t item = launch->Item;
  std::vector<takeoff::SortEntry> order;
  bool loaded = false;
  // Both files are checked before the window opens: a damaged one is shown and nothing is written.
  shell.Guard([&] {
    takeoff::LoadSortFile(shell.ProgramFolder(), item);
    order = takeoff::OrderTakeoffLines(takeoff::LoadSheetLines(shell.ProgramFolder(), item));
    loaded = true;
  });
  if (!loaded) return 1;
  QWidget window;
  window.setObjectName("TFTAKESUM");
  window.setWindowTitle(DialogCaption("調書集計"));
  window.resize(700, 500);
  QTableWidget* table = SumTable(&window, order);
  auto* ok = Named(new QPushButton("集計", &window), "OkButton");
  auto* cancel = Named(new QPushButton("キャンセル", &window), "CancelButton");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(table, 1);
  layout->addLayout(buttons);
  QObject::connect(ok, &QPushButton::clicked, &window, [&] {
    bool done = false;
    shell.Guard([&] {
      takeoff::AggregateSheet(shell.ProgramFolder(), item);
      done = true;
    });
    if (done) window.close();
  });
  QObject::connect(cancel, &QPushButton::clicked, &window, &QWidget::close);
  new DialogKeys(&window);
  shell.Register(&window, "TFTAKESUM");
  return shell.Run(&window);
}
