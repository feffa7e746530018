// Cell parameters and font entries: defaults, validation with the old value kept, names and the
// lookup of the governing parameter.
#include <gtest/gtest.h>

#include "gridtest.h"

namespace zantro::test {
namespace {

class CellParams : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApp(); }
  TestGrid grid;
};

template <class E, class F>
QString MessageOf(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  return QStringLiteral("(nothing raised)");
}

TEST_F(CellParams, NewParameterDefaultsAndDisplayName) {
  TSCGCellParam* p = grid.CellParams().Add();
  TSCGCellParam* q = grid.CellParams().Add();
  EXPECT_EQ(p->Name(), QStringLiteral("パラメータ1"));
  EXPECT_EQ(q->Name(), QStringLiteral("パラメータ2"));
  EXPECT_EQ(p->Alignment(), TAlignment::taLeftJustify);
  EXPECT_EQ(p->CaptionType(), TSCGCellCaptionType::ctCellText);
  EXPECT_EQ(p->CellColor(), colors::clWindow);
  EXPECT_FALSE(p->CellColorEnabled());
  EXPECT_EQ(p->FontColor(), colors::clWindowText);
  EXPECT_EQ(p->FontWidth(), 1);
  EXPECT_EQ(p->ImeMode(), TImeMode::imDontCare);
  EXPECT_EQ(p->Layout(), TTextLayout::tlTop);
  EXPECT_EQ(p->Options(), grid.Options());
  EXPECT_FALSE(p->RangeEnabled());
  q->SetCol(12);
  q->SetRow(345);
  q->SetColMax(3);
  EXPECT_EQ(q->DisplayName(), QStringLiteral("パラメータ2 ( 12,345)-(  3,  0)"));
}

TEST_F(CellParams, NegativePositionIsRefusedAndTheOldValueKept) {
  TSCGCellParam* p = grid.CellParams().Add();
  p->SetCol(2);
  p->SetRow(3);
  EXPECT_EQ(MessageOf<ERangeError>([&] { p->SetCol(-1); }),
            QStringLiteral("パラメータ1 (  2,  3)-(  0,  0).Col の値が 0 を下まわりました"));
  EXPECT_EQ(MessageOf<ERangeError>([&] { p->SetRow(-1); }),
            QStringLiteral("パラメータ1 (  2,  3)-(  0,  0).Row の値が 0 を下まわりました"));
  EXPECT_EQ(MessageOf<ERangeError>([&] { p->SetFontWidth(-1); }),
            QStringLiteral("パラメータ1 (  2,  3)-(  0,  0).FontWidth の値が範囲を超えました"));
  EXPECT_EQ(p->Col(), 2);
  EXPECT_EQ(p->Row(), 3);
  EXPECT_EQ(p->FontWidth(), 1);
  p->SetFontWidth(0);
  EXPECT_EQ(p->FontWidth(), 0);
}

TEST_F(CellParams, RangeMustBeSoundWhileEnabled) {
  TSCGCellParam* p = grid.CellParams().Add();
  p->SetCol(2);
  p->SetRow(2);
  EXPECT_EQ(MessageOf<ERangeError>([&] { p->SetRangeEnabled(true); }),
            QStringLiteral("範囲が不正です"));
  EXPECT_FALSE(p->RangeEnabled());
  p->SetColMax(4);
  p->SetRowMax(5);
  p->SetRangeEnabled(true);
  EXPECT_EQ(MessageOf<ERangeError>([&] { p->SetColMax(1); }), QStringLiteral("範囲が不正です"));
  EXPECT_EQ(p->ColMax(), 4);
  EXPECT_EQ(MessageOf<ERangeError>([&] { p->SetCol(5); }), QStringLiteral("範囲が不正です"));
  EXPECT_EQ(p->Col(), 2);
  EXPECT_EQ(MessageOf<ERangeError>([&] { p->SetRow(6); }), QStringLiteral("範囲が不正です"));
  EXPECT_EQ(p->Row(), 2);
  EXPECT_EQ(grid.FindCellParam(4, 5), p);  // the refused changes left the lookup intact
  p->SetRangeEnabled(false);
  p->SetColMax(0);  // no range, no check
  EXPECT_EQ(grid.FindCellParam(2, 2), p);
  EXPECT_EQ(grid.FindCellParam(4, 5), nullptr);
  grid.BeginLoad();
  p->SetRangeEnabled(true);  // not checked while loading
  grid.EndLoad();
  EXPECT_TRUE(p->RangeEnabled());
}

