// Counts, cells, scrolling and selection: what program code changes silently and what the
// user's actions change with their events.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "gridtest.h"

namespace zantro::test {
namespace {

// Records the arguments of every emission of a signal.
template <class... Args>
struct Recorder {
  template <class Obj, class Sig>
  Recorder(Obj* o, Sig sig) {
    QObject::connect(o, sig, [this](Args... a) { calls.push_back(std::make_tuple(a...)); });
  }
  int count() const { return int(calls.size()); }
  std::vector<std::tuple<Args...>> calls;
};

class GridBasics : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApp(); }
  TestGrid grid;
};

TEST_F(GridBasics, ClassLibraryDefaults) {
  TStrColGrid plain;
  EXPECT_EQ(plain.ColCount(), 5);
  EXPECT_EQ(plain.RowCount(), 5);
  EXPECT_EQ(plain.FixedCols(), 1);
  EXPECT_EQ(plain.FixedRows(), 1);
  EXPECT_EQ(plain.ColWidths(3), 64);
  EXPECT_EQ(plain.RowHeights(3), 24);
  EXPECT_EQ(plain.Options(),
            TGridOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect));
  EXPECT_FALSE(plain.DefaultDrawing());
  EXPECT_TRUE(plain.CellDivide());
  EXPECT_TRUE(plain.FocusDraw());
  EXPECT_EQ(plain.Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST_F(GridBasics, CellsOutsideTheCountsAreEmptyAndWritesIgnored) {
  grid.SetCells(4, 4, QStringLiteral("端"));
  grid.SetCells(5, 0, QStringLiteral("x"));
  grid.SetCells(-1, 2, QStringLiteral("x"));
  grid.SetCells(0, 99, QStringLiteral("x"));
  EXPECT_EQ(grid.Cells(4, 4), QStringLiteral("端"));
  EXPECT_EQ(grid.Cells(5, 0), QString());
  EXPECT_EQ(grid.Cells(-1, -1), QString());
  EXPECT_EQ(grid.ColWidths(9), 0);
  grid.SetColWidths(9, 10);
  grid.SetRowHeights(-2, 10);
  grid.SetColCount(3);
  EXPECT_EQ(grid.Cells(4, 4), QString());
  grid.SetColCount(5);
  EXPECT_EQ(grid.Cells(4, 4), QString());  // a shrunk column does not come back
}

TEST_F(GridBasics, GrowingToManyRowsKeepsCellsAndClampsTheCursor) {
  grid.SetCells(1, 2, QStringLiteral("keep"));
  grid.show();
  grid.SetRowCount(100000);
  grid.SetCells(3, 99999, QStringLiteral("last"));
  grid.SetRow(99999);
  EXPECT_EQ(grid.Row(), 99999);
  EXPECT_GT(grid.TopRow(), 99000);
  EXPECT_EQ(grid.Cells(1, 2), QStringLiteral("keep"));
  grid.SetRowCount(10);
  EXPECT_EQ(grid.Row(), 9);
  EXPECT_LE(grid.TopRow(), 9);
  EXPECT_EQ(grid.Cells(3, 99999), QString());
  grid.SetRowCount(1);  // no body row left: the fixed row gives way
  EXPECT_EQ(grid.FixedRows(), 0);
}

TEST_F(GridBasics, ACurrentRowSetBeforeTheFirstShowIsScrolledIntoViewThen) {
  grid.SetRowCount(500);
  grid.SetRow(300);
  EXPECT_EQ(grid.TopRow(), 1);
  grid.show();
  EXPECT_LE(grid.TopRow(), 300);
  EXPECT_GE(grid.TopRow() + grid.VisibleRowCount() - 1, 300);
}

TEST_F(GridBasics, ProgramChangesAreSilent) {
  int rowEvents = 0;
  grid.OnRowChanged = [&](TObject*, int, int) { ++rowEvents; };
  Recorder<> spy(&grid, &TStringGrid::selectionChanged);
  grid.SetRow(3);
  grid.SetCol(2);
  grid.SetSelection({1, 2, 3, 4});
  grid.SetTopRow(2);
  EXPECT_EQ(rowEvents, 0);
  EXPECT_EQ(spy.count(), 0);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 2, 3, 4}));
  EXPECT_EQ(grid.Col(), 3);
  EXPECT_EQ(grid.Row(), 4);
}

