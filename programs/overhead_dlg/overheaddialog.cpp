#include "overheaddialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/dialogframe.h"
#include "messages/commands.h"
#include "shell/programshell.h"

namespace zantro {
namespace {

// The four kinds as the line-properties notice describes them.
constexpr Choice kKinds[] = {
    {"81 諸経費  見積金額＋他の諸経費×掛率  丸込処理無", Money::Units(81)},
    {"82 諸経費  諸経費計算の際、計算外となります", Money::Units(82)},
    {"83 諸経費  見積金額＋他の諸経費×掛率  丸込処理有", Money::Units(83)},
    {"84 諸経費  見積金額＋諸経費外と指定のある諸経費を含まない×掛率  丸込処理有", Money::Units(84)},
};

// The rounding modes of the submitted amount of kinds 81 and 82.
constexpr Choice kRoundModes[] = {
    {"丸めなし", Money::Units(0)},      {"10円単位", Money::Units(1)},       {"100円単位", Money::Units(2)},
    {"1,000円単位", Money::Units(3)},   {"10,000円単位", Money::Units(4)},   {"100,000円単位", Money::Units(5)},
    {"1,000,000円単位", Money::Units(6)}, {"上2桁（以下切捨て）", Money::Units(7)}, {"上3桁（以下切捨て）", Money::Units(8)},
    {"上4桁（以下切捨て）", Money::Units(9)},
};

constexpr size_t kNameBytes = 100;    // the item's name or the line's name and specification
constexpr size_t kRemarksBytes = 40;

}  // namespace

OverheadDialog::OverheadDialog(ProgramShell& shell, bool breakdown) : shell_(shell), breakdown_(breakdown) {
  setObjectName("TfOVERHEAD_Dlg");
  setWindowTitle(DialogCaption(breakdown_ ? "諸経費（内訳）" : "諸経費（明細）"));
  kind_ = Named(new QComboBox(this), "KindBox");
  FillChoices(kind_, kKinds, Money::Units(81));
  name_ = Named(new QLineEdit("諸経費", this), "NameEdit");
  remarks_ = Named(new QLineEdit(this), "RemarksEdit");
  costRate_ = Named(new QLineEdit("0", this), "CostRateEdit");
  subRate_ = Named(new QLineEdit("0", this), "SubRateEdit");
  round_ = Named(new QComboBox(this), "RoundBox");
  FillChoices(round_, kRoundModes, kZero);
  roundNote_ = new QLabel(this);
  auto* form = new QFormLayout;
  form->addRow("種類", kind_);
  form->addRow("名称", name_);
  if (breakdown_) form->addRow("備考", remarks_);
  else remarks_->hide();
  form->addRow("原価の掛率（％）", costRate_);
  form->addRow("提出の掛率（％）", subRate_);
  form->addRow("提出金額の丸め", round_);
  form->addRow("", roundNote_);
  auto* ok = Named(new QPushButton("ＯＫ", this), "OkButton");
  auto* cancel = Named(new QPushButton("キャンセル", this), "CancelButton");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  connect(kind_, &QComboBox::currentIndexChanged, this, [this] { KindChosen(); });
  connect(ok, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Accept(); }); });
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
  KindChosen();
  kind_->setFocus();
}

// Kinds 83 and 84 fold the submitted total to the folding unit instead of rounding.
void OverheadDialog::KindChosen() {
  const bool folds = ChosenValue(kind_) >= Money::Units(83);
  round_->setEnabled(!folds);
  roundNote_->setText(!folds ? QString()
                      : breakdown_ ? "丸込単位と端数は内訳の桁設定で決まります。"
                                   : "丸込単位と端数は明細の桁設定で決まります。");
}

void OverheadDialog::Accept() {
  auto name = TextOfField(shell_.Dlg(), name_, "名称");
  if (!name) return;
  auto remarks = TextOfField(shell_.Dlg(), remarks_, "備考");
  if (!remarks) return;
  auto tooLong = [this](QLineEdit* field, const char* label, size_t bytes) {
    shell_.Dlg().ShowNotice(QString("「%1」は全角%2文字（%3バイト）以内で入力してください。").arg(label).arg(bytes / 2).arg(bytes));
    field->setFocus();
  };
  if (name->size() > kNameBytes) return tooLong(name_, "名称", kNameBytes);
  if (remarks->size() > kRemarksBytes) return tooLong(remarks_, "備考", kRemarksBytes);
  auto costRate = MoneyOfField(shell_.Dlg(), costRate_, "原価の掛率");
  if (!costRate) return;
  auto subRate = MoneyOfField(shell_.Dlg(), subRate_, "提出の掛率");
  if (!subRate) return;
  const int32_t kind = static_cast<int32_t>(ChosenValue(kind_).raw / Money::kScale);
  const Money mode = round_->isEnabled() ? ChosenValue(round_) : kZero;
  if (!breakdown_) {
    // An overhead line: the rates stand in the quantities, the submitted rounding mode in
    // the labour factor.
    DetailLineMessage line;
    line.Name = *name;
    line.FLAG = kind;
    line.CostQty = *costRate;
    line.SubQty = *subRate;
    line.LabourFactor = mode;
    if (shell_.Send("TFZANTRO", line.Encode())) close();
    return;
  }
  KeihiWriteMessage item;
  item.Kind = kind;
  item.Name = *name;
  item.Remarks = *remarks;
  item.CostRate = *costRate;
  item.SubRate = *subRate;
  item.RoundMode = mode;
  item.Opt3Unit = kOne;
  // The list's reply takes no undo copy and draws nothing: the dialog asks for both.
  if (shell_.Send("TFZANTRO", EncodeBare(Command::ItemUndoSave)) && shell_.Send("TFZANTRO", item.Encode()) &&
      shell_.Send("TFZANTRO", EncodeBare(Command::ItemDataDisp)))
    close();
}

}  // namespace zantro
