// The window as a whole: shortcuts against the menus that hold their items, the own flags of
// hidden items, how the total line's mark is drawn, and how hints look.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <QLabel>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "general/workcodec.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "platform/launcher.h"
#include "uzantro/fzantro.h"
#include "shell/menustate.h"
#include "testutil/headlesswindow.h"

using namespace zantro;

namespace {

class WindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { zantro::testing::EnsureApplication("test_uzantro"); }

  void SetUp() override {
    char t[] = "/tmp/zantro-window-XXXXXX";
    folder_ = ::mkdtemp(t);
    window_ = std::make_unique<TFZANTRO>(zantro::testing::HeadlessSetup(folder_, &dialogs_, &launcher_));
    window_->show();
    QApplication::processEvents();
    ASSERT_GE(window_->Tabs()->count(), 2);
    ASSERT_TRUE(window_->SheetMode());
  }

  void TearDown() override {
    window_.reset();
    std::filesystem::remove_all(folder_);
  }

  void Press(const QKeySequence& key) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window_.get();
    QTest::keySequence(target, key);
    QApplication::processEvents();
  }

  std::string folder_;
  QStringList lines_;
  ScriptedDialogs dialogs_{[this](const QString& line) { lines_ << line; }};
  Launcher launcher_;
  std::unique_ptr<TFZANTRO> window_;
};

}  // namespace

TEST_F(WindowTest, EveryShortcutReachesExactlyTheOneItemOfAnEnabledMenu) {
  // A breakdown item given the key of the sheet's undo (K25, Esc): only the item of the enabled
  // menu may answer, and Qt would run neither if both were live.
  window_->Action("item_Operate_execute")->setShortcut(QKeySequence("Esc"));
  const QList<QAction*> actions = window_->findChildren<QAction*>();
  std::map<QAction*, int> fired;
  for (QAction* a : actions) QObject::connect(a, &QAction::triggered, [&fired, a] { ++fired[a]; });
  std::set<QString> keys;
  for (QAction* a : actions)
    if (!a->shortcut().isEmpty()) keys.insert(a->shortcut().toString());
  ASSERT_TRUE(keys.count("Esc") && keys.count("Ctrl+C") && keys.count("F1"));

  for (int tab : {1, 0}) {
    window_->TabClicked(tab);
    ASSERT_EQ(window_->SheetMode(), tab == 1);
    for (const QString& key : keys) {
      SCOPED_TRACE("tab " + std::to_string(tab) + " key " + key.toStdString());
      std::vector<std::string> reachable;
      for (QAction* a : actions)
        if (a->shortcut().toString() == key && ActionReachable(a)) reachable.push_back(a->objectName().toStdString());
      EXPECT_LE(reachable.size(), 1u) << "one enabled action per shortcut";
      fired.clear();
      Press(QKeySequence(key));
      std::vector<std::string> ran;
      for (const auto& [a, n] : fired)
        if (n > 0) ran.push_back(a->objectName().toStdString());
      EXPECT_EQ(ran, reachable);
    }
  }
  // The clash itself, named: on the breakdown list Esc belongs to the breakdown menu.
  EXPECT_FALSE(ActionReachable(window_->Action("K25")));
  EXPECT_TRUE(ActionReachable(window_->Action("item_Operate_execute")));
  EXPECT_FALSE(ActionReachable(window_->Action("K9")));
}

TEST_F(WindowTest, HiddenItemKeepsTheEnabledFlagTheProgramGaveIt) {
  QAction* takeoff = window_->Action("option_00");  // hidden: no takeoff program installed
  ASSERT_FALSE(takeoff->isVisible());
  EXPECT_FALSE(takeoff->isEnabled());  // Qt's own view of a hidden action
  int notices = 0;
  QObject::connect(takeoff, &QAction::changed, [&notices] { ++notices; });
  EXPECT_TRUE(OwnEnabled(takeoff));
  takeoff->setEnabled(false);
  EXPECT_FALSE(OwnEnabled(takeoff));
  EXPECT_FALSE(takeoff->isVisible());  // reading leaves the item hidden ...
  EXPECT_EQ(notices, 0);               // ... and tells nobody
  takeoff->setVisible(true);
  EXPECT_FALSE(takeoff->isEnabled());

  // The piping menu is hidden without its program: it keeps its flag, its items are out of reach.
  auto* piping = qobject_cast<QMenu*>(window_->Component("haikan"));
  ASSERT_FALSE(piping->menuAction()->isVisible());
  EXPECT_TRUE(OwnEnabled(piping->menuAction()));
  QAction* pipeMaterial = window_->Action("option_01");
  EXPECT_TRUE(pipeMaterial->isVisible() && pipeMaterial->isEnabled());
  EXPECT_FALSE(ActionReachable(pipeMaterial));
  piping->menuAction()->setVisible(true);
  EXPECT_TRUE(ActionReachable(pipeMaterial));
}

