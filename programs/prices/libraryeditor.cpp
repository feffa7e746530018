#include "libraryeditor.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>

#include "common/dialogframe.h"
#include "platform/conffile.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "prices/csvtext.h"
#include "prices/registration.h"
#include "shell/programshell.h"
#include "shell/scriptrunner.h"
#include "pricepicker.h"

namespace zantro {
namespace {

constexpr const char* kImportConf = "price_import.conf";
constexpr const char* kMappingKey = "[MAPPING]";

struct MapField {
  const char* Name;     // object name of its box
  const char* Caption;  // UTF-8
};
constexpr MapField kMapFields[] = {{"MapCodeBox", "コード"},     {"MapNameBox", "名称"},     {"MapSpecBox", "仕様"},
                                   {"MapUnitBox", "単位"},       {"MapLabourBox", "歩掛"},   {"MapCostBox", "原価単価"},
                                   {"MapPrice1Box", "単価1"},    {"MapPrice2Box", "単価2"},  {"MapPrice3Box", "単価3"},
                                   {"MapPrice4Box", "単価4"},    {"MapPrice5Box", "単価5"}};

int* MappedColumn(SupplierMapping& m, size_t i) {
  int* fixed[] = {&m.Code, &m.Name, &m.Spec, &m.Unit, &m.Labour, &m.Cost};
  return i < 6 ? fixed[i] : &m.Prices[i - 6];
}

QPushButton* Button(QWidget* parent, const char* name, const char* text) {
  return Named(new QPushButton(QString::fromUtf8(text), parent), name);
}

QString PriceText(Money v) { return QString::fromStdString(MoneyText(v)); }

}  // namespace

LibraryEditor::LibraryEditor(ProgramShell& shell, const LibraryEditorLaunch& launch, std::string path, PriceLibrary lib)
    : shell_(shell), path_(std::move(path)), lib_(std::move(lib)) {
  Build(launch);
  Fill(lib_.Entries);
}

void LibraryEditor::Build(const LibraryEditorLaunch& launch) {
  const PriceFamily f = lib_.Family;
  setWindowTitle(DialogCaption(QString("%1 単価の編集（%2）")
                                   .arg(Readable(launch.Caption))
                                   .arg(QString::fromStdString(LibraryFileName(f, launch.Library)))));
  resize(1000, 700);
  QStringList headers;
  for (const auto& c : LibraryColumns(f)) headers << QString::fromStdString(c);
  // The level names, when the window passed them, say what each price column is.
  if (launch.Levels) {
    const int first = headers.indexOf("単価1"), firstExtra = headers.indexOf("付帯単価1");
    for (int l = 0; l < 5; ++l) {
      QString name = Readable((*launch.Levels)[static_cast<size_t>(l)]);
      if (name.isEmpty()) continue;
      headers[first + l] = "単価 " + name;
      headers[firstExtra + l] = "付帯 " + name;
    }
  }
  table_ = Named(new QTableWidget(0, static_cast<int>(headers.size()), this), "EntryTable");
  table_->setHorizontalHeaderLabels(headers);
  table_->verticalHeader()->setDefaultSectionSize(22);
  table_->setSelectionBehavior(QAbstractItemView::SelectItems);
  // Texts wide, numbers narrow, so that the prices of a line show without scrolling.
  for (int c = 0; c < table_->columnCount(); ++c) {
    const QString h = headers[c];
    int width = h == "名称" ? 170 : h == "仕様" ? 150 : h == "備考" ? 140 : h == "単位" ? 45 : h == "グループ" ? 60
              : h == "コード" ? 85 : h == "大分類" || h == "中分類" || h == "セット名" ? 110 : 72;
    table_->setColumnWidth(c, width);
  }
  auto* add = Button(this, "AddButton", "行追加");
  auto* remove = Button(this, "DeleteButton", "行削除");
  auto* up = Button(this, "UpButton", "上へ");
  auto* down = Button(this, "DownButton", "下へ");
  auto* paste = Button(this, "PasteCsvButton", "CSVデータの貼り付け");
  auto* import = Button(this, "ImportButton", "仕入先単価の取込");
  auto* save = Button(this, "SaveButton", "保存");
  auto* close = Button(this, "CloseButton", "閉じる");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {add, remove, up, down, paste, import}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(save);
  buttons->addWidget(close);

  // The supplier import: shown once a list is chosen.
  importPanel_ = new QGroupBox("仕入先単価の取込（列の対応は次回も使われます）", this);
  auto* mapGrid = new QGridLayout(importPanel_);
  for (size_t i = 0; i < std::size(kMapFields); ++i) {
    auto* box = Named(new QComboBox(importPanel_), kMapFields[i].Name);
    mapBoxes_.push_back(box);
    int r = static_cast<int>(i) / 6, c = static_cast<int>(i) % 6;
    mapGrid->addWidget(new QLabel(QString::fromUtf8(kMapFields[i].Caption), importPanel_), r * 2, c);
    mapGrid->addWidget(box, r * 2 + 1, c);
    connect(box, &QComboBox::currentIndexChanged, this, [this] { shell_.Guard([this] { PlanImport(); }); });
  }
  headerLines_ = Named(new QComboBox(importPanel_), "HeaderLinesBox");
  for (int n = 0; n <= 5; ++n) headerLines_->addItem(QString("見出し %1行").arg(n));
  mapGrid->addWidget(headerLines_, 3, 5);
  connect(headerLines_, &QComboBox::currentIndexChanged, this, [this] { shell_.Guard([this] { OpenSupplierList(); }); });
  importTable_ = Named(new QTableWidget(0, 6, importPanel_), "ImportTable");
  importTable_->setHorizontalHeaderLabels({"行", "コード", "名称", "仕様", "旧単価1", "新単価1"});
  importTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  importTable_->verticalHeader()->hide();
  importTable_->setMaximumHeight(170);
  mapGrid->addWidget(importTable_, 4, 0, 1, 6);
  importLabel_ = Named(new QLabel(importPanel_), "ImportLabel");
  auto* apply = Button(importPanel_, "ApplyImportButton", "表に反映");
  mapGrid->addWidget(importLabel_, 5, 0, 1, 5);
  mapGrid->addWidget(apply, 5, 5);
  importPanel_->hide();

  auto* layout = new QVBoxLayout(this);
  if (f == PriceFamily::Tree) {
    tree_ = Named(new QTreeWidget(this), "CategoryTree");
    tree_->setHeaderLabel("分類");
    auto* split = new QSplitter(this);
    split->addWidget(tree_);
    split->addWidget(table_);
    split->setSizes({200, 800});
    layout->addWidget(split, 1);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
      // A category takes the cursor to its first entry.
      if (!item) return;
      int row = item->data(0, Qt::UserRole).toInt();
      if (row >= 0 && row < table_->rowCount()) table_->setCurrentCell(row, 0);
    });
  } else {
    layout->addWidget(table_, 1);
  }
  layout->addWidget(importPanel_);
  layout->addLayout(buttons);

  auto guarded = [this](void (LibraryEditor::*fn)()) { return [this, fn] { shell_.Guard([this, fn] { (this->*fn)(); }); }; };
  connect(add, &QPushButton::clicked, this, guarded(&LibraryEditor::Add));
  connect(remove, &QPushButton::clicked, this, guarded(&LibraryEditor::Delete));
  connect(up, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Move(-1); }); });
  connect(down, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Move(1); }); });
  connect(paste, &QPushButton::clicked, this, guarded(&LibraryEditor::PasteRegistration));
  connect(import, &QPushButton::clicked, this, [this] {
    shell_.Guard([this] {
      auto file = shell_.Dlg().OpenFileIn(FolderKind::Import, {"仕入先単価表", "CSV・Excelファイル(csv,xlsx)|*.csv;*.xlsx;", "csv", {}});
      if (!file) return;
      supplierFile_ = file->toStdString();
      std::string error;
      auto bytes = ReadFileBytes(supplierFile_, &error, kMaxDocumentBytes);
      if (!bytes) return shell_.Dlg().ShowError(QString::fromStdString(supplierFile_ + ": " + error));
      supplierBytes_ = std::move(*bytes);
      auto kept = ReadConfValue(shell_.ProgramFolder(), kImportConf, kMappingKey);
      SupplierMapping map = kept ? SupplierMapping::Decode(*kept) : SupplierMapping{};
      QSignalBlocker block(headerLines_);
      headerLines_->setCurrentIndex(std::clamp(map.HeaderLines, 0, 5));
      OpenSupplierList();
    });
  });
  connect(apply, &QPushButton::clicked, this, guarded(&LibraryEditor::ApplyImport));
  connect(save, &QPushButton::clicked, this, guarded(&LibraryEditor::Save));
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
}

