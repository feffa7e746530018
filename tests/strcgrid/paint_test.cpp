// Pixel checks of the cell drawing where the rules are exact.
#include <gtest/gtest.h>

#include "gridtest.h"

namespace zantro::test {
namespace {

class GridPaint : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApp(); }
  // The current cell is selected and so painted in the focus colour; keep it out of the way.
  void SetUp() override {
    grid.SetCol(4);
    grid.SetRow(4);
  }
  TestGrid grid;
  QRgb At(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }
};

constexpr QRgb kWhite = 0xFFFFFF, kSilver = 0xC0C0C0, kShadow = 0x808080, kBlack = 0;
constexpr QRgb kFace = 0xD4D0C8, kHighlight = 0x0A246A;

TEST_F(GridPaint, CellsSitBetweenOnePixelGridLines) {
  const QImage img = grid.Render();
  EXPECT_EQ(grid.CellRect(1, 1), QRect(65, 25, 64, 24));
  EXPECT_EQ(At(img, 64, 10), kBlack);    // line right of the fixed column
  EXPECT_EQ(At(img, 129, 30), kSilver);  // between two body cells
  EXPECT_EQ(At(img, 100, 49), kSilver);  // below body row 1
}

// Band heights show as the silver inner lines at the top of every band after the first.
void ExpectBandLines(GridPaint* t, TestGrid& grid, int height, std::vector<int> lineOffsets) {
  grid.SetRowHeights(1, height);
  grid.SetCells(1, 1, QStringLiteral("a\rb\nc"));
  const QImage img = grid.Render();
  const QRect r = grid.CellRect(1, 1);
  const int x = RectRight(r) - 3;  // clear of the text
  for (int dy = 1; dy < height; ++dy) {
    const bool line = std::find(lineOffsets.begin(), lineOffsets.end(), dy) != lineOffsets.end();
    EXPECT_EQ(img.pixel(x, r.top() + dy) & 0xFFFFFF, line ? kSilver : kWhite)
        << "height " << height << " offset " << dy;
  }
  (void)t;
}

TEST_F(GridPaint, ThreeLinesMakeEqualBandsAndTheLastTakesTheRest) {
  ExpectBandLines(this, grid, 51, {17, 34});
  ExpectBandLines(this, grid, 50, {16, 32});
}

TEST_F(GridPaint, TextIsPlacedByItsBoxInEveryBand) {
  grid.SetRowHeights(1, 60);
  grid.SetCells(1, 1, QStringLiteral("I\r\nI"));
  const QImage img = grid.Render();
  const QRect r = grid.CellRect(1, 1);
  // Left aligned at left + 2, top layout at band top + 2: the first dark pixel column is near
  // left + 2 in both bands, and nothing is drawn above band top + 2.
  for (int band = 0; band < 2; ++band) {
    const int top = r.top() + band * 30;
    for (int x = r.left(); x < RectRight(r); ++x) {
      EXPECT_FALSE(IsDark(img.pixel(x, top + 1))) << x;
    }
    int firstDark = -1;
    for (int x = r.left(); x < RectRight(r) && firstDark < 0; ++x)
      for (int y = top; y < top + 30; ++y)
        if (IsDark(img.pixel(x, y))) { firstDark = x; break; }
    EXPECT_GE(firstDark, r.left() + 2);
    EXPECT_LE(firstDark, r.left() + 4);
  }
}

