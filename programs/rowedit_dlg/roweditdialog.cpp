#include "roweditdialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QTimer>

#include "common/dialogframe.h"
#include "common/formcheck.h"
#include "general/errors.h"
#include "general/workfiles.h"
#include "messages/commands.h"
#include "platform/cp932.h"
#include "shell/programshell.h"

namespace zantro {
namespace {

QString U(std::string_view cp932) { return QString::fromStdString(ToUtf8(cp932)); }

// A money value typed so far, or nothing while it is not a number.
std::optional<Money> TryAmount(const QLineEdit* edit) {
  try {
    return TextToMoney(TypedNumber(edit->text().trimmed().toStdString()));
  } catch (const ConversionError&) {
  } catch (const MoneyOverflow&) {
  }
  return std::nullopt;
}

void SelectData(QComboBox* box, int value) {
  int i = box->findData(value);
  if (i < 0) {
    box->addItem("その他 (" + QString::number(value) + ")", value);
    i = box->count() - 1;
  }
  box->setCurrentIndex(i);
}

int ModeOf(Money m) { return static_cast<int>(m.raw / Money::kScale); }

bool HasFraction(Money m) { return m.raw % Money::kScale != 0; }

bool IsPlainPriced(int32_t f) { return f == 10 || f == 11 || f == 12 || f == 20 || f == 21 || f == 22; }

}  // namespace

RowEditDialog::RowEditDialog(ProgramShell& shell, RowEditLaunch launch) : shell_(shell), launch_(std::move(launch)) {
  setObjectName("FRowedit_Dlg");
  setWindowTitle(DialogCaption("明細入力"));
  row_ = std::max(1, StrToIntDef(launch_.Row, 1));
  Load();
  Build();
  Fill();
  new DialogKeys(this);
  name_->setFocus();
}

QLineEdit* RowEditDialog::AddEdit(const char* name) {
  auto* e = Named(new QLineEdit(this), name);
  connect(e, &QLineEdit::textChanged, this, &RowEditDialog::SchedulePreview);
  return e;
}

// Widgets are made in the order Tab and Enter visit them; the grid places them.
void RowEditDialog::Build() {
  where_ = Named(new QLabel(this), "WhereLabel");
  kind_ = Named(new QComboBox(this), "KindBox");
  for (const KindChoice& k : KindChoices(groups_)) kind_->addItem(QString::fromStdString(k.Text), k.Flag);
  name_ = AddEdit("NameEdit");
  spec_ = AddEdit("SpecEdit");
  unit_ = AddEdit("UnitEdit");
  group_ = Named(new QComboBox(this), "GroupBox");
  for (int g = 0; g < 6; ++g) group_->addItem(QString(QChar('A' + g)) + "  " + U(groups_[g]), g);
  groupHint_ = Named(new QLabel("上の行に従います", this), "GroupHint");
  groupHint_->setToolTip("2行目からのグループは上の行から決まります。グループを選べるのは1行目だけです。");
  labour_ = AddEdit("LabourEdit");
  amountText_ = AddEdit("AmountTextEdit");
  costQty_ = AddEdit("CostQtyEdit");
  costPrice_ = AddEdit("CostPriceEdit");
  costExtra_ = AddEdit("CostExtraEdit");
  subQty_ = AddEdit("SubQtyEdit");
  subPrice_ = AddEdit("SubPriceEdit");
  subExtra_ = AddEdit("SubExtraEdit");
  round_ = Named(new QComboBox(this), "RoundBox");
  secondRound_ = Named(new QComboBox(this), "SecondRoundBox");
  for (QComboBox* box : {round_, secondRound_})
    for (int m = 0; m < static_cast<int>(RoundingChoices().size()); ++m)
      box->addItem(QString::fromStdString(RoundingChoices()[m]), m);
  remarks_ = AddEdit("RemarksEdit");
  write_ = Named(new QPushButton("書込(&W)", this), "WriteButton");
  next_ = Named(new QPushButton("次行(&N)", this), "NextButton");
  prev_ = Named(new QPushButton("前行(&P)", this), "PrevButton");
  auto* close = Named(new QPushButton("閉じる", this), "CloseButton");
  costAmount_ = Named(new QLabel(this), "CostAmountLabel");
  subAmount_ = Named(new QLabel(this), "SubAmountLabel");
  for (QLabel* l : {costAmount_, subAmount_}) {
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
  }
  for (QLineEdit* e : {labour_, costQty_, costPrice_, costExtra_, subQty_, subPrice_, subExtra_})
    e->setAlignment(Qt::AlignRight);

  auto* grid = new QGridLayout(this);
  auto caption = [&](const char* key, const char* text, int row, int col) {
    auto* l = new QLabel(QString::fromUtf8(text), this);
    captions_[key] = l;
    grid->addWidget(l, row, col);
  };
  grid->addWidget(where_, 0, 0, 1, 4);
  caption("kind", "種別", 1, 0), grid->addWidget(kind_, 1, 1, 1, 3);
  caption("name", "名称", 2, 0), grid->addWidget(name_, 2, 1);
  caption("spec", "規格", 2, 2), grid->addWidget(spec_, 2, 3);
  caption("unit", "単位", 3, 0), grid->addWidget(unit_, 3, 1);
  caption("group", "グループ", 3, 2);
  auto* groupCell = new QHBoxLayout;
  groupCell->addWidget(group_, 1);
  groupCell->addWidget(groupHint_);
  grid->addLayout(groupCell, 3, 3);
  caption("labour", "歩掛", 4, 0), grid->addWidget(labour_, 4, 1);
  caption("amountText", "金額欄の文字", 4, 2), grid->addWidget(amountText_, 4, 3);
  grid->addWidget(new QLabel("原　価", this), 5, 1, Qt::AlignCenter);
  grid->addWidget(new QLabel("提　出", this), 5, 3, Qt::AlignCenter);
  caption("qty", "数量", 6, 0), grid->addWidget(costQty_, 6, 1), grid->addWidget(subQty_, 6, 3);
  caption("price", "単価", 7, 0), grid->addWidget(costPrice_, 7, 1), grid->addWidget(subPrice_, 7, 3);
  caption("extra", "付帯単価", 8, 0), grid->addWidget(costExtra_, 8, 1), grid->addWidget(subExtra_, 8, 3);
  caption("amount", "金額", 9, 0), grid->addWidget(costAmount_, 9, 1), grid->addWidget(subAmount_, 9, 3);
  caption("round", "端数処理", 10, 0), grid->addWidget(round_, 10, 1);
  caption("second", "二次端数処理", 10, 2), grid->addWidget(secondRound_, 10, 3);
  caption("remarks", "備考", 11, 0), grid->addWidget(remarks_, 11, 1, 1, 3);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {prev_, next_}) buttons->addWidget(b);
  buttons->addStretch();
  for (QPushButton* b : {write_, close}) buttons->addWidget(b);
  grid->addLayout(buttons, 12, 0, 1, 4);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  setMinimumWidth(620);

