#include "strcgrid/stringgrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace zantro {

TStringGrid::TStringGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  font_.Font = QFont(QStringLiteral("Noto Sans CJK JP"), 9);
  colWidths_.assign(colCount_, defaultColWidth_);
  rowHeights_.assign(rowCount_, defaultRowHeight_);
  cells_.resize(rowCount_);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent, true);
  viewport()->setMouseTracking(true);  // the sizing cursor shows over a column border
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setSingleStep(1);
  UpdateScrollBars();
}

TStringGrid::~TStringGrid() = default;

// ---- counts and sizes -------------------------------------------------------------------

void TStringGrid::SetColCount(int n) {
  n = std::max(n, 1);
  if (n == colCount_) return;
  HideEditor(true);
  colCount_ = n;
  if (fixedCols_ >= n) fixedCols_ = n - 1;
  colWidths_.resize(n, defaultColWidth_);
  for (auto& row : cells_)
    if (int(row.size()) > n) row.resize(n);
  ClampCurrent();
}

void TStringGrid::SetRowCount(int n) {
  n = std::max(n, 1);
  if (n == rowCount_) return;
  HideEditor(true);
  rowCount_ = n;
  if (fixedRows_ >= n) fixedRows_ = n - 1;
  rowHeights_.resize(n, defaultRowHeight_);
  cells_.resize(n);
  ClampCurrent();
}

void TStringGrid::SetFixedCols(int n) {
  fixedCols_ = std::clamp(n, 0, colCount_ - 1);
  ClampCurrent();
}

void TStringGrid::SetFixedRows(int n) {
  fixedRows_ = std::clamp(n, 0, rowCount_ - 1);
  ClampCurrent();
}

void TStringGrid::SetDefaultColWidth(int w) {
  defaultColWidth_ = std::max(w, 0);
  colWidths_.assign(colCount_, defaultColWidth_);
  ClampScroll();
  UpdateScrollBars();
  viewport()->update();
}

void TStringGrid::SetDefaultRowHeight(int h) {
  defaultRowHeight_ = std::max(h, 0);
  rowHeights_.assign(rowCount_, defaultRowHeight_);
  ClampScroll();
  UpdateScrollBars();
  viewport()->update();
}

int TStringGrid::ColWidths(int col) const {
  return col >= 0 && col < colCount_ ? colWidths_[col] : 0;
}

void TStringGrid::SetColWidths(int col, int w) {
  if (col < 0 || col >= colCount_) return;
  colWidths_[col] = std::max(w, 0);
  ClampScroll();
  UpdateScrollBars();
  UpdateEditorGeometry();
  viewport()->update();
}

int TStringGrid::RowHeights(int row) const {
  return row >= 0 && row < rowCount_ ? rowHeights_[row] : 0;
}

void TStringGrid::SetRowHeights(int row, int h) {
  if (row < 0 || row >= rowCount_) return;
  rowHeights_[row] = std::max(h, 0);
  ClampScroll();
  UpdateScrollBars();
  UpdateEditorGeometry();
  viewport()->update();
}

QString TStringGrid::Cells(int col, int row) const {
  if (row < 0 || row >= rowCount_ || col < 0 || col >= colCount_) return {};
  const auto& r = cells_[row];
  return col < int(r.size()) ? r[col] : QString();
}

void TStringGrid::SetCells(int col, int row, const QString& text) {
  if (row < 0 || row >= rowCount_ || col < 0 || col >= colCount_) return;
  auto& r = cells_[row];
  if (col >= int(r.size())) {
    if (text.isEmpty()) return;
    r.resize(colCount_);
  }
  r[col] = text;
  viewport()->update();
}

void TStringGrid::MoveRowTexts(int from, int count, int to) {
  if (count <= 0 || from == to || from < 0 || to < 0 || std::max(from, to) + count > rowCount_) return;
  // One rotation: the block and the rows it passes swap places, each row's texts moved whole.
  auto base = cells_.begin();
  if (from < to) std::rotate(base + from, base + from + count, base + to + count);
  else std::rotate(base + to, base + from, base + from + count);
  viewport()->update();
}

// ---- appearance ---------------------------------------------------------------------------

void TStringGrid::SetColor(const QColor& c) {
  color_ = c;
  viewport()->update();
}

void TStringGrid::SetFixedColor(const QColor& c) {
  fixedColor_ = c;
  viewport()->update();
}

