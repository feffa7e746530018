#include "pipeforms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "common/dialogframe.h"
#include "pipeduct/pipelines.h"

namespace zantro {
namespace {

QComboBox* Box(QWidget* parent, const char* name) {
  auto* b = Named(new QComboBox(parent), name);
  b->setMinimumWidth(260);
  return b;
}

void Fill(QComboBox* box, const std::vector<std::string>& texts) {
  QSignalBlocker hold(box);
  box->clear();
  for (const auto& t : texts) box->addItem(Readable(t), QByteArray::fromStdString(t));
}

std::string Chosen(const QComboBox* box) { return box->currentData().toByteArray().toStdString(); }

}  // namespace

PipeMaterialForm::PipeMaterialForm(ProgramShell& shell, int level, PriceLibrary lib)
    : LinesForm(shell, level, "TFPIPEMAT", "管材入力"), lib_(std::move(lib)) {
  material_ = Box(this, "MaterialBox");
  size_ = Box(this, "SizeBox");
  length_ = NumberEdit("LengthEdit");
  joints_ = Named(new QCheckBox("継手", this), "JointCheck");
  supports_ = Named(new QCheckBox("支持金物", this), "SupportCheck");
  insulation_ = Named(new QCheckBox("保温", this), "InsulationCheck");
  Fill(material_, PipeMaterials(lib_));
  FillSizes();
  auto* f = new QGridLayout;
  f->addWidget(new QLabel("管材", this), 0, 0);
  f->addWidget(material_, 0, 1, 1, 3);
  f->addWidget(new QLabel("呼び径", this), 1, 0);
  f->addWidget(size_, 1, 1);
  f->addWidget(new QLabel("長さ (m)", this), 1, 2);
  f->addWidget(length_, 1, 3);
  auto* checks = new QHBoxLayout;
  for (QCheckBox* c : {joints_, supports_, insulation_}) {
    checks->addWidget(c);
    connect(c, &QCheckBox::toggled, this, [this] { Refresh(); });
  }
  checks->addStretch(1);
  f->addLayout(checks, 2, 1, 1, 3);
  f->setColumnStretch(4, 1);
  connect(material_, &QComboBox::currentIndexChanged, this, [this] { FillSizes(); Refresh(); });
  connect(size_, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
  Finish(f);
  length_->setFocus();
}

void PipeMaterialForm::FillSizes() { Fill(size_, PipeSizes(lib_, Chosen(material_))); }

std::optional<LinesForm::Result> PipeMaterialForm::Compute(bool loud) {
  if (material_->currentIndex() < 0 || size_->currentIndex() < 0) return Fault(loud, material_, "管材と呼び径を選んでください");
  auto length = Number(loud, length_, "長さ");
  if (!length) return std::nullopt;
  PipeRun run{Chosen(material_), Chosen(size_), *length, joints_->isChecked(), supports_->isChecked(),
              insulation_->isChecked()};
  Result r{PipeRunLines(lib_, run, level_), {}};
  r.Computation = QString("%1 %2 × %3 m → %4行")
                      .arg(material_->currentText(), size_->currentText(),
                           QString::fromStdString(MoneyToPlainText(*length)))
                      .arg(r.Lines.size());
  return r;
}

PipeFittingForm::PipeFittingForm(ProgramShell& shell, int level, std::array<PriceLibrary, 5> libs,
                                 const std::array<std::string, 5>& groupNames, int group)
    : LinesForm(shell, level, "TH_PIPEFIT", "配管付属品・器具入力"), libs_(std::move(libs)) {
  group_ = Box(this, "GroupBox");
  item_ = Box(this, "ItemBox");
  size_ = Box(this, "SizeBox");
  count_ = NumberEdit("CountEdit", "1");
  for (const auto& name : groupNames) group_->addItem(Readable(name));
  group_->setCurrentIndex(std::clamp(group, 1, 5) - 1);
  FillItems();
  auto* f = new QGridLayout;
  f->addWidget(new QLabel("グループ", this), 0, 0);
  f->addWidget(group_, 0, 1);
  f->addWidget(new QLabel("品名", this), 1, 0);
  f->addWidget(item_, 1, 1);
  f->addWidget(new QLabel("仕様", this), 2, 0);
  f->addWidget(size_, 2, 1);
  f->addWidget(new QLabel("数量", this), 2, 2);
  f->addWidget(count_, 2, 3);
  f->setColumnStretch(4, 1);
  connect(group_, &QComboBox::currentIndexChanged, this, [this] { FillItems(); Refresh(); });
  connect(item_, &QComboBox::currentIndexChanged, this, [this] { FillSizes(); Refresh(); });
  connect(size_, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
  Finish(f);
  item_->setFocus();
}

const PriceLibrary& PipeFittingForm::Lib() const { return libs_[static_cast<size_t>(std::max(0, group_->currentIndex()))]; }

void PipeFittingForm::FillItems() {
  Fill(item_, FittingItems(Lib()));
  FillSizes();
}

void PipeFittingForm::FillSizes() { Fill(size_, FittingSizes(Lib(), Chosen(item_))); }

std::optional<LinesForm::Result> PipeFittingForm::Compute(bool loud) {
  const PriceEntry* e = FittingEntry(Lib(), Chosen(item_), Chosen(size_));
  if (!e) return Fault(loud, item_, "品名と仕様を選んでください");
  auto count = Number(loud, count_, "数量");
  if (!count) return std::nullopt;
  Result r{{QuantityLine(*e, level_, *count)}, {}};
  r.Computation = QString("%1 %2 × %3 %4")
                      .arg(item_->currentText(), size_->currentText(),
                           QString::fromStdString(MoneyToPlainText(*count)), Readable(e->Unit));
  return r;
}

}  // namespace zantro