void LibraryEditor::Fill(const std::vector<PriceEntry>& entries) {
  table_->setRowCount(0);
  AppendRows(entries);
}

void LibraryEditor::AppendRows(const std::vector<PriceEntry>& entries) {
  int row = table_->rowCount();
  table_->setRowCount(row + static_cast<int>(entries.size()));
  for (const PriceEntry& e : entries) {
    auto fields = EntryFields(e, lib_.Family);
    for (size_t c = 0; c < fields.size(); ++c) table_->setItem(row, static_cast<int>(c), new QTableWidgetItem(Readable(fields[c])));
    ++row;
  }
  RebuildCategories();
}

void LibraryEditor::RebuildCategories() {
  if (!tree_) return;
  QSignalBlocker block(tree_);
  tree_->clear();
  std::map<QString, QTreeWidgetItem*> first;
  std::map<std::pair<QString, QString>, QTreeWidgetItem*> second;
  auto text = [this](int r, int c) { return table_->item(r, c) ? table_->item(r, c)->text().trimmed() : QString(); };
  for (int r = 0; r < table_->rowCount(); ++r) {
    QString c1 = text(r, 0), c2 = text(r, 1);
    auto& node = first[c1];
    if (!node) {
      node = new QTreeWidgetItem(tree_, {c1});
      node->setData(0, Qt::UserRole, r);
    }
    if (c2.isEmpty()) continue;
    auto& sub = second[{c1, c2}];
    if (!sub) {
      sub = new QTreeWidgetItem(node, {c2});
      sub->setData(0, Qt::UserRole, r);
    }
  }
  tree_->expandAll();
}