  connect(kind_, &QComboBox::currentIndexChanged, this, [this] {
    ApplyShape();
    SchedulePreview();
  });
  connect(group_, &QComboBox::currentIndexChanged, this, &RowEditDialog::SchedulePreview);
  connect(round_, &QComboBox::currentIndexChanged, this, &RowEditDialog::SchedulePreview);
  connect(secondRound_, &QComboBox::currentIndexChanged, this, &RowEditDialog::SchedulePreview);
  // A new line usually submits the quantity it costs: the submitted quantity follows the cost
  // quantity until the user types one of its own.
  connect(costQty_, &QLineEdit::textEdited, this, [this](const QString& t) {
    if (subQtyFollows_) subQty_->setText(t);
    FollowQuantityDecimals();
  });
  connect(subQty_, &QLineEdit::textEdited, this, [this] {
    subQtyFollows_ = false;
    FollowQuantityDecimals();
  });
  connect(write_, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Write(); }); });
  connect(prev_, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Move(-1); }); });
  connect(next_, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Move(1); }); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void RowEditDialog::Load() {
  const std::string& folder = shell_.ProgramFolder();
  doc_ = Document();
  LoadHead(doc_, folder, "WRK");
  doc_.CurrentItem = launch_.Item;
  ResetSheetLists(doc_);
  LoadSheet(doc_, folder, launch_.Item);
  for (LineRecord& l : doc_.LineList) l.ItemNo = 0;  // as the window holds them
  bool named = std::any_of(launch_.Groups.begin(), launch_.Groups.end(), [](auto& g) { return !g.empty(); });
  groups_ = named ? launch_.Groups : doc_.GroupNames;
}

