#include "fetchdialog.h"

#include <QDateTime>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/dialogframe.h"
#include "common/documents.h"
#include "general/container.h"
#include "general/kinds.h"
#include "messages/commands.h"
#include "platform/files.h"
#include "shell/programshell.h"

namespace zantro {
namespace {

QTableWidget* Table(QWidget* parent, const char* name, const QStringList& titles) {
  auto* t = Named(new QTableWidget(0, static_cast<int>(titles.size()), parent), name);
  t->setHorizontalHeaderLabels(titles);
  t->horizontalHeader()->setStretchLastSection(true);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->setSelectionMode(QAbstractItemView::SingleSelection);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->verticalHeader()->hide();
  return t;
}

void SetRow(QTableWidget* t, int r, const QStringList& cells) {
  for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
    auto* item = new QTableWidgetItem(cells[c]);
    if (cells[c].startsWith(' ')) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    t->setItem(r, c, item);
  }
}

QString Amount(Money m) { return " " + QString::fromStdString(MoneyText(m)); }

}  // namespace

FetchDialog::FetchDialog(ProgramShell& shell, const std::string& folder) : shell_(shell) {
  setObjectName("Tfdocfetch_Dlg");
  setWindowTitle(DialogCaption("工種の転送"));
  resize(900, 600);
  folder_ = Named(new QLineEdit(QString::fromStdString(folder), this), "FolderEdit");
  auto* browse = Named(new QPushButton("参照", this), "BrowseButton");
  docs_ = Table(this, "DocTable", {"ファイル", "物件名", "宛先", "更新日時"});
  docs_->setColumnWidth(0, 200);
  docs_->setColumnWidth(1, 260);
  docs_->setColumnWidth(2, 200);
  items_ = Table(this, "ItemTable", {"No.", "工種名", "見積金額", "原価", "明細行数"});
  items_->setColumnWidth(0, 50);
  items_->setColumnWidth(1, 360);
  items_->setColumnWidth(2, 120);
  items_->setColumnWidth(3, 120);
  auto* fetch = Named(new QPushButton("転送", this), "FetchButton");
  auto* cancel = Named(new QPushButton("キャンセル", this), "CancelButton");
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("フォルダー", this));
  top->addWidget(folder_, 1);
  top->addWidget(browse);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(fetch);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(new QLabel("転送元の見積", this));
  layout->addWidget(docs_, 3);
  layout->addWidget(new QLabel("転送する工種（明細ごと内訳の選択行へ入ります）", this));
  layout->addWidget(items_, 2);
  layout->addLayout(buttons);
  connect(folder_, &QLineEdit::editingFinished, this, [this] { shell_.Guard([this] { ListFolder(); }); });
  connect(browse, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Browse(); }); });
  connect(docs_, &QTableWidget::currentCellChanged, this,
          [this](int row) { shell_.Guard([this, row] { ShowItems(row); }); });
  connect(items_, &QTableWidget::doubleClicked, this, [this] { shell_.Guard([this] { Fetch(); }); });
  connect(fetch, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Fetch(); }); });
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
  ListFolder();
  docs_->setFocus();
}

// Only container documents can be transferred: the window reads the item from the file's
// item and data sections.
void FetchDialog::ListFolder() {
  // The window opens the path it is sent from its own working folder: send it whole.
  const QString typed = folder_->text().trimmed();
  const std::string folder = typed.isEmpty() ? std::string() : QDir(typed).absolutePath().toStdString();
  if (folder == listed_ && !files_.empty()) return;
  listed_ = folder;
  files_.clear();
  docs_->setRowCount(0);
  ShowItems(-1);
  if (folder.empty()) return;
  if (!IsDirectory(folder)) return shell_.Dlg().ShowNotice(QString::fromStdString("フォルダーがありません: " + folder));
  for (DocumentEntry& e : ListDocuments(folder)) {
    if (!EndsWithNoCase(e.File, ".znt2")) continue;
    int r = docs_->rowCount();
    docs_->insertRow(r);
    QString when = QDateTime::fromSecsSinceEpoch(e.Modified).toString("yyyy/MM/dd HH:mm");
    if (e.Title) SetRow(docs_, r, {QString::fromStdString(e.File), Readable(e.Title->CONSTRACT_1.view()), Readable(e.Title->ATESAKI_1.view()), when});
    else SetRow(docs_, r, {QString::fromStdString(e.File), "（読めない文書）", "", when});
    files_.push_back(JoinPath(folder, e.File));
  }
}

void FetchDialog::Browse() {
  if (auto folder = shell_.Dlg().ChooseFolder("転送元のフォルダー", folder_->text())) {
    folder_->setText(*folder);
    ListFolder();
  }
}

// The items that own a sheet, by their number in the document.
void FetchDialog::ShowItems(int row) {
  items_->setRowCount(0);
  itemNumbers_.clear();
  itemsOf_.clear();
  if (row < 0 || row >= static_cast<int>(files_.size())) return;
  ParsedDocument doc;
  try {
    doc = ParseContainer(files_[static_cast<size_t>(row)]);
  } catch (const std::exception& e) {
    return shell_.Dlg().ShowNotice(QString("この文書は読めません: ") + QString::fromUtf8(e.what()));
  }
  itemsOf_ = files_[static_cast<size_t>(row)];
  for (int32_t n = 1; n <= doc.ItemCount(); ++n) {
    const ItemRecord& item = doc.Items[static_cast<size_t>(n - 1)];
    if (!ItemHasSheet(item.ItemKind)) continue;
    auto lines = doc.Lines.find(n);
    const size_t count = lines == doc.Lines.end() ? 0 : lines->second.size();
    int r = items_->rowCount();
    items_->insertRow(r);
    SetRow(items_, r, {" " + QString::number(n), Readable(item.ItemName.view()), Amount(item.ALLGTOTAL),
                       Amount(item.ALLNTOTAL), " " + QString::number(count)});
    itemNumbers_.push_back(n);
  }
}

void FetchDialog::Fetch() {
  int r = items_->currentRow();
  if (itemsOf_.empty() || r < 0 || r >= static_cast<int>(itemNumbers_.size()) ||
      !items_->selectionModel()->isRowSelected(r))
    return shell_.Dlg().ShowNotice("転送する工種を選んでください。");
  // The path travels as a field of the command string, in Shift-JIS.
  auto path = CheckedText(shell_.Dlg(), QString::fromStdString(itemsOf_), "ファイル名");
  if (!path) return;
  if (shell_.Send("TFZANTRO", FileAddMessage{*path, itemNumbers_[static_cast<size_t>(r)]}.Encode())) close();
}

}  // namespace zantro
