// The drawing surface handed to cell drawing and to draw handlers: a painter over the grid's
// pixel buffer plus the brush, pen and font the next operation uses, as the class library's
// canvas keeps them. Text is placed by its box: TextOut(x, y) puts the top-left corner of the
// text's line box at (x, y), the baseline at y + ascent.
#pragma once

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPen>

#include "strcgrid/gridtypes.h"

namespace zantro {

class TCanvas {
 public:
  // Brush style Qt::NoBrush stands for the clear brush: text is drawn without a background and
  // FillRect draws nothing.
  QBrush Brush{colors::clWindow, Qt::SolidPattern};
  QPen Pen{colors::clBlack, 1};
  TFont Font;

  // Setting a colour on the clear brush makes it solid, as the class library's brush does.
  void SetBrushColor(const QColor& c) {
    Brush.setColor(c);
    if (Brush.style() == Qt::NoBrush) Brush.setStyle(Qt::SolidPattern);
  }

  // The saved brush, pen and font (the canvas snapshot).
  struct State {
    QBrush Brush;
    QPen Pen;
    TFont Font;
  };
  State Save() const { return {Brush, Pen, Font}; }
  void Restore(const State& s);

  // Binds the canvas to a buffer for one paint; Painter() is null outside a paint.
  void Begin(QImage* image);
  void End();
  QPainter* Painter() { return painter_.isActive() ? &painter_ : nullptr; }
  QImage* Image() { return image_; }

  void FillRect(const QRect& r);
  // Outline with the pen and interior with the brush, Right/Bottom exclusive.
  void Rectangle(const QRect& r);
  void TextOut(int x, int y, const QString& text);
  // Text at (x, y) clipped to the rectangle.
  void TextRect(const QRect& clip, int x, int y, const QString& text);
  // Word-wrapped text inside the rectangle (platform text drawing with word break).
  void DrawWrapped(const QRect& r, const QString& text);
  int TextWidth(const QString& text) const;
  int TextHeight(const QString& text) const;

  // Pen line from (x1, y1) up to, not including, (x2, y2): horizontal or vertical only.
  void Line(int x1, int y1, int x2, int y2);
  QRgb Pixel(int x, int y) const;
  void SetPixel(int x, int y, QRgb rgb);

 private:
  QPainter painter_;
  QImage* image_ = nullptr;
};

}  // namespace zantro