void RowEditDialog::Fill() {
  exists_ = row_ <= doc_.LastLine() && doc_.LineList[row_].FLAG != LineKinds::Blank;
  shown_ = exists_ ? doc_.LineList[row_] : LineRecord{};
  const LineRecord* above = row_ - 1 >= 1 && row_ - 1 <= doc_.LastLine() ? &doc_.LineList[row_ - 1] : nullptr;
  int32_t flag = exists_ ? shown_.FLAG : above && IsPlainPriced(above->FLAG) ? above->FLAG : LineKinds::Priced;
  int group = GroupOf(row_ > 1 ? KeyBelow() : exists_ ? shown_.sort : SortKeyFor(0, row_));

  QString item = doc_.IsItem(launch_.Item) ? U(doc_.ItemList[launch_.Item].ItemName.view()) : QString();
  where_->setText(QString("工種 %1  %2　　行 %3%4").arg(launch_.Item).arg(item).arg(row_).arg(exists_ ? "" : "（新しい行）"));
  QSignalBlocker block(kind_);
  SelectData(kind_, flag);
  group_->setCurrentIndex(group);
  std::string_view nameSpec = shown_.NameSpec.view();
  size_t semi = nameSpec.find(';');
  name_->setText(U(nameSpec.substr(0, semi)));
  spec_->setText(semi == std::string_view::npos ? QString() : U(nameSpec.substr(semi + 1)));
  unit_->setText(U(shown_.Unit.view()));
  labour_->setText(MoneyEditText(shown_.LabourFactor, true));
  amountText_->setText(U(shown_.AmountText.view()));
  costQty_->setText(MoneyEditText(shown_.CostQty, true));
  subQty_->setText(MoneyEditText(shown_.SubQty, true));
  costPrice_->setText(MoneyEditText(shown_.CostPrice, true));
  subPrice_->setText(MoneyEditText(shown_.SubPrice, true));
  costExtra_->setText(MoneyEditText(shown_.CostExtraPrice, true));
  subExtra_->setText(MoneyEditText(shown_.SubExtraPrice, true));
  remarks_->setText(U(shown_.Remarks.view()));
  SelectData(round_, ModeOf(shown_.LabourFactor));
  SelectData(secondRound_, ModeOf(shown_.SecondRoundMode));
  subQtyFollows_ = costQty_->text() == subQty_->text();
  prev_->setEnabled(row_ > 1);
  ApplyShape();
  Preview();
}

int32_t RowEditDialog::Flag() const { return kind_->currentData().toInt(); }

// The window gives every line below row 1 the key of the line above plus its row, whatever the
// dialog sends, so the group of such a line is the one that key falls in.
Money RowEditDialog::KeyBelow() const {
  const Money above = row_ - 1 <= doc_.LastLine() ? doc_.LineList[row_ - 1].sort : Money{};
  return above + Money::Units(row_);
}

// The kinds 10, 11, 12 and 15 count whole units and cut a quantity's decimals off the amount;
// a quantity typed with decimals takes the kind's decimal twin (20, 21, 22, 25), as the CSV
// import does, so that 35.5 m is priced as 35.5 m.
void RowEditDialog::FollowQuantityDecimals() {
  const int32_t f = Flag();
  if (f != 10 && f != 11 && f != 12 && f != 15) return;
  for (const QLineEdit* e : {costQty_, subQty_}) {
    auto v = TryAmount(e);
    if (v && HasFraction(*v)) return SelectData(kind_, f + 10);
  }
}

// Shows the fields the kind uses, captioned with what they mean for it.
void RowEditDialog::ApplyShape() {
  const LineShape s = ShapeOf(Flag());
  const bool priced = s == LineShape::Priced || s == LineShape::AmountText;
  const bool range = s == LineShape::RangeRate || s == LineShape::RangeLabour;
  const bool overhead = s == LineShape::OverheadRounded || s == LineShape::OverheadFolded;
  auto show = [this](const char* key, bool on, std::initializer_list<QWidget*> fields) {
    captions_[key]->setVisible(on);
    for (QWidget* w : fields) w->setVisible(on);
  };
  show("unit", priced, {unit_});
  show("labour", priced, {labour_});
  show("amountText", s == LineShape::AmountText || s == LineShape::Comment, {amountText_});
  show("qty", priced || range || overhead, {costQty_, subQty_});
  show("price", priced || range, {costPrice_, subPrice_});
  show("extra", priced, {costExtra_, subExtra_});
  show("amount", s != LineShape::Comment && s != LineShape::TotalLine, {costAmount_, subAmount_});
  show("round", range || s == LineShape::OverheadRounded, {round_});
  show("second", s == LineShape::OverheadRounded, {secondRound_});
  show("group", s != LineShape::TotalLine, {group_});
  group_->setEnabled(row_ == 1);
  groupHint_->setVisible(s != LineShape::TotalLine && row_ > 1);
  captions_["qty"]->setText(range ? "範囲（開始行・終了行）" : overhead ? "掛率(%)" : "数量");
  // A range is two rows of the sheet, not a cost and a submitted value.
  costQty_->setPlaceholderText(range ? "開始行" : QString());
  subQty_->setPlaceholderText(range ? "終了行" : QString());
  captions_["price"]->setText(s == LineShape::RangeRate ? "掛率(%)" : "単価");
}

