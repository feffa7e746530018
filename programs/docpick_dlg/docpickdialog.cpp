#include "docpickdialog.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/dialogframe.h"
#include "common/formcheck.h"
#include "messages/commands.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "shell/programshell.h"

namespace zantro {
namespace {

constexpr int kPathRole = Qt::UserRole + 1;

QString Text(std::string_view cp932) { return QString::fromStdString(ToUtf8(cp932)); }

// Enter on the table opens the document of the current row.
class DocTable : public QTableView {
 public:
  DocTable(QWidget* parent, std::function<void()> open) : QTableView(parent), open_(std::move(open)) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return open_();
    QTableView::keyPressEvent(e);
  }

 private:
  std::function<void()> open_;
};

}  // namespace

void FillDocumentModel(QStandardItemModel& model, const std::string& folder, const std::vector<DocumentEntry>& docs) {
  model.clear();
  model.setHorizontalHeaderLabels({"ファイル", "物件名", "宛先", "見積金額", "更新日時"});
  model.setRowCount(static_cast<int>(docs.size()));
  for (int r = 0; r < static_cast<int>(docs.size()); ++r) {
    const DocumentEntry& d = docs[r];
    auto* file = new QStandardItem(QString::fromStdString(d.File));
    file->setData(QString::fromStdString(JoinPath(folder, d.File)), kPathRole);
    model.setItem(r, 0, file);
    if (d.Title) {
      model.setItem(r, 1, new QStandardItem(Text(d.Title->CONSTRACT_1.view())));
      model.setItem(r, 2, new QStandardItem(Text(d.Title->ATESAKI_1.view())));
      auto* amount = new QStandardItem(QString::fromStdString(MoneyText(d.Title->ALLGTOTAL)));
      amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      model.setItem(r, 3, amount);
    } else {
      model.setItem(r, 1, new QStandardItem("（読み込めないファイル）"));
    }
    model.setItem(r, 4, new QStandardItem(QDateTime::fromSecsSinceEpoch(d.Modified).toString("yyyy/MM/dd HH:mm")));
  }
}

DocPickDialog::DocPickDialog(ProgramShell& shell, DocPickLaunch launch) : shell_(shell), launch_(std::move(launch)) {
  setObjectName("fdocpick_Dlg");
  setWindowTitle(DialogCaption("見積データを開く"));
  resize(900, 560);
  auto* top = new QHBoxLayout;
  std::string start = ConfiguredDataFolder(shell_.ProgramFolder()).value_or(JoinPath(shell_.ProgramFolder(), "Sample"));
  folder_ = Named(new QLineEdit(QString::fromStdString(start), this), "FolderEdit");
  auto* browse = Named(new QPushButton("参照...", this), "BrowseButton");
  top->addWidget(new QLabel("フォルダ", this));
  top->addWidget(folder_, 1);
  top->addWidget(browse);

  auto* filterRow = new QHBoxLayout;
  filter_ = Named(new QLineEdit(this), "FilterEdit");
  filter_->setPlaceholderText("ファイル名・物件名・宛先などの一部");
  count_ = Named(new QLabel(this), "CountLabel");
  filterRow->addWidget(new QLabel("絞り込み", this));
  filterRow->addWidget(filter_, 1);
  filterRow->addWidget(count_);

  table_ = Named(new DocTable(this, [this] { shell_.Guard([this] { Open(); }); }), "DocTable");
  visible_.setSourceModel(&model_);
  visible_.setFilterKeyColumn(-1);
  visible_.setFilterCaseSensitivity(Qt::CaseInsensitive);
  table_->setModel(&visible_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);

  auto* buttons = new QHBoxLayout;
  auto* open = Named(new QPushButton("開く", this), "OpenButton");
  auto* cancel = Named(new QPushButton("キャンセル", this), "CancelButton");
  buttons->addStretch();
  buttons->addWidget(open);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(filterRow);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);
  setTabOrder(filter_, table_);
  setTabOrder(table_, open);
  setTabOrder(open, cancel);
  setTabOrder(cancel, folder_);
  setTabOrder(folder_, browse);

  connect(folder_, &QLineEdit::editingFinished, this, [this] { shell_.Guard([this] { ShowFolder(); }); });
  connect(browse, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Browse(); }); });
  connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
    visible_.setFilterFixedString(text);
    count_->setText(QString("%1 件").arg(visible_.rowCount()));
    if (visible_.rowCount() > 0) table_->selectRow(0);
  });
  connect(table_, &QTableView::doubleClicked, this, [this] { shell_.Guard([this] { Open(); }); });
  connect(open, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Open(); }); });
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
  ShowFolder();
  filter_->setFocus();
}

void DocPickDialog::ShowFolder() {
  std::string folder = folder_->text().trimmed().toStdString();
  if (!IsDirectory(folder)) {
    model_.clear();
    count_->setText("フォルダがありません");
    return;
  }
  FillDocumentModel(model_, folder, ListDocuments(folder));
  table_->resizeColumnsToContents();
  count_->setText(QString("%1 件").arg(visible_.rowCount()));
  if (visible_.rowCount() > 0) table_->selectRow(0);
}

void DocPickDialog::Browse() {
  if (auto chosen = shell_.Dlg().ChooseFolder("フォルダの選択", folder_->text())) {
    folder_->setText(*chosen);
    ShowFolder();
  }
}

void DocPickDialog::Open() {
  QModelIndex current = table_->currentIndex();
  if (!current.isValid()) {
    shell_.Dlg().ShowNotice("開くファイルを選んでください。");
    return;
  }
  std::string path = visible_.index(current.row(), 0).data(kPathRole).toString().toStdString();
  if (path.find(';') != std::string::npos || ToUtf8(ToCp932(path)) != path) {
    shell_.Dlg().ShowNotice(QString::fromStdString("このファイル名のままでは開けません（使えない文字があります）: " + path));
    return;
  }
  if (shell_.Send(launch_.ReplyClass.c_str(), PathMessage{Command::FileSelect, ToCp932(path)}.Encode())) close();
}

}  // namespace zantro
