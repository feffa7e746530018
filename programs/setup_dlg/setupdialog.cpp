#include "setupdialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/dialogframe.h"
#include "conflines.h"
#include "platform/conffile.h"
#include "platform/files.h"
#include "platform/outputs.h"
#include "shell/programshell.h"

namespace zantro {

enum class KeyKind {
  Text,       // any text a launch string can carry
  GroupName,  // also no "," (the names are stored joined by ",")
  Number,     // a money value, not negative
  Folder,
  Choice,     // one of Choices by its value text; read by the key's first line
  WholeLine,  // one of Choices as a whole line "[KEY]=VALUE"; the last such line counts
};

struct KeySpec {
  const char* Key;    // without brackets; also the field's object name
  const char* Label;
  KeyKind Kind = KeyKind::Text;
  std::vector<std::pair<const char*, const char*>> Choices = {};  // value, text
  int Default = 0;    // the choice in force when the file names none
  bool LastWins = false;  // read by the window's start-up pass
};

namespace {

using Choices = std::vector<std::pair<const char*, const char*>>;
const Choices kRounding{{"0", "四捨五入"}, {"1", "切上げ"}, {"2", "切捨て"}};
const Choices kShown{{"TRUE", "表示する"}, {"FALSE", "表示しない"}};
const Choices kYesNo{{"TRUE", "する"}, {"FALSE", "しない"}};

std::vector<KeySpec> CalculationKeys() {
  return {
      {"CALC_OPT1", "数量の桁", KeyKind::WholeLine, {{"0", "小数点以下1桁"}, {"1", "小数点以下2桁"}, {"2", "小数点以下3桁"}}},
      {"CALC_OPT2", "明細金額の端数", KeyKind::WholeLine, kRounding},
      {"CALC_OPT4", "諸経費の端数", KeyKind::WholeLine, kRounding},
      {"CALC_OPT3", "諸経費の丸込単位", KeyKind::WholeLine,
       {{"0", "1円単位"}, {"1", "10円単位"}, {"2", "100円単位"}, {"3", "1,000円単位"}, {"4", "10,000円単位"},
        {"5", "100,000円単位"}}},
      {"CALC_OPT6", "歩掛集計の端数", KeyKind::WholeLine, kRounding},
      {"CALC_OPT5", "減額を原価にも入れる", KeyKind::Choice, kYesNo, 1},
      {"Tax_Value", "消費税率（％）", KeyKind::Number},
  };
}

std::vector<KeySpec> DisplayKeys() {
  return {
      {"EDIT_OPT2", "明細の列", KeyKind::WholeLine, {{"0", "10列（歩掛・付帯単価あり）"}, {"1", "9列"}}},
      {"EDIT_OPT3", "単価ボタン", KeyKind::WholeLine, {{"0", "複合単価"}, {"1", "配管"}, {"2", "ダクト"}}},
      {"TITLE1", "見出し1"},
      {"TITLE2", "見出し2"},
      {"Title_bar", "タイトルバー", KeyKind::Choice, kShown},
      {"Top_Bar", "上のボタン列", KeyKind::Choice, kShown},
      {"Left_Bar", "左のボタン列", KeyKind::Choice, kShown},
      {"GENGAKU", "減額の印"},
      {"FILE_OPT1", "保存時に見積番号を更新", KeyKind::Choice, kYesNo, 1},
  };
}

std::vector<KeySpec> NameKeys() {
  std::vector<KeySpec> keys;
  static const char* groups[] = {"GROUP_NAME1", "GROUP_NAME2", "GROUP_NAME3", "GROUP_NAME4", "GROUP_NAME5", "GROUP_NAME6"};
  static const char* groupLabels[] = {"グループA", "グループB", "グループC", "グループD", "グループE", "グループF"};
  for (int i = 0; i < 6; ++i) keys.push_back({groups[i], groupLabels[i], KeyKind::GroupName, {}, 0, true});
  static const char* levels[] = {"LEVEL_NAME1", "LEVEL_NAME2", "LEVEL_NAME3", "LEVEL_NAME4", "LEVEL_NAME5"};
  static const char* levelLabels[] = {"単価レベル1", "単価レベル2", "単価レベル3", "単価レベル4", "単価レベル5"};
  for (int i = 0; i < 5; ++i) keys.push_back({levels[i], levelLabels[i]});
  keys.push_back({"Level_Default", "最初のレベル", KeyKind::Choice,
                  {{"0", "レベル1"}, {"1", "レベル2"}, {"2", "レベル3"}, {"3", "レベル4"}, {"4", "レベル5"}}});
  return keys;
}

std::vector<KeySpec> FolderKeys() {
  return {
      {"Data_Dir", "見積データ", KeyKind::Folder, {}, 0, true},
      {"Number_Dir", "見積番号", KeyKind::Folder, {}, 0, true},
      {"Title_Dir", "表紙データ", KeyKind::Folder, {}, 0, true},
      {"Part_Dir", "部品データ", KeyKind::Folder},
      {"Print_Dir", "印刷様式", KeyKind::Folder, {}, 0, true},
      {"Code_Dir", "CODE単価", KeyKind::Folder, {}, 0, true},
      {"Tree_Dir", "ツリー単価", KeyKind::Folder, {}, 0, true},
      {"Multi_Dir", "複合単価", KeyKind::Folder, {}, 0, true},
      {"Calc_Dir", "計算単価", KeyKind::Folder, {}, 0, true},
  };
}

std::vector<KeySpec> ButtonKeys() {
  std::vector<KeySpec> keys;
  static const char* code[] = {"CODE_NAME1", "CODE_NAME2", "CODE_NAME3", "CODE_NAME4", "CODE_NAME5", "CODE_NAME6"};
  static const char* multi[] = {"MULTI_NAME1", "MULTI_NAME2", "MULTI_NAME3", "MULTI_NAME4", "MULTI_NAME5", "MULTI_NAME6"};
  static const char* tree[] = {"TREE_NAME1", "TREE_NAME2", "TREE_NAME3",  "TREE_NAME4",  "TREE_NAME5",  "TREE_NAME6",
                               "TREE_NAME7", "TREE_NAME8", "TREE_NAME9", "TREE_NAME10", "TREE_NAME11", "TREE_NAME12"};
  static const char* codeLabels[] = {"CODE1", "CODE2", "CODE3", "CODE4", "CODE5", "CODE6"};
  static const char* multiLabels[] = {"複合1", "複合2", "複合3", "複合4", "複合5", "複合6"};
  static const char* treeLabels[] = {"ツリー1", "ツリー2", "ツリー3",  "ツリー4",  "ツリー5",  "ツリー6",
                                     "ツリー7", "ツリー8", "ツリー9", "ツリー10", "ツリー11", "ツリー12"};
  for (int i = 0; i < 6; ++i) keys.push_back({code[i], codeLabels[i], KeyKind::Text, {}, 0, true});
  for (int i = 0; i < 6; ++i) keys.push_back({multi[i], multiLabels[i], KeyKind::Text, {}, 0, true});
  for (int i = 0; i < 12; ++i) keys.push_back({tree[i], treeLabels[i], KeyKind::Text, {}, 0, true});
  return keys;
}

std::string Bracketed(const char* key) { return "[" + std::string(key) + "]"; }

// The choice in force: for whole lines the last line that is one of them, for a value the
// key's first line; otherwise the default.
int ChoiceInForce(const KeySpec& spec, const ConfLines& conf) {
  if (spec.Kind == KeyKind::WholeLine) {
    std::vector<std::string> lines;
    for (const auto& [value, text] : spec.Choices) lines.push_back(Bracketed(spec.Key) + "=" + value);
    return static_cast<int>(conf.LastWholeLine(lines).value_or(static_cast<size_t>(spec.Default)));
  }
  auto value = conf.First(Bracketed(spec.Key));
  for (size_t i = 0; value && i < spec.Choices.size(); ++i)
    if (*value == spec.Choices[i].first) return static_cast<int>(i);
  return spec.Default;
}

// All keys of the dialog stay alive as long as it does: the fields point into them.
const std::vector<std::vector<KeySpec>>& Pages() {
  static const std::vector<std::vector<KeySpec>> pages{CalculationKeys(), DisplayKeys(), NameKeys(), FolderKeys(),
                                                       ButtonKeys()};
  return pages;
}

}  // namespace

SetupDialog::SetupDialog(ProgramShell& shell, std::string confBytes) : shell_(shell) {
  setObjectName("Tfsetup_Dlg");
  setWindowTitle(DialogCaption("環境設定"));
  resize(720, 480);
  ConfLines conf(confBytes);
  auto* tabs = Named(new QTabWidget(this), "SetupPages");
  const char* titles[] = {"計算", "表示", "名称", "フォルダー", "ボタン名"};
  const int columns[] = {1, 1, 1, 1, 3};
  for (size_t p = 0; p < Pages().size(); ++p)
    tabs->addTab(Page(Pages()[p], conf, columns[p]), QString::fromUtf8(titles[p]));
  auto* save = Named(new QPushButton("保存", this), "SaveButton");
  auto* cancel = Named(new QPushButton("キャンセル", this), "CancelButton");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addLayout(buttons);
  connect(save, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Save(); }); });
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
}