void RowEditDialog::SchedulePreview() {
  if (previewPending_) return;
  previewPending_ = true;
  QTimer::singleShot(0, this, [this] {
    previewPending_ = false;
    Preview();
  });
}

// The amounts the engine gives the line as typed so far; "―" while a number is not one.
void RowEditDialog::Preview() {
  LineRecord line;
  if (!BuildLine(nullptr, line)) {
    costAmount_->setText("―");
    subAmount_->setText("―");
    return;
  }
  try {
    LineAmounts a = PreviewAmounts(doc_, row_, line);
    costAmount_->setText(QString::fromStdString(MoneyText(a.Cost)));
    subAmount_->setText(QString::fromStdString(MoneyText(a.Sub)));
  } catch (const MoneyOverflow&) {
    costAmount_->setText("―");
    subAmount_->setText("―");
  }
}

// With a check (writing) every shown field must be right, and the first wrong one is named;
// without (the live amounts) a wrong field only makes the line unknown.
bool RowEditDialog::BuildLine(FormCheck* check, LineRecord& out) {
  bool ok = true;
  auto amount = [&](QLineEdit* e, const char* caption) -> Money {
    if (check && e->isVisibleTo(this)) return check->Amount(e, QString::fromUtf8(caption));
    auto v = TryAmount(e);
    if (!v && e->isVisibleTo(this)) ok = false;
    return v.value_or(Money{});
  };
  auto text = [&](QLineEdit* e, const char* caption, size_t capacity) -> std::string {
    if (check) return check->Text(e, QString::fromUtf8(caption), capacity);
    return ToCp932(e->text().toStdString());
  };
  const QString qty = captions_["qty"]->text(), price = captions_["price"]->text();
  const std::string qtyCost = (qty + "(原価)").toStdString(), qtySub = (qty + "(提出)").toStdString();
  const std::string priceCost = (price + "(原価)").toStdString(), priceSub = (price + "(提出)").toStdString();
  DetailLineMessage m = DetailLineMessage::FromLine(shown_, Command::DataWrite);
  m.FLAG = Flag();
  m.Name = text(name_, "名称", 100);
  m.Spec = text(spec_, "規格", 100);
  if (check && check->ok() && m.Name.size() + 1 + m.Spec.size() > 100) {
    shell_.Dlg().ShowNotice("「名称」と「規格」を合わせて半角99文字（全角49文字）までです。");
    spec_->setFocus();
    return false;
  }
  m.Unit = text(unit_, "単位", 4);
  m.CostQty = amount(costQty_, qtyCost.c_str());
  m.CostPrice = amount(costPrice_, priceCost.c_str());
  m.CostExtraPrice = amount(costExtra_, "付帯単価(原価)");
  m.SubQty = amount(subQty_, qtySub.c_str());
  m.SubPrice = amount(subPrice_, priceSub.c_str());
  m.SubExtraPrice = amount(subExtra_, "付帯単価(提出)");
  m.LabourFactor = amount(labour_, "歩掛");
  if (round_->isVisibleTo(this)) m.LabourFactor = Money::Units(round_->currentData().toInt());
  if (secondRound_->isVisibleTo(this)) m.SecondRoundMode = Money::Units(secondRound_->currentData().toInt());
  m.Remarks = text(remarks_, "備考", 40);
  m.AmountText = text(amountText_, "金額欄の文字", 12);
  const int group = group_->currentData().toInt();
  m.sort = row_ > 1 ? KeyBelow() : exists_ && GroupOf(shown_.sort) == group ? shown_.sort : SortKeyFor(group, row_);
  if (check && !check->ok()) return false;
  if (!ok) return false;
  m.FillLine(out, false);
  return true;
}

void RowEditDialog::Write() {
  FormCheck check(shell_.Dlg());
  LineRecord line;
  if (!BuildLine(&check, line)) return;
  DetailLineMessage m = DetailLineMessage::FromLine(line, Command::DataWrite);
  try {
    LineAmounts a = PreviewAmounts(doc_, row_, line);
    m.CostAmount = a.Cost, m.SubAmount = a.Sub;
  } catch (const MoneyOverflow& e) {
    shell_.Dlg().ShowNotice(QString::fromUtf8(e.what()));
    return;
  }
  if (!shell_.Send("TFZANTRO", m.Encode())) return;
  // The window wrote the line, saved the sheet and stands on the next row.
  ++row_;
  Load();
  Fill();
  name_->setFocus();
}

void RowEditDialog::Move(int delta) {
  if (row_ + delta < 1) return;
  if (!shell_.Send("TFZANTRO", EncodeBare(delta < 0 ? Command::AutoUp : Command::AutoDown))) return;
  row_ += delta;
  Load();
  Fill();
  name_->setFocus();
}

}  // namespace zantro