std::optional<PriceLibrary> LibraryEditor::TableLibrary() {
  // The table as the file it would become, read back by the file's own reader: one check of
  // every cell, named by row and column.
  PriceLibrary head{lib_.Family, lib_.Notes, {}};
  std::string bytes = EncodeLibrary(head);
  const int headerLines = static_cast<int>(lib_.Notes.size()) + 1;
  std::vector<std::string> fields;
  for (int r = 0; r < table_->rowCount(); ++r) {
    fields.clear();
    for (int c = 0; c < table_->columnCount(); ++c) {
      QString text = table_->item(r, c) ? table_->item(r, c)->text() : QString();
      auto sjis = CheckedText(shell_.Dlg(), text, QString("%1行目 %2列目").arg(r + 1).arg(c + 1));
      if (!sjis) {
        table_->setCurrentCell(r, c);
        return std::nullopt;
      }
      fields.push_back(*sjis);
    }
    // A row left empty would be skipped by the reader: it would shift every later row's number.
    bool blank = std::all_of(fields.begin(), fields.end(), [](const std::string& f) { return f.empty(); });
    if (blank) {
      table_->setCurrentCell(r, 0);
      shell_.Dlg().ShowNotice(QString("%1行目が空です。削除するか入力してください。").arg(r + 1));
      return std::nullopt;
    }
    AppendCsvRecord(bytes, fields);
  }
  try {
    return ParseLibrary(bytes, lib_.Family, path_);
  } catch (const LibraryError& e) {
    int row = e.Line - headerLines;
    table_->setCurrentCell(row - 1, std::max(e.Column - 1, 0));
    QString where = QString("%1行目").arg(row);
    if (e.Column > 0) where += QString(" %1列目（%2）").arg(e.Column).arg(QString::fromStdString(e.ColumnName));
    shell_.Dlg().ShowNotice(where + ": " + QString::fromStdString(e.Why));
    return std::nullopt;
  }
}

void LibraryEditor::Add() {
  int at = table_->currentRow() < 0 ? table_->rowCount() : table_->currentRow() + 1;
  table_->insertRow(at);
  // A new entry takes its category or set from the row above, as entries are added in runs.
  if (at > 0 && lib_.Family != PriceFamily::Code)
    for (int c = 0; c < 2; ++c)
      if (auto* above = table_->item(at - 1, c)) table_->setItem(at, c, new QTableWidgetItem(above->text()));
  table_->setCurrentCell(at, lib_.Family == PriceFamily::Code ? 0 : 2);
}

void LibraryEditor::Delete() {
  int r = table_->currentRow();
  if (r < 0) return shell_.Dlg().ShowNotice("削除する行を選んでください。");
  QString name = table_->item(r, lib_.Family == PriceFamily::Code ? 1 : 3)
                     ? table_->item(r, lib_.Family == PriceFamily::Code ? 1 : 3)->text()
                     : QString();
  if (!shell_.Dlg().AskExecute(QString("%1行目「%2」を削除しますか？").arg(r + 1).arg(name), "実行", "キャンセル")) return;
  table_->removeRow(r);
  RebuildCategories();
}