void TStringGrid::SetFont(const TFont& f) {
  font_ = f;
  viewport()->update();
}

void TStringGrid::SetCtl3D(bool on) {
  ctl3D_ = on;
  viewport()->update();
}

void TStringGrid::SetDefaultDrawing(bool on) {
  defaultDrawing_ = on;
  viewport()->update();
}

void TStringGrid::ApplyOptions(TGridOptions o) {
  const bool rowSelectChanged = (o ^ active_) & goRowSelect;
  active_ = o;
  if (!(active_ & goEditing)) HideEditor(true);
  if (rowSelectChanged) UpdateSelection(anchorCol_ != curCol_ || anchorRow_ != curRow_);
  UpdateScrollBars();
  viewport()->update();
}

int TStringGrid::VertLine() const { return active_ & (goVertLine | goFixedVertLine) ? 1 : 0; }
int TStringGrid::HorzLine() const { return active_ & (goHorzLine | goFixedHorzLine) ? 1 : 0; }

// ---- loading ------------------------------------------------------------------------------

void TStringGrid::EndLoad() {
  loading_ = false;
  FinishSetup();
}

void TStringGrid::FinishSetup() {
  if (loadedRun_) return;
  loadedRun_ = true;
  Loaded();
}

void TStringGrid::showEvent(QShowEvent* e) {
  QAbstractScrollArea::showEvent(e);
  MakeVisible(curCol_, curRow_);
  UpdateScrollBars();
  if (!loading_) FinishSetup();
}

// ---- geometry -----------------------------------------------------------------------------

QRect TStringGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return {};
  if ((col >= fixedCols_ && col < leftCol_) || (row >= fixedRows_ && row < topRow_)) return {};
  const int width = viewport()->width(), height = viewport()->height();
  int x = 0;
  for (int c = FirstCol(); c < col && x < width; c = NextCol(c)) x += colWidths_[c] + VertLine();
  int y = 0;
  for (int r = FirstRow(); r < row && y < height; r = NextRow(r)) y += rowHeights_[r] + HorzLine();
  if (x >= width || y >= height) return {};
  return QRect(x, y, colWidths_[col], rowHeights_[row]);
}

bool TStringGrid::MouseToCell(const QPoint& p, int& col, int& row) const {
  col = row = -1;
  int x = 0;
  for (int c = FirstCol(); c < colCount_; c = NextCol(c)) {
    const int next = x + colWidths_[c] + VertLine();
    if (p.x() >= x && p.x() < next) { col = c; break; }
    x = next;
  }
  int y = 0;
  for (int r = FirstRow(); r < rowCount_; r = NextRow(r)) {
    const int next = y + rowHeights_[r] + HorzLine();
    if (p.y() >= y && p.y() < next) { row = r; break; }
    y = next;
  }
  return col >= 0 && row >= 0;
}

// Walks back from the last row to find the top row that shows the end of the grid.
int TStringGrid::MaxTopRow() const {
  int avail = viewport()->height();
  for (int r = 0; r < fixedRows_; ++r) avail -= rowHeights_[r] + HorzLine();
  int top = rowCount_ - 1, used = rowHeights_[top];
  while (top - 1 >= fixedRows_ && used + HorzLine() + rowHeights_[top - 1] <= avail) {
    --top;
    used += HorzLine() + rowHeights_[top];
  }
  return std::max(top, fixedRows_);
}

int TStringGrid::MaxLeftCol() const {
  int avail = viewport()->width();
  for (int c = 0; c < fixedCols_; ++c) avail -= colWidths_[c] + VertLine();
  int left = colCount_ - 1, used = colWidths_[left];
  while (left - 1 >= fixedCols_ && used + VertLine() + colWidths_[left - 1] <= avail) {
    --left;
    used += VertLine() + colWidths_[left];
  }
  return std::max(left, fixedCols_);
}

// The last row from TopRow on that is shown whole (TopRow itself when none is).
int TStringGrid::LastVisibleRow() const {
  int y = 0;
  for (int r = 0; r < fixedRows_; ++r) y += rowHeights_[r] + HorzLine();
  int last = topRow_;
  for (int r = topRow_; r < rowCount_; ++r) {
    y += rowHeights_[r];
    if (y > viewport()->height()) break;
    last = r;
    y += HorzLine();
  }
  return last;
}