TEST_F(GridPaint, FontWidthOverdrawsOnePixelFurtherRight) {
  grid.SetColWidths(1, 120);
  grid.SetCells(1, 1, QStringLiteral("Wide 123"));
  grid.SetCells(1, 2, QStringLiteral("Wide 123"));
  grid.SetCells(1, 3, QStringLiteral("Wide 123"));
  grid.SetCellFontWidth(1, 1, 1);
  grid.SetCellFontWidth(1, 2, 2);
  grid.SetCellFontWidth(1, 3, 0);
  grid.SetCellColor(1, 3, QColor(0x30, 0xA0, 0x50));
  const QImage img = grid.Render();
  const QRect one = grid.CellRect(1, 1), two = grid.CellRect(1, 2), none = grid.CellRect(1, 3);
  int darkOne = 0, darkTwo = 0;
  for (int dy = 0; dy < one.height(); ++dy) {
    for (int dx = 1; dx < one.width(); ++dx) {
      const bool a = IsDark(img.pixel(one.left() + dx, one.top() + dy));
      const bool aLeft = IsDark(img.pixel(one.left() + dx - 1, one.top() + dy));
      const bool b = IsDark(img.pixel(two.left() + dx, two.top() + dy));
      EXPECT_EQ(b, a || aLeft) << dx << "," << dy;
      darkOne += a;
      darkTwo += b;
    }
  }
  EXPECT_GT(darkOne, 20);
  EXPECT_GT(darkTwo, darkOne);
  for (int dy = 0; dy < none.height(); ++dy)
    for (int dx = 0; dx < none.width(); ++dx)
      ASSERT_EQ(At(img, none.left() + dx, none.top() + dy), 0x30A050u) << dx << "," << dy;
}

TEST_F(GridPaint, DottedFrameMarksTheFocusedCell) {
  grid.focused = true;
  grid.SetCol(2);
  grid.SetRow(2);
  const QImage img = grid.Render();
  const QRect r = grid.CellRect(2, 2);
  const int l = r.left(), t = r.top(), rr = RectRight(r) - 1, b = RectBottom(r) - 1;
  // The focused cell keeps its colours (no goDrawFocusSelected), so dots invert white.
  EXPECT_EQ(At(img, l, t), kBlack);
  EXPECT_EQ(At(img, l + 1, t), kWhite);
  EXPECT_EQ(At(img, l + 2, t), kBlack);
  EXPECT_EQ(At(img, l + 2, b), kBlack);
  EXPECT_EQ(At(img, l + 3, b), kWhite);
  EXPECT_EQ(At(img, l, t + 2), kBlack);
  EXPECT_EQ(At(img, l, t + 3), kWhite);
  EXPECT_EQ(At(img, rr, t + 2), kBlack);
  EXPECT_EQ(At(img, rr, t + 4), kBlack);
  EXPECT_EQ(At(img, l + 5, t + 5), kWhite);
  // Without the input focus there are no marks; the cell is merely selected (FocusDraw).
  grid.focused = false;
  const QImage plain = grid.Render();
  EXPECT_EQ(At(plain, l, t), kHighlight);
  EXPECT_EQ(At(plain, l + 2, t), kHighlight);
}

TEST_F(GridPaint, RowSelectMarksTheRowWithSideEdgesAtItsEndsOnly) {
  grid.focused = true;
  grid.SetOptions(grid.Options() | goRowSelect);
  grid.SetCol(2);
  grid.SetRow(2);
  const QImage img = grid.Render();
  const QRgb inverted = 0xFFFFFF & ~kHighlight;
  for (int c = 1; c <= 4; ++c) {
    const QRect r = grid.CellRect(c, 2);
    const int l = r.left(), t = r.top(), rr = RectRight(r) - 1;
    EXPECT_EQ(At(img, l + 2, t), inverted) << c;
    EXPECT_EQ(At(img, l + 3, t), kHighlight) << c;
    EXPECT_EQ(At(img, l + 2, RectBottom(r) - 1), inverted) << c;
    EXPECT_EQ(At(img, l, t + 4), c == 1 ? inverted : kHighlight) << c;
    EXPECT_EQ(At(img, rr, t + 4), c == 4 ? inverted : kHighlight) << c;
  }
  // Other rows carry no marks.
  const QRect other = grid.CellRect(2, 3);
  EXPECT_EQ(At(img, other.left(), other.top()), kWhite);
}

