// TStringGrid: a grid of text cells with fixed rows and columns, column widths and row heights,
// a current cell and a selection, scrolling by whole cells, and an in-place editor. It draws
// everything itself into one pixel buffer (double buffering); subclasses draw the cells by
// overriding DrawCell.
//
// Program code and the user are kept apart: the setters (SetRow, SetCol, SetSelection,
// SetTopRow) change the grid silently, while the User* entries, the mouse and the keyboard act
// as the user and run the selection events. With goColSizing the user sizes a column by dragging
// its right border in the fixed rows (the cursor turns into the sizing arrows there).
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QLineEdit>
#include <functional>
#include <vector>

#include "strcgrid/canvas.h"
#include "strcgrid/gridtypes.h"

namespace zantro {

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TDrawCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const QRect& ARect, TGridDrawState)>;

class TStringGrid : public QAbstractScrollArea, public TObject {
  Q_OBJECT

 public:
  explicit TStringGrid(QWidget* parent = nullptr);
  ~TStringGrid() override;

  int ColCount() const { return colCount_; }
  void SetColCount(int n);
  int RowCount() const { return rowCount_; }
  void SetRowCount(int n);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int n);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int n);
  // Setting a default size resets every column (row) to it.
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int w);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int h);
  int ColWidths(int col) const;
  void SetColWidths(int col, int w);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int h);
  int GridLineWidth() const { return 1; }

  // Cells outside the counts read as empty; writes there are ignored.
  QString Cells(int col, int row) const;
  void SetCells(int col, int row, const QString& text);
  // Moves the texts of count rows starting at row from so that they start at row to; the rows
  // in between take their places in order. Nothing moves when a row would leave the grid.
  void MoveRowTexts(int from, int count, int to);

  int Col() const { return curCol_; }
  int Row() const { return curRow_; }
  void SetCol(int col);
  void SetRow(int row);
  // Anchor := top-left, current cell := bottom-right, as the class library does.
  TGridRect Selection() const { return selection_; }
  void SetSelection(const TGridRect& r);
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int col);
  int VisibleRowCount() const;
  int VisibleColCount() const;

  QColor Color() const { return color_; }
  void SetColor(const QColor& c);
  QColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(const QColor& c);
  const TFont& Font() const { return font_; }
  virtual void SetFont(const TFont& f);
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool on);
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool on);
  // The control's text (empty unless the owner sets one).
  QString Text() const { return text_; }
  void SetText(const QString& t) { text_ = t; }

  // The options in force. The column grid keeps a grid-level value of its own and applies
  // per-cell options over it.
  virtual TGridOptions Options() const { return active_; }
  virtual void SetOptions(TGridOptions o) { ApplyOptions(o); }
  TGridOptions ActiveOptions() const { return active_; }

  // Rectangle of a visible cell in viewport coordinates (empty when not visible).
  QRect CellRect(int col, int row) const;
  bool MouseToCell(const QPoint& p, int& col, int& row) const;
  bool IsFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }

  // The canvas; it paints only during a paint.
  TCanvas& Canvas() { return canvas_; }
  // Paints the viewport as the screen would show it and returns the picture.
  QImage RenderImage();

  // Acting as the user: these run SelectCell with its events and emit selectionChanged.
  bool UserSelectCell(int col, int row, bool extend = false);
  // A mouse drag over rows top..bottom: anchor at the first column after the fixed ones of top,
  // current cell at the last column of bottom; top is scrolled into view.
  bool UserSelectRows(int top, int bottom);
  void UserDblClick();

  bool EditorMode() const;
  void ShowEditor();
  void HideEditor(bool commit);
  QLineEdit* InplaceEditor() const { return editor_; }

  // Restoring from stored settings: checks that need the whole grid are skipped meanwhile.
  bool Loading() const { return loading_; }
  void BeginLoad() { loading_ = true; }
  void EndLoad();
  // Runs Loaded once, after the owner has configured the grid (also done at the first show).
  void FinishSetup();

  TDrawCellEvent OnDrawCell;

 signals:
  void selectionChanged();
  void dblClick();
  void cellEdited(int col, int row);
  // An error raised in a handler run by a user action (the action was refused).
  void handlerError(const QString& message);

 protected:
  virtual void Loaded() {}
  virtual void Paint();
  virtual QLineEdit* CreateEditor();
  virtual void DrawCell(int col, int row, const QRect& rect, TGridDrawState state);
  virtual bool SelectCell(int col, int row);
  virtual void DoEnter() {}
  virtual bool IsActiveControl() const;
  // True while SelectCell runs for a user action (events may fire).
  bool UserAction() const { return userAction_; }
  void ApplyOptions(TGridOptions o);
  void ReportError(const QString& message) { emit handlerError(message); }
  TGridDrawState DrawStateOf(int col, int row) const;
  void DrawDefaultCell(int col, int row, const QRect& rect, TGridDrawState state);

  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void showEvent(QShowEvent*) override;
  void focusInEvent(QFocusEvent*) override;
  void focusOutEvent(QFocusEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void scrollContentsBy(int dx, int dy) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool MoveCurrent(int col, int row, bool extend, bool byUser);
  void UpdateSelection(bool extend);
  void ClampCurrent();
  void MakeVisible(int col, int row);
  void UpdateScrollBars();
  int MaxTopRow() const;
  int MaxLeftCol() const;
  int LastVisibleRow() const;
  int LastVisibleCol() const;
  void PaintGrid();
  void PaintLines(int col, int row, const QRect& cell);
  bool HandleNavigationKey(QKeyEvent* e);
  void UpdateEditorGeometry();
  void CommitEditor();
  int VertLine() const;
  // Drawing order: the fixed columns (rows), then the scrolled ones from LeftCol (TopRow).
  int FirstCol() const { return fixedCols_ > 0 ? 0 : leftCol_; }
  int NextCol(int c) const { return c + 1 == fixedCols_ ? leftCol_ : c + 1; }
  int FirstRow() const { return fixedRows_ > 0 ? 0 : topRow_; }
  int NextRow(int r) const { return r + 1 == fixedRows_ ? topRow_ : r + 1; }
  int HorzLine() const;
  // Column sizing: the column whose right border in the fixed rows lies under p, or -1.
  int SizingColAt(const QPoint& p) const;
  void ClampScroll();

  int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
  int defaultColWidth_ = 64, defaultRowHeight_ = 24;
  std::vector<int> colWidths_, rowHeights_;
  // Row-major; a row's vector is allocated only when one of its cells is written, so that
  // growing the row count costs one empty vector per row.
  std::vector<std::vector<QString>> cells_;
  int curCol_ = 1, curRow_ = 1, anchorCol_ = 1, anchorRow_ = 1;
  TGridRect selection_{1, 1, 1, 1};
  int topRow_ = 1, leftCol_ = 1;
  QColor color_ = colors::clWindow, fixedColor_ = colors::clBtnFace;
  TFont font_;
  bool ctl3D_ = true, defaultDrawing_ = true;
  QString text_;
  TGridOptions active_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine |
                         goRangeSelect;
  TCanvas canvas_;
  QImage buffer_;
  QLineEdit* editor_ = nullptr;
  int editCol_ = -1, editRow_ = -1;
  bool userAction_ = false, loading_ = false, loadedRun_ = false, syncingScroll_ = false;
  // The column being sized by a drag (-1: none), the press position and its starting width.
  int sizingCol_ = -1, sizingStartX_ = 0, sizingStartWidth_ = 0;
};

}  // namespace zantro