int TStringGrid::LastVisibleCol() const {
  int x = 0;
  for (int c = 0; c < fixedCols_; ++c) x += colWidths_[c] + VertLine();
  int last = leftCol_;
  for (int c = leftCol_; c < colCount_; ++c) {
    x += colWidths_[c];
    if (x > viewport()->width()) break;
    last = c;
    x += VertLine();
  }
  return last;
}

int TStringGrid::VisibleRowCount() const { return LastVisibleRow() - topRow_ + 1; }
int TStringGrid::VisibleColCount() const { return LastVisibleCol() - leftCol_ + 1; }

void TStringGrid::UpdateScrollBars() {
  syncingScroll_ = true;
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, MaxTopRow() - fixedRows_);
  v->setPageStep(std::max(1, VisibleRowCount()));
  v->setValue(topRow_ - fixedRows_);
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, MaxLeftCol() - fixedCols_);
  h->setPageStep(std::max(1, VisibleColCount()));
  h->setValue(leftCol_ - fixedCols_);
  syncingScroll_ = false;
}

void TStringGrid::scrollContentsBy(int, int) {
  if (syncingScroll_) return;
  topRow_ = fixedRows_ + verticalScrollBar()->value();
  leftCol_ = fixedCols_ + horizontalScrollBar()->value();
  UpdateEditorGeometry();
  viewport()->update();
}

// Narrower columns or a wider view never leave empty space beyond the last column (or row):
// the grid scrolls no further than needed to show it.
void TStringGrid::ClampScroll() {
  topRow_ = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, MaxTopRow()));
  leftCol_ = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, MaxLeftCol()));
}

void TStringGrid::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  ClampScroll();
  UpdateScrollBars();
  UpdateEditorGeometry();
}

void TStringGrid::SetTopRow(int row) {
  topRow_ = std::clamp(row, fixedRows_, std::max(fixedRows_, MaxTopRow()));
  UpdateScrollBars();
  UpdateEditorGeometry();
  viewport()->update();
}

void TStringGrid::SetLeftCol(int col) {
  leftCol_ = std::clamp(col, fixedCols_, std::max(fixedCols_, MaxLeftCol()));
  UpdateScrollBars();
  UpdateEditorGeometry();
  viewport()->update();
}

// Before the first show the viewport has no real size yet; scrolling then would be based on
// it, so the current cell is brought into view at the show instead. With whole rows selected
// the current column means nothing to the user, so the view does not follow it sideways.
void TStringGrid::MakeVisible(int col, int row) {
  if (!isVisible()) return;
  if (row >= fixedRows_) {
    if (row < topRow_) topRow_ = row;
    else if (row > LastVisibleRow()) {
      int avail = viewport()->height();
      for (int r = 0; r < fixedRows_; ++r) avail -= rowHeights_[r] + HorzLine();
      int top = row, used = rowHeights_[row];
      while (top - 1 >= fixedRows_ && used + HorzLine() + rowHeights_[top - 1] <= avail)
        used += HorzLine() + rowHeights_[--top];
      topRow_ = top;
    }
  }
  if (col >= fixedCols_ && !(active_ & goRowSelect)) {
    if (col < leftCol_) leftCol_ = col;
    else if (col > LastVisibleCol()) {
      int avail = viewport()->width();
      for (int c = 0; c < fixedCols_; ++c) avail -= colWidths_[c] + VertLine();
      int left = col, used = colWidths_[col];
      while (left - 1 >= fixedCols_ && used + VertLine() + colWidths_[left - 1] <= avail)
        used += VertLine() + colWidths_[--left];
      leftCol_ = left;
    }
  }
}

// ---- current cell and selection -------------------------------------------------------------

void TStringGrid::ClampCurrent() {
  const int minCol = std::min(fixedCols_, colCount_ - 1), minRow = std::min(fixedRows_, rowCount_ - 1);
  curCol_ = std::clamp(curCol_, minCol, colCount_ - 1);
  curRow_ = std::clamp(curRow_, minRow, rowCount_ - 1);
  anchorCol_ = std::clamp(anchorCol_, minCol, colCount_ - 1);
  anchorRow_ = std::clamp(anchorRow_, minRow, rowCount_ - 1);
  ClampScroll();
  UpdateSelection(true);
  UpdateScrollBars();
  viewport()->update();
}

void TStringGrid::UpdateSelection(bool extend) {
  if (!extend) {
    anchorCol_ = curCol_;
    anchorRow_ = curRow_;
  }
  selection_ = {std::min(anchorCol_, curCol_), std::min(anchorRow_, curRow_),
                std::max(anchorCol_, curCol_), std::max(anchorRow_, curRow_)};
  if (active_ & goRowSelect) {
    selection_.Left = fixedCols_;
    selection_.Right = colCount_ - 1;
  }
}

