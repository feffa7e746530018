#include "schemedialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
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

constexpr Choice kRounding[] = {
    {"四捨五入", kHalf}, {"切上げ", kNineTenths}, {"切捨て", kZero}};
constexpr Choice kQuantityDecimals[] = {
    {"小数点以下1桁", Money::Units(10)}, {"小数点以下2桁", Money::Units(100)}, {"小数点以下3桁", Money::Units(1000)}};
constexpr Choice kFoldingUnits[] = {
    {"1円単位", Money::Units(1)},         {"10円単位", Money::Units(10)},       {"100円単位", Money::Units(100)},
    {"1,000円単位", Money::Units(1000)}, {"10,000円単位", Money::Units(10000)}, {"100,000円単位", Money::Units(100000)}};

QComboBox* Box(QWidget* parent, const char* name, std::span<const Choice> choices, Money current) {
  auto* box = Named(new QComboBox(parent), name);
  FillChoices(box, choices, current);
  return box;
}

}  // namespace

SchemeDialog::SchemeDialog(ProgramShell& shell, SchemeLaunch launch) : shell_(shell), launch_(std::move(launch)) {
  setObjectName("TFScheme_Dlg");
  setWindowTitle(DialogCaption(launch_.Breakdown ? "桁設定（内訳）" : "桁設定"));
  const CalcSettings& s = launch_.Settings;
  auto* sheet = new QGroupBox("明細の計算", this);
  auto* form = new QFormLayout(sheet);
  form->addRow("明細金額の端数", lineRound_ = Box(this, "LineRoundBox", kRounding, s.LineRoundAddend));
  form->addRow("諸経費の端数", opt4Round_ = Box(this, "Opt4RoundBox", kRounding, s.Opt4RoundAddend));
  form->addRow("数量の桁", quantityScale_ = Box(this, "QuantityScaleBox", kQuantityDecimals, s.QuantityScale));
  form->addRow("諸経費の丸込単位", opt3Unit_ = Box(this, "Opt3UnitBox", kFoldingUnits, s.Opt3Unit));
  form->addRow("歩掛集計の端数", opt6Round_ = Box(this, "Opt6RoundBox", kRounding, s.Opt6RoundAddend));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(sheet);
  if (launch_.Breakdown) {
    // From the breakdown list the sheet's settings are shown for reference; the list's own
    // overhead settings are what this dialog changes there.
    sheet->setEnabled(false);
    auto* list = new QGroupBox("内訳の諸経費", this);
    auto* listForm = new QFormLayout(list);
    cutLevel_ = Named(new QLineEdit(QString::fromStdString(MoneyToPlainText(launch_.CutLevel)), this), "CutLevelEdit");
    listForm->addRow("端数の加算値", cutLevel_);
    listForm->addRow("", new QLabel("0.5 = 四捨五入、0.9 = 切上げ、0 = 切捨て", this));
    keta_ = Box(this, "KetaBox", kFoldingUnits, Money::Units(launch_.Keta));
    listForm->addRow("丸込単位", keta_);
    layout->addWidget(list);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = Named(new QPushButton("ＯＫ", this), "OkButton");
  auto* cancel = Named(new QPushButton("キャンセル", this), "CancelButton");
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Accept(); }); });
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
  (launch_.Breakdown ? static_cast<QWidget*>(cutLevel_) : lineRound_)->setFocus();
}

void SchemeDialog::Accept() {
  std::string text;
  if (!launch_.Breakdown) {
    PlanMessage m;
    m.Settings = CalcSettings{ChosenValue(lineRound_), ChosenValue(opt4Round_), ChosenValue(quantityScale_),
                              ChosenValue(opt3Unit_), ChosenValue(opt6Round_)};
    text = m.Encode();
  } else {
    auto cut = MoneyOfField(shell_.Dlg(), cutLevel_, "端数の加算値");
    if (!cut) return;
    if (*cut < kZero || *cut >= kOne) {
      shell_.Dlg().ShowNotice("「端数の加算値」は0以上1未満で入力してください: " + cutLevel_->text());
      cutLevel_->setFocus();
      return;
    }
    // Folding units are whole currency units.
    ItemPlanMessage m{*cut, static_cast<int32_t>(ChosenValue(keta_).raw / Money::kScale)};
    text = m.Encode();
  }
  if (shell_.Send("TFZANTRO", text)) close();
}

}  // namespace zantro
