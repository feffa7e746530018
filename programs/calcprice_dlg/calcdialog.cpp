#include "calcdialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <cstdlib>

#include "common/dialogframe.h"
#include "common/formcheck.h"
#include "general/document.h"
#include "general/workfiles.h"
#include "platform/conffile.h"
#include "platform/files.h"
#include "shell/programshell.h"

namespace zantro {
namespace {

constexpr const char* kConfFile = "calcprice.conf";

QTableWidgetItem* Cell(const QString& text, bool number = false) {
  auto* item = new QTableWidgetItem(text);
  if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QString M(Money v) { return QString::fromStdString(MoneyText(v)); }
QString P(Money v) { return QString::fromStdString(MoneyToPlainText(v)); }

}  // namespace

std::vector<LineRecord> OpenSheetLines(const std::string& programFolder) {
  Document doc;
  LoadHead(doc, programFolder, "WRK");
  const char* item = std::getenv("ZANTRO_CURRENT_ITEM");
  doc.CurrentItem = item ? StrToIntDef(item, 1) : 1;
  ResetSheetLists(doc);
  LoadSheet(doc, programFolder, doc.CurrentItem);
  return doc.LineList;
}

Money KeptLabourRate(const std::string& programFolder) {
  auto v = ReadConfValue(programFolder, kConfFile, "[LABOUR_RATE]");
  return v ? StrToCurrDef(*v, kZero) : kZero;
}

void KeepLabourRate(const std::string& programFolder, Money rate) {
  std::string error;
  WriteTextLines(ResolveNoCase(programFolder, kConfFile), {"[LABOUR_RATE]=" + MoneyToPlainText(rate)}, &error);
}

CalcPriceDialog::CalcPriceDialog(ProgramShell& shell, const CalcPriceLaunch& launch, std::vector<LineRecord> lines)
    : shell_(shell), launch_(launch), lines_(std::move(lines)) {
  setObjectName("Tfcalcprice_Dlg");
  CalcRequest req = CalcRequestOf(launch.Folder.empty() ? 4 : launch.Mode, launch.GroupTag);
  group_ = req.Group;
  QString title = QString("単価計算　行 %1～%2").arg(launch.Top).arg(launch.Bottom);
  if (group_) title += "　" + Readable(launch.Groups[static_cast<size_t>(*group_)]) + "のみ";
  setWindowTitle(DialogCaption(title));
  resize(860, 520);
  table_ = Named(new QTableWidget(0, 7, this), "LineTable");
  table_->setHorizontalHeaderLabels({"行", "名称", "仕様", "数量", "単価", "金額", "歩掛"});
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  const int widths[] = {40, 200, 180, 70, 90, 100, 60};
  for (int c = 0; c < 7; ++c) table_->setColumnWidth(c, widths[c]);
  mode_ = Named(new QComboBox(this), "ModeBox");
  for (CalcMode m : {CalcMode::UnitPrice, CalcMode::Labour, CalcMode::Incidental, CalcMode::Normal})
    mode_->addItem(QString::fromUtf8(CalcModeCaption(m)));
  mode_->setCurrentIndex(static_cast<int>(req.Mode) - 1);
  rate_ = Named(new QLineEdit(MoneyEditText(KeptLabourRate(shell.ProgramFolder())), this), "RateEdit");
  rate_->setMaximumWidth(120);
  result_ = Named(new QLabel(this), "ResultLabel");
  auto* write = Named(new QPushButton("書込み", this), "WriteButton");
  auto* close = Named(new QPushButton("閉じる", this), "CloseButton");
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("計算", this));
  top->addWidget(mode_);
  top->addWidget(new QLabel("労務単価（1人工）", this));
  top->addWidget(rate_);
  top->addStretch(1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(result_, 1);
  bottom->addWidget(write);
  bottom->addWidget(close);
  auto* grid = new QGridLayout(this);
  grid->addLayout(top, 0, 0);
  grid->addWidget(table_, 1, 0);
  grid->addLayout(bottom, 2, 0);
  connect(mode_, &QComboBox::currentIndexChanged, this, [this] { Recalculate(); });
  connect(rate_, &QLineEdit::editingFinished, this, [this] { Recalculate(); });
  connect(write, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Write(); }); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
  Recalculate();
  mode_->setFocus();
}

std::optional<CalcResult> CalcPriceDialog::Result(bool quiet) {
  CalcRequest req{static_cast<CalcMode>(mode_->currentIndex() + 1), group_, kZero};
  if (req.Mode == CalcMode::Labour) {
    Money rate;
    if (!quiet) {
      auto r = MoneyOfField(shell_.Dlg(), rate_, "労務単価");
      if (!r) return std::nullopt;
      rate = *r;
    } else if (!ParsePlainCurrency(TypedNumber(rate_->text().trimmed().toStdString()), rate)) {
      rate = kZero;
    }
    req.LabourRate = rate;
  }
  return CalculatePrice(lines_, launch_.Top, launch_.Bottom, req);
}

void CalcPriceDialog::Recalculate() {
  rate_->setEnabled(mode_->currentIndex() + 1 == static_cast<int>(CalcMode::Labour));
  auto r = Result(true);
  table_->setRowCount(static_cast<int>(r->Rows.size()));
  for (size_t i = 0; i < r->Rows.size(); ++i) {
    const LineRecord& l = lines_[static_cast<size_t>(r->Rows[i])];
    std::string_view ns = l.NameSpec.view();
    size_t semi = ns.find(';');
    int row = static_cast<int>(i);
    table_->setItem(row, 0, Cell(QString::number(r->Rows[i]), true));
    table_->setItem(row, 1, Cell(Readable(ns.substr(0, semi))));
    table_->setItem(row, 2, Cell(semi == std::string_view::npos ? QString() : Readable(ns.substr(semi + 1))));
    table_->setItem(row, 3, Cell(P(l.SubQty), true));
    table_->setItem(row, 4, Cell(M(l.SubPrice), true));
    table_->setItem(row, 5, Cell(M(l.SubAmount), true));
    table_->setItem(row, 6, Cell(P(l.LabourFactor), true));
  }
  const DetailLineMessage& m = r->Line;
  result_->setText(QString("%1 行　→　%2 %3　数量 %4 %5　単価 %6（原価 %7）　計 %8")
                       .arg(r->Rows.size())
                       .arg(Readable(m.Name), Readable(m.Spec), P(m.SubQty), Readable(m.Unit), M(m.SubPrice),
                            M(m.CostPrice), M(r->SubTotal)));
}

void CalcPriceDialog::Write() {
  auto r = Result(false);
  if (!r) return;
  if (r->Rows.empty()) return shell_.Dlg().ShowNotice("計算する行がありません。");
  if (r->Line.Kind == Command::CalcData && mode_->currentIndex() + 1 == static_cast<int>(CalcMode::Labour))
    KeepLabourRate(shell_.ProgramFolder(), r->Line.SubPrice);
  if (!shell_.Send("TFZANTRO", r->Line.Encode())) return;
  close();
}

}  // namespace zantro