bool TStringGrid::MoveCurrent(int col, int row, bool extend, bool byUser) {
  if (colCount_ <= fixedCols_ || rowCount_ <= fixedRows_) return false;
  col = std::clamp(col, fixedCols_, colCount_ - 1);
  row = std::clamp(row, fixedRows_, rowCount_ - 1);
  bool accepted = false;
  userAction_ = byUser;
  try {
    accepted = SelectCell(col, row);
  } catch (const std::exception& e) {
    userAction_ = false;
    if (!byUser) throw;
    ReportError(QString::fromUtf8(e.what()));
    return false;
  }
  userAction_ = false;
  if (!accepted) return false;
  if (editor_ && (col != editCol_ || row != editRow_)) HideEditor(true);
  curCol_ = col;
  curRow_ = row;
  UpdateSelection(extend);
  MakeVisible(col, row);
  UpdateScrollBars();
  viewport()->update();
  if (byUser) emit selectionChanged();
  return true;
}

void TStringGrid::SetCol(int col) { MoveCurrent(col, curRow_, false, false); }
void TStringGrid::SetRow(int row) { MoveCurrent(curCol_, row, false, false); }

void TStringGrid::SetSelection(const TGridRect& r) {
  const TGridRect old = selection_;
  const int oldAnchorCol = anchorCol_, oldAnchorRow = anchorRow_;
  anchorCol_ = std::clamp(r.Left, fixedCols_, colCount_ - 1);
  anchorRow_ = std::clamp(r.Top, fixedRows_, rowCount_ - 1);
  if (!MoveCurrent(r.Right, r.Bottom, true, false)) {
    anchorCol_ = oldAnchorCol;
    anchorRow_ = oldAnchorRow;
    selection_ = old;
  }
}

bool TStringGrid::UserSelectCell(int col, int row, bool extend) {
  return MoveCurrent(col, row, extend && (active_ & goRangeSelect), true);
}

bool TStringGrid::UserSelectRows(int top, int bottom) {
  if (bottom < top) std::swap(top, bottom);
  if (!MoveCurrent(fixedCols_, top, false, true)) return false;
  const bool ok = MoveCurrent(colCount_ - 1, bottom, active_ & goRangeSelect, true);
  if (top < topRow_ || top > LastVisibleRow()) SetTopRow(top);
  return ok;
}

void TStringGrid::UserDblClick() {
  try {
    emit dblClick();
  } catch (const std::exception& e) {
    ReportError(QString::fromUtf8(e.what()));
  }
}

bool TStringGrid::SelectCell(int, int) { return true; }

bool TStringGrid::IsActiveControl() const {
  return hasFocus() || (editor_ && editor_->hasFocus());
}

// ---- painting -----------------------------------------------------------------------------

TGridDrawState TStringGrid::DrawStateOf(int col, int row) const {
  if (IsFixed(col, row)) return gdFixed;
  TGridDrawState state = 0;
  if (selection_.Contains(col, row)) state |= gdSelected;
  if (col == curCol_ && row == curRow_ && IsActiveControl()) state |= gdFocused;
  return state;
}

QImage TStringGrid::RenderImage() {
  Paint();
  return buffer_.copy();
}

void TStringGrid::paintEvent(QPaintEvent*) {
  Paint();
  QPainter p(viewport());
  p.drawImage(0, 0, buffer_);
}

void TStringGrid::Paint() {
  const QSize size = viewport()->size().expandedTo(QSize(1, 1));
  if (buffer_.size() != size) buffer_ = QImage(size, QImage::Format_RGB32);
  canvas_.Begin(&buffer_);
  PaintGrid();
  canvas_.End();
}

void TStringGrid::PaintGrid() {
  buffer_.fill(color_);
  const int width = buffer_.width(), height = buffer_.height();
  int y = 0;
  for (int r = FirstRow(); r < rowCount_ && y < height; r = NextRow(r)) {
    int x = 0;
    for (int c = FirstCol(); c < colCount_ && x < width; c = NextCol(c)) {
      const QRect cell(x, y, colWidths_[c], rowHeights_[r]);
      PaintLines(c, r, cell);
      canvas_.Brush = QBrush(IsFixed(c, r) ? fixedColor_ : color_, Qt::SolidPattern);
      canvas_.Pen = QPen(colors::clBlack, 1);
      canvas_.Font = font_;
      try {
        DrawCell(c, r, cell, DrawStateOf(c, r));
      } catch (const std::exception& e) {
        // Paint code must not throw out of the paint event; the handler hears of it instead.
        ReportError(QString::fromUtf8(e.what()));
      }
      x += cell.width() + VertLine();
    }
    y += rowHeights_[r] + HorzLine();
  }
}

