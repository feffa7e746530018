#include "takeoffwindow.h"

#include <QAbstractItemDelegate>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <set>

#include "common/dialogframe.h"
#include "general/errors.h"
#include "shell/programshell.h"
#include "printing/takeoffpdf.h"
#include "takeoff/apply.h"
#include "takeoff/statement.h"

#include <sstream>

namespace zantro {
namespace {

using takeoff::Row;

enum Col { System, Floor, Drawing, Name, Spec, Unit, Expression, Multiplier, Result, Width, Height, kCols };

const char* const kHeaders[kCols] = {"系統", "階", "図面", "名称", "仕様", "単位", "計算式", "倍数", "結果", "幅(mm)", "高さ(mm)"};
const size_t kLimits[kCols] = {takeoff::kSystemBytes, takeoff::kFloorBytes, takeoff::kDrawingBytes, 0, 0,
                               takeoff::kUnitBytes, takeoff::kExpressionBytes, 0, 0, 0, 0};
constexpr const char* kAll = "(全て)";

QString Plain(Money m) { return QString::fromStdString(MoneyToPlainText(m)); }

std::string* TextOf(Row& r, int col) {
  switch (col) {
    case System: return &r.System;
    case Floor: return &r.Floor;
    case Drawing: return &r.Drawing;
    case Name: return &r.Name;
    case Spec: return &r.Spec;
    case Unit: return &r.Unit;
    case Expression: return &r.Expression;
    default: return nullptr;
  }
}

Money* NumberOf(Row& r, int col) {
  return col == Multiplier ? &r.Multiplier : col == Width ? &r.Width : col == Height ? &r.Height : nullptr;
}

}  // namespace

TakeoffWindow::TakeoffWindow(ProgramShell& shell, int32_t item, takeoff::Mode mode, const QString& breakdownName,
                             std::vector<Row> rows)
    : shell_(shell), item_(item), breakdownName_(breakdownName), mode_(mode), rows_(std::move(rows)) {
  setObjectName("TFTAKEOFF");
  setWindowTitle(DialogCaption(QString("数量拾出　%1").arg(breakdownName)));
  resize(1000, 640);
  table_ = Named(new QTableWidget(0, kCols, this), "TakeoffTable");
  QStringList headers;
  for (const char* h : kHeaders) headers << h;
  table_->setHorizontalHeaderLabels(headers);
  const int widths[kCols] = {80, 50, 70, 170, 130, 45, 190, 50, 80, 60, 60};
  for (int c = 0; c < kCols; ++c) table_->setColumnWidth(c, widths[c]);
  // A duct row takes width × height × length and gives the surface; other modes hide them.
  table_->setColumnHidden(Width, mode_ != takeoff::Mode::Duct);
  table_->setColumnHidden(Height, mode_ != takeoff::Mode::Duct);
  table_->installEventFilter(this);
  systemFilter_ = Named(new QComboBox(this), "SystemFilter");
  floorFilter_ = Named(new QComboBox(this), "FloorFilter");
  auto* filters = new QHBoxLayout;
  filters->addWidget(new QLabel("系統", this));
  filters->addWidget(systemFilter_, 1);
  filters->addWidget(new QLabel("階", this));
  filters->addWidget(floorFilter_, 1);
  filters->addStretch(2);
  auto button = [this](const char* name, const char* text) { return Named(new QPushButton(text, this), name); };
  QPushButton* add = button("AddButton", "行挿入");
  QPushButton* copy = button("CopyButton", "行複写");
  QPushButton* del = button("DeleteButton", "行削除");
  QPushButton* up = button("UpButton", "上へ");
  QPushButton* down = button("DownButton", "下へ");
  QPushButton* apply = button("ApplyButton", "明細へ反映");
  QPushButton* pdf = button("PdfButton", "数量調書PDF");
  QPushButton* close = button("CloseButton", "閉じる");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {add, copy, del, up, down}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(pdf);
  buttons->addWidget(apply);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filters);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);
  auto guarded = [this](void (TakeoffWindow::*fn)()) { return [this, fn] { shell_.Guard([this, fn] { (this->*fn)(); }); }; };
  connect(add, &QPushButton::clicked, this, guarded(&TakeoffWindow::InsertRow));
  connect(copy, &QPushButton::clicked, this, guarded(&TakeoffWindow::CopyRow));
  connect(del, &QPushButton::clicked, this, guarded(&TakeoffWindow::DeleteRow));
  connect(up, &QPushButton::clicked, this, [this] { MoveRow(-1); });
  connect(down, &QPushButton::clicked, this, [this] { MoveRow(1); });
  connect(apply, &QPushButton::clicked, this, guarded(&TakeoffWindow::Apply));
  connect(pdf, &QPushButton::clicked, this, guarded(&TakeoffWindow::WritePdf));
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(systemFilter_, &QComboBox::activated, this, [this] { Refilter(); });
  connect(floorFilter_, &QComboBox::activated, this, [this] { Refilter(); });
  connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* it) {
    if (filling_) return;
    shell_.Guard([&] { Commit(it->row(), it->column(), it->text()); });
  });
  // Enter that ends the editing of a cell moves on, as in the line-entry dialog.
  connect(table_->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
          [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
            if (hint == QAbstractItemDelegate::SubmitModelCache) QTimer::singleShot(0, this, [this] { MoveNext(); });
          });
  valid_.assign(rows_.size(), true);
  Fill();
  new DialogKeys(this);
  if (rows_.empty()) AddRow(0, nullptr);
  table_->setCurrentCell(0, System);
  table_->setFocus();
}

