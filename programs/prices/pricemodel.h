// The entries of a library as a table of the pickers and editors: code, name, specification,
// unit, the price of the chosen level and the labour factor, over a list of positions (the
// search's answer) so that narrowing 100 000 entries costs no widget per row.
#pragma once
#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

#include "prices/library.h"

namespace zantro {

class PriceListModel : public QAbstractTableModel {
 public:
  explicit PriceListModel(const PriceLibrary& lib, QObject* parent = nullptr) : QAbstractTableModel(parent), lib_(lib) {}

  void Show(std::vector<uint32_t> rows);
  void SetLevel(int level);  // 1..5
  const std::vector<uint32_t>& Rows() const { return rows_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation o, int role) const override;

 private:
  const PriceLibrary& lib_;
  std::vector<uint32_t> rows_;
  int level_ = 1;
};

// The folder of a launch: the setting as passed (Shift-JIS), or the program folder's "data"
// when it is empty.
std::string LibraryFolder(const std::string& folderSjis, const std::string& programFolder);

}  // namespace zantro
