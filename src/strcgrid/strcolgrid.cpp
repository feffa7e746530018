#include "strcgrid/strcolgrid.h"

namespace zantro {

TStrColGrid::TStrColGrid(QWidget* parent) : TStringGrid(parent) {
  options_ = TStringGrid::Options();
  SetDefaultDrawing(false);
}

// Font entries go first so that they clear the names that refer to them.
TStrColGrid::~TStrColGrid() {
  fonts_.Clear();
  params_.Clear();
}

void TStrColGrid::SetOptions(TGridOptions o) {
  options_ = o;
  ApplyOptions(o);
}

TGridOptions TStrColGrid::EffectiveOptions(const TSCGCellParam* p) const {
  return p && p->OptionsEnabled() ? p->Options() : options_;
}

const TFont& TStrColGrid::ParamFont(const TSCGCellParam* p) const {
  if (!p || p->FontName().isEmpty()) return Font();
  return fonts_.Items(fonts_.IndexOfName(p->FontName()))->Font();
}

void ApplyImeMode(QWidget* widget, TImeMode mode) {
  if (!widget) return;
  widget->setAttribute(Qt::WA_InputMethodEnabled, mode != TImeMode::imDisable);
  Qt::InputMethodHints hints = Qt::ImhNone;
  switch (mode) {
    case TImeMode::imDisable: hints = Qt::ImhLatinOnly; break;
    case TImeMode::imClose:
    case TImeMode::imAlpha:
    case TImeMode::imSAlpha: hints = Qt::ImhPreferLatin; break;
    default: break;
  }
  widget->setInputMethodHints(hints);
}

void TStrColGrid::SetImeMode(TImeMode m) {
  imeMode_ = m;
  ApplyImeMode(this, m);
  ApplyImeMode(InplaceEditor(), m);
}

// ---- parameters and the cell setters ---------------------------------------------------------

TSCGCellParam* TStrColGrid::FindCellParam(int col, int row, bool create) {
  if (TSCGCellParam* p = params_.Find(col, row)) return p;
  if (!create) return nullptr;
  TSCGCellParam* p = params_.Add();
  try {
    p->SetCaption(QString());
    p->SetFontColor(Font().Color);
    p->SetCellColor(IsFixed(col, row) ? FixedColor() : Color());
    p->SetCellColorEnabled(true);
    p->SetFontColorEnabled(true);
    p->SetCol(col);
    p->SetRow(row);
  } catch (...) {
    params_.Delete(params_.Count() - 1);
    throw;
  }
  return p;
}

void TStrColGrid::CheckCellPos(int col, int row) const {
  if (col < 0 || row < 0 || col > ColCount() || row > RowCount())
    throw ERangeError(QStringLiteral("ｾﾙ位置がｸﾞﾘｯﾄﾞの範囲を超えました。"));
}

void TStrColGrid::SetCellAlignment(int col, int row, TAlignment a) {
  CheckCellPos(col, row);
  FindCellParam(col, row, true)->SetAlignment(a);
  viewport()->update();
}

void TStrColGrid::SetCellFontColor(int col, int row, const QColor& c) {
  CheckCellPos(col, row);
  FindCellParam(col, row, true)->SetFontColor(c);
  viewport()->update();
}

void TStrColGrid::SetCellFontWidth(int col, int row, int width) {
  CheckCellPos(col, row);
  FindCellParam(col, row, true)->SetFontWidth(width);
  viewport()->update();
}

void TStrColGrid::SetCellColor(int col, int row, const QColor& c) {
  CheckCellPos(col, row);
  TSCGCellParam* p = FindCellParam(col, row, true);
  p->SetCellColor(c);
  p->SetCellColorEnabled(true);
  viewport()->update();
}

TSCGCellParam* TStrColGrid::AddRangeParam(int col, int row, int colMax, int rowMax) {
  TSCGCellParam* p = params_.Add();
  try {
    p->SetCol(col);
    p->SetRow(row);
    p->SetColMax(colMax);
    p->SetRowMax(rowMax);
    p->SetRangeEnabled(true);
  } catch (...) {
    params_.Delete(params_.Count() - 1);
    throw;
  }
  return p;
}

// ---- selection ------------------------------------------------------------------------------

void TStrColGrid::ApplyCellSettings(QLineEdit* editor, const TSCGCellParam* p) {
  if (!editor) return;
  editor->setFont(ParamFont(p).Font);
  ApplyImeMode(editor, p && p->ImeModeEnabled() ? p->ImeMode() : imeMode_);
}

QLineEdit* TStrColGrid::CreateEditor() {
  QLineEdit* editor = TStringGrid::CreateEditor();
  ApplyCellSettings(editor, FindCellParam(Col(), Row()));
  return editor;
}

void TStrColGrid::FireCellEvents(TSCGCellParam* oldP, TSCGCellParam* newP, int col, int row) {
  const bool colChanged = col != prevCol_, rowChanged = row != prevRow_;
  if (oldP) {
    if (oldP->OnExitCell) oldP->OnExitCell(oldP, this, prevCol_, prevRow_, col, row);
    if (colChanged && oldP->OnExitCol) oldP->OnExitCol(oldP, this, prevCol_, col);
    if (rowChanged && oldP->OnExitRow) oldP->OnExitRow(oldP, this, prevRow_, row);
  }
  if (newP) {
    if (newP->OnEnterCell) newP->OnEnterCell(newP, this, prevCol_, prevRow_, col, row);
    if (colChanged && newP->OnEnterCol) newP->OnEnterCol(newP, this, prevCol_, col);
    if (rowChanged && newP->OnEnterRow) newP->OnEnterRow(newP, this, prevRow_, row);
  }
  if (OnCellChanged) OnCellChanged(this, prevCol_, prevRow_, col, row);
  if (colChanged && OnColChanged) OnColChanged(this, prevCol_, col);
  if (rowChanged && OnRowChanged) OnRowChanged(this, prevRow_, row);
}

// Keeps the options, editor font and IME mode in step with the selected cell. The enter/exit
// and change events run only for the user's own moves; a handler that raises refuses the move.
bool TStrColGrid::SelectCell(int col, int row) {
  const bool answer = TStringGrid::SelectCell(col, row);
  TSCGCellParam* newParam = FindCellParam(col, row);
  TSCGCellParam* oldParam = FindCellParam(prevCol_, prevRow_);
  ApplyCellSettings(InplaceEditor(), newParam);
  ApplyOptions(EffectiveOptions(newParam));
  if (UserAction() && (col != prevCol_ || row != prevRow_)) {
    try {
      FireCellEvents(oldParam, newParam, col, row);
    } catch (const std::exception& e) {
      // The previous cell stays selected, so its options stay in force.
      ApplyOptions(EffectiveOptions(oldParam));
      ReportError(QString::fromUtf8(e.what()));
      return false;
    }
  }
  prevCol_ = col;
  prevRow_ = row;
  return answer;
}

void TStrColGrid::Loaded() {
  prevCol_ = Col();
  prevRow_ = Row();
  try {
    SelectCell(Col(), Row());
  } catch (const std::exception& e) {
    ReportError(QString::fromUtf8(e.what()));
  }
  viewport()->update();
}

void TStrColGrid::DoEnter() { SelectCell(Col(), Row()); }

void TStrColGrid::Paint() {
  if (BeforeDraw) {
    try {
      BeforeDraw(this);
    } catch (const std::exception& e) {
      ReportError(QString::fromUtf8(e.what()));
    }
  }
  TStringGrid::Paint();
}

}  // namespace zantro
