#include "comparedialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/dialogframe.h"
#include "common/documents.h"
#include "compare/batch.h"
#include "messages/showline.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "printing/comparepdf.h"
#include "shell/programshell.h"

namespace zantro {
namespace {

constexpr int kIndexRole = Qt::UserRole + 1;
const char* const kDocumentFilter = "ザントロファイル(znt2)|*.znt2|ザントロVersion1(znt)|*.znt";

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

// Enter on the table does what a double click does.
class DiffTable : public QTableView {
 public:
  DiffTable(QWidget* parent, std::function<void()> open) : QTableView(parent), open_(std::move(open)) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return open_();
    QTableView::keyPressEvent(e);
  }

 private:
  std::function<void()> open_;
};

QString TotalsText(const compare::Totals& t) {
  return Q("提出金額　旧 " + compare::Figure(t.OldSub) + "　新 " + compare::Figure(t.NewSub) + "　差額 " +
           compare::DifferenceText(t.OldSub, t.NewSub) + "　／　原価金額　旧 " + compare::Figure(t.OldCost) +
           "　新 " + compare::Figure(t.NewCost) + "　差額 " + compare::DifferenceText(t.OldCost, t.NewCost));
}

}  // namespace

void FillDiffModel(QStandardItemModel& model, const compare::Result& r) {
  model.clear();
  model.setHorizontalHeaderLabels({"工種", "行", "状態", "項目", "旧", "新", "差額"});
  model.setRowCount(static_cast<int>(r.Rows.size()));
  for (int i = 0; i < static_cast<int>(r.Rows.size()); ++i) {
    const compare::DiffRow& d = r.Rows[static_cast<size_t>(i)];
    auto* item = new QStandardItem(Q(std::to_string(d.Item) + " " + d.ItemName));
    item->setData(i, kIndexRole);
    model.setItem(i, 0, item);
    model.setItem(i, 1, new QStandardItem(d.Row > 0 ? Q(std::to_string(d.Row) + " " + d.LineName) : QString()));
    model.setItem(i, 2, new QStandardItem(Q(std::string(compare::StateText(d.Kind)))));
    model.setItem(i, 3, new QStandardItem(Q(d.Field)));
    const std::string* texts[] = {&d.Old, &d.New, &d.Difference};
    for (int c = 0; c < 3; ++c) {
      auto* cell = new QStandardItem(Q(*texts[c]));
      if (d.Numeric) cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      model.setItem(i, 4 + c, cell);
    }
  }
}

CompareDialog::CompareDialog(ProgramShell& shell) : shell_(shell) {
  setObjectName("FCompare_Dlg");
  setWindowTitle(DialogCaption("見積比較"));
  resize(1000, 600);
  auto* files = new QGridLayout;
  old_ = Named(new QLineEdit(this), "OldEdit");
  new_ = Named(new QLineEdit(kOpenDocumentText, this), "NewEdit");
  auto* oldBrowse = Named(new QPushButton("参照...", this), "OldBrowseButton");
  auto* newBrowse = Named(new QPushButton("参照...", this), "NewBrowseButton");
  files->addWidget(new QLabel("旧（比較元）", this), 0, 0);
  files->addWidget(old_, 0, 1);
  files->addWidget(oldBrowse, 0, 2);
  files->addWidget(new QLabel("新（比較先）", this), 1, 0);
  files->addWidget(new_, 1, 1);
  files->addWidget(newBrowse, 1, 2);
  auto* compare = Named(new QPushButton("比較", this), "CompareButton");
  files->addWidget(compare, 0, 3, 2, 1);

  table_ = Named(new DiffTable(this, [this] { shell_.Guard([this] { ShowInWindow(); }); }), "DiffTable");
  table_->setModel(&model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  totals_ = Named(new QLabel(this), "TotalsLabel");

  auto* buttons = new QHBoxLayout;
  auto* xlsx = Named(new QPushButton("Excel出力", this), "XlsxButton");
  auto* pdf = Named(new QPushButton("PDF出力", this), "PdfButton");
  auto* close = Named(new QPushButton("閉じる", this), "CloseButton");
  buttons->addWidget(totals_, 1);
  buttons->addWidget(xlsx);
  buttons->addWidget(pdf);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(files);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);

  connect(oldBrowse, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Browse(old_); }); });
  connect(newBrowse, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Browse(new_); }); });
  connect(compare, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Run(); }); });
  connect(table_, &QTableView::doubleClicked, this, [this] { shell_.Guard([this] { ShowInWindow(); }); });
  connect(xlsx, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Export(false); }); });
  connect(pdf, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Export(true); }); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
  old_->setFocus();
}