QWidget* SetupDialog::Page(const std::vector<KeySpec>& keys, const ConfLines& conf, int columns) {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  int rows = static_cast<int>((keys.size() + static_cast<size_t>(columns) - 1) / static_cast<size_t>(columns));
  if (columns == 3) rows = 6;  // button names: CODE and sequence beside each other, tree in two columns
  for (size_t i = 0; i < keys.size(); ++i) AddField(keys[i], conf, grid, static_cast<int>(i) % rows, static_cast<int>(i) / rows);
  grid->setRowStretch(rows, 1);
  return page;
}

void SetupDialog::AddField(const KeySpec& spec, const ConfLines& conf, QGridLayout* grid, int row, int column) {
  Field f{&spec, nullptr, nullptr, {}};
  QWidget* parent = grid->parentWidget();
  grid->addWidget(new QLabel(QString::fromUtf8(spec.Label), parent), row, column * 3);
  if (spec.Kind == KeyKind::Choice || spec.Kind == KeyKind::WholeLine) {
    f.Box = Named(new QComboBox(parent), spec.Key);
    for (const auto& [value, text] : spec.Choices) f.Box->addItem(QString::fromUtf8(text), QString::fromUtf8(value));
    f.Box->setCurrentIndex(ChoiceInForce(spec, conf));
    f.Shown = f.Box->currentData().toString().toStdString();
    grid->addWidget(f.Box, row, column * 3 + 1);
  } else {
    const std::string key = Bracketed(spec.Key);
    f.Shown = (spec.LastWins ? conf.Last(key) : conf.First(key)).value_or("");
    f.Edit = Named(new QLineEdit(Readable(f.Shown), parent), spec.Key);
    grid->addWidget(f.Edit, row, column * 3 + 1);
    if (spec.Kind == KeyKind::Folder) {
      std::string name = std::string(spec.Key) + "Button";
      auto* browse = new QPushButton("参照", parent);
      browse->setObjectName(QString::fromStdString(name));
      grid->addWidget(browse, row, column * 3 + 2);
      QLineEdit* edit = f.Edit;
      connect(browse, &QPushButton::clicked, this, [this, edit, &spec] {
        shell_.Guard([&] {
          if (auto folder = shell_.Dlg().ChooseFolder(QString::fromUtf8(spec.Label), edit->text())) edit->setText(*folder);
        });
      });
    }
  }
  fields_.push_back(std::move(f));
}

