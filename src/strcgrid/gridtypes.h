// Small value types shared by the string grid and the column grid: options, draw states,
// alignments, the fixed system colours and the grid's errors.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <stdexcept>

namespace zantro {

// Base of everything that raises a grid event, so that one handler type serves events raised by
// a cell parameter and by the grid itself (handlers tell them apart with dynamic_cast).
class TObject {
 public:
  virtual ~TObject() = default;
};

// The grid's error ("Exception" of the class library) and its range error.
class EGridError : public std::runtime_error {
 public:
  explicit EGridError(const QString& message) : std::runtime_error(message.toStdString()) {}
  QString Message() const { return QString::fromUtf8(what()); }
};

class ERangeError : public EGridError {
 public:
  using EGridError::EGridError;
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

// Input method modes of the class library, in their order. Qt knows only hints; see ApplyImeMode.
enum class TImeMode {
  imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata,
  imChinese, imSHanguel, imHanguel
};

enum TGridOption : unsigned {
  goFixedVertLine = 1u << 0,
  goFixedHorzLine = 1u << 1,
  goVertLine = 1u << 2,
  goHorzLine = 1u << 3,
  goRangeSelect = 1u << 4,
  goDrawFocusSelected = 1u << 5,
  goRowSizing = 1u << 6,
  goColSizing = 1u << 7,
  goRowMoving = 1u << 8,
  goColMoving = 1u << 9,
  goEditing = 1u << 10,
  goTabs = 1u << 11,
  goRowSelect = 1u << 12,
  goAlwaysShowEditor = 1u << 13,
  goThumbTracking = 1u << 14,
};
using TGridOptions = unsigned;

enum TGridDrawStateFlag : unsigned { gdSelected = 1u << 0, gdFocused = 1u << 1, gdFixed = 1u << 2 };
using TGridDrawState = unsigned;

// A rectangle of cells, both corners inclusive.
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool Contains(int col, int row) const {
    return col >= Left && col <= Right && row >= Top && row <= Bottom;
  }
  bool operator==(const TGridRect&) const = default;
};

// The class library's system colours as fixed values, so that the grid looks the same on every
// desktop whatever its palette.
namespace colors {
inline const QColor clWindow{0xFF, 0xFF, 0xFF};
inline const QColor clWindowText{0x00, 0x00, 0x00};
inline const QColor clBtnFace{0xD4, 0xD0, 0xC8};
inline const QColor clBtnHighlight{0xFF, 0xFF, 0xFF};
inline const QColor clBtnShadow{0x80, 0x80, 0x80};
inline const QColor clHighlight{0x0A, 0x24, 0x6A};
inline const QColor clHighlightText{0xFF, 0xFF, 0xFF};
inline const QColor clSilver{0xC0, 0xC0, 0xC0};
inline const QColor clBlack{0x00, 0x00, 0x00};
inline const QColor clWhite{0xFF, 0xFF, 0xFF};
}  // namespace colors

// A colour number as the documents write it: 0x00BBGGRR.
inline QColor ColorFromNumber(unsigned bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
inline unsigned ColorToNumber(const QColor& c) {
  return unsigned(c.red()) | unsigned(c.green()) << 8 | unsigned(c.blue()) << 16;
}

// A font with its colour, as the class library's font object carries both.
struct TFont {
  QFont Font;
  QColor Color = colors::clWindowText;
  bool operator==(const TFont&) const = default;
};

// Exclusive right and bottom edges: the cell rectangles follow the class library's convention
// where Right and Bottom are one past the last pixel.
inline int RectRight(const QRect& r) { return r.x() + r.width(); }
inline int RectBottom(const QRect& r) { return r.y() + r.height(); }
inline QRect RectLTRB(int left, int top, int right, int bottom) {
  return QRect(left, top, right - left, bottom - top);
}

}  // namespace zantro