TEST_F(GridPaint, RowSelectEndsComeFromAParameterWithOptions) {
  grid.focused = true;
  TSCGCellParam* p = grid.AddRangeParam(2, 2, 3, 2);
  p->SetOptions(grid.Options() | goRowSelect);
  p->SetOptionsEnabled(true);
  grid.SetCol(2);
  grid.SetRow(2);
  const QImage img = grid.Render();
  const QRect c2 = grid.CellRect(2, 2), c3 = grid.CellRect(3, 2);
  EXPECT_NE(At(img, c2.left(), c2.top() + 4), At(img, c2.left() + 1, c2.top() + 4));
  EXPECT_NE(At(img, RectRight(c3) - 1, c3.top() + 4), At(img, RectRight(c3) - 2, c3.top() + 4));
  EXPECT_EQ(At(img, RectRight(c2) - 1, c2.top() + 4), At(img, RectRight(c2) - 2, c2.top() + 4));
}

TEST_F(GridPaint, DotOnMidGreyIsWhite) {
  grid.focused = true;
  grid.SetCol(1);
  grid.SetRow(1);
  grid.SetCellColor(1, 1, QColor(0x80, 0x80, 0x80));
  grid.SetCellColor(1, 3, QColor(0x7A, 0x85, 0x80));
  const QImage img = grid.Render();
  const QRect r = grid.CellRect(1, 1);
  EXPECT_EQ(At(img, r.left(), r.top()), kWhite);
  EXPECT_EQ(At(img, r.left() + 1, r.top()), kShadow);
  grid.SetRow(3);
  const QImage img3 = grid.Render();
  const QRect r3 = grid.CellRect(1, 3);
  EXPECT_EQ(At(img3, r3.left(), r3.top()), kWhite);
}

TEST_F(GridPaint, SelectedCellsTakeTheFocusColour) {
  grid.SetSelection({1, 1, 2, 2});  // current cell (2,2)
  const QImage img = grid.Render();
  const QRect a = grid.CellRect(1, 1), cur = grid.CellRect(2, 2), out = grid.CellRect(3, 3);
  EXPECT_EQ(At(img, a.left() + 40, a.top() + 12), kHighlight);
  // Without the input focus the current cell is merely selected and painted too (FocusDraw).
  EXPECT_EQ(At(img, cur.left() + 40, cur.top() + 12), kHighlight);
  EXPECT_EQ(At(img, out.left() + 40, out.top() + 12), kWhite);
  grid.focused = true;
  const QImage focused = grid.Render();
  EXPECT_EQ(At(focused, cur.left() + 40, cur.top() + 12), kWhite);
  grid.SetFocusDraw(false);
  grid.focused = false;
  const QImage noDraw = grid.Render();
  EXPECT_EQ(At(noDraw, a.left() + 40, a.top() + 12), kWhite);
}

TEST_F(GridPaint, LaterOfTwoOverlappingParametersWins) {
  TSCGCellParam* red = grid.AddRangeParam(1, 1, 3, 3);
  red->SetCellColor(QColor(0xFF, 0, 0));
  red->SetCellColorEnabled(true);
  grid.SetCellColor(2, 2, QColor(0, 0xFF, 0));  // modifies the covering range parameter
  TSCGCellParam* blue = grid.AddRangeParam(2, 2, 2, 3);
  blue->SetCellColor(QColor(0, 0, 0xFF));
  blue->SetCellColorEnabled(true);
  TSCGCellParam* single = grid.CellParams().Add();
  single->SetCol(3);
  single->SetRow(3);
  single->SetCellColor(QColor(0xFF, 0xFF, 0));
  single->SetCellColorEnabled(true);
  grid.SetCol(4);
  grid.SetRow(4);
  const QImage img = grid.Render();
  auto mid = [&](int c, int r) {
    const QRect rect = grid.CellRect(c, r);
    return At(img, rect.left() + 40, rect.top() + 12);
  };
  EXPECT_EQ(mid(1, 1), 0x00FF00u);  // the range parameter took the setter's colour
  EXPECT_EQ(mid(2, 2), 0x0000FFu);
  EXPECT_EQ(mid(2, 3), 0x0000FFu);
  EXPECT_EQ(mid(3, 3), 0xFFFF00u);
  EXPECT_EQ(mid(3, 2), 0x00FF00u);
}