std::optional<std::string> SetupDialog::ValueOf(const Field& f) {
  if (f.Box) return f.Box->currentData().toString().toStdString();
  const QString label = QString::fromUtf8(f.Spec->Label);
  if (f.Spec->Kind == KeyKind::Number) {
    auto v = MoneyOfField(shell_.Dlg(), f.Edit, label);
    if (!v) return std::nullopt;
    if (*v < kZero) {
      shell_.Dlg().ShowNotice("「" + label + "」に負の数は使えません: " + f.Edit->text());
      f.Edit->setFocus();
      return std::nullopt;
    }
    return f.Edit->text().trimmed().toStdString();
  }
  auto text = TextOfField(shell_.Dlg(), f.Edit, label);
  if (!text) return std::nullopt;
  if (f.Spec->Kind == KeyKind::GroupName && text->find(',') != std::string::npos) {
    shell_.Dlg().ShowNotice("「" + label + "」に「,」は使えません: " + f.Edit->text());
    f.Edit->setFocus();
    return std::nullopt;
  }
  if (f.Spec->Kind == KeyKind::Folder && !text->empty() && *text != f.Shown && !IsDirectory(f.Edit->text().toStdString()) &&
      !shell_.Dlg().AskExecute("「" + label + "」のフォルダーがありません: " + f.Edit->text() + "\nこのまま保存しますか？",
                               "実行", "キャンセル")) {
    f.Edit->setFocus();
    return std::nullopt;
  }
  return text;
}

// A document keeps the six group names joined by "," in 80 bytes of its title.
bool SetupDialog::GroupNamesFit() {
  size_t bytes = 5;
  for (const Field& f : fields_)
    if (f.Spec->Kind == KeyKind::GroupName) bytes += Sjis(f.Edit->text()).size();
  if (bytes <= 80) return true;
  shell_.Dlg().ShowNotice("グループ名が長すぎます（6つ合わせて全角37文字まで）。");
  return false;
}

void SetupDialog::Save() {
  std::vector<std::pair<std::string, std::string>> changes;
  for (const Field& f : fields_) {
    auto value = ValueOf(f);
    if (!value) return;
    if (*value != f.Shown) changes.emplace_back(Bracketed(f.Spec->Key), *value);
  }
  if (!GroupNamesFit()) return;
  if (changes.empty()) return (void)close();
  // The file as it is now: lines another program wrote since the dialog opened stay.
  const std::string path = ResolveNoCase(shell_.ProgramFolder(), "Zantro.conf");
  std::string bytes;
  if (FileExists(path)) {
    auto read = ReadFileBytes(path);
    if (!read) return shell_.Dlg().ShowError(QString::fromStdString(path + ": 読み込めません。"));
    bytes = std::move(*read);
  }
  ConfLines conf(bytes);
  for (const auto& [key, value] : changes) conf.Set(key, value);
  std::string error;
  if (!WriteOutput(path, conf.Bytes(), &error, OutputRules{{}, false, true}))
    return shell_.Dlg().ShowError(QString::fromStdString(path + ": " + error));
  shell_.Dlg().ShowNotice("環境設定を保存しました。計算と表示の設定は次にザントロを起動したときから使われます。");
  close();
}

}  // namespace zantro