TEST_F(GridBasics, UserMovesRunTheEventsInOrder) {
  QStringList log;
  TSCGCellParam* from = grid.FindCellParam(1, 1, true);
  TSCGCellParam* to = grid.FindCellParam(2, 3, true);
  from->OnExitCell = [&](TObject* s, TStrColGrid*, int oc, int orow, int nc, int nr) {
    log << QString("exitCell %1 %2,%3>%4,%5").arg(s == from).arg(oc).arg(orow).arg(nc).arg(nr);
  };
  from->OnExitCol = [&](TObject*, TStrColGrid*, int o, int n) { log << QString("exitCol %1>%2").arg(o).arg(n); };
  from->OnExitRow = [&](TObject*, TStrColGrid*, int o, int n) { log << QString("exitRow %1>%2").arg(o).arg(n); };
  to->OnEnterCell = [&](TObject*, TStrColGrid*, int, int, int, int) { log << "enterCell"; };
  to->OnEnterCol = [&](TObject*, TStrColGrid*, int, int) { log << "enterCol"; };
  to->OnEnterRow = [&](TObject*, TStrColGrid*, int, int) { log << "enterRow"; };
  grid.OnCellChanged = [&](TObject* s, int, int, int, int) { log << QString("cell %1").arg(s == &grid); };
  grid.OnColChanged = [&](TObject*, int, int) { log << "col"; };
  grid.OnRowChanged = [&](TObject*, int o, int n) { log << QString("row %1>%2").arg(o).arg(n); };
  Recorder<> spy(&grid, &TStringGrid::selectionChanged);
  EXPECT_TRUE(grid.UserSelectCell(2, 3));
  EXPECT_EQ(log, QStringList({"exitCell 1 1,1>2,3", "exitCol 1>2", "exitRow 1>3", "enterCell",
                              "enterCol", "enterRow", "cell 1", "col", "row 1>3"}));
  EXPECT_EQ(spy.count(), 1);
  log.clear();
  grid.UserSelectCell(2, 4);  // same column: no column events
  EXPECT_EQ(log, QStringList({"cell 1", "row 3>4"}));
}

TEST_F(GridBasics, AHandlerThatRaisesRefusesTheMove) {
  grid.OnRowChanged = [](TObject*, int, int new_row) {
    if (new_row == 3) throw EGridError(QStringLiteral("だめ"));
  };
  Recorder<QString> errors(&grid, &TStringGrid::handlerError);
  EXPECT_TRUE(grid.UserSelectCell(1, 2));
  EXPECT_FALSE(grid.UserSelectCell(1, 3));
  EXPECT_EQ(grid.Row(), 2);
  ASSERT_EQ(errors.count(), 1);
  EXPECT_EQ(std::get<0>(errors.calls[0]), QStringLiteral("だめ"));
  // The previous cell stays remembered: the next move reports 2 as the old row.
  int oldRow = -1;
  grid.OnRowChanged = [&](TObject*, int o, int) { oldRow = o; };
  grid.UserSelectCell(1, 4);
  EXPECT_EQ(oldRow, 2);
}

TEST_F(GridBasics, UserSelectRowsDragsFromTheFirstToTheLastColumn) {
  grid.SetRowCount(200);
  grid.SetColCount(6);
  int cellEvents = 0;
  grid.OnCellChanged = [&](TObject*, int, int, int, int) { ++cellEvents; };
  grid.show();
  EXPECT_TRUE(grid.UserSelectRows(120, 150));
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 120, 5, 150}));
  EXPECT_EQ(grid.Col(), 5);
  EXPECT_EQ(grid.Row(), 150);
  EXPECT_EQ(grid.TopRow(), 120);
  EXPECT_EQ(cellEvents, 2);
}

