#include "strcgrid/cellparam.h"

#include <algorithm>

#include "strcgrid/cellfont.h"
#include "strcgrid/strcolgrid.h"

namespace zantro {

// Takes a parameter out of the lookup index while its position or range flag changes and puts
// it back afterwards, whether the change succeeded or was undone. Setters call one another, so
// only the outermost guard touches the index.
class IndexGuard {
 public:
  explicit IndexGuard(TSCGCellParam* p) : p_(p) {
    if (p_->guardDepth_++ == 0) p_->Collection()->Unindex(p_);
  }
  ~IndexGuard() {
    if (--p_->guardDepth_ == 0) p_->Collection()->Reindex(p_);
  }
  IndexGuard(const IndexGuard&) = delete;
  IndexGuard& operator=(const IndexGuard&) = delete;

 private:
  TSCGCellParam* p_;
};

TSCGCellParam::TSCGCellParam(TSCGCellParams* owner, quint64 seq) : owner_(owner), seq_(seq) {}

bool TSCGCellParam::Loading() const { return owner_->Grid() && owner_->Grid()->Loading(); }

// The grid repaints on a parameter change only while it is designed, which never happens here:
// at run time the owner refreshes the grid itself.
void TSCGCellParam::Changed() {}

int TSCGCellParam::Index() const { return owner_->IndexOf(this); }

bool TSCGCellParam::Covers(int col, int row) const {
  if (rangeEnabled_) return col_ <= col && col <= colMax_ && row_ <= row && row <= rowMax_;
  return col == col_ && row == row_;
}

QString TSCGCellParam::DisplayName() const {
  return QString::asprintf("%s (%3d,%3d)-(%3d,%3d)", name_.toUtf8().constData(), col_, row_,
                           colMax_, rowMax_);
}

void TSCGCellParam::SetAlignment(TAlignment a) { alignment_ = a; Changed(); }
void TSCGCellParam::SetCaption(const QString& c) { caption_ = c; Changed(); }
void TSCGCellParam::SetCaptionType(TSCGCellCaptionType t) { captionType_ = t; Changed(); }
void TSCGCellParam::SetCellColor(const QColor& c) { cellColor_ = c; Changed(); }
void TSCGCellParam::SetCellColorEnabled(bool on) { cellColorEnabled_ = on; Changed(); }
void TSCGCellParam::SetBrush(const QBrush& b) { brush_ = b; Changed(); }
void TSCGCellParam::SetBrushEnabled(bool on) { brushEnabled_ = on; Changed(); }
void TSCGCellParam::SetFontColor(const QColor& c) { fontColor_ = c; Changed(); }
void TSCGCellParam::SetFontColorEnabled(bool on) { fontColorEnabled_ = on; Changed(); }
void TSCGCellParam::SetImeMode(TImeMode m) { imeMode_ = m; Changed(); }
void TSCGCellParam::SetImeModeEnabled(bool on) { imeModeEnabled_ = on; Changed(); }
void TSCGCellParam::SetLayout(TTextLayout l) { layout_ = l; Changed(); }
void TSCGCellParam::SetName(const QString& n) { name_ = n; Changed(); }
void TSCGCellParam::SetOptions(TGridOptions o) { options_ = o; Changed(); }
void TSCGCellParam::SetOptionsEnabled(bool on) { optionsEnabled_ = on; Changed(); }

// Storing Col re-applies ColMax, which re-applies RangeEnabled: a new column that breaks an
// enabled range is refused like a bad ColMax, with the old column kept.
void TSCGCellParam::SetCol(int col) {
  if (col < 0) throw ERangeError(DisplayName() + QStringLiteral(".Col の値が 0 を下まわりました"));
  IndexGuard guard(this);
  const int old = col_;
  col_ = col;
  try {
    SetColMax(colMax_);
  } catch (...) {
    col_ = old;
    throw;
  }
  Changed();
}

void TSCGCellParam::SetRow(int row) {
  if (row < 0) throw ERangeError(DisplayName() + QStringLiteral(".Row の値が 0 を下まわりました"));
  IndexGuard guard(this);
  const int old = row_;
  row_ = row;
  try {
    SetRowMax(rowMax_);
  } catch (...) {
    row_ = old;
    throw;
  }
  Changed();
}

void TSCGCellParam::SetColMax(int colMax) {
  const int old = colMax_;
  colMax_ = colMax;
  try {
    SetRangeEnabled(rangeEnabled_);
  } catch (...) {
    colMax_ = old;
    throw;
  }
  Changed();
}

void TSCGCellParam::SetRowMax(int rowMax) {
  const int old = rowMax_;
  rowMax_ = rowMax;
  try {
    SetRangeEnabled(rangeEnabled_);
  } catch (...) {
    rowMax_ = old;
    throw;
  }
  Changed();
}

void TSCGCellParam::SetRangeEnabled(bool on) {
  if (on && !Loading() && (colMax_ < col_ || rowMax_ < row_))
    throw ERangeError(QStringLiteral("範囲が不正です"));
  IndexGuard guard(this);
  rangeEnabled_ = on;
  Changed();
}

void TSCGCellParam::SetFontWidth(int w) {
  if (w < 0)
    throw ERangeError(DisplayName() + QStringLiteral(".FontWidth の値が範囲を超えました"));
  fontWidth_ = w;
  Changed();
}

void TSCGCellParam::SetFontName(const QString& name) {
  QString value = name;
  TStrColGrid* grid = owner_->Grid();
  if (!value.isEmpty() && !Loading() && grid && !grid->Fonts().Find(value)) value.clear();
  fontName_ = value;
  Changed();
}

void TSCGCellParam::Assign(const TSCGCellParam& s) {
  if (&s == this) return;
  IndexGuard guard(this);
  alignment_ = s.alignment_;
  caption_ = s.caption_;
  captionType_ = s.captionType_;
  cellColor_ = s.cellColor_;
  cellColorEnabled_ = s.cellColorEnabled_;
  col_ = s.col_;
  colMax_ = s.colMax_;
  brush_ = s.brush_;
  brushEnabled_ = s.brushEnabled_;
  fontName_ = s.fontName_;
  fontColor_ = s.fontColor_;
  fontColorEnabled_ = s.fontColorEnabled_;
  fontWidth_ = s.fontWidth_;
  imeMode_ = s.imeMode_;
  imeModeEnabled_ = s.imeModeEnabled_;
  layout_ = s.layout_;
  name_ = s.name_;
  options_ = s.options_;
  optionsEnabled_ = s.optionsEnabled_;
  rangeEnabled_ = s.rangeEnabled_;
  row_ = s.row_;
  rowMax_ = s.rowMax_;
  tag_ = s.tag_;
  OnEnterCell = s.OnEnterCell;
  OnExitCell = s.OnExitCell;
  OnEnterCol = s.OnEnterCol;
  OnExitCol = s.OnExitCol;
  OnEnterRow = s.OnEnterRow;
  OnExitRow = s.OnExitRow;
  OnOutCellText = s.OnOutCellText;
  OnDrawTextOneLine = s.OnDrawTextOneLine;
  OnDrawCell = s.OnDrawCell;
  Changed();
}

// ---- the collection ---------------------------------------------------------------------------

TSCGCellParams::~TSCGCellParams() = default;

quint64 TSCGCellParams::Key(int col, int row) {
  return quint64(quint32(col)) << 32 | quint32(row);
}

TSCGCellParam* TSCGCellParams::Add() {
  items_.push_back(std::make_unique<TSCGCellParam>(this, nextSeq_++));
  TSCGCellParam* p = items_.back().get();
  p->name_ = QStringLiteral("パラメータ") + QString::number(items_.size());
  if (grid_) p->options_ = grid_->Options();
  Reindex(p);
  return p;
}

TSCGCellParam* TSCGCellParams::Items(int i) const {
  return i >= 0 && i < Count() ? items_[i].get() : nullptr;
}

int TSCGCellParams::IndexOf(const TSCGCellParam* p) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].get() == p) return i;
  return -1;
}

