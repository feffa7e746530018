#include "seqdialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "common/dialogframe.h"
#include "shell/programshell.h"

namespace zantro {
namespace {

QTableWidget* Table(QWidget* parent, const char* name, const QStringList& headers) {
  auto* t = Named(new QTableWidget(0, static_cast<int>(headers.size()), parent), name);
  t->setHorizontalHeaderLabels(headers);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->setSelectionMode(QAbstractItemView::SingleSelection);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->verticalHeader()->hide();
  t->horizontalHeader()->setStretchLastSection(true);
  return t;
}

QTableWidgetItem* Cell(const QString& text, bool number = false) {
  auto* item = new QTableWidgetItem(text);
  if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

}  // namespace

SeqPriceDialog::SeqPriceDialog(ProgramShell& shell, const PricePickLaunch& launch, PriceLibrary lib)
    : shell_(shell), lib_(std::move(lib)), sets_(SetsOf(lib_)) {
  setObjectName("Tfseqprice_Dlg");
  setWindowTitle(DialogCaption(launch.Caption.empty() ? QString("連続単価") : Readable(launch.Caption)));
  resize(960, 600);
  sets_table_ = Table(this, "SetTable", {"セット名", "行数"});
  sets_table_->horizontalHeader()->setStretchLastSection(false);
  sets_table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  sets_table_->setColumnWidth(1, 40);
  members_ = Table(this, "MemberTable", {"比率", "コード", "名称", "仕様", "単位", "単価", "歩掛"});
  const int widths[] = {45, 70, 160, 140, 40, 70, 50};
  for (int c = 0; c < 7; ++c) members_->setColumnWidth(c, widths[c]);
  base_ = Named(new QLineEdit(this), "BaseQtyEdit");
  base_->setMaximumWidth(140);
  level_ = Named(new QComboBox(this), "LevelBox");
  level_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  for (const auto& name : launch.Levels) level_->addItem(Readable(name));
  level_->setCurrentIndex(std::clamp(launch.Level, 1, 5) - 1);
  auto* write = Named(new QPushButton("書込み", this), "WriteButton");
  auto* close = Named(new QPushButton("閉じる", this), "CloseButton");

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("基準数量", this));
  top->addWidget(base_);
  top->addWidget(new QLabel("単価レベル", this));
  top->addWidget(level_);
  top->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(write);
  buttons->addWidget(close);
  auto* grid = new QGridLayout(this);
  grid->addLayout(top, 0, 0, 1, 2);
  grid->addWidget(sets_table_, 1, 0);
  grid->addWidget(members_, 1, 1);
  grid->setColumnStretch(0, 2);
  grid->setColumnStretch(1, 5);
  grid->addLayout(buttons, 2, 0, 1, 2);

  sets_table_->setRowCount(static_cast<int>(sets_.size()));
  for (size_t i = 0; i < sets_.size(); ++i) {
    sets_table_->setItem(static_cast<int>(i), 0, Cell(Readable(sets_[i].Name)));
    sets_table_->setItem(static_cast<int>(i), 1, Cell(QString::number(sets_[i].Members.size()), true));
  }
  connect(sets_table_, &QTableWidget::currentCellChanged, this, [this] { ShowMembers(); });
  connect(level_, &QComboBox::currentIndexChanged, this, [this] { ShowMembers(); });
  connect(write, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Write(); }); });
  connect(sets_table_, &QTableWidget::doubleClicked, this, [this] { base_->setFocus(); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  QWidget::setTabOrder(sets_table_, base_);
  new DialogKeys(this);
  qApp->installEventFilter(this);
  if (!sets_.empty()) sets_table_->selectRow(0);
  sets_table_->setFocus();
}

void SeqPriceDialog::ShowMembers() {
  int r = sets_table_->currentRow();
  members_->setRowCount(0);
  if (r < 0 || static_cast<size_t>(r) >= sets_.size()) return;
  const size_t level = static_cast<size_t>(level_->currentIndex());
  const auto& set = sets_[static_cast<size_t>(r)];
  members_->setRowCount(static_cast<int>(set.Members.size()));
  for (size_t i = 0; i < set.Members.size(); ++i) {
    const PriceEntry& e = lib_.Entries[set.Members[i]];
    int row = static_cast<int>(i);
    members_->setItem(row, 0, Cell(QString::fromStdString(MoneyToPlainText(e.Ratio)), true));
    members_->setItem(row, 1, Cell(Readable(e.Code)));
    members_->setItem(row, 2, Cell(Readable(e.Name)));
    members_->setItem(row, 3, Cell(Readable(e.Spec)));
    members_->setItem(row, 4, Cell(Readable(e.Unit)));
    members_->setItem(row, 5, Cell(QString::fromStdString(MoneyText(e.Prices[std::min<size_t>(level, 4)])), true));
    members_->setItem(row, 6, Cell(QString::fromStdString(MoneyToPlainText(e.LabourFactor)), true));
  }
}

bool SeqPriceDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  if (!enter || (key->modifiers() & ~Qt::KeypadModifier)) return false;
  // Enter on a set goes to its base quantity; Enter there writes the set.
  if (watched == sets_table_ || watched == sets_table_->viewport()) {
    base_->setFocus();
    base_->selectAll();
    return true;
  }
  if (watched == base_) {
    shell_.Guard([this] { Write(); });
    return true;
  }
  return false;
}

void SeqPriceDialog::Write() {
  int r = sets_table_->currentRow();
  if (r < 0 || static_cast<size_t>(r) >= sets_.size()) return shell_.Dlg().ShowNotice("セットを選んでください。");
  if (base_->text().trimmed().isEmpty()) {
    shell_.Dlg().ShowNotice("基準数量を入力してください。");
    base_->setFocus();
    return;
  }
  auto base = MoneyOfField(shell_.Dlg(), base_, "基準数量");
  if (!base) return;
  auto lines = SetLines(lib_, sets_[static_cast<size_t>(r)], level_->currentIndex() + 1, *base);
  for (const auto& line : lines)
    if (!shell_.Send("TFZANTRO", line.Encode())) return;
  shell_.Send("TFZANTRO", EncodeBare(Command::SaveRecord));
  sets_table_->setFocus();
}

}  // namespace zantro