TEST_F(GridBasics, RowSelectSpansTheBodyColumns) {
  grid.SetOptions(grid.Options() | goRowSelect);
  grid.SetRow(3);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 3, 4, 3}));
}

TEST_F(GridBasics, OptionsFollowTheSelectedCellsParameter) {
  TSCGCellParam* p = grid.FindCellParam(2, 2, true);
  p->SetOptions(grid.Options() | goEditing | goRowSelect);
  p->SetOptionsEnabled(true);
  grid.SetRow(2);
  grid.SetCol(2);
  EXPECT_TRUE(grid.ActiveOptions() & goEditing);
  EXPECT_FALSE(grid.Options() & goEditing);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 2, 4, 2}));
  grid.SetCol(3);
  EXPECT_FALSE(grid.ActiveOptions() & goEditing);
  EXPECT_EQ(grid.Selection(), (TGridRect{3, 2, 3, 2}));
}

TEST_F(GridBasics, KeyboardMovesAndExtends) {
  grid.show();
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(&grid, &down);
  EXPECT_EQ(grid.Row(), 2);
  QKeyEvent shiftRight(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
  QApplication::sendEvent(&grid, &shiftRight);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 2, 2, 2}));
  QKeyEvent ctrlEnd(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
  QApplication::sendEvent(&grid, &ctrlEnd);
  EXPECT_EQ(grid.Row(), 4);
  EXPECT_EQ(grid.Selection(), (TGridRect{2, 4, 2, 4}));
}

