#include "pricemodel.h"

#include "common/dialogframe.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace zantro {

void PriceListModel::Show(std::vector<uint32_t> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void PriceListModel::SetLevel(int level) {
  level_ = level;
  if (!rows_.empty()) emit dataChanged(index(0, 4), index(rowCount() - 1, 4));
}

int PriceListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PriceListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 6; }

QVariant PriceListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || static_cast<size_t>(index.row()) >= rows_.size()) return {};
  if (role == Qt::TextAlignmentRole && (index.column() == 4 || index.column() == 5))
    return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  const PriceEntry& e = lib_.Entries[rows_[static_cast<size_t>(index.row())]];
  switch (index.column()) {
    case 0: return Readable(e.Code);
    case 1: return Readable(e.Name);
    case 2: return Readable(e.Spec);
    case 3: return Readable(e.Unit);
    case 4: return QString::fromStdString(MoneyText(e.Prices[static_cast<size_t>(std::clamp(level_, 1, 5) - 1)]));
    case 5: return e.LabourFactor == kZero ? QString() : QString::fromStdString(MoneyToPlainText(e.LabourFactor));
  }
  return {};
}

QVariant PriceListModel::headerData(int section, Qt::Orientation o, int role) const {
  if (role != Qt::DisplayRole || o != Qt::Horizontal) return QAbstractTableModel::headerData(section, o, role);
  static const char* const kCaptions[] = {"コード", "名称", "仕様", "単位", "単価", "歩掛"};
  return section >= 0 && section < 6 ? QString::fromUtf8(kCaptions[section]) : QVariant();
}

std::string LibraryFolder(const std::string& folderSjis, const std::string& programFolder) {
  return folderSjis.empty() ? JoinPath(programFolder, "data") : ToUtf8(folderSjis);
}

}  // namespace zantro