void TakeoffWindow::FillRow(int r) {
  filling_ = true;
  Row& row = rows_[static_cast<size_t>(r)];
  for (int c = 0; c < kCols; ++c) {
    QString text;
    if (std::string* t = TextOf(row, c)) text = Readable(*t);
    else if (c == Multiplier) text = Plain(row.Multiplier);
    else if (c == Result) text = valid_[static_cast<size_t>(r)] ? Plain(row.Result) : QString();
    else if (Money* m = NumberOf(row, c)) text = *m == kZero ? QString() : Plain(*m);
    auto* item = new QTableWidgetItem(text);
    if (c == Result) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    if (c >= Multiplier) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table_->setItem(r, c, item);
  }
  filling_ = false;
}

void TakeoffWindow::Fill() {
  filling_ = true;
  table_->setRowCount(static_cast<int>(rows_.size()));
  filling_ = false;
  for (int r = 0; r < static_cast<int>(rows_.size()); ++r) FillRow(r);
  Refilter();
}

// The filters offer every system and floor of the rows; a row shows when it matches both.
void TakeoffWindow::Refilter() {
  for (auto [box, col] : {std::pair{systemFilter_, int(System)}, std::pair{floorFilter_, int(Floor)}}) {
    QString current = box->currentIndex() > 0 ? box->currentText() : QString();
    std::set<std::string> values;
    for (Row& r : rows_) values.insert(*TextOf(r, col));
    box->clear();
    box->addItem(kAll);
    for (const std::string& v : values) box->addItem(Readable(v));
    int at = current.isEmpty() ? 0 : box->findText(current);
    box->setCurrentIndex(at < 0 ? 0 : at);
  }
  QString sys = systemFilter_->currentIndex() > 0 ? systemFilter_->currentText() : QString();
  QString floor = floorFilter_->currentIndex() > 0 ? floorFilter_->currentText() : QString();
  for (int r = 0; r < table_->rowCount(); ++r) {
    Row& row = rows_[static_cast<size_t>(r)];
    bool show = (sys.isNull() || Readable(row.System) == sys) && (floor.isNull() || Readable(row.Floor) == floor);
    table_->setRowHidden(r, !show);
  }
}

void TakeoffWindow::Refuse(int row, int col, const QString& why) {
  FillRow(row);
  table_->setCurrentCell(row, col);
  shell_.Dlg().ShowNotice(QString("%1行目 %2: %3").arg(row + 1).arg(kHeaders[col], why));
}

