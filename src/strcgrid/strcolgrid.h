// TStrColGrid: the string grid in which the detail sheets and the breakdown list are shown.
// Over the plain string grid it adds per-cell parameters (caption, alignment, layout, colours,
// named font, font width, IME mode, options, enter/exit events), multi-line cells drawn in equal
// bands, focus colours and a dotted focus frame. It draws every cell itself.
//
// Typical use by a window:
//   grid->SetColCount(9); grid->SetRowCount(101);
//   grid->SetCells(1, r, text); grid->SetColWidths(1, 300);
//   grid->SetCellColor(c, 0, ColorFromNumber(10652814)); grid->SetCellFontColor(c, r, Qt::white);
//   connect(grid, &TStringGrid::dblClick, ...); grid->OnRowChanged = ...;
#pragma once

#include <QStringList>

#include "strcgrid/cellfont.h"
#include "strcgrid/cellparam.h"
#include "strcgrid/stringgrid.h"

namespace zantro {

class TStrColGrid : public TStringGrid {
  Q_OBJECT

 public:
  explicit TStrColGrid(QWidget* parent = nullptr);
  ~TStrColGrid() override;

  TSCGCellParams& CellParams() { return params_; }
  const TSCGCellParams& CellParams() const { return params_; }
  TSCGCellFonts& Fonts() { return fonts_; }
  const TSCGCellFonts& Fonts() const { return fonts_; }

  // Non-fixed (fixed) cells without a parameter.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a) { alignment_ = a; viewport()->update(); }
  TAlignment FixedAlignment() const { return fixedAlignment_; }
  void SetFixedAlignment(TAlignment a) { fixedAlignment_ = a; viewport()->update(); }
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l) { layout_ = l; viewport()->update(); }
  TTextLayout FixedLayout() const { return fixedLayout_; }
  void SetFixedLayout(TTextLayout l) { fixedLayout_ = l; viewport()->update(); }
  // True: selection colours are painted even while the grid has no input focus.
  bool FocusDraw() const { return focusDraw_; }
  void SetFocusDraw(bool on) { focusDraw_ = on; viewport()->update(); }
  QColor FocusCellColor() const { return focusCellColor_; }
  void SetFocusCellColor(const QColor& c) { focusCellColor_ = c; viewport()->update(); }
  QColor FocusCellFontColor() const { return focusCellFontColor_; }
  void SetFocusCellFontColor(const QColor& c) { focusCellFontColor_ = c; viewport()->update(); }
  bool FocusCellFontColorEnabled() const { return focusCellFontColorEnabled_; }
  void SetFocusCellFontColorEnabled(bool on) { focusCellFontColorEnabled_ = on; viewport()->update(); }
  TImeMode ImeMode() const { return imeMode_; }
  void SetImeMode(TImeMode m);
  // True: multi-line text in equal bands; false: the whole text word-wrapped.
  bool CellDivide() const { return cellDivide_; }
  void SetCellDivide(bool on) { cellDivide_ = on; viewport()->update(); }
  // The grid-level options. The options in force follow the selected cell's parameter.
  TGridOptions Options() const override { return options_; }
  void SetOptions(TGridOptions o) override;

  TSCGCellChangedEvent OnCellChanged;
  TSCGColChangedEvent OnColChanged;
  TSCGRowChangedEvent OnRowChanged;
  TSCGOutCellTextEvent OnOutCellText;
  TSCGDrawTextOneLineEvent OnDrawTextOneLine;
  TNotifyEvent BeforeDraw;

  // The most recently added parameter that covers the cell; with create, a new single-cell
  // parameter (grid colours, colours enabled) when none does.
  TSCGCellParam* FindCellParam(int col, int row, bool create = false);
  void SetCellAlignment(int col, int row, TAlignment a);
  void SetCellFontColor(int col, int row, const QColor& c);
  void SetCellFontWidth(int col, int row, int width);
  void SetCellColor(int col, int row, const QColor& c);
  // Raises ERangeError outside 0..ColCount x 0..RowCount (the counts themselves pass).
  void CheckCellPos(int col, int row) const;
  // A parameter covering col..colMax x row..rowMax (for header rows and other blocks).
  TSCGCellParam* AddRangeParam(int col, int row, int colMax, int rowMax);

