#include "coverdialog.h"

#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include "common/dialogframe.h"
#include "common/formcheck.h"
#include "general/workcodec.h"
#include "general/workfiles.h"
#include "messages/commands.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "shell/programshell.h"

namespace zantro {
namespace {

// [DY] counts years from 1988, the first year of the era the records were made in.
constexpr int kYearBase = 1988;

// The text fields the cover offers: key (the edit's name), caption, field of the record.
struct TextField {
  const char* Key;
  const char* Caption;
  int Chars;  // width of the edit in characters
};
constexpr TextField kFields[] = {
    {"ATESAKI_1", "宛先1", 25},  {"ATESAKI_2", "宛先2", 25}, {"CONSTRACT_1", "工事名1", 25},
    {"CONSTRACT_2", "工事名2", 25}, {"WHERE", "受渡場所", 25}, {"ULIMIT", "有効期限", 20},
    {"TRADE", "取引条件", 20},   {"NUMBER", "見積番号", 12}, {"INTANTO", "担当者", 10},
    {"OUTTANTO", "先方担当者", 10},
};

// Calls fn with the record field of a key; one place maps the keys to the fields.
template <typename Fn>
void WithField(TitleRecord& t, std::string_view key, Fn fn) {
  if (key == "ATESAKI_1") return fn(t.ATESAKI_1);
  if (key == "ATESAKI_2") return fn(t.ATESAKI_2);
  if (key == "CONSTRACT_1") return fn(t.CONSTRACT_1);
  if (key == "CONSTRACT_2") return fn(t.CONSTRACT_2);
  if (key == "WHERE") return fn(t.WHERE);
  if (key == "ULIMIT") return fn(t.ULIMIT);
  if (key == "TRADE") return fn(t.TRADE);
  if (key == "NUMBER") return fn(t.NUMBER);
  if (key == "INTANTO") return fn(t.INTANTO);
  if (key == "OUTTANTO") return fn(t.OUTTANTO);
}

TitleRecord StartingTitle(const std::string& folder) {
  if (auto path = FindNoCase(folder, HeadFile("WRK")))
    if (auto bytes = ReadFileBytes(*path))
      if (auto head = DecodeHead(*bytes)) return head->Title;
  return EmptyDocumentTitle();
}

}  // namespace

CoverDialog::CoverDialog(ProgramShell& shell, CoverLaunch launch) : shell_(shell), launch_(std::move(launch)) {
  setObjectName("FCover_Dlg");
  setWindowTitle(DialogCaption("表紙の設定"));
  title_ = StartingTitle(shell_.ProgramFolder());
  auto* form = new QFormLayout(this);
  for (const TextField& f : kFields) form->addRow(QString::fromUtf8(f.Caption), AddText(f.Key, f.Caption, f.Chars));

  auto* date = new QHBoxLayout;
  year_ = Named(new QLineEdit(this), "DY");
  month_ = Named(new QLineEdit(this), "DM");
  day_ = Named(new QLineEdit(this), "DD");
  for (auto [edit, unit, width] : {std::tuple{year_, "年", 5}, {month_, "月", 3}, {day_, "日", 3}}) {
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance('0') * width + 16);
    date->addWidget(edit);
    date->addWidget(new QLabel(QString::fromUtf8(unit), this));
    connect(edit, &QLineEdit::textChanged, this, &CoverDialog::ShowDate);
  }
  era_ = Named(new QLabel(this), "EraLabel");
  date->addWidget(era_);
  date->addStretch();
  form->addRow("日付(西暦)", date);

  auto* buttons = new QHBoxLayout;
  auto* ok = Named(new QPushButton("登録", this), "OkButton");
  auto* cancel = Named(new QPushButton("キャンセル", this), "CancelButton");
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  form->addRow(buttons);
  connect(ok, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Ok(); }); });
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  Fill();
  new DialogKeys(this);
}

QLineEdit* CoverDialog::AddText(const char* key, const char*, int chars) {
  auto* edit = Named(new QLineEdit(this), key);
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(chars, QChar(0x3042))) + 12);
  return edit;
}

void CoverDialog::Fill() {
  for (const TextField& f : kFields)
    WithField(title_, f.Key, [&](auto& field) {
      findChild<QLineEdit*>(f.Key)->setText(QString::fromStdString(ToUtf8(field.view())));
    });
  // A title without a date starts as today's, so it can be saved as it is.
  const bool dated = title_.DY > 0 && title_.DM > 0 && title_.DD > 0;
  const Date today = Today();
  year_->setText(QString::number(dated ? title_.DY + kYearBase : today.year));
  month_->setText(QString::number(dated ? title_.DM : today.month));
  day_->setText(QString::number(dated ? title_.DD : today.day));
  ShowDate();
}

// The date as the cover prints it, or a hint while it is not a date.
void CoverDialog::ShowDate() {
  QDate d(year_->text().toInt(), month_->text().toInt(), day_->text().toInt());
  if (!d.isValid()) {
    era_->setText("（日付になっていません）");
    return;
  }
  int key = d.year() * 10000 + d.month() * 100 + d.day();
  QString era = key >= 20190501 ? "令和" : "平成";
  int eraYear = key >= 20190501 ? d.year() - 2018 : d.year() - kYearBase;
  era_->setText(QString("%1%2年%3月%4日").arg(era, eraYear == 1 ? QString("元") : QString::number(eraYear))
                    .arg(d.month()).arg(d.day()));
}

// Every field is checked before the file is written; a refused field leaves the file and
// the window untouched.
void CoverDialog::Ok() {
  FormCheck check(shell_.Dlg());
  TitleRecord t = title_;
  for (const TextField& f : kFields) {
    WithField(t, f.Key, [&](auto& field) {
      std::string bytes = check.Text(findChild<QLineEdit*>(f.Key), QString::fromUtf8(f.Caption), field.kCapacity);
      if (check.ok()) field.set(bytes);
    });
  }
  int year = check.Whole(year_, "年", kYearBase + 1, 2200);
  int month = check.Whole(month_, "月", 1, 12);
  int day = check.Whole(day_, "日", 1, 31);
  if (check.ok() && !QDate(year, month, day).isValid()) {
    shell_.Dlg().ShowNotice(QString("「日付」がありえない日付です: %1/%2/%3").arg(year).arg(month).arg(day));
    day_->setFocus();
    return;
  }
  if (!check.ok()) return;
  t.DY = year - kYearBase;
  t.DM = month;
  t.DD = day;
  std::string path = ResolveNoCase(shell_.ProgramFolder(), kTitleExchangeFile);
  std::string error;
  if (!WriteFileAtomic(path, EncodeTitle(t), &error)) {
    shell_.Dlg().ShowNotice(QString::fromStdString("表紙のデータを書き込めません: " + path + "\r\n" + error));
    return;
  }
  if (shell_.Send("TFZANTRO", EncodeBare(Command::Title))) close();
}

}  // namespace zantro