void TakeoffWindow::Commit(int r, int col, const QString& typed) {
  Row& row = rows_[static_cast<size_t>(r)];
  Row edited = row;
  QString text = typed.trimmed();
  if (std::string* t = TextOf(edited, col)) {
    auto bytes = CheckedText(shell_.Dlg(), text, kHeaders[col]);
    if (!bytes) return FillRow(r);
    *t = *bytes;
    if (kLimits[col] && t->size() > kLimits[col])
      return Refuse(r, col, QString("%1バイト（全角%2文字）以内です").arg(kLimits[col]).arg(kLimits[col] / 2));
    if ((col == Name || col == Spec) && edited.Name.size() + 1 + edited.Spec.size() > takeoff::kNameSpecBytes)
      return Refuse(r, col, "名称と仕様は合わせて99バイト以内です");
  } else if (Money* m = NumberOf(edited, col)) {
    Money v = kZero;
    if (!text.isEmpty() && !ParsePlainCurrency(Sjis(text), v)) return Refuse(r, col, "数値を入力して下さい");
    if (col == Multiplier && text.isEmpty()) v = kOne;
    if (v < kZero) return Refuse(r, col, "負の値は入力できません");
    *m = v;
  } else {
    return FillRow(r);  // the result is computed, never typed
  }
  std::string why;
  auto result = takeoff::Compute(edited, &why);
  bool expressionTyped = !edited.Expression.empty();
  if (!result && expressionTyped && (col == Expression || col == Multiplier || col == Width || col == Height))
    return Refuse(r, col, QString::fromStdString(why));
  if (result) edited.Result = *result;
  edited.WrittenBy = static_cast<int32_t>(mode_);
  row = std::move(edited);
  valid_[static_cast<size_t>(r)] = result.has_value();
  changed_ = true;
  FillRow(r);
  if (col == System || col == Floor) Refilter();
}

void TakeoffWindow::TypeCell(int r, int col, const QString& text) {
  if (r == table_->rowCount()) AddRow(r, r > 0 ? &rows_[static_cast<size_t>(r - 1)] : nullptr);
  table_->setCurrentCell(r, col);
  QTableWidgetItem* it = table_->item(r, col);
  if (it->text() == text) return;
  it->setText(text);  // itemChanged commits it, as leaving an edited cell does
}

// A new row takes the system, floor, drawing and unit of the row it follows.
void TakeoffWindow::AddRow(int at, const Row* like) {
  Row row;
  row.Unit = takeoff::DefaultUnit(mode_);
  if (like) {
    row.System = like->System;
    row.Floor = like->Floor;
    row.Drawing = like->Drawing;
    row.Unit = like->Unit;
  }
  row.WrittenBy = static_cast<int32_t>(mode_);
  rows_.insert(rows_.begin() + at, row);
  valid_.insert(valid_.begin() + at, false);
  filling_ = true;
  table_->insertRow(at);
  filling_ = false;
  FillRow(at);
  changed_ = true;
}

int TakeoffWindow::CurrentRow() const { return table_->currentRow(); }

void TakeoffWindow::InsertRow() {
  int r = CurrentRow();
  if (r < 0) r = static_cast<int>(rows_.size());
  Row like = r < static_cast<int>(rows_.size()) ? rows_[static_cast<size_t>(r)] : Row{};
  AddRow(r, rows_.empty() ? nullptr : &like);
  table_->setCurrentCell(r, Name);
}

void TakeoffWindow::CopyRow() {
  int r = CurrentRow();
  if (r < 0) return;
  rows_.insert(rows_.begin() + r + 1, rows_[static_cast<size_t>(r)]);
  valid_.insert(valid_.begin() + r + 1, valid_[static_cast<size_t>(r)]);
  changed_ = true;
  Fill();
  table_->setCurrentCell(r + 1, Expression);
}

void TakeoffWindow::DeleteRow() {
  int r = CurrentRow();
  if (r < 0 || r >= static_cast<int>(rows_.size())) return;
  rows_.erase(rows_.begin() + r);
  valid_.erase(valid_.begin() + r);
  changed_ = true;
  Fill();
  if (!rows_.empty()) table_->setCurrentCell(std::min(r, static_cast<int>(rows_.size()) - 1), table_->currentColumn());
}

