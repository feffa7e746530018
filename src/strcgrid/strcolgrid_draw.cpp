// Cell drawing of TStrColGrid: background, focus colours, the text in bands or word-wrapped,
// inner band lines, the dotted focus marks and the 3-D frame of fixed cells.
#include <cstdlib>

#include "strcgrid/strcolgrid.h"

namespace zantro {

void SplitCellLines(const QString& text, QStringList& lines) {
  lines.clear();
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text.at(i);
    if (ch != u'\r' && ch != u'\n') continue;
    lines.append(text.mid(start, i - start));
    if (ch == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.append(text.mid(start));
}

QString ComposeCellText(TSCGCellCaptionType type, const QString& caption, const QString& cell) {
  switch (type) {
    case TSCGCellCaptionType::ctCaption: return caption.isEmpty() ? cell : caption;
    case TSCGCellCaptionType::ctCellText: return cell.isEmpty() ? caption : cell;
    case TSCGCellCaptionType::ctHeader: return caption + cell;
    case TSCGCellCaptionType::ctFooter: return cell + caption;
    case TSCGCellCaptionType::ctTop:
      // The extra CR keeps the caption in the upper band when the cell is empty.
      return caption + u'\r' + cell + (cell.isEmpty() ? QStringLiteral("\r") : QString());
    case TSCGCellCaptionType::ctBottom: return cell + u'\r' + caption;
  }
  return cell;
}

void TStrColGrid::ReportPaintErrorOnce(const QString& message) {
  if (fontErrorReported_) return;
  fontErrorReported_ = true;
  ReportError(message);
}

// Paint code must not raise: an unregistered font name falls back to the grid font.
const TFont& TStrColGrid::PaintFont(const TSCGCellParam* p) {
  try {
    return ParamFont(p);
  } catch (const EGridError& e) {
    ReportPaintErrorOnce(e.Message());
    return Font();
  }
}

QRect TStrColGrid::DrawnCellRect(int col, int row) const {
  return col == drawCol_ && row == drawRow_ ? drawRect_ : CellRect(col, row);
}

void TStrColGrid::PaintCellBackground(int col, int row, bool focused, TSCGCellParam* p,
                                      TGridDrawState state) {
  TCanvas& cv = Canvas();
  const QRect rect = DrawnCellRect(col, row);
  cv.Font = PaintFont(p);
  const bool fixed = IsFixed(col, row);
  if (fixed && !p) {
    cv.Brush = QBrush(FixedColor(), Qt::SolidPattern);
  } else if (focused && !fixed) {
    ApplyFocusColors(p, state);
  } else if (p) {
    cv.Brush = QBrush(p->CellColorEnabled() ? p->CellColor() : fixed ? FixedColor() : Color(),
                      Qt::SolidPattern);
    if (p->FontColorEnabled()) cv.Font.Color = p->FontColor();
  } else {
    cv.Brush = QBrush(Color(), Qt::SolidPattern);
    cv.Font.Color = Font().Color;
  }
  cv.FillRect(rect);
  if (p && p->BrushEnabled()) {
    cv.Brush = p->Brush();
    cv.Pen = QPen(Qt::NoPen);
    cv.Rectangle(rect);
  }
  const QColor brushColor = cv.Brush.color();
  cv.Brush = QBrush(brushColor, Qt::NoBrush);
  cv.Pen = QPen(brushColor, 1, Qt::SolidLine);
}

bool TStrColGrid::ApplyFocusColors(TSCGCellParam* p, TGridDrawState state) {
  const TGridOptions opts = EffectiveOptions(p);
  if (!IsActiveControl() && !focusDraw_) return false;
  if (!(state & gdSelected)) return false;
  if ((state & gdFocused) && !(opts & (goDrawFocusSelected | goRowSelect))) return false;
  TCanvas& cv = Canvas();
  cv.SetBrushColor(focusCellColor_);
  if (focusCellFontColorEnabled_) cv.Font.Color = focusCellFontColor_;
  else if (p && p->FontColorEnabled()) cv.Font.Color = p->FontColor();
  return true;
}


void TStrColGrid::DrawCell(int col, int row, const QRect& rect, TGridDrawState state) {
  if (DefaultDrawing()) {
    TStringGrid::DrawCell(col, row, rect, state);
    return;
  }
  drawCol_ = col;
  drawRow_ = row;
  drawRect_ = rect;
  TSCGCellParam* p = FindCellParam(col, row);
  const TGridOptions opts = EffectiveOptions(p);
  PaintCellBackground(col, row, false, p, state);
  const bool focusFill = ApplyFocusColors(p, state);
  TCanvas& cv = Canvas();
  snapshot_ = cv.Save();
  const TextStyle style = CellTextStyle(col, row, rect, p);
  if (focusFill) cv.FillRect(rect);
  if (cellDivide_) {
    DrawBands(col, row, rect, state, p, style, opts);
  } else {
    cv.DrawWrapped(rect.adjusted(2, 2, -2, -2), style.text);
  }
  if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
  if (p && p->OnDrawCell) p->OnDrawCell(p, this, col, row, rect, state);
  DrawFocusMarks(col, row, rect, state, p, opts);
  if (IsFixed(col, row) && Ctl3D()) Draw3DFrame(rect);
  drawCol_ = drawRow_ = -1;
}

TStrColGrid::TextStyle TStrColGrid::CellTextStyle(int col, int row, const QRect& rect,
                                                  TSCGCellParam* p) {
  const QString cell = Cells(col, row);
  bool reset = true;
  if (p) {
    TextStyle style{ComposeCellText(p->CaptionType(), p->Caption(), cell), p->Alignment(),
                    p->Layout(), p->FontWidth()};
    if (p->OnOutCellText) {
      p->OnOutCellText(p, this, rect, col, row, p->Caption(), style.text, reset);
      AfterOutCellText(reset);
    }
    return style;
  }
  const bool fixed = IsFixed(col, row);
  TextStyle style{cell, fixed ? fixedAlignment_ : alignment_, fixed ? fixedLayout_ : layout_, 1};
  if (OnOutCellText) {
    OnOutCellText(this, this, rect, col, row, Text(), style.text, reset);
    AfterOutCellText(reset);
  }
  return style;
}

// A handler's canvas changes are undone unless it cleared ADoCanvasReset; then they stay in
// force for the rest of the cell.
void TStrColGrid::AfterOutCellText(bool reset) {
  if (reset) Canvas().Restore(snapshot_);
  else snapshot_ = Canvas().Save();
}

void TStrColGrid::DrawBands(int col, int row, const QRect& rect, TGridDrawState state,
                            TSCGCellParam* p, const TextStyle& style, TGridOptions opts) {
  TCanvas& cv = Canvas();
  SplitCellLines(style.text, lines_);
  if (lines_.isEmpty()) lines_.append(QString());
  const int count = int(lines_.size());
  const int h = rect.height() / count;
  for (int i = 0; i < count; ++i) {
    const int top = rect.top() + i * h;
    const int bottom = i == count - 1 ? RectBottom(rect) : top + h;
    const QRect band = RectLTRB(rect.left(), top, RectRight(rect), bottom);
    QString text = lines_[i];
    TAlignment alignment = style.alignment;
    TTextLayout layout = style.layout;
    bool innerLine = opts & goHorzLine;
    if (OnDrawTextOneLine) {
      cv.Restore(snapshot_);
      OnDrawTextOneLine(this, this, band, col, row, i, state, text, alignment, layout, innerLine);
    }
    if (p && p->OnDrawTextOneLine) {
      cv.Restore(snapshot_);
      p->OnDrawTextOneLine(p, this, band, col, row, i, state, text, alignment, layout, innerLine);
    }
    DrawBandText(rect, band, text, alignment, layout, style.width);
    if (innerLine) DrawInnerLines(band, i, count, IsFixed(col, row));
  }
}

void TStrColGrid::DrawBandText(const QRect& cell, const QRect& band, const QString& text,
                               TAlignment a, TTextLayout l, int width) {
  TCanvas& cv = Canvas();
  const int tw = cv.TextWidth(text), th = cv.TextHeight(text);
  int x = cell.left() + 2;
  if (a == TAlignment::taRightJustify) x = RectRight(cell) - tw - 2;
  else if (a == TAlignment::taCenter) x = cell.left() + (cell.width() - tw) / 2;
  int y = band.top() + 2;
  if (l == TTextLayout::tlCenter) y = band.top() + (band.height() - th) / 2 + 1;
  else if (l == TTextLayout::tlBottom) y = RectBottom(band) - th - 1;
  const Qt::BrushStyle style = cv.Brush.style();
  cv.Brush.setStyle(Qt::NoBrush);
  for (int k = 0; k < width; ++k) cv.TextRect(band, x + k, y, text);
  cv.Brush.setStyle(style);
}

void TStrColGrid::DrawInnerLines(const QRect& band, int index, int count, bool fixed) {
  TCanvas& cv = Canvas();
  const int left = band.left(), right = RectRight(band);
  if (index > 0) {
    cv.Pen = QPen(fixed && Ctl3D() ? colors::clBtnHighlight : colors::clSilver, 1);
    cv.Line(left, band.top(), right, band.top());
  }
  if (fixed && index < count - 1) {
    cv.Pen = QPen(colors::clBtnShadow, 1);
    cv.Line(left, RectBottom(band) - 1, right, RectBottom(band) - 1);
  }
}

void TStrColGrid::DrawFocusMarks(int col, int row, const QRect& rect, TGridDrawState state,
                                 const TSCGCellParam* p, TGridOptions opts) {
  if (!IsActiveControl() || IsFixed(col, row)) return;
  if (!(opts & goRowSelect)) {
    if (state & gdFocused) DrawDottedEdges(rect, true, true, true, true);
    return;
  }
  if (row != Row()) return;
  int first = FixedCols(), last = ColCount() - 1;
  if (p && p->OptionsEnabled()) {
    first = p->Col();
    last = p->ColMax();
  }
  DrawDottedEdges(rect, true, true, col == first, col == last);
}

// Every second pixel of an edge, from the cell's top-left; the vertical edges start at the
// third pixel (top + 2) so that the corners keep the same rhythm.
void TStrColGrid::DrawDottedEdges(const QRect& r, bool top, bool bottom, bool left, bool right) {
  const int l = r.left(), t = r.top(), rr = RectRight(r) - 1, b = RectBottom(r) - 1;
  for (int x = l; x <= rr; x += 2) {
    if (top) DrawDot(x, t);
    if (bottom) DrawDot(x, b);
  }
  for (int y = t + 2; y <= b; y += 2) {
    if (left) DrawDot(l, y);
    if (right) DrawDot(rr, y);
  }
}

// A dot inverts the pixel; where the inverse would hardly differ (mid greys) it is white on
// darker and black on lighter pixels.
void TStrColGrid::DrawDot(int x, int y) {
  TCanvas& cv = Canvas();
  const QRgb px = cv.Pixel(x, y);
  const QRgb inv = qRgb(255 - qRed(px), 255 - qGreen(px), 255 - qBlue(px));
  const int diff = std::abs(qRed(px) - qRed(inv)) + std::abs(qGreen(px) - qGreen(inv)) +
                   std::abs(qBlue(px) - qBlue(inv));
  QRgb dot = inv;
  if (diff < 24) dot = ColorToNumber(QColor(px)) < 0xC0C0C1u ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
  cv.SetPixel(x, y, dot);
}

void TStrColGrid::Draw3DFrame(const QRect& r) {
  TCanvas& cv = Canvas();
  const int l = r.left(), t = r.top(), rr = RectRight(r) - 1, b = RectBottom(r) - 1;
  cv.Pen = QPen(colors::clBtnHighlight, 1);
  cv.Line(rr, t, l, t);
  cv.Line(l, t, l, b);
  cv.Pen = QPen(colors::clBtnShadow, 1);
  cv.Line(l, b, rr, b);
  cv.Line(rr, b, rr, t);
}

}  // namespace zantro