TEST_F(WindowTest, TotalLineMarkIsDrawnAsTheYenSignAndStoredAsTheBackslash) {
  TStrColGrid* g = window_->Grid();
  const int gr = 4;  // the GR column of the ten-column sheet
  const QString yen(QChar(0x00A5));
  g->SetCells(gr, 2, "\\");
  g->SetCells(gr, 3, yen);
  g->SetCells(1, 4, "x\\");
  g->SetCells(1, 5, "x" + yen);
  QImage image = g->RenderImage();
  auto cell = [&](int col, int row) { return image.copy(g->CellRect(col, row)); };
  EXPECT_EQ(cell(gr, 2), cell(gr, 3));
  EXPECT_NE(cell(gr, 2), cell(gr, 6));  // something is drawn at all
  EXPECT_EQ(g->Cells(gr, 2), "\\");
  // A backslash within other text is left as it is: only the lone mark means the yen sign.
  EXPECT_NE(cell(1, 4), cell(1, 5));
}

TEST_F(WindowTest, HintsAreLimeAndComeAfter600Milliseconds) {
  auto* button = qobject_cast<QWidget*>(window_->Component("MDATA1"));
  ASSERT_FALSE(button->toolTip().isEmpty());
  EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase).name().toStdString(), "#00ff00");  // 65280
  EXPECT_EQ(button->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, button), 600);
}

TEST_F(WindowTest, ASheetWhoseLineOverflowsIsStillShownWithTheError) {
  // Two sheets; the second's work file holds a line whose amount cannot be held (an earlier
  // edit put it there).
  std::string doc = folder_ + "/two.znt2";
  std::ofstream(doc) << "<TITLE>\r\n[KETA]=1\r\n</TITLE>\r\n<ITEM>\r\n10;a;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\r\n"
                        "10;b;0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\r\n</ITEM>\r\n<DATA>\r\n</DATA>\r\n<PICKUP>\r\n"
                        "</PICKUP>\r\n<CONFIG>\r\n</CONFIG>\r\n</EOF>\r\n";
  ASSERT_TRUE(window_->OpenDocument(QString::fromStdString(doc)));
  LineRecord huge{};
  huge.FLAG = 10;
  huge.NameSpec.set("pump;");
  huge.SubQty = Money::Units(2);
  huge.SubPrice = Money::Units(900000000000000);
  huge.ItemNo = 2;
  ASSERT_TRUE(WriteRecords(folder_ + "/WITEM2.WRK", std::vector<LineRecord>{huge}));
  lines_.clear();
  window_->TabClicked(2);
  EXPECT_EQ(lines_, QStringList{"error: item 2, line 1 (SubPrice x SubQty): 金額の桁があふれました (overflow)"});
  EXPECT_TRUE(window_->SheetMode());
  EXPECT_EQ(window_->Grid()->Cells(1, 1).toStdString(), "pump ");
  EXPECT_EQ(qobject_cast<QLabel*>(window_->Component("GTOTALBOX"))->text(), "");  // no stale total
}

