// Named fonts of a TStrColGrid: cell parameters refer to an entry by its Name.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "strcgrid/gridtypes.h"

namespace zantro {

class TStrColGrid;
class TSCGCellFonts;

class TSCGCellFont : public TObject {
 public:
  // Entries are made by TSCGCellFonts::Add.
  explicit TSCGCellFont(TSCGCellFonts* owner) : owner_(owner) {}
  TSCGCellFont(const TSCGCellFont&) = delete;
  TSCGCellFont& operator=(const TSCGCellFont&) = delete;

  const TFont& Font() const { return font_; }
  void SetFont(const TFont& f) { font_ = f; }
  QString Name() const { return name_; }
  // Refuses an empty name and (except while loading) a name already used by any entry, this
  // one included; parameters that used the old name follow the new one.
  void SetName(const QString& name);
  // "Name( family, size )".
  QString DisplayName() const;
  TSCGCellFonts* Collection() const { return owner_; }

 private:
  friend class TSCGCellFonts;
  TSCGCellFonts* owner_;
  TFont font_;
  QString name_;
};

class TSCGCellFonts {
 public:
  explicit TSCGCellFonts(TStrColGrid* grid) : grid_(grid) {}
  ~TSCGCellFonts();
  TSCGCellFonts(const TSCGCellFonts&) = delete;
  TSCGCellFonts& operator=(const TSCGCellFonts&) = delete;

  TStrColGrid* Grid() const { return grid_; }
  // A new entry named "フォント<count>" holding a copy of the grid's font.
  TSCGCellFont* Add();
  int Count() const { return int(items_.size()); }
  TSCGCellFont* Items(int i) const;
  // Removing an entry clears the FontName of every parameter that used it.
  void Delete(int i);
  void Clear();
  void Assign(const TSCGCellFonts& source);
  // Index of the entry with that name; raises EGridError when there is none.
  int IndexOfName(const QString& name) const;
  // The entry with that name, or null.
  TSCGCellFont* Find(const QString& name) const;

 private:
  void ForgetName(const QString& name);
  TStrColGrid* grid_;
  std::vector<std::unique_ptr<TSCGCellFont>> items_;
};

}  // namespace zantro