  // The font a parameter names, or the grid font; raises when the name is not registered.
  const TFont& ParamFont(const TSCGCellParam* p) const;

 protected:
  void Loaded() override;
  void Paint() override;
  QLineEdit* CreateEditor() override;
  void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) override;
  bool SelectCell(int col, int row) override;
  void DoEnter() override;
  virtual void PaintCellBackground(int col, int row, bool focused, TSCGCellParam* param,
                                   TGridDrawState state);
  bool ApplyFocusColors(TSCGCellParam* param, TGridDrawState state);

 private:
  struct TextStyle {
    QString text;
    TAlignment alignment;
    TTextLayout layout;
    int width;
  };
  TGridOptions EffectiveOptions(const TSCGCellParam* p) const;
  QRect DrawnCellRect(int col, int row) const;
  const TFont& PaintFont(const TSCGCellParam* p);
  void ReportPaintErrorOnce(const QString& message);
  TextStyle CellTextStyle(int col, int row, const QRect& rect, TSCGCellParam* p);
  void AfterOutCellText(bool reset);
  void DrawBands(int col, int row, const QRect& rect, TGridDrawState state, TSCGCellParam* p,
                 const TextStyle& style, TGridOptions opts);
  void DrawBandText(const QRect& cell, const QRect& band, const QString& text, TAlignment a,
                    TTextLayout l, int width);
  void DrawInnerLines(const QRect& band, int index, int count, bool fixed);
  void DrawFocusMarks(int col, int row, const QRect& rect, TGridDrawState state,
                      const TSCGCellParam* p, TGridOptions opts);
  void DrawDottedEdges(const QRect& r, bool top, bool bottom, bool left, bool right);
  void DrawDot(int x, int y);
  void Draw3DFrame(const QRect& r);
  void ApplyCellSettings(QLineEdit* editor, const TSCGCellParam* p);
  void FireCellEvents(TSCGCellParam* oldParam, TSCGCellParam* newParam, int col, int row);

  TSCGCellParams params_{this};
  TSCGCellFonts fonts_{this};
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TAlignment fixedAlignment_ = TAlignment::taLeftJustify;
  TTextLayout layout_ = TTextLayout::tlTop;
  TTextLayout fixedLayout_ = TTextLayout::tlTop;
  bool focusDraw_ = true;
  QColor focusCellColor_ = colors::clHighlight;
  QColor focusCellFontColor_ = colors::clHighlightText;
  bool focusCellFontColorEnabled_ = false;
  TImeMode imeMode_ = TImeMode::imDontCare;
  bool cellDivide_ = true;
  TGridOptions options_;
  // Drawing state reused for every cell: the canvas snapshot and the text lines.
  TCanvas::State snapshot_;
  QStringList lines_;
  int prevCol_ = 1, prevRow_ = 1;
  // The cell being drawn, so that PaintCellBackground need not look its rectangle up.
  int drawCol_ = -1, drawRow_ = -1;
  QRect drawRect_;
  bool fontErrorReported_ = false;
};

// Splits text into lines as a string list does: at CR, LF or CR LF; a break at the very end
// starts no further line. The list is cleared first; an empty text gives no lines.
void SplitCellLines(const QString& text, QStringList& lines);
// The drawn text of a parameter from its caption and the cell text.
QString ComposeCellText(TSCGCellCaptionType type, const QString& caption, const QString& cell);
// Applies an input-method mode to a widget as Qt input-method hints.
void ApplyImeMode(QWidget* widget, TImeMode mode);

}  // namespace zantro
