#include "pricepicker.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>

#include "common/dialogframe.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "prices/pick.h"
#include "shell/programshell.h"
#include "shell/scriptrunner.h"

namespace zantro {
namespace {

constexpr int kPathRole = Qt::UserRole + 1;

}  // namespace

PricePicker::PricePicker(ProgramShell& shell, const PricePickLaunch& launch, PriceLibrary lib)
    : shell_(shell), lib_(std::move(lib)), index_(lib_.Entries) {
  Build(launch);
  Narrow();
}

void PricePicker::Build(const PricePickLaunch& launch) {
  const bool tree = lib_.Family == PriceFamily::Tree;
  setObjectName(tree ? "TFTreeprice_Dlg" : "Tfcodeprice_Dlg");
  setWindowTitle(DialogCaption(Readable(launch.Caption).isEmpty() ? QString(tree ? "ツリー単価" : "CODE単価")
                                                                  : Readable(launch.Caption)));
  resize(tree ? 980 : 860, 600);
  search_ = Named(new QLineEdit(this), "SearchEdit");
  search_->setPlaceholderText("コード・名称・仕様の一部");
  qty_ = Named(new QLineEdit(this), "QtyEdit");
  qty_->setPlaceholderText("空欄: 数量なし");
  qty_->setMaximumWidth(140);
  level_ = Named(new QComboBox(this), "LevelBox");
  level_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  for (const auto& name : launch.Levels) level_->addItem(Readable(name));
  level_->setCurrentIndex(std::clamp(launch.Level, 1, 5) - 1);
  model_ = new PriceListModel(lib_, this);
  model_->SetLevel(level_->currentIndex() + 1);
  table_ = Named(new QTableView(this), "PriceTable");
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setDefaultSectionSize(22);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(false);
  const int widths[] = {100, 220, 200, 50, 90, 60};
  for (int c = 0; c < 6; ++c) table_->setColumnWidth(c, widths[c]);
  auto* write = Named(new QPushButton("書込み", this), "WriteButton");
  auto* close = Named(new QPushButton("閉じる", this), "CloseButton");

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("検索", this));
  top->addWidget(search_, 1);
  top->addWidget(new QLabel("数量", this));
  top->addWidget(qty_);
  top->addWidget(new QLabel("単価レベル", this));
  top->addWidget(level_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(write);
  buttons->addWidget(close);
  auto* grid = new QGridLayout(this);
  grid->addLayout(top, 0, 0);
  if (tree) {
    tree_ = Named(new QTreeWidget(this), "CategoryTree");
    tree_->setHeaderLabel("分類");
    BuildCategories();
    auto* split = new QSplitter(this);
    split->addWidget(tree_);
    split->addWidget(table_);
    split->setSizes({220, 740});
    grid->addWidget(split, 1, 0);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
      category_.clear();
      categoryChosen_ = item && item->parent() != nullptr;  // the top node is the whole library
      if (categoryChosen_) {
        QStringList path = item->data(0, kPathRole).toStringList();
        std::string c1 = Sjis(path.value(0)), c2 = Sjis(path.value(1));
        for (uint32_t i = 0; i < lib_.Entries.size(); ++i) {
          const PriceEntry& e = lib_.Entries[i];
          if (e.Category1 == c1 && (path.size() < 2 || e.Category2 == c2)) category_.push_back(i);
        }
      }
      Narrow();
    });
  } else {
    grid->addWidget(table_, 1, 0);
  }
  grid->addLayout(buttons, 2, 0);
  QWidget::setTabOrder(search_, qty_);
  QWidget::setTabOrder(qty_, write);

  connect(search_, &QLineEdit::textChanged, this, [this] { Narrow(); });
  connect(level_, &QComboBox::currentIndexChanged, this, [this](int i) { model_->SetLevel(i + 1); });
  connect(write, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Write(); }); });
  connect(table_, &QTableView::doubleClicked, this, [this] { shell_.Guard([this] { Write(); }); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
  qApp->installEventFilter(this);  // after DialogKeys: this filter sees the keys first
  search_->setFocus();
}

void PricePicker::BuildCategories() {
  auto* all = new QTreeWidgetItem(tree_, {"すべて"});
  std::map<std::string, QTreeWidgetItem*> first;
  std::map<std::pair<std::string, std::string>, QTreeWidgetItem*> second;
  for (const PriceEntry& e : lib_.Entries) {
    auto& node = first[e.Category1];
    if (!node) {
      node = new QTreeWidgetItem(all, {Readable(e.Category1)});
      node->setData(0, kPathRole, QStringList{Readable(e.Category1)});
    }
    if (e.Category2.empty()) continue;
    auto& sub = second[{e.Category1, e.Category2}];
    if (!sub) {
      sub = new QTreeWidgetItem(node, {Readable(e.Category2)});
      sub->setData(0, kPathRole, QStringList{Readable(e.Category1), Readable(e.Category2)});
    }
  }
  tree_->expandAll();
  tree_->setCurrentItem(all);
}

void PricePicker::Narrow() {
  // A typed text searches the whole library (a code is typed without knowing its category);
  // with the box empty the list shows the chosen category.
  std::string query = search_->text().toStdString();
  const bool typed = search_->text().trimmed().size() > 0;
  model_->Show(index_.Search(query, categoryChosen_ && !typed ? &category_ : nullptr));
  if (model_->rowCount() > 0) table_->selectRow(0);
}

void PricePicker::Step(int delta) {
  int r = table_->currentIndex().isValid() ? table_->currentIndex().row() : -1;
  int to = std::clamp(r + delta, 0, model_->rowCount() - 1);
  if (to >= 0) table_->selectRow(to);
}

bool PricePicker::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & ~Qt::KeypadModifier) return false;
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  // The list follows the arrows while the code is typed; Enter in the quantity or on the
  // list writes.
  if (watched == search_ && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)) {
    Step(key->key() == Qt::Key_Down ? 1 : -1);
    return true;
  }
  if (enter && (watched == qty_ || watched == table_ || watched == table_->viewport())) {
    shell_.Guard([this] { Write(); });
    return true;
  }
  return false;
}

