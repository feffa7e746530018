// Cell parameters: the look and behaviour of one cell or of a rectangular range of cells of a
// TStrColGrid, and the collection that owns them.
#pragma once

#include <QBrush>
#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "strcgrid/gridtypes.h"

namespace zantro {

class TStrColGrid;
class TSCGCellParams;

// How a parameter's caption and the cell text make the drawn text. The line break of ctTop and
// ctBottom is a single CR.
enum class TSCGCellCaptionType { ctCaption, ctCellText, ctHeader, ctFooter, ctTop, ctBottom };

// Sender is the parameter or the grid that raised the event.
using TSCGCellChangedEvent =
    std::function<void(TObject* Sender, int AOldCol, int AOldRow, int ANewCol, int ANewRow)>;
using TSCGColChangedEvent = std::function<void(TObject* Sender, int AOldCol, int ANewCol)>;
using TSCGRowChangedEvent = std::function<void(TObject* Sender, int AOldRow, int ANewRow)>;
using TSCGParamsCellChangedEvent = std::function<void(
    TObject* Sender, TStrColGrid* AGrid, int AOldCol, int AOldRow, int ANewCol, int ANewRow)>;
using TSCGParamsColChangedEvent =
    std::function<void(TObject* Sender, TStrColGrid* AGrid, int AOldCol, int ANewCol)>;
using TSCGParamsRowChangedEvent =
    std::function<void(TObject* Sender, TStrColGrid* AGrid, int AOldRow, int ANewRow)>;
// AValue is the text to draw; clearing ADoCanvasReset keeps the handler's canvas changes.
using TSCGOutCellTextEvent =
    std::function<void(TObject* Sender, TStrColGrid* AGrid, const QRect& ARect, int ACol,
                       int ARow, const QString& ACaption, QString& AValue, bool& ADoCanvasReset)>;
// Called for every band of a cell (AIndex from 0); may change the band's text and placement.
using TSCGDrawTextOneLineEvent = std::function<void(
    TObject* Sender, TStrColGrid* AGrid, const QRect& ARect, int ACol, int ARow, int AIndex,
    TGridDrawState AState, QString& AText, TAlignment& AAlignment, TTextLayout& ALayout,
    bool& AInnerHorzLine)>;
using TSCGDrawCellEvent = std::function<void(TObject* Sender, TStrColGrid* AGrid, int Col,
                                             int Row, const QRect& Rect, TGridDrawState State)>;

class TSCGCellParam : public TObject {
 public:
  // Parameters are made by TSCGCellParams::Add.
  TSCGCellParam(TSCGCellParams* owner, quint64 seq);
  TSCGCellParam(const TSCGCellParam&) = delete;
  TSCGCellParam& operator=(const TSCGCellParam&) = delete;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& c);
  TSCGCellCaptionType CaptionType() const { return captionType_; }
  void SetCaptionType(TSCGCellCaptionType t);
  QColor CellColor() const { return cellColor_; }
  void SetCellColor(const QColor& c);
  bool CellColorEnabled() const { return cellColorEnabled_; }
  void SetCellColorEnabled(bool on);
  int Col() const { return col_; }
  void SetCol(int col);
  int ColMax() const { return colMax_; }
  void SetColMax(int colMax);
  const QBrush& Brush() const { return brush_; }
  void SetBrush(const QBrush& b);
  bool BrushEnabled() const { return brushEnabled_; }
  void SetBrushEnabled(bool on);
  // Empty means the grid font; otherwise the Name of an entry of the grid's Fonts. A name that
  // is not registered is dropped (the name becomes empty) without an error.
  QString FontName() const { return fontName_; }
  void SetFontName(const QString& name);
  QColor FontColor() const { return fontColor_; }
  void SetFontColor(const QColor& c);
  bool FontColorEnabled() const { return fontColorEnabled_; }
  void SetFontColorEnabled(bool on);
  // Number of times the text is drawn, each copy one pixel further right (0 draws no text).
  int FontWidth() const { return fontWidth_; }
  void SetFontWidth(int w);
  TImeMode ImeMode() const { return imeMode_; }
  void SetImeMode(TImeMode m);
  bool ImeModeEnabled() const { return imeModeEnabled_; }
  void SetImeModeEnabled(bool on);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  QString Name() const { return name_; }
  void SetName(const QString& n);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions o);
  bool OptionsEnabled() const { return optionsEnabled_; }
  void SetOptionsEnabled(bool on);
  // True makes the parameter cover Col..ColMax x Row..RowMax; refused unless the range is sound.
  bool RangeEnabled() const { return rangeEnabled_; }
  void SetRangeEnabled(bool on);
  int Row() const { return row_; }
  void SetRow(int row);
  int RowMax() const { return rowMax_; }
  void SetRowMax(int rowMax);
  int Tag() const { return tag_; }
  void SetTag(int t) { tag_ = t; }

  TSCGParamsCellChangedEvent OnEnterCell, OnExitCell;
  TSCGParamsColChangedEvent OnEnterCol, OnExitCol;
  TSCGParamsRowChangedEvent OnEnterRow, OnExitRow;
  TSCGOutCellTextEvent OnOutCellText;
  TSCGDrawTextOneLineEvent OnDrawTextOneLine;
  TSCGDrawCellEvent OnDrawCell;

  bool Covers(int col, int row) const;
  // "Name (col,row)-(colMax,rowMax)", the prefix of the validation messages.
  QString DisplayName() const;
  // Copies every property and event handler of the other parameter.
  void Assign(const TSCGCellParam& source);
  TSCGCellParams* Collection() const { return owner_; }
  int Index() const;
  // Insertion number: a later parameter has a larger one.
  quint64 Seq() const { return seq_; }

 private:
  friend class TSCGCellParams;
  friend class TSCGCellFont;
  friend class IndexGuard;
  bool Loading() const;
  void Changed();

  TSCGCellParams* owner_;
  quint64 seq_;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  QString caption_;
  TSCGCellCaptionType captionType_ = TSCGCellCaptionType::ctCellText;
  QColor cellColor_ = colors::clWindow;
  bool cellColorEnabled_ = false;
  int col_ = 0, colMax_ = 0, row_ = 0, rowMax_ = 0;
  QBrush brush_{colors::clWhite, Qt::SolidPattern};
  bool brushEnabled_ = false;
  QString fontName_;
  QColor fontColor_ = colors::clWindowText;
  bool fontColorEnabled_ = false;
  int fontWidth_ = 1;
  TImeMode imeMode_ = TImeMode::imDontCare;
  bool imeModeEnabled_ = false;
  TTextLayout layout_ = TTextLayout::tlTop;
  QString name_;
  TGridOptions options_ = 0;
  bool optionsEnabled_ = false;
  bool rangeEnabled_ = false;
  int tag_ = 0;
  int guardDepth_ = 0;
};