// Drags the right border of column col in the header row by dx pixels, as the user does.
void DragBorder(TStrColGrid* g, int col, int dx) {
  const QRect header = g->CellRect(col, 0);
  ASSERT_FALSE(header.isEmpty());
  const QPoint from(RectRight(header), header.center().y());
  QTest::mouseMove(g->viewport(), from);
  EXPECT_EQ(g->viewport()->cursor().shape(), Qt::SplitHCursor);
  QTest::mousePress(g->viewport(), Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(g->viewport(), from + QPoint(dx, 0));
  QTest::mouseRelease(g->viewport(), Qt::LeftButton, Qt::NoModifier, from + QPoint(dx, 0));
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(WindowTest, WidthsTheUserDragsAreTheWidthsSaved) {
  TStrColGrid* g = window_->Grid();
  const int name = g->ColWidths(1);
  DragBorder(g, 1, 37);
  EXPECT_EQ(g->ColWidths(1), name + 37);
  window_->Action("N164")->trigger();
  EXPECT_NE(ReadText(folder_ + "/ZNT_display_2.conf").find("[StrColGrid1_Colwidths[1]]=" + std::to_string(name + 37) + "\r\n"),
            std::string::npos);
  window_->TabClicked(0);
  const int second = g->ColWidths(2);
  DragBorder(g, 2, -20);
  window_->Action("N162")->trigger();
  EXPECT_NE(ReadText(folder_ + "/ZNT_display_3.conf").find("[StrColGrid1_Colwidths[2]]=" + std::to_string(second - 20) + "\r\n"),
            std::string::npos);
  EXPECT_EQ(lines_.count("notice: セル幅の設定を保存しました。"), 2);
}

TEST_F(WindowTest, SheetAndBreakdownListOpenAtTheirFirstColumn) {
  TStrColGrid* g = window_->Grid();
  for (int tab : {0, 1}) {
    g->SetColWidths(2, 3000);  // wider than the view: the grid scrolls sideways
    g->SetLeftCol(g->ColCount() - 1);
    ASSERT_GT(g->LeftCol(), 1);
    window_->TabClicked(tab);
    EXPECT_EQ(g->LeftCol(), 1) << "tab " << tab;
  }
}

// Opening a document of many items measures only the tabs in view, not every tab once per tab
// added, and lists the program folder at most once; a tab click measures no other tab again,
// and the last tab scrolls into view measuring each tab before it once.
TEST_F(WindowTest, ManyItemsCostNoLayoutOrFolderListingPerItem) {
  std::string text = "<TITLE>\n[ItemMax]=300\n</TITLE>\n<ITEM>\n";
  for (int n = 1; n <= 300; ++n) text += "10;工事" + std::to_string(n) + ";0;0;0.5;0.5;100;1;0.5;0;0;;0;0;\n";
  text += "</ITEM>\n<DATA>\n1;管;;0;0;m;10;1;1;100;100;0;0;0;0;0;0;0;0;;;\n</DATA>\n"
          "<PICKUP>\n</PICKUP>\n<CONFIG>\n</CONFIG>\n</EOF>\n";
  std::string path = folder_ + "/many.znt2";
  ASSERT_TRUE(WriteFileAtomic(path, ToCp932(text)));

  const int64_t hints = window_->Tabs()->SizeHints();
  const uint64_t scans = FolderScans();
  ASSERT_TRUE(window_->OpenDocument(QString::fromStdString(path))) << lines_.join("\n").toStdString();
  QApplication::processEvents();
  EXPECT_EQ(window_->Tabs()->count(), 301);
  EXPECT_EQ(window_->Tabs()->tabText(300), "工事300");
  EXPECT_LE(window_->Tabs()->SizeHints() - hints, 100);
  EXPECT_LE(FolderScans() - scans, 1u);

  const int64_t before = window_->Tabs()->SizeHints();
  window_->TabClicked(7);
  QApplication::processEvents();
  EXPECT_EQ(window_->Tabs()->currentIndex(), 7);
  EXPECT_EQ(window_->Doc().CurrentItem, 7);
  EXPECT_LE(window_->Tabs()->SizeHints() - before, 2);  // the tab made current, at most

  const int64_t toLast = window_->Tabs()->SizeHints();
  window_->TabClicked(300);
  EXPECT_EQ(window_->Doc().CurrentItem, 300);
  EXPECT_GT(window_->Tabs()->FirstShown(), 0);
  EXPECT_FALSE(window_->Tabs()->tabRect(300).isEmpty());
  EXPECT_TRUE(window_->Tabs()->tabRect(1).isEmpty());
  EXPECT_LE(window_->Tabs()->SizeHints() - toLast, 301);

  // One more item while the first tab is current (a row inserted on the breakdown list): every
  // tab is measured a few times, not once per tab that stands before the current one.
  window_->Doc().ItemList.insert(window_->Doc().ItemList.begin() + 1, NewItem());
  window_->Doc().CurrentItem = 0;
  const int64_t grown = window_->Tabs()->SizeHints();
  window_->RebuildItemTabs();
  QApplication::processEvents();
  EXPECT_EQ(window_->Tabs()->count(), 302);
  EXPECT_EQ(window_->Tabs()->tabText(2), "工事1");
  EXPECT_LE(window_->Tabs()->SizeHints() - grown, 10 * 302);
}