void PricePicker::Write() {
  QModelIndex current = table_->currentIndex();
  if (!current.isValid() || !table_->selectionModel()->isRowSelected(current.row(), {})) {
    shell_.Dlg().ShowNotice("書き込む単価を選んでください。");
    return;
  }
  std::optional<Money> qty;
  if (!qty_->text().trimmed().isEmpty()) {
    qty = MoneyOfField(shell_.Dlg(), qty_, "数量");
    if (!qty) return;
  }
  const PriceEntry& e = lib_.Entries[model_->Rows()[static_cast<size_t>(current.row())]];
  DetailLineMessage line = PickedLine(e, level_->currentIndex() + 1, qty);
  if (!shell_.Send("TFZANTRO", line.Encode())) return;
  // The next line: a new code from the search box.
  search_->setFocus();
  search_->selectAll();
}

void AddTreeVerb(ScriptRunner& runner, QWidget* root) {
  runner.AddVerb("tree", [root](const QString& arg, bool) {
    int blank = arg.indexOf(' ');
    auto* tree = root->findChild<QTreeWidget*>(arg.left(blank));
    if (blank < 0 || !tree) ScriptRunner::Fail("tree NAME PATH");
    QStringList path = arg.mid(blank + 1).split('/');
    QTreeWidgetItem* node = nullptr;
    for (const QString& caption : path) {
      QTreeWidgetItem* next = nullptr;
      int n = node ? node->childCount() : tree->topLevelItemCount();
      for (int i = 0; i < n && !next; ++i) {
        QTreeWidgetItem* c = node ? node->child(i) : tree->topLevelItem(i);
        if (c->text(0) == caption) next = c;
      }
      if (!next) ScriptRunner::Fail("no node " + arg.mid(blank + 1));
      node = next;
    }
    tree->setCurrentItem(node);
  });
}

int RunPricePicker(int argc, char** argv, const char* program, const char* windowClass, PriceFamily family) {
  ProgramShell shell(argc, argv, ShellOptions{program});
  if (auto end = shell.Start()) return *end;
  const bool tree = family == PriceFamily::Tree;
  auto launch = LaunchArgument(shell, tree ? "ツリー単価" : "CODE単価",
                               [](std::string_view a) { return PricePickLaunch::Decode(a, true); });
  if (!launch) return 1;
  std::string folder = LibraryFolder(launch->Folder, shell.ProgramFolder());
  std::string path = ResolveNoCase(folder, LibraryFileName(family, launch->Library));
  PriceLibrary lib;
  try {
    if (!FileExists(path)) throw FileError(path + ": 単価がまだ作成されていません");
    lib = ReadLibrary(path, family);
  } catch (const FileError& e) {
    // Nothing is sent from a library that does not check.
    shell.Dlg().ShowError(QString::fromUtf8(e.what()));
    return 1;
  }
  PricePicker picker(shell, *launch, std::move(lib));
  shell.Register(&picker, windowClass);
  return shell.Run(ScriptRoot{&picker, {}, {}, {}}, [&picker](ScriptRunner& r) { AddTreeVerb(r, &picker); });
}

}  // namespace zantro