void TakeoffWindow::MoveRow(int by) {
  int r = CurrentRow(), to = r + by;
  if (r < 0 || to < 0 || to >= static_cast<int>(rows_.size())) return;
  std::swap(rows_[static_cast<size_t>(r)], rows_[static_cast<size_t>(to)]);
  std::vector<bool>::swap(valid_[static_cast<size_t>(r)], valid_[static_cast<size_t>(to)]);
  changed_ = true;
  Fill();
  table_->setCurrentCell(to, table_->currentColumn());
}

// The next visible, editable cell of the row; after the last, the first of the next shown row
// (a new row after the last).
void TakeoffWindow::MoveNext() {
  int r = table_->currentRow(), c = table_->currentColumn();
  if (r < 0) return;
  for (int n = c + 1; n < kCols; ++n) {
    if (n == Result || table_->isColumnHidden(n)) continue;
    return table_->setCurrentCell(r, n);
  }
  for (int n = r + 1; n < table_->rowCount(); ++n)
    if (!table_->isRowHidden(n)) return table_->setCurrentCell(n, System);
  AddRow(table_->rowCount(), &rows_[static_cast<size_t>(r)]);
  table_->setCurrentCell(table_->rowCount() - 1, System);
}

bool TakeoffWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_ && event->type() == QEvent::KeyPress) {  // an open editor takes its own keys
    int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      MoveNext();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// A row whose expression does not give a value, or -1. Rows left entirely empty do not count.
int TakeoffWindow::FirstBadRow() const {
  for (size_t i = 0; i < rows_.size(); ++i)
    if (!valid_[i]) return static_cast<int>(i);
  return -1;
}

void TakeoffWindow::Apply() {
  // A trailing row left empty (the one Enter opened) is not a measurement.
  while (!rows_.empty() && !valid_.back() && rows_.back().Expression.empty() && rows_.back().Name.empty()) {
    rows_.pop_back();
    valid_.pop_back();
    table_->setRowCount(static_cast<int>(rows_.size()));
  }
  int bad = FirstBadRow();
  if (bad >= 0) {
    table_->setCurrentCell(bad, Expression);
    return shell_.Dlg().ShowNotice(QString("%1行目 計算式: 式が入力されていないか正しくありません").arg(bad + 1));
  }
  takeoff::ApplyToSheet(shell_.ProgramFolder(), item_, rows_, lookup_);
  applied_ = true;
  changed_ = false;
  close();
}

// The quantity statement of the rows as they stand (also those not yet applied).
void TakeoffWindow::WritePdf() {
  int bad = FirstBadRow();
  if (bad >= 0) {
    table_->setCurrentCell(bad, Expression);
    return shell_.Dlg().ShowNotice(QString("%1行目 計算式: 式が入力されていないか正しくありません").arg(bad + 1));
  }
  auto path = shell_.Dlg().SaveFileIn(FolderKind::PrintPdf, FileDialogRequest{"数量調書の保存", "PDFファイル(pdf)|*.pdf;", "pdf",
                                                      QString::fromStdString(shell_.ProgramFolder())});
  if (!path) return;
  std::vector<printing::TakeoffSection> sections{
      {std::to_string(item_) + "　" + breakdownName_.toStdString(), takeoff::StatementOf(rows_)}};
  std::ostringstream err;
  std::string construction = printing::ConstructionOf(shell_.ProgramFolder());
  if (printing::WriteTakeoffPdf(sections, construction, shell_.ProgramFolder(), path->toStdString(), err) != 0)
    return shell_.Dlg().ShowNotice(QString::fromStdString(err.str()).trimmed());
}

// Closing without 明細へ反映 keeps the measurements for the next time; the sheet is not touched.
void TakeoffWindow::closeEvent(QCloseEvent* e) {
  if (!applied_ && changed_) {
    shell_.Guard([&] {
      while (!rows_.empty() && !valid_.back() && rows_.back().Expression.empty() && rows_.back().Name.empty()) {
        rows_.pop_back();
        valid_.pop_back();
      }
      int bad = FirstBadRow();
      if (bad >= 0) {
        shell_.Dlg().ShowNotice(QString("%1行目の計算式が正しくないため、拾出しは保存されません").arg(bad + 1));
        return;
      }
      takeoff::SaveRows(shell_.ProgramFolder(), item_, rows_);
    });
  }
  e->accept();
}

}  // namespace zantro