void TSCGCellParams::Delete(int i) {
  if (i < 0 || i >= Count()) return;
  Unindex(items_[i].get());
  items_.erase(items_.begin() + i);
}

void TSCGCellParams::Clear() {
  singles_.clear();
  ranges_.clear();
  items_.clear();
}

void TSCGCellParams::Assign(const TSCGCellParams& source) {
  if (&source == this) return;
  Clear();
  for (const auto& item : source.items_) Add()->Assign(*item);
}

TSCGCellParam* TSCGCellParams::Find(int col, int row) const {
  TSCGCellParam* best = nullptr;
  const auto it = singles_.constFind(Key(col, row));
  if (it != singles_.constEnd() && !it->empty()) best = it->back();
  for (auto r = ranges_.rbegin(); r != ranges_.rend(); ++r) {
    if (best && (*r)->Seq() < best->Seq()) break;
    if ((*r)->Covers(col, row)) return *r;
  }
  return best;
}

static bool SeqLess(const TSCGCellParam* a, const TSCGCellParam* b) { return a->Seq() < b->Seq(); }

void TSCGCellParams::Unindex(TSCGCellParam* p) {
  if (p->rangeEnabled_) {
    ranges_.erase(std::remove(ranges_.begin(), ranges_.end(), p), ranges_.end());
    return;
  }
  auto it = singles_.find(Key(p->col_, p->row_));
  if (it == singles_.end()) return;
  it->erase(std::remove(it->begin(), it->end(), p), it->end());
  if (it->empty()) singles_.erase(it);
}

void TSCGCellParams::Reindex(TSCGCellParam* p) {
  std::vector<TSCGCellParam*>& list = p->rangeEnabled_ ? ranges_ : singles_[Key(p->col_, p->row_)];
  list.insert(std::upper_bound(list.begin(), list.end(), p, SeqLess), p);
}

}  // namespace zantro