// The grid's parameters. Lookups do not scan the collection: single-cell parameters are indexed
// by cell and range parameters kept in a list, and insertion numbers decide which is newer.
class TSCGCellParams {
 public:
  explicit TSCGCellParams(TStrColGrid* grid) : grid_(grid) {}
  ~TSCGCellParams();
  TSCGCellParams(const TSCGCellParams&) = delete;
  TSCGCellParams& operator=(const TSCGCellParams&) = delete;

  TStrColGrid* Grid() const { return grid_; }
  // A new parameter named "パラメータ<count>" with the grid's options.
  TSCGCellParam* Add();
  int Count() const { return int(items_.size()); }
  TSCGCellParam* Items(int i) const;
  void Delete(int i);
  void Clear();
  // Replaces the contents with copies of the other collection's parameters, in order.
  void Assign(const TSCGCellParams& source);
  // The most recently added parameter that covers the cell, or null.
  TSCGCellParam* Find(int col, int row) const;
  int IndexOf(const TSCGCellParam* p) const;

 private:
  friend class TSCGCellParam;
  friend class IndexGuard;
  static quint64 Key(int col, int row);
  void Unindex(TSCGCellParam* p);
  void Reindex(TSCGCellParam* p);

  TStrColGrid* grid_;
  std::vector<std::unique_ptr<TSCGCellParam>> items_;
  // Per cell, the single-cell parameters there, oldest first.
  QHash<quint64, std::vector<TSCGCellParam*>> singles_;
  // Range parameters, oldest first.
  std::vector<TSCGCellParam*> ranges_;
  quint64 nextSeq_ = 1;
};

}  // namespace zantro
