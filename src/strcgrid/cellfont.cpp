#include "strcgrid/cellfont.h"

#include "strcgrid/cellparam.h"
#include "strcgrid/strcolgrid.h"

namespace zantro {

void TSCGCellFont::SetName(const QString& name) {
  if (name.isEmpty()) throw EGridError(QStringLiteral("フォント名は空にできません"));
  TStrColGrid* grid = owner_->Grid();
  const bool loading = grid && grid->Loading();
  if (!loading && owner_->Find(name))
    throw EGridError(QStringLiteral("このフォント名はすでに使用されています"));
  const QString old = name_;
  name_ = name;
  if (!grid) return;
  TSCGCellParams& params = grid->CellParams();
  for (int i = 0; i < params.Count(); ++i) {
    TSCGCellParam* p = params.Items(i);
    if (p->fontName_ == old) p->fontName_ = name;
  }
}

QString TSCGCellFont::DisplayName() const {
  const int size = font_.Font.pointSize() > 0 ? font_.Font.pointSize() : font_.Font.pixelSize();
  return QString::asprintf("%s( %s, %d )", name_.toUtf8().constData(),
                           font_.Font.family().toUtf8().constData(), size);
}

TSCGCellFonts::~TSCGCellFonts() = default;

TSCGCellFont* TSCGCellFonts::Add() {
  items_.push_back(std::make_unique<TSCGCellFont>(this));
  TSCGCellFont* f = items_.back().get();
  f->name_ = QStringLiteral("フォント") + QString::number(items_.size());
  if (grid_) f->font_ = grid_->Font();
  return f;
}

TSCGCellFont* TSCGCellFonts::Items(int i) const {
  return i >= 0 && i < Count() ? items_[i].get() : nullptr;
}

void TSCGCellFonts::ForgetName(const QString& name) {
  if (!grid_) return;
  TSCGCellParams& params = grid_->CellParams();
  for (int i = 0; i < params.Count(); ++i) {
    TSCGCellParam* p = params.Items(i);
    if (p->FontName() == name) p->SetFontName(QString());
  }
}

void TSCGCellFonts::Delete(int i) {
  if (i < 0 || i >= Count()) return;
  const QString name = items_[i]->Name();
  items_.erase(items_.begin() + i);
  if (!Find(name)) ForgetName(name);
}

void TSCGCellFonts::Clear() {
  while (Count() > 0) Delete(Count() - 1);
}

void TSCGCellFonts::Assign(const TSCGCellFonts& source) {
  if (&source == this) return;
  Clear();
  for (const auto& item : source.items_) {
    TSCGCellFont* f = Add();
    f->font_ = item->font_;
    f->name_ = item->name_;
  }
}

int TSCGCellFonts::IndexOfName(const QString& name) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i]->Name() == name) return i;
  throw EGridError(
      QStringLiteral("CellParams で指定されたフォント名が Fonts に登録されていません"));
}

TSCGCellFont* TSCGCellFonts::Find(const QString& name) const {
  for (const auto& item : items_)
    if (item->Name() == name) return item.get();
  return nullptr;
}

}  // namespace zantro
