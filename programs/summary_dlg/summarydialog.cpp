#include "summarydialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <sstream>

#include "general/errors.h"
#include "platform/files.h"
#include "platform/outputs.h"
#include "printing/summarypdf.h"
#include "shell/programshell.h"
#include "summary/workbook.h"

namespace zantro {
namespace {

using summary::Cell;
using summary::Table;

// A cell that sorts by the number behind it, where it has one.
class CellItem : public QTableWidgetItem {
 public:
  explicit CellItem(const Cell& c) : QTableWidgetItem(QString::fromStdString(c.Text)), value_(c.Value) {
    if (c.Value) setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  bool operator<(const QTableWidgetItem& other) const override {
    const auto* o = dynamic_cast<const CellItem*>(&other);
    if (o && value_ && o->value_) return *value_ < *o->value_;
    return QTableWidgetItem::operator<(other);
  }

 private:
  std::optional<Money> value_;
};

QTableWidget* NewTable(QWidget* parent, const char* name) {
  auto* t = Named(new QTableWidget(parent), name);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->verticalHeader()->setVisible(false);
  return t;
}

void Show(QTableWidget* t, const Table& table) {
  const bool sorting = t->isSortingEnabled();
  t->setSortingEnabled(false);  // rows filled while sorting would move under the filler
  t->clear();
  t->setColumnCount(static_cast<int>(table.Captions.size()));
  t->setRowCount(static_cast<int>(table.Rows.size()));
  QStringList heads;
  for (const std::string& c : table.Captions) heads << QString::fromStdString(c);
  t->setHorizontalHeaderLabels(heads);
  for (int r = 0; r < t->rowCount(); ++r)
    for (int c = 0; c < t->columnCount() && c < static_cast<int>(table.Rows[r].size()); ++c)
      t->setItem(r, c, new CellItem(table.Rows[r][c]));
  t->resizeColumnsToContents();
  t->setSortingEnabled(sorting);
}

}  // namespace

SummaryDialog::SummaryDialog(ProgramShell& shell, std::string source) : shell_(shell), source_(std::move(source)) {
  setObjectName("TFSummary_Dlg");
  setWindowTitle(DialogCaption("集計表"));
  resize(1000, 680);
  rateEdit_ = Named(new QLineEdit(this), "LabourRateEdit");
  rateEdit_->setPlaceholderText("歩掛行の労務単価");
  filterEdit_ = Named(new QLineEdit(this), "FilterEdit");
  sortBox_ = Named(new QComboBox(this), "SortBox");
  sortBox_->addItems({"出現順", "名称順", "原価金額順", "提出金額順", "原価数量順"});
  groupTable_ = NewTable(this, "GroupTable");
  itemTable_ = NewTable(this, "ItemTable");
  itemGroupTable_ = NewTable(this, "ItemGroupTable");
  labourTable_ = NewTable(this, "LabourTable");
  materialTable_ = NewTable(this, "MaterialTable");
  materialTable_->setSortingEnabled(true);  // a click on a caption orders by that column

  auto* tabs = Named(new QTabWidget(this), "SummaryTabs");
  tabs->addTab(groupTable_, "価格グループ別");
  tabs->addTab(itemTable_, "工種別");
  tabs->addTab(itemGroupTable_, "工種別グループ別");
  tabs->addTab(labourTable_, "労務");
  auto* materials = new QWidget(this);
  auto* materialBar = new QHBoxLayout;
  materialBar->addWidget(new QLabel("絞り込み", this));
  materialBar->addWidget(filterEdit_, 1);
  materialBar->addWidget(new QLabel("並び順", this));
  materialBar->addWidget(sortBox_);
  auto* materialLayout = new QVBoxLayout(materials);
  materialLayout->addLayout(materialBar);
  materialLayout->addWidget(materialTable_, 1);
  tabs->addTab(materials, "資材集計");

  auto* rateBar = new QHBoxLayout;
  rateBar->addWidget(new QLabel("労務単価", this));
  rateBar->addWidget(rateEdit_);
  rateBar->addStretch(1);
  auto button = [this](const char* name, const char* caption) { return Named(new QPushButton(caption, this), name); };
  QPushButton* csv = button("CsvButton", "資材CSV");
  QPushButton* xlsx = button("XlsxButton", "Excel出力");
  QPushButton* pdf = button("PdfButton", "PDF出力");
  QPushButton* close = button("CloseButton", "閉じる");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {csv, xlsx, pdf, close}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(rateBar);
  layout->addWidget(tabs, 1);
  layout->addLayout(buttons);

  auto guarded = [this](void (SummaryDialog::*fn)()) { return [this, fn] { shell_.Guard([this, fn] { (this->*fn)(); }); }; };
  connect(rateEdit_, &QLineEdit::editingFinished, this, guarded(&SummaryDialog::RateEdited));
  connect(filterEdit_, &QLineEdit::textEdited, this, guarded(&SummaryDialog::FillMaterials));
  connect(sortBox_, &QComboBox::activated, this, guarded(&SummaryDialog::FillMaterials));
  connect(csv, &QPushButton::clicked, this, guarded(&SummaryDialog::ExportCsv));
  connect(xlsx, &QPushButton::clicked, this, guarded(&SummaryDialog::ExportWorkbook));
  connect(pdf, &QPushButton::clicked, this, guarded(&SummaryDialog::ExportPdf));
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
}

bool SummaryDialog::Load() {
  bool loaded = false;
  shell_.Guard([&] {
    summary_ = source_ == "WRK" ? summary::SummarizeWorkFiles(shell_.ProgramFolder(), rate_, &construction_)
                                : summary::SummarizeFile(source_, rate_, &construction_);
    Fill();
    loaded = true;
  });
  return loaded;
}

void SummaryDialog::Fill() {
  std::vector<Table> tables = summary::SummaryTables(summary_);
  Show(groupTable_, tables[0]);
  Show(itemTable_, tables[1]);
  Show(itemGroupTable_, tables[2]);
  Show(labourTable_, tables[3]);
  FillMaterials();
}

void SummaryDialog::FillMaterials() {
  const auto order = static_cast<summary::MaterialOrder>(std::max(0, sortBox_->currentIndex()));
  materialTable_->sortByColumn(-1, Qt::AscendingOrder);  // the box's order, not a caption's
  shown_ = summary::SelectMaterials(summary_.Materials, filterEdit_->text().toStdString(), order);
  Show(materialTable_, summary::MaterialTable(shown_));
  // Each row knows its material, whatever order a caption puts it in.
  for (int r = 0; r < materialTable_->rowCount(); ++r)
    materialTable_->item(r, 0)->setData(Qt::UserRole, static_cast<qulonglong>(r));
}

void SummaryDialog::RateEdited() {
  std::optional<Money> rate;
  if (!rateEdit_->text().trimmed().isEmpty()) {
    rate = MoneyOfField(shell_.Dlg(), rateEdit_, "労務単価");
    if (!rate) return;
  }
  if (rate == rate_) return;
  rate_ = rate;
  Load();
}

std::optional<QString> SummaryDialog::AskPath(const char* title, const char* filter, const char* ext) {
  return shell_.Dlg().SaveFile(FileDialogRequest{title, filter, ext, QString::fromStdString(shell_.ProgramFolder())});
}

// The rows as shown: the filter and the order in force, a caption's order included.
void SummaryDialog::ExportCsv() {
  auto path = AskPath("資材集計の保存", "CSVファイル(csv)|*.csv;", "csv");
  if (!path) return;
  std::vector<summary::MaterialRow> rows;
  for (int r = 0; r < materialTable_->rowCount(); ++r)
    rows.push_back(shown_.at(materialTable_->item(r, 0)->data(Qt::UserRole).toULongLong()));
  std::string error;
  if (!WriteOutput(path->toStdString(), summary::TableCsv(summary::MaterialTable(rows)), &error)) throw FileError(error);
}

void SummaryDialog::ExportWorkbook() {
  auto path = AskPath("集計表の保存", "Excelファイル(xlsx)|*.xlsx;", "xlsx");
  if (!path) return;
  summary::WriteTablesWorkbook(summary::SummaryTables(summary_), path->toStdString(), {});
}

void SummaryDialog::ExportPdf() {
  auto path = AskPath("集計表の保存", "PDFファイル(pdf)|*.pdf;", "pdf");
  if (!path) return;
  std::ostringstream err;
  if (printing::WriteSummaryPdf(summary::SummaryTables(summary_), construction_, shell_.ProgramFolder(),
                                path->toStdString(), {}, err) != 0)
    shell_.Dlg().ShowNotice(QString::fromStdString(err.str()).trimmed());
}

}  // namespace zantro
