#include "strcgrid/canvas.h"

#include <QFontMetrics>

namespace zantro {

void TCanvas::Restore(const State& s) {
  Brush = s.Brush;
  Pen = s.Pen;
  Font = s.Font;
}

void TCanvas::Begin(QImage* image) {
  image_ = image;
  painter_.begin(image);
}

void TCanvas::End() {
  if (painter_.isActive()) painter_.end();
  image_ = nullptr;
}

void TCanvas::FillRect(const QRect& r) {
  if (!painter_.isActive() || Brush.style() == Qt::NoBrush) return;
  painter_.fillRect(r, Brush);
}

void TCanvas::Rectangle(const QRect& r) {
  if (!painter_.isActive()) return;
  FillRect(r);
  if (Pen.style() == Qt::NoPen) return;
  const int right = RectRight(r) - 1, bottom = RectBottom(r) - 1;
  Line(r.left(), r.top(), right, r.top());
  Line(right, r.top(), right, bottom);
  Line(right, bottom, r.left(), bottom);
  Line(r.left(), bottom, r.left(), r.top());
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  if (!painter_.isActive() || text.isEmpty()) return;
  const QFontMetrics fm(Font.Font, image_);
  if (Brush.style() != Qt::NoBrush)
    painter_.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), Brush.color());
  painter_.setFont(Font.Font);
  painter_.setPen(Font.Color);
  painter_.drawText(QPoint(x, y + fm.ascent()), text);
}

void TCanvas::TextRect(const QRect& clip, int x, int y, const QString& text) {
  if (!painter_.isActive() || text.isEmpty() || clip.isEmpty()) return;
  painter_.save();
  painter_.setClipRect(clip);
  TextOut(x, y, text);
  painter_.restore();
}

void TCanvas::DrawWrapped(const QRect& r, const QString& text) {
  if (!painter_.isActive() || text.isEmpty() || r.isEmpty()) return;
  painter_.save();
  painter_.setClipRect(r);
  painter_.setFont(Font.Font);
  painter_.setPen(Font.Color);
  painter_.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
  painter_.restore();
}

int TCanvas::TextWidth(const QString& text) const {
  return QFontMetrics(Font.Font, image_).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) const { return QFontMetrics(Font.Font, image_).height(); }

void TCanvas::Line(int x1, int y1, int x2, int y2) {
  if (!painter_.isActive() || Pen.style() == Qt::NoPen) return;
  // The end point is left out, as a pen line of the class library does.
  if (x1 == x2 && y1 == y2) return;
  if (y1 == y2) x2 += x2 > x1 ? -1 : 1;
  else y2 += y2 > y1 ? -1 : 1;
  painter_.fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                          QPoint(std::max(x1, x2), std::max(y1, y2))),
                    Pen.color());
}

QRgb TCanvas::Pixel(int x, int y) const {
  if (!image_ || !image_->rect().contains(x, y)) return 0;
  return image_->pixel(x, y);
}

void TCanvas::SetPixel(int x, int y, QRgb rgb) {
  if (!painter_.isActive() || !image_ || !image_->rect().contains(x, y)) return;
  painter_.fillRect(QRect(x, y, 1, 1), QColor::fromRgb(rgb));
}

}  // namespace zantro