// The line to the right of and below a cell; lines next to fixed cells follow the fixed-line
// options and are black, the others are silver.
void TStringGrid::PaintLines(int col, int row, const QRect& cell) {
  QPainter* p = canvas_.Painter();
  const bool fixed = IsFixed(col, row);
  const QColor lineColor = fixed ? colors::clBlack : colors::clSilver;
  const QColor gapColor = fixed ? fixedColor_ : color_;
  if (VertLine()) {
    const bool on = active_ & (fixed ? goFixedVertLine : goVertLine);
    p->fillRect(QRect(RectRight(cell), cell.y(), 1, cell.height() + HorzLine()),
                on ? lineColor : gapColor);
  }
  if (HorzLine()) {
    const bool on = active_ & (fixed ? goFixedHorzLine : goHorzLine);
    p->fillRect(QRect(cell.x(), RectBottom(cell), cell.width(), 1), on ? lineColor : gapColor);
  }
}

void TStringGrid::DrawCell(int col, int row, const QRect& rect, TGridDrawState state) {
  DrawDefaultCell(col, row, rect, state);
  if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

// The standard string grid's drawing: highlight colours for selected cells, text at (2, 2).
void TStringGrid::DrawDefaultCell(int col, int row, const QRect& rect, TGridDrawState state) {
  if ((state & gdSelected) &&
      (!(state & gdFocused) || (active_ & (goDrawFocusSelected | goRowSelect)))) {
    canvas_.Brush = QBrush(colors::clHighlight, Qt::SolidPattern);
    canvas_.Font.Color = colors::clHighlightText;
  }
  canvas_.FillRect(rect);
  canvas_.TextRect(rect, rect.x() + 2, rect.y() + 2, Cells(col, row));
}

// ---- focus, keyboard and mouse --------------------------------------------------------------

void TStringGrid::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  try {
    DoEnter();
  } catch (const std::exception& ex) {
    ReportError(QString::fromUtf8(ex.what()));
  }
  viewport()->update();
}

void TStringGrid::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  viewport()->update();
}

bool TStringGrid::HandleNavigationKey(QKeyEvent* e) {
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const bool shift = e->modifiers() & Qt::ShiftModifier;
  int col = curCol_, row = curRow_;
  const int page = std::max(1, VisibleRowCount());
  if ((active_ & goRowSelect) && !ctrl && !shift) {
    // Whole rows are selected: the sideways keys scroll the view instead of moving a column.
    switch (e->key()) {
      case Qt::Key_Left: SetLeftCol(leftCol_ - 1); return true;
      case Qt::Key_Right: SetLeftCol(leftCol_ + 1); return true;
      default: break;
    }
  }
  switch (e->key()) {
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_PageUp: row -= page; break;
    case Qt::Key_PageDown: row += page; break;
    case Qt::Key_Home: ctrl ? row = fixedRows_ : col = fixedCols_; break;
    case Qt::Key_End: ctrl ? row = rowCount_ - 1 : col = colCount_ - 1; break;
    case Qt::Key_Tab:
      if (!(active_ & goTabs)) return false;
      if (++col >= colCount_) { col = fixedCols_; ++row; }
      break;
    default: return false;
  }
  col = std::clamp(col, fixedCols_, colCount_ - 1);
  row = std::clamp(row, fixedRows_, rowCount_ - 1);
  if (col != curCol_ || row != curRow_) UserSelectCell(col, row, shift);
  return true;
}

void TStringGrid::keyPressEvent(QKeyEvent* e) {
  if (HandleNavigationKey(e)) return;
  if (active_ & goEditing) {
    const bool startKey = e->key() == Qt::Key_F2 || e->key() == Qt::Key_Return ||
                          e->key() == Qt::Key_Enter;
    const QString typed = e->text();
    if (startKey || (!typed.isEmpty() && typed.at(0).isPrint())) {
      ShowEditor();
      if (editor_ && !startKey) editor_->setText(typed);
      return;
    }
  }
  QAbstractScrollArea::keyPressEvent(e);
}

