#include "linesform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "common/dialogframe.h"
#include "general/errors.h"
#include "shell/programshell.h"

namespace zantro {

LinesForm::LinesForm(ProgramShell& shell, int level, const char* objectName, const QString& caption)
    : shell_(shell), level_(level) {
  setObjectName(objectName);
  setWindowTitle(DialogCaption(caption));
  resize(760, 460);
}

QLineEdit* LinesForm::NumberEdit(const char* name, const QString& initial) {
  auto* e = Named(new QLineEdit(initial, this), name);
  e->setMaximumWidth(120);
  e->setAlignment(Qt::AlignRight);
  connect(e, &QLineEdit::textChanged, this, [this] { Refresh(); });
  return e;
}

void LinesForm::Finish(QGridLayout* fields) {
  computation_ = Named(new QLabel(this), "ComputationLabel");
  computation_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont big = computation_->font();
  big.setPointSizeF(big.pointSizeF() * 1.2);
  computation_->setFont(big);
  preview_ = Named(new QTableWidget(0, 6, this), "PreviewTable");
  preview_->setHorizontalHeaderLabels({"名称", "仕様", "単位", "数量", "単価", "歩掛"});
  preview_->verticalHeader()->hide();
  preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  preview_->setSelectionMode(QAbstractItemView::NoSelection);
  const int widths[] = {220, 200, 50, 80, 90, 60};
  for (int c = 0; c < 6; ++c) preview_->setColumnWidth(c, widths[c]);
  auto* write = Named(new QPushButton("書込み", this), "WriteButton");
  auto* close = Named(new QPushButton("閉じる", this), "CloseButton");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(new QLabel(QString("単価レベル %1").arg(level_), this));
  buttons->addStretch(1);
  buttons->addWidget(write);
  buttons->addWidget(close);
  auto* grid = new QGridLayout(this);
  grid->addLayout(fields, 0, 0);
  grid->addWidget(computation_, 1, 0);
  grid->addWidget(preview_, 2, 0);
  grid->addLayout(buttons, 3, 0);
  grid->setRowStretch(2, 1);
  connect(write, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Write(); }); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
  Refresh();
}

std::optional<Money> LinesForm::Number(bool loud, QLineEdit* field, const QString& label, bool zeroAllowed) {
  std::optional<Money> v;
  if (loud) {
    v = MoneyOfField(shell_.Dlg(), field, label);
    if (!v) return std::nullopt;
  } else {
    try {
      v = field->text().trimmed().isEmpty() ? kZero : StrToCurr(field->text().toStdString());
    } catch (const ConversionError&) {
      return Fault(false, field, label + "が数値ではありません");
    }
  }
  if (*v < kZero || (*v == kZero && !zeroAllowed)) return Fault(loud, field, label + "を入力してください");
  return v;
}

std::nullopt_t LinesForm::Fault(bool loud, QWidget* field, const QString& text) {
  if (loud) {
    shell_.Dlg().ShowNotice(text);
    if (field) field->setFocus();
  } else {
    computation_->setText(text);
  }
  return std::nullopt;
}

void LinesForm::Refresh() {
  if (!computation_) return;  // fields made before the frame
  preview_->setRowCount(0);
  std::optional<Result> r;
  try {
    r = Compute(false);
  } catch (const std::exception& e) {
    computation_->setText(QString::fromUtf8(e.what()));
    return;
  }
  if (!r) return;
  computation_->setText(r->Computation);
  for (const DetailLineMessage& m : r->Lines) {
    int row = preview_->rowCount();
    preview_->insertRow(row);
    const QString cells[] = {Readable(m.Name), Readable(m.Spec), Readable(m.Unit),
                             QString::fromStdString(MoneyToPlainText(m.SubQty)),
                             QString::fromStdString(MoneyText(m.SubPrice)),
                             QString::fromStdString(MoneyToPlainText(m.LabourFactor))};
    for (int c = 0; c < 6; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c >= 3) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);  // the numbers
      preview_->setItem(row, c, item);
    }
  }
}

void LinesForm::Write() {
  std::optional<Result> r = Compute(true);
  if (!r || r->Lines.empty()) return;
  for (const DetailLineMessage& line : r->Lines)
    if (!shell_.Send("TFZANTRO", line.Encode())) return;
  shell_.Send("TFZANTRO", EncodeBare(Command::SaveRecord));
}

}  // namespace zantro
