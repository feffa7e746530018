#include "pickdialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>
#include <utility>

#include "common/dialogframe.h"
#include "platform/files.h"
#include "shell/programshell.h"

namespace zantro {
namespace {

// An entry becomes a line name or an item name: both hold 100 bytes.
constexpr size_t kEntryBytes = 100;

QPushButton* Button(QWidget* parent, const char* name, const char* text) {
  return Named(new QPushButton(QString::fromUtf8(text), parent), name);
}

}  // namespace

std::optional<Command> PickReply(const std::string& replyCommand) {
  auto c = CommandOf(replyCommand + ";");
  if (!c) return std::nullopt;
  switch (*c) {
    case Command::DataWrite:
    case Command::DataWriteDisp:
    case Command::MultiWrite:
    case Command::CalcData:
    case Command::Keito:
    case Command::ItemNote:
      return c;
    default:
      return std::nullopt;
  }
}

PickDialog::PickDialog(ProgramShell& shell, std::string path, Command reply, std::vector<std::string> entries)
    : shell_(shell), path_(std::move(path)), reply_(reply), entries_(std::move(entries)) {
  setObjectName("TfPICKDATA_Dlg");
  const bool names = reply_ == Command::Keito;
  setWindowTitle(DialogCaption(names ? "工種名の選択" : "特記事項の選択"));
  resize(780, 520);
  table_ = Named(new QTableWidget(0, 1, this), "PickTable");
  table_->setHorizontalHeaderLabels({names ? "工種名" : "特記事項"});
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  entry_ = Named(new QLineEdit(this), "EntryEdit");
  auto* add = Button(this, "AddButton", "追加");
  auto* change = Button(this, "ChangeButton", "変更");
  auto* remove = Button(this, "DeleteButton", "削除");
  auto* up = Button(this, "UpButton", "上へ");
  auto* down = Button(this, "DownButton", "下へ");
  auto* pick = Button(this, "PickButton", "選択して入力");
  auto* close = Button(this, "CloseButton", "閉じる");
  auto* grid = new QGridLayout(this);
  grid->addWidget(table_, 0, 0, 6, 1);
  grid->addWidget(pick, 0, 1);
  grid->addWidget(up, 1, 1);
  grid->addWidget(down, 2, 1);
  grid->addWidget(remove, 3, 1);
  grid->setRowStretch(4, 1);
  grid->addWidget(close, 5, 1);
  grid->addWidget(entry_, 6, 0);
  auto* edits = new QHBoxLayout;
  edits->addWidget(add);
  edits->addWidget(change);
  grid->addLayout(edits, 6, 1);
  auto guarded = [this](void (PickDialog::*fn)()) { return [this, fn] { shell_.Guard([this, fn] { (this->*fn)(); }); }; };
  connect(add, &QPushButton::clicked, this, guarded(&PickDialog::Add));
  connect(change, &QPushButton::clicked, this, guarded(&PickDialog::Change));
  connect(remove, &QPushButton::clicked, this, guarded(&PickDialog::Delete));
  connect(up, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Move(-1); }); });
  connect(down, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Move(1); }); });
  connect(pick, &QPushButton::clicked, this, guarded(&PickDialog::Pick));
  connect(table_, &QTableWidget::doubleClicked, this, guarded(&PickDialog::Pick));
  connect(table_, &QTableWidget::clicked, this, [this](const QModelIndex& i) {
    entry_->setText(Readable(entries_.at(static_cast<size_t>(i.row()))));
  });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  QWidget::setTabOrder(table_, pick);
  new DialogKeys(this);
  Fill(entries_.empty() ? -1 : 0);
  table_->setFocus();
}

void PickDialog::Fill(int current) {
  table_->setRowCount(static_cast<int>(entries_.size()));
  for (size_t r = 0; r < entries_.size(); ++r)
    table_->setItem(static_cast<int>(r), 0, new QTableWidgetItem(Readable(entries_[r])));
  if (current >= 0) table_->setCurrentCell(current, 0);
}

int PickDialog::CurrentRow() const {
  int r = table_->currentRow();
  return r >= 0 && r < static_cast<int>(entries_.size()) && table_->selectionModel()->isRowSelected(r) ? r : -1;
}

bool PickDialog::Store(std::vector<std::string> entries, int current) {
  std::string error;
  if (!WriteTextLines(path_, entries, &error)) {
    shell_.Dlg().ShowError(QString::fromStdString(path_ + ": " + error));
    return false;
  }
  entries_ = std::move(entries);
  Fill(current);
  return true;
}

std::optional<std::string> PickDialog::TypedEntry() {
  auto text = TextOfField(shell_.Dlg(), entry_, "登録内容");
  if (!text) return std::nullopt;
  if (text->find_first_not_of(' ') == std::string::npos) {
    shell_.Dlg().ShowNotice("登録する内容を入力してください。");
    entry_->setFocus();
    return std::nullopt;
  }
  if (text->size() > kEntryBytes) {
    shell_.Dlg().ShowNotice("「登録内容」は全角50文字（100バイト）以内で入力してください。");
    entry_->setFocus();
    return std::nullopt;
  }
  return text;
}

void PickDialog::Add() {
  auto text = TypedEntry();
  if (!text) return;
  // A new entry goes below the chosen one, or to the end of the list.
  int at = CurrentRow() < 0 ? static_cast<int>(entries_.size()) : CurrentRow() + 1;
  auto entries = entries_;
  entries.insert(entries.begin() + at, *text);
  if (Store(std::move(entries), at)) entry_->clear();
}

void PickDialog::Change() {
  int r = CurrentRow();
  if (r < 0) return shell_.Dlg().ShowNotice("変更する行を選んでください。");
  auto text = TypedEntry();
  if (!text) return;
  auto entries = entries_;
  entries[static_cast<size_t>(r)] = *text;
  Store(std::move(entries), r);
}

void PickDialog::Delete() {
  int r = CurrentRow();
  if (r < 0) return shell_.Dlg().ShowNotice("削除する行を選んでください。");
  if (!shell_.Dlg().AskExecute("「" + Readable(entries_[static_cast<size_t>(r)]) + "」を削除しますか？", "実行",
                               "キャンセル"))
    return;
  auto entries = entries_;
  entries.erase(entries.begin() + r);
  const int next = std::min(r, static_cast<int>(entries.size()) - 1);
  Store(std::move(entries), next);
}

void PickDialog::Move(int step) {
  int r = CurrentRow();
  int to = r + step;
  if (r < 0 || to < 0 || to >= static_cast<int>(entries_.size())) return;
  auto entries = entries_;
  std::swap(entries[static_cast<size_t>(r)], entries[static_cast<size_t>(to)]);
  Store(std::move(entries), to);
}

void PickDialog::Pick() {
  int r = CurrentRow();
  if (r < 0) return shell_.Dlg().ShowNotice("入力する行を選んでください。");
  const std::string& entry = entries_[static_cast<size_t>(r)];
  std::string text;
  if (reply_ == Command::Keito) {
    text = KeitoMessage{entry}.Encode();
  } else if (reply_ == Command::ItemNote) {
    text = ItemNoteMessage{entry, 30, ""}.Encode();
  } else {
    DetailLineMessage line;  // a comment line: its text and nothing to price
    line.Kind = reply_;
    line.Name = entry;
    line.FLAG = 30;
    text = line.Encode();
  }
  shell_.Send("TFZANTRO", text);
}

}  // namespace zantro
