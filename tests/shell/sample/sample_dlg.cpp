// A companion program of the smallest useful shape, built on the program shell: it is started
// with a pick-list launch argument, shows the entries of its argument in a table, lets the
// user choose one, type a price and write the line back to the window as the reply command
// the argument names. The shell's tests drive it; docs/architecture.md points to it as the
// pattern of a companion.
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include "general/errors.h"
#include "messages/commands.h"
#include "messages/launches.h"
#include "platform/cp932.h"
#include "shell/programshell.h"

using namespace zantro;

namespace {

class SampleDialog : public QWidget {
 public:
  SampleDialog(ProgramShell& shell, PickDataLaunch launch) : shell_(shell), launch_(std::move(launch)) {
    setObjectName("SampleDlg");
    setWindowTitle("サンプル");
    auto* form = new QFormLayout(this);
    table_ = Named(new QTableWidget(3, 2, this), "PickTable");
    const char* names[][2] = {{"配管", "SGP 20A"}, {"保温", "GW 25t"}, {"支持金物", ""}};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 2; ++c) table_->setItem(r, c, new QTableWidgetItem(QString::fromUtf8(names[r][c])));
    name_ = Named(new QLineEdit(this), "NameEdit");
    price_ = Named(new QLineEdit(this), "PriceEdit");
    kind_ = Named(new QComboBox(this), "KindBox");
    kind_->addItems({"10 通常", "20 小数"});
    auto* write = Named(new QPushButton("書込", this), "WriteButton");
    auto* close = Named(new QPushButton("閉じる", this), "CloseButton");
    for (QWidget* w : std::initializer_list<QWidget*>{table_, name_, price_, kind_, write, close}) form->addRow(w);
    connect(table_, &QTableWidget::clicked, this, [this](const QModelIndex& i) {
      name_->setText(table_->item(i.row(), 0)->text());
    });
    connect(write, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Write(); }); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
  }

 private:
  template <typename W>
  W* Named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
  }

  // A price that is not a number is refused at its field; nothing is sent.
  void Write() {
    DetailLineMessage m;
    m.Kind = *CommandOf(launch_.ReplyCommand + ";");
    m.Name = ToCp932(name_->text().toStdString());
    try {
      m.CostPrice = m.SubPrice = TextToMoney(price_->text().toStdString());
    } catch (const ConversionError&) {
      shell_.Dlg().ShowNotice("単価が数値ではありません: " + price_->text());
      price_->setFocus();
      return;
    }
    m.FLAG = kind_->currentIndex() == 0 ? 10 : 20;
    shell_.Send("TFZANTRO", m.Encode());
  }

  ProgramShell& shell_;
  PickDataLaunch launch_;
  QTableWidget* table_;
  QLineEdit* name_;
  QLineEdit* price_;
  QComboBox* kind_;
};

}  // namespace

int main(int argc, char** argv) {
  ProgramShell shell(argc, argv, ShellOptions{.Name = "sample_dlg", .ValueOptions = {"--title"}});
  if (auto end = shell.Start()) return *end;
  SampleDialog dialog(shell, PickDataLaunch::Decode(shell.Argument()));
  if (auto title = shell.Option("--title")) dialog.setWindowTitle(QString::fromStdString(*title));
  shell.Register(&dialog, "TfSAMPLE_Dlg");
  return shell.Run(&dialog);
}