void LibraryEditor::Move(int step) {
  int r = table_->currentRow(), to = r + step;
  if (r < 0 || to < 0 || to >= table_->rowCount()) return;
  for (int c = 0; c < table_->columnCount(); ++c) {
    QTableWidgetItem* a = table_->takeItem(r, c);
    QTableWidgetItem* b = table_->takeItem(to, c);
    table_->setItem(r, c, b);
    table_->setItem(to, c, a);
  }
  table_->setCurrentCell(to, table_->currentColumn());
  RebuildCategories();
}

void LibraryEditor::PasteRegistration() {
  const std::string file = ResolveNoCase(shell_.ProgramFolder(), kRegistrationFile);
  std::string error;
  auto bytes = ReadFileBytes(file, &error, kMaxDocumentBytes);
  if (!bytes) return shell_.Dlg().ShowNotice(QString::fromStdString(file + ": " + error));
  std::vector<PriceEntry> entries = ParseRegistration(*bytes, file);
  if (entries.empty()) return shell_.Dlg().ShowNotice("貼り付けるデータがありません。");
  for (PriceEntry& e : entries) {
    // Lines of a sheet have no category or set: the user sorts them in afterwards.
    if (lib_.Family == PriceFamily::Tree) e.Category1 = Sj("登録");
    if (lib_.Family == PriceFamily::Sequence) e.SetName = e.Name;
  }
  int first = table_->rowCount();
  AppendRows(entries);
  table_->setCurrentCell(first, 0);
  shell_.Dlg().ShowNotice(QString("%1行を貼り付けました。コードを入力して保存してください。").arg(entries.size()));
}

void LibraryEditor::Save() {
  auto lib = TableLibrary();
  if (!lib) return;
  WriteLibrary(path_, *lib);
  lib_ = std::move(*lib);
  RebuildCategories();
  shell_.Dlg().ShowNotice(QString("%1件を保存しました。").arg(lib_.Entries.size()));
}

void LibraryEditor::OpenSupplierList() {
  if (supplierBytes_.empty()) return;
  auto kept = ReadConfValue(shell_.ProgramFolder(), kImportConf, kMappingKey);
  SupplierMapping map = kept ? SupplierMapping::Decode(*kept) : SupplierMapping{};
  SupplierTable table = ParseSupplierFile(supplierBytes_, headerLines_->currentIndex(), supplierFile_);
  size_t columns = table.Header.size();
  for (const auto& row : table.Rows) columns = std::max(columns, row.size());
  for (size_t i = 0; i < mapBoxes_.size(); ++i) {
    QComboBox* box = mapBoxes_[i];
    QSignalBlocker block(box);
    box->clear();
    box->addItem("（なし）", -1);
    for (size_t c = 0; c < columns; ++c)
      box->addItem(QString("%1: %2").arg(c + 1).arg(c < table.Header.size() ? Readable(table.Header[c]) : QString()),
                   static_cast<int>(c));
    int index = box->findData(*MappedColumn(map, i));
    box->setCurrentIndex(index < 0 ? 0 : index);
  }
  importPanel_->show();
  PlanImport();
}

void LibraryEditor::PlanImport() {
  plan_.clear();
  importTable_->setRowCount(0);
  if (supplierBytes_.empty()) return;
  SupplierMapping map;
  map.HeaderLines = headerLines_->currentIndex();
  for (size_t i = 0; i < mapBoxes_.size(); ++i) *MappedColumn(map, i) = mapBoxes_[i]->currentData().toInt();
  auto lib = TableLibrary();
  if (!lib) return;
  try {
    plan_ = PlanSupplierImport(*lib, ParseSupplierFile(supplierBytes_, map.HeaderLines, supplierFile_), map, supplierFile_);
  } catch (const LibraryError& e) {
    importLabel_->setText(QString::fromUtf8(e.what()));
    return;
  }
  std::string error;
  WriteTextLines(ResolveNoCase(shell_.ProgramFolder(), kImportConf), {std::string(kMappingKey) + "=" + map.Encode()}, &error);
  importTable_->setRowCount(static_cast<int>(plan_.size()));
  int changed = 0;
  for (size_t i = 0; i < plan_.size(); ++i) {
    const auto& c = plan_[i];
    int r = static_cast<int>(i);
    changed += c.At.has_value();
    importTable_->setItem(r, 0, new QTableWidgetItem(QString::number(c.Row)));
    importTable_->setItem(r, 1, new QTableWidgetItem(Readable(c.New.Code)));
    importTable_->setItem(r, 2, new QTableWidgetItem(Readable(c.New.Name)));
    importTable_->setItem(r, 3, new QTableWidgetItem(Readable(c.New.Spec)));
    importTable_->setItem(r, 4, new QTableWidgetItem(c.At ? PriceText(c.Old.Prices[0]) : QString("（追加）")));
    importTable_->setItem(r, 5, new QTableWidgetItem(PriceText(c.New.Prices[0])));
  }
  importLabel_->setText(QString("変更 %1件　追加 %2件").arg(changed).arg(plan_.size() - static_cast<size_t>(changed)));
}