bool CompareDialog::NewIsOpenDocument() const {
  QString text = new_->text().trimmed();
  return text.isEmpty() || text == kOpenDocumentText;
}

// A document chosen for a side is compared at once when the other side is known.
void CompareDialog::Browse(QLineEdit* edit) {
  std::string start = ConfiguredDataFolder(shell_.ProgramFolder()).value_or(JoinPath(shell_.ProgramFolder(), "Sample"));
  auto chosen = shell_.Dlg().OpenFile({"比較する見積", kDocumentFilter, "znt2", Q(start)});
  if (!chosen) return;
  edit->setText(*chosen);
  if (!old_->text().trimmed().isEmpty()) Run();
}

void CompareDialog::Run() {
  std::string oldPath = old_->text().trimmed().toStdString();
  if (oldPath.empty()) {
    shell_.Dlg().ShowNotice("比較元の見積を選んでください。");
    return;
  }
  // Both sides are read before anything shown changes: a damaged document leaves the last
  // comparison as it was.
  ParsedDocument oldDoc = compare::ReadDocument(oldPath);
  const bool open = NewIsOpenDocument();
  std::string newPath = open ? JoinPath(shell_.ProgramFolder(), "HEAD.WRK") : new_->text().trimmed().toStdString();
  ParsedDocument newDoc = open ? compare::ReadWorkFiles(shell_.ProgramFolder()) : compare::ReadDocument(newPath);
  result_ = compare::Compare(oldDoc, newDoc);
  openDocument_ = open;
  sides_ = {oldPath, open ? std::string(kOpenDocumentText) : newPath};
  inputs_[0] = oldPath;
  inputs_[1] = newPath;
  FillDiffModel(model_, *result_);
  table_->resizeColumnsToContents();
  totals_->setText(TotalsText(result_->Sums));
  if (!result_->Differs()) shell_.Dlg().ShowNotice("違いはありません。");
  // The user goes on in the list: Enter on a row shows it in the window.
  table_->setFocus();
  if (model_.rowCount() > 0) table_->setCurrentIndex(model_.index(0, 0));
}

void CompareDialog::ShowInWindow() {
  QModelIndex current = table_->currentIndex();
  if (!result_ || !current.isValid()) return;
  const compare::DiffRow& d = result_->Rows[model_.index(current.row(), 0).data(kIndexRole).toUInt()];
  if (!openDocument_) {
    shell_.Dlg().ShowNotice("新しい側が編集中の見積のときだけ、その行を画面に表示できます。");
    return;
  }
  if (!d.InNew) {
    shell_.Dlg().ShowNotice("削除された行は編集中の見積にありません。");
    return;
  }
  shell_.Send("TFZANTRO", ShowLineMessage{d.Item, d.Row, ToCp932(d.ItemName)}.Encode());
}

void CompareDialog::Export(bool pdf) {
  if (!result_) {
    shell_.Dlg().ShowNotice("先に比較してください。");
    return;
  }
  auto chosen = pdf ? shell_.Dlg().SaveFile({"変更対比表の保存", "PDFファイル(pdf)|*.pdf", "pdf", QString()})
                    : shell_.Dlg().SaveFile({"変更対比表の保存", "Excelファイル(xlsx)|*.xlsx", "xlsx", QString()});
  if (!chosen) return;
  const OutputRules rules{{inputs_[0], inputs_[1]}, false};
  if (pdf) printing::WriteComparePdf(*result_, sides_, shell_.ProgramFolder(), chosen->toStdString(), rules);
  else compare::WriteWorkbook(*result_, sides_, chosen->toStdString(), rules);
}

}  // namespace zantro