// A cell drawn through a caption type looks exactly like a plain cell holding the composed text.
TEST_F(GridPaint, CaptionTypesComposeTheDrawnText) {
  struct Case {
    TSCGCellCaptionType type;
    QString caption, cell, drawn;
  };
  const Case cases[] = {
      {TSCGCellCaptionType::ctHeader, "AB", "cd", "ABcd"},
      {TSCGCellCaptionType::ctFooter, "AB", "cd", "cdAB"},
      {TSCGCellCaptionType::ctCaption, "", "cd", "cd"},
      {TSCGCellCaptionType::ctCaption, "AB", "cd", "AB"},
      {TSCGCellCaptionType::ctCellText, "AB", "", "AB"},
      {TSCGCellCaptionType::ctTop, "AB", "cd", "AB\ncd"},
      {TSCGCellCaptionType::ctTop, "AB", "", "AB\n\n"},
      {TSCGCellCaptionType::ctBottom, "AB", "cd", "cd\nAB"},
  };
  grid.SetRowHeights(1, 40);
  grid.SetRowHeights(2, 40);
  grid.SetCol(3);
  for (const Case& c : cases) {
    grid.CellParams().Clear();
    grid.SetCells(1, 1, c.cell);
    TSCGCellParam* p = grid.FindCellParam(1, 1, true);
    p->SetCaption(c.caption);
    p->SetCaptionType(c.type);
    grid.SetCells(1, 2, c.drawn);
    const QImage img = grid.Render();
    const QRect a = grid.CellRect(1, 1), b = grid.CellRect(1, 2);
    EXPECT_EQ(img.copy(a), img.copy(b)) << c.drawn.toStdString();
  }
}

TEST_F(GridPaint, FixedCellsGetA3DFrame) {
  const QImage img = grid.Render();
  const QRect r = grid.CellRect(2, 0);
  const int l = r.left(), t = r.top(), rr = RectRight(r) - 1, b = RectBottom(r) - 1;
  EXPECT_EQ(At(img, l + 10, t), kWhite);
  EXPECT_EQ(At(img, l, t + 10), kWhite);
  EXPECT_EQ(At(img, l, t), kWhite);
  EXPECT_EQ(At(img, rr, t), kWhite);
  EXPECT_EQ(At(img, l + 10, b), kShadow);
  EXPECT_EQ(At(img, rr, t + 10), kShadow);
  EXPECT_EQ(At(img, l, b), kShadow);
  EXPECT_EQ(At(img, rr, b), kShadow);
  EXPECT_EQ(At(img, l + 10, t + 1), kFace);
  grid.SetCtl3D(false);
  const QImage flat = grid.Render();
  EXPECT_EQ(At(flat, l + 10, t), kFace);
  EXPECT_EQ(At(flat, l + 10, b), kFace);
}

TEST_F(GridPaint, FixedMultiLineCellsGetRaisedBandLines) {
  grid.SetRowHeights(0, 40);
  grid.SetCells(2, 0, QStringLiteral("a\rb"));
  const QImage img = grid.Render();
  const QRect r = grid.CellRect(2, 0);
  const int x = RectRight(r) - 4;
  EXPECT_EQ(At(img, x, r.top() + 19), kShadow);  // one above the first band's bottom
  EXPECT_EQ(At(img, x, r.top() + 20), kWhite);   // top of the second band
  EXPECT_EQ(At(img, x, r.top() + 21), kFace);
}

TEST_F(GridPaint, OutCellTextHandlerChangesTextAndCanKeepItsCanvas) {
  grid.SetCells(1, 1, QStringLiteral("x"));
  TSCGCellParam* p = grid.FindCellParam(1, 1, true);
  p->OnOutCellText = [](TObject*, TStrColGrid* g, const QRect&, int, int, const QString&,
                        QString& value, bool& reset) {
    value = QStringLiteral("WWW");
    g->Canvas().Font.Color = QColor(0xFF, 0, 0);
    reset = false;
  };
  grid.SetCells(1, 2, QStringLiteral("WWW"));
  grid.SetCellFontColor(1, 2, QColor(0xFF, 0, 0));
  grid.SetCol(3);
  const QImage img = grid.Render();
  EXPECT_EQ(img.copy(grid.CellRect(1, 1)), img.copy(grid.CellRect(1, 2)));
  p->OnOutCellText = [](TObject*, TStrColGrid* g, const QRect&, int, int, const QString&,
                        QString& value, bool&) {
    value = QStringLiteral("WWW");
    g->Canvas().Font.Color = QColor(0xFF, 0, 0);  // undone: reset stays true
  };
  const QImage undone = grid.Render();
  EXPECT_NE(undone.copy(grid.CellRect(1, 1)), undone.copy(grid.CellRect(1, 2)));
}