void LibraryEditor::ApplyImport() {
  if (plan_.empty()) return shell_.Dlg().ShowNotice("取り込む変更がありません。");
  auto lib = TableLibrary();
  if (!lib) return;
  ApplySupplierImport(*lib, plan_);
  Fill(lib->Entries);
  plan_.clear();
  supplierBytes_.clear();
  importPanel_->hide();
  shell_.Dlg().ShowNotice("取り込みました。確認して保存してください。");
}

bool LibraryEditor::Changed() const {
  if (table_->rowCount() != static_cast<int>(lib_.Entries.size())) return true;
  for (int r = 0; r < table_->rowCount(); ++r) {
    auto fields = EntryFields(lib_.Entries[static_cast<size_t>(r)], lib_.Family);
    for (int c = 0; c < table_->columnCount(); ++c) {
      QString text = table_->item(r, c) ? table_->item(r, c)->text() : QString();
      // The table may spell a value differently from the file ("1.50", "b"): only a different
      // value counts, as the reader would take it.
      if (text != Readable(fields[static_cast<size_t>(c)]) && text.trimmed().toUpper() != Readable(fields[static_cast<size_t>(c)]))
        return true;
    }
  }
  return false;
}

void LibraryEditor::closeEvent(QCloseEvent* e) {
  bool leave = true;
  shell_.Guard([&] {
    if (Changed()) leave = shell_.Dlg().AskExecute("保存されていない変更があります。閉じますか？", "閉じる", "キャンセル");
  });
  if (leave) e->accept();
  else e->ignore();
}

void AddCellVerb(ScriptRunner& runner, QWidget* root) {
  runner.AddVerb("cell", [root](const QString& arg, bool) {
    QStringList parts = arg.split(' ');
    auto* table = parts.size() >= 3 ? root->findChild<QTableWidget*>(parts[0]) : nullptr;
    if (!table) ScriptRunner::Fail("cell NAME ROW COL TEXT");
    int row = parts[1].toInt(), col = parts[2].toInt();
    QString text = QStringList(parts.mid(3)).join(' ');
    if (row == table->rowCount()) table->insertRow(row);
    if (row < 0 || row >= table->rowCount() || col < 0 || col >= table->columnCount())
      ScriptRunner::Fail("no cell " + arg);
    table->setCurrentCell(row, col);
    table->setItem(row, col, new QTableWidgetItem(text));
  });
}

int RunLibraryEditor(int argc, char** argv, const char* program, PriceFamily family) {
  ProgramShell shell(argc, argv, ShellOptions{program});
  if (auto end = shell.Start()) return *end;
  const bool levels = family != PriceFamily::Tree;
  auto launch = LaunchArgument(shell, "単価エディタ－",
                               [levels](std::string_view a) { return LibraryEditorLaunch::Decode(a, levels); });
  if (!launch) return 1;
  std::string given = ToUtf8(launch->LibraryFile);
  size_t slash = given.find_last_of('/');
  std::string path = slash == std::string::npos ? ResolveNoCase(shell.ProgramFolder(), given)
                                                : ResolveNoCase(given.substr(0, slash), given.substr(slash + 1));
  PriceLibrary lib;
  lib.Family = family;
  try {
    if (FileExists(path)) lib = ReadLibrary(path, family);
  } catch (const FileError& e) {
    shell.Dlg().ShowError(QString::fromUtf8(e.what()));
    return 1;
  }
  LibraryEditor editor(shell, *launch, path, std::move(lib));
  editor.setObjectName(program);
  return shell.Run(ScriptRoot{&editor, {}, {}, {}}, [&editor](ScriptRunner& r) {
    AddCellVerb(r, &editor);
    AddTreeVerb(r, &editor);
  });
}

}  // namespace zantro
