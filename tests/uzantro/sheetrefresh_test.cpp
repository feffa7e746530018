// The sheet redraw after commands: a refresh that moves and reformats only what changed must
// leave the grid exactly as a redraw of every row would, whatever the commands did.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <memory>
#include <random>

#include "platform/cp932.h"
#include "platform/gui/dialogs.h"
#include "platform/launcher.h"
#include "testutil/headlesswindow.h"
#include "uzantro/fzantro.h"

using namespace zantro;

namespace {

QStringList GridTexts(TStrColGrid* g) {
  QStringList rows;
  for (int r = 0; r < g->RowCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < g->ColCount(); ++c) cells << g->Cells(c, r);
    rows << cells.join('|');
  }
  return rows;
}

TEST(SheetRefresh, CommandsRedrawTheGridAsAFullRedrawWould) {
  zantro::testing::EnsureApplication("test_uzantro");
  char t[] = "/tmp/zantro-refresh-XXXXXX";
  std::string folder = ::mkdtemp(t);
  ScriptedDialogs dialogs([](const QString&) {});
  Launcher launcher;
  auto window = std::make_unique<TFZANTRO>(zantro::testing::HeadlessSetup(folder, &dialogs, &launcher));
  window->show();
  QApplication::processEvents();

  // Forty lines, a few of them range lines, several identical.
  Document& doc = window->Doc();
  std::mt19937 random(11);
  for (int r = 1; r <= 40; ++r) {
    LineRecord l{};
    l.FLAG = r % 9 == 0 ? 51 : 10;
    l.NameSpec.set(ToCp932("L" + std::to_string(r % 7) + ";"));
    l.SubQty = l.CostQty = Money::Units(r % 9 == 0 ? 1 + random() % 30 : r % 5);
    if (l.FLAG == 51) l.SubQty = l.CostQty + Money::Units(random() % 10);
    l.SubPrice = Money::Units(100);
    doc.LineList.push_back(l);
  }
  window->ShowTotals(0);
  window->RefreshSheet();

  const char* words[] = {"insert", "delete", "erase", "move_up", "move_down", "swap", "sumline", "undo"};
  for (int step = 0; step < 300; ++step) {
    int top = 1 + random() % 50, bottom = top + random() % 4;
    window->SelectRows(top, std::min(bottom, window->Grid()->RowCount() - 1));
    const char* word = words[random() % std::size(words)];
    window->Dispatch(word);
    QStringList incremental = GridTexts(window->Grid());
    window->InvalidateSheetRows();
    window->RefreshSheet();
    ASSERT_EQ(incremental, GridTexts(window->Grid())) << "step " << step << ": " << word << " at " << top;
  }
  window->CloseWithoutQuestion();
  window.reset();
  std::filesystem::remove_all(folder);
}

}  // namespace