TEST_F(CellParams, UnregisteredFontNameIsDroppedQuietly) {
  grid.Fonts().Add()->SetName(QStringLiteral("見出し"));
  TSCGCellParam* p = grid.CellParams().Add();
  p->SetFontName(QStringLiteral("見出し"));
  EXPECT_EQ(p->FontName(), QStringLiteral("見出し"));
  p->SetFontName(QStringLiteral("ない"));
  EXPECT_EQ(p->FontName(), QString());
}

TEST_F(CellParams, FontEntriesNamesAndRenaming) {
  TSCGCellFonts& fonts = grid.Fonts();
  TSCGCellFont* a = fonts.Add();
  TSCGCellFont* b = fonts.Add();
  EXPECT_EQ(a->Name(), QStringLiteral("フォント1"));
  EXPECT_EQ(b->Name(), QStringLiteral("フォント2"));
  EXPECT_EQ(a->Font(), grid.Font());
  EXPECT_EQ(a->DisplayName(), QStringLiteral("フォント1( DejaVu Sans, 9 )"));
  EXPECT_EQ(MessageOf<EGridError>([&] { a->SetName(QString()); }),
            QStringLiteral("フォント名は空にできません"));
  EXPECT_EQ(MessageOf<EGridError>([&] { a->SetName(QStringLiteral("フォント1")); }),
            QStringLiteral("このフォント名はすでに使用されています"));
  EXPECT_EQ(MessageOf<EGridError>([&] { a->SetName(QStringLiteral("フォント2")); }),
            QStringLiteral("このフォント名はすでに使用されています"));
  EXPECT_EQ(a->Name(), QStringLiteral("フォント1"));

  TSCGCellParam* p = grid.CellParams().Add();
  TSCGCellParam* q = grid.CellParams().Add();
  p->SetFontName(QStringLiteral("フォント1"));
  q->SetFontName(QStringLiteral("フォント2"));
  a->SetName(QStringLiteral("太字"));
  EXPECT_EQ(p->FontName(), QStringLiteral("太字"));
  EXPECT_EQ(q->FontName(), QStringLiteral("フォント2"));
  EXPECT_EQ(fonts.IndexOfName(QStringLiteral("太字")), 0);
  EXPECT_EQ(MessageOf<EGridError>([&] { fonts.IndexOfName(QStringLiteral("フォント1")); }),
            QStringLiteral("CellParams で指定されたフォント名が Fonts に登録されていません"));
  fonts.Delete(0);
  EXPECT_EQ(p->FontName(), QString());
  EXPECT_EQ(q->FontName(), QStringLiteral("フォント2"));
}

TEST_F(CellParams, FindCellParamPrefersTheMostRecentlyAdded) {
  TSCGCellParam* single = grid.FindCellParam(2, 2, true);
  EXPECT_EQ(grid.FindCellParam(2, 2), single);
  TSCGCellParam* range = grid.AddRangeParam(1, 1, 3, 3);
  EXPECT_EQ(grid.FindCellParam(2, 2), range);
  EXPECT_EQ(grid.FindCellParam(3, 1), range);
  EXPECT_EQ(grid.FindCellParam(4, 1), nullptr);
  TSCGCellParam* later = grid.CellParams().Add();
  later->SetCol(2);
  later->SetRow(2);
  EXPECT_EQ(grid.FindCellParam(2, 2), later);
  later->SetRow(4);  // moving it uncovers the cell again
  EXPECT_EQ(grid.FindCellParam(2, 2), range);
  EXPECT_EQ(grid.FindCellParam(2, 4), later);
  grid.CellParams().Delete(range->Index());
  EXPECT_EQ(grid.FindCellParam(2, 2), single);
}

