#include "csvdialog.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

#include "common/dialogframe.h"
#include "platform/files.h"
#include "shell/programshell.h"

namespace zantro {
namespace {

const int kWidths[kCsvColumns] = {150, 130, 44, 52, 64, 64, 72, 72, 52, 80, 80, 100};

QPushButton* Button(QWidget* parent, const char* name, const char* text) {
  return Named(new QPushButton(QString::fromUtf8(text), parent), name);
}

}  // namespace

CsvDialog::CsvDialog(ProgramShell& shell) : shell_(shell) {
  setObjectName("csvznt");
  setWindowTitle(DialogCaption("CSVデータの取込"));
  resize(1000, 600);
  table_ = Named(new QTableWidget(0, kCsvColumns, this), "CsvTable");
  QStringList titles;
  for (int c = 0; c < kCsvColumns; ++c) {
    titles << QString::fromUtf8(CsvColumnTitle(c));
    table_->setColumnWidth(c, kWidths[c]);
  }
  table_->setHorizontalHeaderLabels(titles);
  auto* open = Button(this, "OpenButton", "CSVファイルを開く");
  auto* paste = Button(this, "PasteButton", "貼り付け");
  auto* add = Button(this, "AddRowButton", "行の追加");
  auto* remove = Button(this, "DeleteRowButton", "行の削除");
  auto* ok = Button(this, "OkButton", "取り込む");
  auto* cancel = Button(this, "CancelButton", "キャンセル");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {open, paste, add, remove}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addLayout(buttons);
  auto guarded = [this](void (CsvDialog::*fn)()) { return [this, fn] { shell_.Guard([this, fn] { (this->*fn)(); }); }; };
  connect(open, &QPushButton::clicked, this, guarded(&CsvDialog::Open));
  connect(paste, &QPushButton::clicked, this, guarded(&CsvDialog::Paste));
  connect(add, &QPushButton::clicked, this, guarded(&CsvDialog::AddRow));
  connect(remove, &QPushButton::clicked, this, guarded(&CsvDialog::DeleteRows));
  connect(ok, &QPushButton::clicked, this, guarded(&CsvDialog::Accept));
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
}

void CsvDialog::InsertRows(const std::vector<std::vector<std::string>>& rows) {
  for (const auto& row : rows)
    if (row.size() > static_cast<size_t>(kCsvColumns))
      return shell_.Dlg().ShowNotice(QString("列が多すぎます（%1列）。取り込めるのは%2列（名称から備考まで）です。")
                                         .arg(row.size())
                                         .arg(kCsvColumns));
  int at = table_->currentRow() >= 0 ? table_->currentRow() + 1 : table_->rowCount();
  for (size_t i = 0; i < rows.size(); ++i) {
    int r = at + static_cast<int>(i);
    table_->insertRow(r);
    for (int c = 0; c < kCsvColumns; ++c) {
      const auto& cells = rows[i];
      auto* item = new QTableWidgetItem(c < static_cast<int>(cells.size()) ? QString::fromStdString(cells[static_cast<size_t>(c)]) : QString());
      if (c >= kLabour && c <= kCostExtra) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(r, c, item);
    }
  }
}

void CsvDialog::Open() {
  FileDialogRequest r{"CSVファイルを開く", "CSVファイル(csv)|*.csv;*.txt", "csv", QString::fromStdString(shell_.ProgramFolder())};
  auto path = shell_.Dlg().OpenFileIn(FolderKind::Import, r);
  if (!path) return;
  auto bytes = ReadFileBytes(path->toStdString());
  if (!bytes) return shell_.Dlg().ShowError(*path + ": 読み込めません。");
  InsertRows(ParseDelimited(CsvTextOf(*bytes)));
}

void CsvDialog::Paste() {
  QString text = QApplication::clipboard()->text();
  if (text.trimmed().isEmpty()) return shell_.Dlg().ShowNotice("クリップボードに貼り付ける内容がありません。");
  InsertRows(ParseDelimited(text.toStdString()));
}

void CsvDialog::AddRow() { InsertRows({std::vector<std::string>(kCsvColumns)}); }

void CsvDialog::DeleteRows() {
  std::set<int, std::greater<>> rows;
  for (const QModelIndex& i : table_->selectionModel()->selectedIndexes()) rows.insert(i.row());
  if (rows.empty() && table_->currentRow() >= 0) rows.insert(table_->currentRow());
  for (int r : rows) table_->removeRow(r);
}

std::vector<CsvRow> CsvDialog::Rows() const {
  std::vector<CsvRow> rows(static_cast<size_t>(table_->rowCount()));
  for (int r = 0; r < table_->rowCount(); ++r)
    for (int c = 0; c < kCsvColumns; ++c)
      if (const QTableWidgetItem* item = table_->item(r, c)) rows[static_cast<size_t>(r)][static_cast<size_t>(c)] = item->text().toStdString();
  return rows;
}

void CsvDialog::Accept() {
  CsvImport import = BuildImport(Rows());
  if (import.Problem) {
    shell_.Dlg().ShowNotice(QString::fromStdString(import.Problem->Text));
    table_->setCurrentCell(import.Problem->Row, import.Problem->Column);
    table_->setFocus();
    return;
  }
  if (import.Lines == 0) return shell_.Dlg().ShowNotice("取り込む行がありません。");
  const std::string path = ResolveNoCase(shell_.ProgramFolder(), "csv_inport.tmp");
  std::string error;
  if (!WriteFileAtomic(path, *import.Text, &error))
    return shell_.Dlg().ShowError(QString::fromStdString(path + ": " + error));
  close();
}

}  // namespace zantro