// Within this many pixels of a column's right border in the fixed rows the mouse sizes it.
constexpr int kSizingTolerance = 3;

int TStringGrid::SizingColAt(const QPoint& p) const {
  if (!(active_ & goColSizing) || fixedRows_ == 0) return -1;
  int fixedHeight = 0;
  for (int r = 0; r < fixedRows_; ++r) fixedHeight += rowHeights_[r] + HorzLine();
  if (p.y() < 0 || p.y() >= fixedHeight) return -1;
  // The nearest border wins; on a tie the later column, so that a column sized down to
  // nothing can still be pulled open again.
  int found = -1, best = kSizingTolerance + 1, x = 0;
  for (int c = FirstCol(); c < colCount_ && x <= viewport()->width(); c = NextCol(c)) {
    x += colWidths_[c];
    const int distance = std::abs(p.x() - x);
    if (distance <= best) {
      best = distance;
      found = c;
    }
    x += VertLine();
  }
  return found;
}

void TStringGrid::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  const int sizing = SizingColAt(e->position().toPoint());
  if (sizing >= 0) {
    HideEditor(true);
    sizingCol_ = sizing;
    sizingStartX_ = e->position().toPoint().x();
    sizingStartWidth_ = colWidths_[sizing];
    return;
  }
  int col, row;
  if (!MouseToCell(e->position().toPoint(), col, row) || IsFixed(col, row)) return;
  UserSelectCell(col, row, e->modifiers() & Qt::ShiftModifier);
}

void TStringGrid::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (sizingCol_ >= 0) {
    SetColWidths(sizingCol_, std::max(1, sizingStartWidth_ + p.x() - sizingStartX_));
    return;
  }
  if (!(e->buttons() & Qt::LeftButton)) {
    if (SizingColAt(p) >= 0) viewport()->setCursor(Qt::SplitHCursor);
    else viewport()->unsetCursor();
    return;
  }
  if (!(active_ & goRangeSelect)) return;
  int col, row;
  if (!MouseToCell(p, col, row) || IsFixed(col, row)) return;
  if (col != curCol_ || row != curRow_) UserSelectCell(col, row, true);
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) sizingCol_ = -1;
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) UserDblClick();
}

// ---- in-place editor -------------------------------------------------------------------------

QLineEdit* TStringGrid::CreateEditor() {
  auto* edit = new QLineEdit(viewport());
  edit->setFrame(false);
  edit->hide();
  return edit;
}

bool TStringGrid::EditorMode() const { return editor_ && editCol_ >= 0; }

void TStringGrid::ShowEditor() {
  if (!(active_ & goEditing) || IsFixed(curCol_, curRow_)) return;
  if (!editor_) {
    editor_ = CreateEditor();
    editor_->installEventFilter(this);
  }
  editCol_ = curCol_;
  editRow_ = curRow_;
  editor_->setText(Cells(editCol_, editRow_));
  UpdateEditorGeometry();
  editor_->show();
  editor_->setFocus();
  editor_->selectAll();
}

void TStringGrid::HideEditor(bool commit) {
  if (!EditorMode()) return;
  const int col = editCol_, row = editRow_;
  editCol_ = editRow_ = -1;
  const bool hadFocus = editor_->hasFocus();
  editor_->hide();
  if (hadFocus) setFocus();
  if (commit && editor_->text() != Cells(col, row)) {
    SetCells(col, row, editor_->text());
    emit cellEdited(col, row);
  }
}

void TStringGrid::CommitEditor() { HideEditor(true); }

void TStringGrid::UpdateEditorGeometry() {
  if (!EditorMode()) return;
  const QRect r = CellRect(editCol_, editRow_);
  if (r.isEmpty()) editor_->setGeometry(-r.width() - 10, 0, 1, 1);
  else editor_->setGeometry(r);
}

bool TStringGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched != editor_ || !EditorMode()) return QAbstractScrollArea::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Escape: HideEditor(false); return true;
      case Qt::Key_Return:
      case Qt::Key_Enter: CommitEditor(); return true;
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        CommitEditor();
        HandleNavigationKey(key);
        return true;
      default: break;
    }
  } else if (event->type() == QEvent::FocusOut) {
    CommitEditor();
  }
  return QAbstractScrollArea::eventFilter(watched, event);
}

}  // namespace zantro
