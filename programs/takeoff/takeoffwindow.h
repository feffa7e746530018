// takeoff (TFTAKEOFF): the takeoff sheet of one item. One row per measurement (system, floor,
// drawing, name, specification, unit, expression, multiplier, result; duct rows also width
// and height); every cell is checked when it is left, a bad expression refused there with the
// reason. 明細へ反映 writes the rows and the summed lines (src/takeoff) and ends the program,
// after which the window reloads its sheet; closing keeps the rows only.
#pragma once
#include <QWidget>
#include <vector>

#include "takeoff/apply.h"
#include "takeoff/sheet.h"

class QComboBox;
class QTableWidget;

namespace zantro {

class ProgramShell;

class TakeoffWindow : public QWidget {
 public:
  TakeoffWindow(ProgramShell& shell, int32_t item, takeoff::Mode mode, const QString& breakdownName,
                std::vector<takeoff::Row> rows);

  // The user types text into a cell and leaves it (ROW == the row count adds a row).
  void TypeCell(int row, int col, const QString& text);
  QTableWidget* Table() const { return table_; }
  // Where lines no earlier takeoff line prices take their prices from.
  void SetPriceLookup(takeoff::PriceLookup lookup) { lookup_ = std::move(lookup); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void Fill();
  void FillRow(int r);
  void Commit(int row, int col, const QString& text);
  void Refuse(int row, int col, const QString& why);
  void AddRow(int at, const takeoff::Row* like);
  void InsertRow();
  void CopyRow();
  void DeleteRow();
  void MoveRow(int by);
  void MoveNext();
  void Refilter();
  void Apply();
  void WritePdf();
  int FirstBadRow() const;
  int CurrentRow() const;

  ProgramShell& shell_;
  int32_t item_;
  QString breakdownName_;
  takeoff::Mode mode_;
  std::vector<takeoff::Row> rows_;
  takeoff::PriceLookup lookup_;
  std::vector<bool> valid_;  // the row's expression evaluates
  QTableWidget* table_;
  QComboBox* systemFilter_;
  QComboBox* floorFilter_;
  bool filling_ = false;
  bool changed_ = false;
  bool applied_ = false;
};

}  // namespace zantro