TEST_F(GridBasics, MouseSelectsAndDragsARange) {
  grid.show();
  Recorder<> spy(&grid, &TStringGrid::selectionChanged);
  const QPointF a = grid.CellRect(2, 2).center(), b = grid.CellRect(3, 4).center();
  QMouseEvent press(QEvent::MouseButtonPress, a, grid.viewport()->mapToGlobal(a), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(grid.viewport(), &press);
  QMouseEvent move(QEvent::MouseMove, b, grid.viewport()->mapToGlobal(b), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(grid.viewport(), &move);
  EXPECT_EQ(grid.Selection(), (TGridRect{2, 2, 3, 4}));
  EXPECT_EQ(grid.Row(), 4);
  EXPECT_EQ(spy.count(), 2);
  const QPointF fixed = grid.CellRect(0, 3).center();
  QMouseEvent onFixed(QEvent::MouseButtonPress, fixed, grid.viewport()->mapToGlobal(fixed),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(grid.viewport(), &onFixed);
  EXPECT_EQ(grid.Row(), 4);
}

TEST_F(GridBasics, InPlaceEditorCommitsOnEnterAndCancelsOnEscape) {
  grid.SetOptions(grid.Options() | goEditing);
  grid.SetImeMode(TImeMode::imDisable);
  grid.show();
  Recorder<int, int> edited(&grid, &TStringGrid::cellEdited);
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QApplication::sendEvent(&grid, &typed);
  ASSERT_TRUE(grid.EditorMode());
  EXPECT_FALSE(grid.InplaceEditor()->testAttribute(Qt::WA_InputMethodEnabled));
  grid.InplaceEditor()->setText(QStringLiteral("入力"));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(grid.InplaceEditor(), &enter);
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_EQ(grid.Cells(1, 1), QStringLiteral("入力"));
  EXPECT_EQ(edited.count(), 1);
  grid.ShowEditor();
  grid.InplaceEditor()->setText(QStringLiteral("捨てる"));
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(grid.InplaceEditor(), &escape);
  EXPECT_EQ(grid.Cells(1, 1), QStringLiteral("入力"));
}

// Sends a left-button mouse event to the grid's viewport.
void Mouse(TStringGrid& grid, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  const QPointF p(at);
  QMouseEvent e(type, p, grid.viewport()->mapToGlobal(p), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                held, Qt::NoModifier);
  QApplication::sendEvent(grid.viewport(), &e);
}

TEST_F(GridBasics, DraggingABorderInTheFixedRowSizesTheColumn) {
  grid.show();
  const QRect header = grid.CellRect(2, 0);
  const QPoint border(RectRight(header), header.center().y());
  // Without the option the border is only a line.
  Mouse(grid, QEvent::MouseMove, border, Qt::NoButton);
  EXPECT_NE(grid.viewport()->cursor().shape(), Qt::SplitHCursor);
  grid.SetOptions(grid.Options() | goColSizing);
  Mouse(grid, QEvent::MouseMove, border + QPoint(0, grid.RowHeights(0) + 4), Qt::NoButton);
  EXPECT_NE(grid.viewport()->cursor().shape(), Qt::SplitHCursor) << "a body row does not size";
  Mouse(grid, QEvent::MouseMove, border + QPoint(2, 0), Qt::NoButton);
  EXPECT_EQ(grid.viewport()->cursor().shape(), Qt::SplitHCursor);
  const TGridRect before = grid.Selection();
  Mouse(grid, QEvent::MouseButtonPress, border + QPoint(2, 0), Qt::LeftButton);
  Mouse(grid, QEvent::MouseMove, border + QPoint(42, 0), Qt::LeftButton);
  EXPECT_EQ(grid.ColWidths(2), 104);
  Mouse(grid, QEvent::MouseMove, border + QPoint(-500, 0), Qt::LeftButton);
  EXPECT_EQ(grid.ColWidths(2), 1) << "a column keeps one pixel to be caught again";
  Mouse(grid, QEvent::MouseButtonRelease, border + QPoint(-500, 0), Qt::NoButton);
  Mouse(grid, QEvent::MouseMove, border + QPoint(60, 0), Qt::NoButton);
  EXPECT_EQ(grid.ColWidths(2), 1) << "the drag ends with the button";
  EXPECT_EQ(grid.Selection(), before) << "sizing selects nothing";
  EXPECT_EQ(grid.ColWidths(1), 64);
}

TEST_F(GridBasics, RowSelectionNeverScrollsSidewaysToTheCurrentColumn) {
  grid.SetOptions(grid.Options() | goRowSelect);
  grid.SetColCount(12);
  grid.show();
  grid.SetSelection(TGridRect{1, 2, 11, 2});
  EXPECT_EQ(grid.LeftCol(), 1);
  QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QApplication::sendEvent(&grid, &right);
  QApplication::sendEvent(&grid, &right);
  EXPECT_EQ(grid.LeftCol(), 3) << "the sideways keys scroll a row-selecting grid";
  // Narrower columns bring the view back so that no empty space follows the last column.
  for (int c = 1; c < 12; ++c) grid.SetColWidths(c, 20);
  EXPECT_EQ(grid.LeftCol(), 1);
  for (int c = 1; c < 12; ++c) grid.SetColWidths(c, 64);
  grid.SetLeftCol(99);
  const QRect last = grid.CellRect(11, 0);
  ASSERT_FALSE(last.isEmpty());
  EXPECT_LE(RectRight(last), grid.viewport()->width());
  EXPECT_GT(RectRight(last) + 65, grid.viewport()->width()) << "scrolled no further than needed";
}

TEST_F(GridBasics, DoubleClickAndBeforeDraw) {
  Recorder<> clicks(&grid, &TStringGrid::dblClick);
  grid.UserDblClick();
  EXPECT_EQ(clicks.count(), 1);
  int draws = 0;
  grid.BeforeDraw = [&](TObject*) { ++draws; };
  grid.Render();
  EXPECT_EQ(draws, 1);
}

}  // namespace
}  // namespace zantro::test
