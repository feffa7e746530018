#include "ductforms.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "common/dialogframe.h"
#include "pipeduct/pipelines.h"

namespace zantro {
namespace {

QString Plain(Money v) { return QString::fromStdString(MoneyToPlainText(v)); }

// Label and field pairs in one row.
QGridLayout* Row(QWidget* parent, std::initializer_list<std::pair<const char*, QWidget*>> fields) {
  auto* f = new QGridLayout;
  int c = 0;
  for (const auto& [label, w] : fields) {
    f->addWidget(new QLabel(label, parent), 0, c++);
    f->addWidget(w, 0, c++);
  }
  f->setColumnStretch(c, 1);
  return f;
}

QComboBox* TypeBox(QWidget* parent) {
  auto* b = Named(new QComboBox(parent), "TypeBox");
  b->setMinimumWidth(300);
  return b;
}

}  // namespace

SheetDuctForm::SheetDuctForm(ProgramShell& shell, int level, PriceLibrary lib, std::vector<ThicknessRow> table)
    : LinesForm(shell, level, "TFSHEETDUCT", "角ダクト（鋼板）入力"), lib_(std::move(lib)), table_(std::move(table)) {
  width_ = NumberEdit("WidthEdit");
  height_ = NumberEdit("HeightEdit");
  length_ = NumberEdit("LengthEdit");
  allowance_ = NumberEdit("AllowanceEdit", "0");
  Finish(Row(this, {{"幅 (mm)", width_}, {"高さ (mm)", height_}, {"長さ (m)", length_}, {"継目・接合割増 (%)", allowance_}}));
  width_->setFocus();
}

std::optional<LinesForm::Result> SheetDuctForm::Compute(bool loud) {
  auto w = Number(loud, width_, "幅");
  if (!w) return std::nullopt;
  auto h = Number(loud, height_, "高さ");
  if (!h) return std::nullopt;
  auto length = Number(loud, length_, "長さ");
  if (!length) return std::nullopt;
  auto allowance = Number(loud, allowance_, "割増", true);
  if (!allowance) return std::nullopt;
  const Money longSide = std::max(*w, *h);
  auto t = ThicknessFor(table_, longSide);
  if (!t) return Fault(loud, width_, "長辺 " + Plain(longSide) + " mm の板厚が板厚表にありません");
  const PriceEntry* e = EntryByNumber(lib_, *t);
  if (!e) return Fault(loud, width_, "板厚 " + Plain(*t) + " mm の単価が単価データにありません");
  Computation area = RectDuctArea(*w, *h, *length, *allowance);
  return Result{{QuantityLine(*e, level_, area.Quantity)},
                QString::fromStdString(area.Text) + "　板厚 " + Plain(*t) + " mm（長辺 " + Plain(longSide) + " mm）"};
}

SpiralDuctForm::SpiralDuctForm(ProgramShell& shell, int level, PriceLibrary lib)
    : LinesForm(shell, level, "TFSPIRALDUCT", "スパイラルダクト入力"), lib_(std::move(lib)) {
  diameter_ = NumberEdit("DiameterEdit");
  length_ = NumberEdit("LengthEdit");
  Finish(Row(this, {{"直径 φ (mm)", diameter_}, {"長さ (m)", length_}}));
  diameter_->setFocus();
}

std::optional<LinesForm::Result> SpiralDuctForm::Compute(bool loud) {
  auto d = Number(loud, diameter_, "直径");
  if (!d) return std::nullopt;
  auto length = Number(loud, length_, "長さ");
  if (!length) return std::nullopt;
  const PriceEntry* e = EntryByNumber(lib_, *d);
  if (!e) return Fault(loud, diameter_, "φ" + Plain(*d) + " の単価が単価データにありません");
  Computation c = RoundDuctLength(*d, *length);
  return Result{{QuantityLine(*e, level_, c.Quantity)}, QString::fromStdString(c.Text)};
}

DuctFittingForm::DuctFittingForm(ProgramShell& shell, int level, PriceLibrary lib, int variant)
    : LinesForm(shell, level, "TFDUCTFIT", variant == 2 ? "ダクト継手2入力" : "ダクト継手1入力"),
      lib_(std::move(lib)),
      sets_(SetsOf(lib_)) {
  type_ = TypeBox(this);
  for (const PriceSet& s : sets_) type_->addItem(Readable(s.Name));
  width_ = NumberEdit("WidthEdit");
  height_ = NumberEdit("HeightEdit");
  count_ = NumberEdit("CountEdit", "1");
  auto* f = new QGridLayout;
  f->addWidget(new QLabel("継手", this), 0, 0);
  f->addWidget(type_, 0, 1, 1, 5);
  f->addLayout(Row(this, {{"幅 (mm)", width_}, {"高さ (mm)", height_}, {"個数", count_}}), 1, 0, 1, 7);
  connect(type_, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
  Finish(f);
  width_->setFocus();
}

std::optional<LinesForm::Result> DuctFittingForm::Compute(bool loud) {
  int i = type_->currentIndex();
  if (i < 0) return Fault(loud, type_, "継手を選んでください");
  auto w = Number(loud, width_, "幅");
  if (!w) return std::nullopt;
  auto h = Number(loud, height_, "高さ");
  if (!h) return std::nullopt;
  auto count = Number(loud, count_, "個数");
  if (!count) return std::nullopt;
  Result r;
  for (uint32_t m : sets_[static_cast<size_t>(i)].Members) {
    const PriceEntry& e = lib_.Entries[m];
    Computation area = FittingArea(*w, *h, e.Ratio, *count);
    r.Lines.push_back(QuantityLine(e, level_, area.Quantity));
    if (!r.Computation.isEmpty()) r.Computation += "　";
    r.Computation += Readable(e.Spec) + " " + QString::fromStdString(area.Text);
  }
  return r;
}

DuctPiecesForm::DuctPiecesForm(ProgramShell& shell, int level, PriceLibrary lib, const char* objectName,
                               const QString& caption)
    : LinesForm(shell, level, objectName, caption), lib_(std::move(lib)) {
  type_ = TypeBox(this);
  for (const PriceEntry& e : lib_.Entries) type_->addItem(Readable(e.Name) + "　" + Readable(e.Spec));
  count_ = NumberEdit("CountEdit", "1");
  auto* f = new QGridLayout;
  f->addWidget(new QLabel("品名", this), 0, 0);
  f->addWidget(type_, 0, 1);
  f->addLayout(Row(this, {{"数量", count_}}), 1, 0, 1, 2);
  f->setColumnStretch(2, 1);
  connect(type_, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
  Finish(f);
  type_->setFocus();
}

std::optional<LinesForm::Result> DuctPiecesForm::Compute(bool loud) {
  int i = type_->currentIndex();
  if (i < 0) return Fault(loud, type_, "品名を選んでください");
  auto count = Number(loud, count_, "数量");
  if (!count) return std::nullopt;
  const PriceEntry& e = lib_.Entries[static_cast<size_t>(i)];
  Computation c = Pieces(type_->currentText().toStdString(), *count, Readable(e.Unit).toStdString());
  return Result{{QuantityLine(e, level_, c.Quantity)}, QString::fromStdString(c.Text)};
}

}  // namespace zantro