TEST_F(CellParams, CreatedParameterTakesTheGridColours) {
  grid.SetColor(QColor(0x11, 0x22, 0x33));
  TSCGCellParam* body = grid.FindCellParam(2, 2, true);
  TSCGCellParam* fixed = grid.FindCellParam(2, 0, true);
  EXPECT_EQ(body->CellColor(), QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(fixed->CellColor(), colors::clBtnFace);
  EXPECT_TRUE(body->CellColorEnabled());
  EXPECT_TRUE(body->FontColorEnabled());
  EXPECT_EQ(body->FontColor(), grid.Font().Color);
  EXPECT_EQ(grid.CellParams().Count(), 2);
}

TEST_F(CellParams, CellSettersCheckThePosition) {
  grid.SetCellColor(grid.ColCount(), 0, QColor(1, 2, 3));
  TSCGCellParam* outside = grid.FindCellParam(grid.ColCount(), 0);
  ASSERT_NE(outside, nullptr);
  EXPECT_EQ(outside->CellColor(), QColor(1, 2, 3));
  grid.SetCellFontColor(0, grid.RowCount(), QColor(4, 5, 6));
  const QString message = QStringLiteral("ｾﾙ位置がｸﾞﾘｯﾄﾞの範囲を超えました。");
  EXPECT_EQ(MessageOf<ERangeError>([&] { grid.SetCellColor(grid.ColCount() + 1, 0, Qt::red); }),
            message);
  EXPECT_EQ(MessageOf<ERangeError>([&] { grid.SetCellAlignment(-1, 0, TAlignment::taCenter); }),
            message);
  EXPECT_EQ(MessageOf<ERangeError>([&] { grid.SetCellFontWidth(0, -1, 2); }), message);
  EXPECT_EQ(grid.CellParams().Count(), 2);
  // One parameter per cell, however often the setters run.
  grid.SetCellAlignment(1, 1, TAlignment::taRightJustify);
  grid.SetCellFontWidth(1, 1, 2);
  grid.SetCellColor(1, 1, Qt::yellow);
  EXPECT_EQ(grid.CellParams().Count(), 3);
  EXPECT_EQ(grid.FindCellParam(1, 1)->Alignment(), TAlignment::taRightJustify);
}

TEST_F(CellParams, AssignCopiesPropertiesAndHandlers) {
  TSCGCellParam* src = grid.AddRangeParam(1, 2, 3, 4);
  src->SetCaption(QStringLiteral("見出し"));
  src->SetCaptionType(TSCGCellCaptionType::ctTop);
  src->SetFontWidth(3);
  src->SetTag(7);
  int entered = 0;
  src->OnEnterCell = [&](TObject*, TStrColGrid*, int, int, int, int) { ++entered; };
  TSCGCellParam* dst = grid.CellParams().Add();
  dst->Assign(*src);
  EXPECT_EQ(dst->Caption(), src->Caption());
  EXPECT_EQ(dst->CaptionType(), TSCGCellCaptionType::ctTop);
  EXPECT_EQ(dst->FontWidth(), 3);
  EXPECT_EQ(dst->Tag(), 7);
  EXPECT_EQ(dst->Name(), src->Name());
  EXPECT_TRUE(dst->RangeEnabled());
  EXPECT_EQ(grid.FindCellParam(2, 3), dst);  // the copy is the newer one
  dst->OnEnterCell(dst, &grid, 0, 0, 0, 0);
  EXPECT_EQ(entered, 1);

  TestGrid other;
  other.CellParams().Assign(grid.CellParams());
  EXPECT_EQ(other.CellParams().Count(), 2);
  EXPECT_EQ(other.FindCellParam(3, 4)->Tag(), 7);
}

TEST(CellText, LinesSplitAsAStringList) {
  QStringList lines;
  auto split = [&](const char* text) {
    SplitCellLines(QString::fromUtf8(text), lines);
    return lines;
  };
  EXPECT_EQ(split(""), QStringList());
  EXPECT_EQ(split("Cap\r"), QStringList({"Cap"}));
  EXPECT_EQ(split("Cap\r\r"), QStringList({"Cap", ""}));
  EXPECT_EQ(split("a\r\nb\nc\rd"), QStringList({"a", "b", "c", "d"}));
  EXPECT_EQ(split("\n\r\n"), QStringList({"", ""}));
}

TEST(CellText, CaptionTypes) {
  using T = TSCGCellCaptionType;
  EXPECT_EQ(ComposeCellText(T::ctTop, "C", "t"), QStringLiteral("C\rt"));
  EXPECT_EQ(ComposeCellText(T::ctTop, "C", ""), QStringLiteral("C\r\r"));
  EXPECT_EQ(ComposeCellText(T::ctBottom, "C", ""), QStringLiteral("\rC"));
  EXPECT_EQ(ComposeCellText(T::ctCellText, "C", " "), QStringLiteral(" "));
}

}  // namespace
}  // namespace zantro::test