TEST_F(GridPaint, DrawTextOneLineHandlersSeeEveryBandGridFirst) {
  grid.SetRowHeights(1, 40);
  grid.SetRowHeights(2, 40);
  grid.SetCells(1, 1, QStringLiteral("a\rb"));
  grid.SetCells(1, 2, QStringLiteral("X\rb"));
  QStringList calls;
  grid.OnDrawTextOneLine = [&](TObject* s, TStrColGrid*, const QRect& band, int col, int row,
                               int i, TGridDrawState, QString& text, TAlignment&, TTextLayout&,
                               bool& inner) {
    if (col != 1 || row != 1) return;
    calls << QString("grid %1 %2 %3").arg(s == &grid).arg(i).arg(band.height());
    if (i == 0) text = QStringLiteral("X");
    inner = false;
  };
  TSCGCellParam* p = grid.FindCellParam(1, 1, true);
  grid.FindCellParam(1, 2, true);
  p->OnDrawTextOneLine = [&](TObject* s, TStrColGrid*, const QRect&, int, int, int i,
                             TGridDrawState, QString& text, TAlignment&, TTextLayout&, bool&) {
    calls << QString("param %1 %2 %3").arg(s == p).arg(i).arg(text);
  };
  const QImage img = grid.Render();
  EXPECT_EQ(calls, QStringList({"grid 1 0 20", "param 1 0 X", "grid 1 1 20", "param 1 1 b"}));
  const QRect a = grid.CellRect(1, 1), b = grid.CellRect(1, 2);
  EXPECT_EQ(At(img, RectRight(a) - 3, a.top() + 20), kWhite);   // inner line switched off
  EXPECT_EQ(At(img, RectRight(b) - 3, b.top() + 20), kSilver);
  EXPECT_EQ(img.copy(a.adjusted(0, 0, 0, -21)), img.copy(b.adjusted(0, 0, 0, -21)));
}

TEST_F(GridPaint, UnregisteredFontFallsBackAndIsReportedOnce) {
  int reports = 0;
  QObject::connect(&grid, &TStringGrid::handlerError, [&](const QString& m) {
    ++reports;
    EXPECT_EQ(m, QStringLiteral("CellParams で指定されたフォント名が Fonts に登録されていません"));
  });
  grid.SetCells(1, 1, QStringLiteral("abc"));
  grid.SetCells(1, 2, QStringLiteral("abc"));
  grid.SetCol(3);
  grid.BeginLoad();
  grid.FindCellParam(1, 1, true)->SetFontName(QStringLiteral("missing"));
  grid.EndLoad();
  EXPECT_EQ(grid.FindCellParam(1, 1)->FontName(), QStringLiteral("missing"));
  grid.FindCellParam(1, 2, true);
  reports = 0;
  const QImage img = grid.Render();
  grid.Render();
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(img.copy(grid.CellRect(1, 1)), img.copy(grid.CellRect(1, 2)));
}

TEST_F(GridPaint, WordWrapWithoutCellDivide) {
  grid.SetCellDivide(false);
  grid.SetRowHeights(1, 60);
  grid.SetCells(1, 1, QStringLiteral("ab cd ef gh"));
  grid.SetCol(3);
  const QImage img = grid.Render();
  const QRect r = grid.CellRect(1, 1);
  int darkRowsBelowFirstLine = 0;
  for (int y = r.top() + 20; y < RectBottom(r) - 2; ++y)
    for (int x = r.left(); x < RectRight(r); ++x)
      if (IsDark(img.pixel(x, y))) { ++darkRowsBelowFirstLine; break; }
  EXPECT_GT(darkRowsBelowFirstLine, 3);
}

}  // namespace
}  // namespace zantro::test
