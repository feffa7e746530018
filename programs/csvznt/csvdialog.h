// The CSV import editor (csvznt): a table of detail lines taken from a CSV file or pasted
// from a spreadsheet, edited in place and checked whole; OK writes csv_inport.tmp into the
// program folder for the window, which waits for this program to end and then reads it.
#pragma once
#include <QWidget>
#include <vector>

#include "csvimport.h"

class QTableWidget;

namespace zantro {

class ProgramShell;

class CsvDialog : public QWidget {
 public:
  explicit CsvDialog(ProgramShell& shell);
  // The rows of text (UTF-8 cells) put into the table below the current row, or below the last.
  void InsertRows(const std::vector<std::vector<std::string>>& rows);
  QTableWidget* Table() const { return table_; }

 private:
  void Open();
  void Paste();
  void AddRow();
  void DeleteRows();
  void Accept();
  std::vector<CsvRow> Rows() const;

  ProgramShell& shell_;
  QTableWidget* table_;
};

}  // namespace zantro
