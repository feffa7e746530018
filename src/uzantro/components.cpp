// The window's components: menus, buttons, labels, boxes, the grid and the tab strip, each
// under its designed object name. Handlers are attached in ConnectHandlers.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

#include "uzantro/convertitems.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

// The estimator's desktop of the original: gradient title bars, dark buttons with white
// captions (greyed when a mode disables them), framed value boxes.
const char* kStyle = R"(
QFrame#GradPan4 { background: qlineargradient(x1:0,y1:0,x2:1,y2:0, stop:0 #0A246A, stop:1 #A6CAF0); }
QFrame#GradPan4 QLabel { color: white; font-weight: bold; }
QFrame#GradPan5, QFrame#Panel9, QFrame#Panel26, QFrame#TotalsPanel {
  background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 #E8E6E0, stop:1 #C8C4BA); }
QPushButton[grad="true"] {
  background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 #6E7FA8, stop:1 #2E3F6A);
  color: white; border: 1px solid #1C2744; border-radius: 2px; padding: 1px 1px; min-height: 18px;
  font-size: 9pt; }
QPushButton[grad="true"]:hover { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 #8796BB, stop:1 #3D5087); }
QPushButton[grad="true"]:pressed { background: #1C2744; }
QPushButton[grad="true"]:disabled { color: #C0C0C0; background: #8A8F9C; border-color: #6A6F7C; }
QLabel[box="true"] { background: white; border: 1px solid #808080; padding: 1px 4px; }
QLabel[money="true"] { background: white; border: 1px solid #808080; padding: 1px 4px;
  font-family: monospace; }
QLabel[caption="true"] { color: #202020; }
QLabel#keito_name { color: #0A246A; font-weight: bold; font-size: 11pt; }
)";

}  // namespace

QMenu* TFZANTRO::AddMenu(const QString& name, const QString& title) {
  QMenu* m = menuBar()->addMenu(title);
  m->setObjectName(name);
  m->menuAction()->setObjectName(name + "#menu");
  components_[name] = m;
  return m;
}

QAction* TFZANTRO::AddItem(QMenu* menu, const QString& name, const QString& caption, const QString& hint,
                           const QString& shortcut, int tag) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  a->setProperty("hint", hint);
  a->setProperty("tag", tag);
  if (!shortcut.isEmpty()) a->setShortcut(QKeySequence(shortcut));
  components_[name] = a;
  return a;
}

void TFZANTRO::BuildConvertMenu(QMenu* menu) {
  // The text items in their groups, a separator, then the three submenus of bulk items.
  std::span<const int> ends = TextItemGroupEnds();
  int i = 0;
  for (const TextItem& t : MenuTextItems()) {
    AddItem(menu, t.name, t.caption);
    if (std::ranges::find(ends, ++i) != ends.end()) menu->addSeparator();
  }
  menu->addSeparator();
  for (const BulkGroup& g : BulkGroups()) {
    QMenu* sub = menu->addMenu(g.title);
    sub->setObjectName(g.menuName);
    for (const BulkItem& b : g.items)
      for (int tag = 0; tag < 3; ++tag)
        AddItem(sub, QString(b.name) + QString::number(tag), QString(b.caption) + kBulkVariants[tag], {}, {}, tag);
  }
}

QPushButton* TFZANTRO::AddButton(QWidget* parent, const QString& name, const QString& caption, const QString& hint,
                                 int tag) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setProperty("hint", hint);
  b->setProperty("tag", tag);
  b->setProperty("grad", true);
  b->setCursor(Qt::PointingHandCursor);
  b->setFocusPolicy(Qt::NoFocus);  // the grid keeps the keyboard
  components_[name] = b;
  return b;
}

QLabel* TFZANTRO::AddLabel(QWidget* parent, const QString& name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  components_[name] = l;
  return l;
}

void TFZANTRO::BuildComponents() {
  setObjectName("FZANTRO");
  setStyleSheet(kStyle);
  BuildMenus();
  auto* central = new QWidget(this);
  auto* v = new QVBoxLayout(central);
  v->setContentsMargins(2, 2, 2, 2);
  v->setSpacing(2);
  BuildTitleArea(central);
  auto* middle = new QHBoxLayout;
  middle->setSpacing(2);
  BuildLeftBar(central);
  middle->addWidget(static_cast<QWidget*>(components_["Panel9"]));
  auto* gridColumn = new QVBoxLayout;
  gridColumn->setSpacing(0);
  grid_ = new TStrColGrid(central);
  grid_->setObjectName("StrColGrid1");
  components_["StrColGrid1"] = grid_;
  // Body cells carry black text by parameter; on the highlight colour of a selected row that
  // is unreadable, so selected cells take the highlight text colour instead.
  grid_->SetFocusCellFontColorEnabled(true);
  // The total lines mark their amount with the Shift-JIS byte 0x5C, which every Japanese font
  // draws as the yen sign; converted to Unicode it is a backslash. A cell holding that mark
  // alone is drawn as "¥", while the cell keeps the converted text.
  grid_->OnDrawTextOneLine = [](TObject*, TStrColGrid*, const QRect&, int, int, int, TGridDrawState,
                                QString& text, TAlignment&, TTextLayout&, bool&) {
    if (text == QLatin1String("\\")) text = QString(QChar(0x00A5));
  };
  tabs_ = new ItemTabBar(central);
  tabs_->setObjectName("TabControl1");
  components_["TabControl1"] = tabs_;
  listBox1_ = new QListWidget(central);
  listBox1_->setObjectName("ListBox1");
  listBox1_->hide();
  components_["ListBox1"] = listBox1_;
  gridColumn->addWidget(grid_, 1);
  gridColumn->addWidget(tabs_);
  middle->addLayout(gridColumn, 1);
  v->addWidget(static_cast<QWidget*>(components_["GradPan4"]));
  v->addWidget(static_cast<QWidget*>(components_["GradPan5"]));
  v->addLayout(middle, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(BuildCommandButtons(), 1);
  bottom->addWidget(BuildTotalsPanel());
  v->addLayout(bottom);
  setCentralWidget(central);
  statusBar()->setSizeGripEnabled(true);

  // The popup menus of the grid: sheet lines and breakdown rows.
  auto* popup = new QMenu(this);
  popup->setObjectName("PopupMenu1");
  components_["PopupMenu1"] = popup;
  AddItem(popup, "popup_menu_item", "複　写", "copy");
  AddItem(popup, "K21", "貼　付1(マージ)", "paste1");
  AddItem(popup, "N210", "貼　付2(ペースト)", "paste2");
  AddItem(popup, "K22", "割　込", "insert");
  AddItem(popup, "K24", "削　除", "delete");
  AddItem(popup, "K23", "消　去", "erase");
  popup->addSeparator();
  AddItem(popup, "N66", "上へ移動", "move_up");
  AddItem(popup, "N35", "下へ移動", "move_down");
  AddItem(popup, "N69", "合計線入力", "sum_line");
  AddItem(popup, "N32", "デ－タのプロパティ", "dataproperty");
  // The name and specification moves of the line at the cursor also live in the edit menu.
  popup->addSeparator();
  popup->addAction(Action("N58"));
  popup->addAction(Action("N59"));
  BuildCalcPriceItems(popup->addMenu("計算単価"), true);
  popup->addSeparator();
  AddItem(popup, "PopupPrint", "印　刷", "print");
  auto* itemPopup = new QMenu(this);
  itemPopup->setObjectName("Popup_item_Menu");
  components_["Popup_item_Menu"] = itemPopup;
  AddItem(itemPopup, "item_Operate_executeP", "取り消し");
  itemPopup->addSeparator();
  AddBreakdownItems(itemPopup, "P");
  AddItem(itemPopup, "ItemPopupPrint", "印　刷", "print");
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  // One fixed row and column; whole rows are selected, by range; nothing is edited in place.
  // The user sizes columns by their borders in the header row ("グリッドの幅を保存" keeps them).
  grid_->SetFixedColor(ColorFromNumber(10652814));
  grid_->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect | goRowSelect |
                    goColSizing);
  grid_->SetDefaultRowHeight(22);
}

void TFZANTRO::BuildMenus() {
  QMenu* file = AddMenu("FileMenu", "ファイル(&F)");
  AddItem(file, "NewMenu", "新規作成");
  AddItem(file, "OpenMenu", "デ－タ読込(直接ファイルを指定)");
  AddItem(file, "N43", "デ－タ読込(一覧から選択)");
  AddItem(file, "Version1Menu", "Version1のデータ読込(直接ファイルを指定)");
  AddItem(file, "N42", "バックアップファイルを読み込む");
  AddItem(file, "N7", "CSVデ－タの取込(ザントロ専用CSVエディタ－起動)");
  file->addSeparator();
  AddItem(file, "KS1", "保   存", {}, "Ctrl+S");
  AddItem(file, "N54", "表紙作成", {}, "Ctrl+T");
  file->addSeparator();
  AddItem(file, "N188", "エクセル出力")->setVisible(false);  // created hidden; nothing shows it
  AddItem(file, "EstimateBook", "見積書ブック出力");
  AddItem(file, "N79", "内訳付で印刷");
  AddItem(file, "N24", "表示中の明細を単独で印刷");
  file->addSeparator();
  AddItem(file, "clBtnFace", "閉じる");
  AddItem(file, "K4", "終   了(&X)", "close");

  QMenu* edit = AddMenu("meisai_menu", "明細編集(&E)");
  AddItem(edit, "N18", "入　力", "new_data", "F5");
  AddItem(edit, "K9", "複　写", "copy", "Ctrl+C");
  AddItem(edit, "K10", "貼　付1(マージ)", "paste1", "Ctrl+V");
  AddItem(edit, "N94", "貼　付2(ペースト)", "paste2");
  AddItem(edit, "K11", "割　込", "insert", "Ctrl+Ins");
  AddItem(edit, "K12", "削　除", "delete", "Ctrl+Del");
  AddItem(edit, "K14", "消　去", "erase", "Ctrl+E");
  AddItem(edit, "K19", "交　換", "swap");
  AddItem(edit, "K25", "元に戻す", "undo", "Esc");
  AddItem(edit, "UndoStep", "一つ前に戻す", "undo_step", "Ctrl+Z");
  AddItem(edit, "RedoStep", "やり直す", "redo_step", "Ctrl+Y")->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  edit->addSeparator();
  AddItem(edit, "N12", "すべてを選択", "all_select", "Ctrl+A");
  AddItem(edit, "N14", "全選択解除", "all_cancel", "Shift+A");
  AddItem(edit, "N67", "上へ移動", "move_up");
  AddItem(edit, "N68", "下へ移動", "move_down");
  edit->addSeparator();
  AddItem(edit, "N78", "諸経費", "keihi", "F2");
  AddItem(edit, "N39", "消費税", "taxin", "F3");
  AddItem(edit, "N108", "特記事項", "note_in");
  AddItem(edit, "N36", "桁設定", {}, "Ctrl+R");
  AddItem(edit, "N4a01", "内訳名入力", "uchiwake_title");
  AddItem(edit, "N130", "内訳名選択");
  edit->addSeparator();
  AddItem(edit, "N16", "選択中のデ－タをパ－ツファイルとして登録", "part_save");
  AddItem(edit, "N17", "カ－ソル行にパ－ツファイルを貼り付け", "part_load");
  AddItem(edit, "N23", "CSVファイルへ出力", "csv_out");
  edit->addSeparator();
  AddItem(edit, "N58", "カーソル行の名称を仕様欄に移動");
  AddItem(edit, "N59", "カーソル行の仕様を名称欄に移動");
  AddItem(edit, "N47", "選択中の数量の合計を表示");
  AddItem(edit, "N38", "デ－タのプロパティ", "dataproperty");
  AddItem(edit, "N45", "計算単価", {}, "F4")->setVisible(false);  // created hidden, without a command
  QMenu* editView = edit->addMenu("表示設定");
  editView->setObjectName("N163");
  components_["N163"] = editView;
  AddItem(editView, "N164", "グリッドの幅を保存");
  AddItem(edit, "N159", "グリッドの幅を保存");

  QMenu* item = AddMenu("item_menu", "内訳編集(&U)");
  AddItem(item, "item_Operate_execute", "取り消し");
  AddItem(item, "ItemUndoStep", "一つ前に戻す", "undo_step", "Ctrl+Z");
  AddItem(item, "ItemRedoStep", "やり直す", "redo_step", "Ctrl+Y")->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  item->addSeparator();
  AddBreakdownItems(item, "");
  item->addSeparator();
  AddItem(item, "N162", "グリッドの幅を保存");

  QMenu* view = AddMenu("ViewMenu", "表示(&D)");
  AddItem(view, "N55", "原価を表示", {}, "Ctrl+PgUp");
  AddItem(view, "N56", "提出金額を表示", {}, "Ctrl+PgDown");
  AddItem(view, "N41", "付帯単価を表示", {}, "Home", 0);
  view->addSeparator();
  AddItem(view, "N5", "名称と仕様を同時に表記する。");
  AddItem(view, "N1", "名称と仕様を別に表示する。");
  AddItem(view, "N51", "標準に戻す");
  view->addSeparator();
  AddItem(view, "TopPage1", "Top Line", "top_line", "Space");
  AddItem(view, "PAGE12", "Last Line", "Last_Line", "PgDown");
  AddItem(view, "N6", "グリッド行を1行追加");
  AddItem(view, "N1010", "グリッド行を10行追加");
  view->addSeparator();
  QMenu* level = view->addMenu("単価レベル");
  level->setObjectName("LevelMenu");
  components_["LevelMenu"] = level;
  const char* levelNames[] = {"Level11", "Level21", "Level31", "Level41", "Level51"};
  for (int i = 0; i < 5; ++i) {
    QAction* a = AddItem(level, levelNames[i], QString("LEVEL%1").arg(i + 1), {}, {}, i);
    a->setCheckable(true);
  }

  BuildConvertMenu(AddMenu("N29", "各種変換＆計算(&V)"));

  QMenu* price = AddMenu("PriceMenu", "単価(&P)");
  QMenu* code = price->addMenu("CODE単価");
  QMenu* multi = price->addMenu("連続単価");
  QMenu* tree = price->addMenu("ツリー単価");
  QMenu* store = price->addMenu("単価登録");
  for (int i = 1; i <= 6; ++i) {
    AddItem(code, QString("code%1").arg(i), QString("CODE%1").arg(i), {}, {}, i);
    AddItem(multi, QString("rdata%1").arg(i), QString(), {}, {}, i);
  }
  for (int i = 1; i <= 12; ++i) AddItem(tree, QString("Tdata%1").arg(i), QString(), {}, {}, i);
  for (int i = 1; i <= 6; ++i) AddItem(store, QString("rcode%1").arg(i), QString(), {}, {}, i);
  for (int i = 1; i <= 6; ++i) AddItem(store, QString("rmdata%1").arg(i), QString(), {}, {}, i);
  for (int i = 1; i <= 12; ++i) AddItem(store, QString("trdata%1").arg(i), QString(), {}, {}, i);
  QMenu* copyTo = price->addMenu("選択行を単価へ登録");
  for (int i = 11; i <= 22; ++i) AddItem(copyTo, QString("CODE%1").arg(i), QString(), {}, {}, i <= 16 ? i - 10 : i - 16);
  for (int i = 11; i <= 22; ++i) AddItem(copyTo, QString("rdata%1").arg(i), QString(), {}, {}, i <= 16 ? i - 10 : i - 16);
  for (int i = 1; i <= 12; ++i) AddItem(copyTo, QString("data%1").arg(i * 10 + 1), QString(), {}, {}, i);
  for (int i = 1; i <= 12; ++i) AddItem(copyTo, QString("For_tree%1").arg(i), QString(), {}, {}, i);
  BuildCalcPriceItems(price->addMenu("計算単価"), false);

  QMenu* haikan = AddMenu("haikan", "配管入力(&H)");
  AddItem(haikan, "option_00", "数量拾出プログラム(数量調書)")->setVisible(false);
  AddItem(haikan, "option_01", "管材入力ダイアログ", {}, {}, 1);
  for (int i = 2; i <= 6; ++i) AddItem(haikan, QString("option_0%1").arg(i), QString(), {}, {}, i);
  haikan->addSeparator();
  AddItem(haikan, "ex_network", "管材・管材付属品器具単価データ・ネットワーク設定");
  AddItem(haikan, "N189", "指定されているネットワークフォルダーをエクスプローラーで開く");
  haikan->menuAction()->setVisible(false);
  QMenu* dact = AddMenu("dact", "ダクト入力(&K)");
  const char* ductCaptions[] = {"鉄板ダクト", "スパイラルダクト", "吹出口・吸込口", "ダクト付属品1", "",
                                "ダンパー", "ダクト付属品2", "ダクト器具", "雑工事"};
  for (int i = 1; i <= 9; ++i) {
    if (i == 5) continue;
    AddItem(dact, QString("dact_option_0%1").arg(i), ductCaptions[i - 1], {}, {}, i);
  }
  dact->addSeparator();
  AddItem(dact, "N133", "数量拾出プログラム(数量調書)");
  AddItem(dact, "dact_network", "ダクト単価データ・ネットワーク設定");
  AddItem(dact, "N147", "指定されているネットワークフォルダーをエクスプローラーで開く");
  dact->menuAction()->setVisible(false);

  QMenu* tools = AddMenu("ToolMenu", "ツール(&T)");
  AddItem(tools, "N101", "メモ帳を起動");
  AddItem(tools, "N107", "電卓", "calc");
  tools->addSeparator();
  AddItem(tools, "N102", "メモリ－確認");
  AddItem(tools, "N103", "画面の解像度確認");
  AddItem(tools, "is1", "インストールフォルダ－確認");
  tools->addSeparator();
  AddItem(tools, "CompareItem", "見積比較");
  AddItem(tools, "SummaryItem", "集計表", "summary");
  AddItem(tools, "N44", "環境設定");

  QMenu* help = AddMenu("HelpMenu", "ヘルプ(&H)");
  AddItem(help, "N28", "取扱説明書", {}, "F1");
  AddItem(help, "N132", "リリースバージョン");
}

void TFZANTRO::BuildCalcPriceItems(QMenu* menu, bool popup) {
  // The items of the calculated prices, by tag: 1 unit price, 2 labour factor, 3 incidental
  // price, 4 normal price; 51-56, 61-66 and 71-76 the same restricted to price group A..F.
  if (!popup) {
    AddItem(menu, "EDATA1", "単価計算", {}, {}, 1);
    AddItem(menu, "EDATA2", "歩掛計算", {}, {}, 2);
    AddItem(menu, "EDATA3", "付帯単価", {}, {}, 3);
    AddItem(menu, "EDATA4", "通常単価", {}, {}, 4);
    menu->addSeparator();
  }
  AddItem(menu, popup ? "N84" : "N31", "・選択範囲に対して単価計算", {}, {}, 1);
  AddItem(menu, popup ? "N86" : "N57", "・選択範囲に対して歩掛計算", {}, {}, 2);
  AddItem(menu, popup ? "N88" : "N81", "・選択範囲に対して付帯単価", {}, {}, 3);
  const char* kinds[] = {"単価計算", "歩掛計算", popup ? "付帯計算" : "付帯単価計算"};
  int first = popup ? 19 : 1;
  for (int k = 0; k < 3; ++k) {
    menu->addSeparator();
    for (int g = 0; g < 6; ++g)
      AddItem(menu, QString("GroupA%1").arg(first + k * 6 + g),
              QString("選択範囲中のGroup_%1に対して%2").arg(QChar('A' + g)).arg(kinds[k]), {}, {}, 51 + k * 10 + g);
  }
}

// The commands of the breakdown list, in its menu and in its popup. The popup's items take
// the designed second names where the documents give them and the menu item's name with the
// suffix otherwise. They carry no shortcuts: the keys of the edit menu stay silent on tab 0.
void TFZANTRO::AddBreakdownItems(QMenu* menu, const QString& suffix) {
  struct I { const char* name; const char* popupName; const char* caption; const char* hint; };
  static const I items[] = {
      {"N151", nullptr, "複　写", "copy"},  {"N152", nullptr, "貼　付", "paste1"},   {"N153", nullptr, "割　込", "insert"},
      {"Delete1", nullptr, "削　除", "delete"}, {"N158", nullptr, "階　層", ""},      {nullptr, nullptr, nullptr, nullptr},
      {"N157", nullptr, "小　計", ""},      {"N142", "N141", "合　計", "sumline"},  {"N156", nullptr, "減　額", ""},
      {"N180", nullptr, "消費税", "taxin"}, {"N160", "N183", "諸経費", "keihi"},    {"N154", nullptr, "特記事項", "note_in"},
      {"N155", "N174", "備考入力", ""},     {"N165", nullptr, "桁設定", "ketain"},  {nullptr, nullptr, nullptr, nullptr},
      {"N150", "N169", "転　送", ""},       {"CSV2", nullptr, "CSV出力", "csv_out"}};
  for (const I& i : items) {
    if (!i.name) {
      menu->addSeparator();
      continue;
    }
    QString name = suffix.isEmpty() ? i.name : i.popupName ? i.popupName : QString(i.name) + suffix;
    AddItem(menu, name, i.caption, i.hint);
  }
}

void TFZANTRO::BuildTitleArea(QWidget* parent) {
  auto* bar = new QFrame(parent);
  bar->setObjectName("GradPan4");
  components_["GradPan4"] = bar;
  auto* h = new QHBoxLayout(bar);
  h->setContentsMargins(6, 2, 6, 2);
  AddLabel(bar, "BoxCaption1", "ザントロVer2-Standalone版");
  h->addWidget(static_cast<QWidget*>(components_["BoxCaption1"]));
  auto* docLabel = new QLabel("ファイル:", bar);
  h->addSpacing(16);
  h->addWidget(docLabel);
  docName_ = new QLineEdit(bar);
  docName_->setObjectName("DocName");
  docName_->setReadOnly(true);
  docName_->setFocusPolicy(Qt::NoFocus);
  components_["DocName"] = docName_;
  h->addWidget(docName_, 1);
  h->addWidget(AddButton(bar, "IconButton22", "一覧"));
  h->addWidget(AddButton(bar, "SaveIcon", "保存"));
  h->addWidget(AddButton(bar, "IconButton5", "印刷"));
  h->addWidget(AddButton(bar, "IconButton1", "設定"));
  h->addWidget(AddButton(bar, "IconButton3", "調書"));

  auto* top = new QFrame(parent);
  top->setObjectName("GradPan5");
  components_["GradPan5"] = top;
  auto* g = new QGridLayout(top);
  g->setContentsMargins(6, 3, 6, 3);
  g->setHorizontalSpacing(6);
  g->setVerticalSpacing(2);
  auto caption = [&](const QString& name, const QString& text) {
    QLabel* l = name.isEmpty() ? new QLabel(text, top) : AddLabel(top, name, text);
    l->setProperty("caption", true);
    return l;
  };
  auto box = [&](const QString& name) {
    QLabel* l = AddLabel(top, name);
    l->setProperty("box", true);
    l->setMinimumWidth(160);
    return l;
  };
  g->addWidget(caption({}, "宛　　　先"), 0, 0);
  g->addWidget(box("ATPL"), 0, 1);
  g->addWidget(caption("title2", "物 件 名 称"), 0, 2);
  g->addWidget(box("WHPL"), 0, 3);
  g->addWidget(caption("title1", "受 渡 場 所"), 1, 0);
  g->addWidget(box("uchiwakebox"), 1, 1);
  g->addWidget(caption({}, "有 効 期 限"), 1, 2);
  g->addWidget(box("limit_date"), 1, 3);
  g->addWidget(caption({}, "取 引 条 件"), 1, 4);
  g->addWidget(box("trade"), 1, 5);
  g->addWidget(caption({}, "内　　　訳"), 0, 4);
  auto* itemRow = new QHBoxLayout;
  // Long texts (the takeoff's hint at start-up) must not widen the window past the screen.
  QLabel* itemName = AddLabel(top, "keito_name");
  itemName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  itemRow->addWidget(itemName, 1);
  itemRow->addWidget(AddLabel(top, "strtx"));
  g->addLayout(itemRow, 0, 5);
  g->setColumnStretch(1, 2);
  g->setColumnStretch(3, 3);
  g->setColumnStretch(5, 2);

  auto* panel32 = new QFrame(top);
  panel32->setObjectName("Panel32");
  components_["Panel32"] = panel32;
  auto* lv = new QHBoxLayout(panel32);
  lv->setContentsMargins(0, 0, 0, 0);
  lv->addWidget(caption({}, "単価レベル"));
  levelBox_ = new QComboBox(panel32);
  levelBox_->setObjectName("Level_box");
  levelBox_->setFocusPolicy(Qt::ClickFocus);
  for (int i = 1; i <= 5; ++i) levelBox_->addItem(QString("LEVEL%1").arg(i));
  components_["Level_box"] = levelBox_;
  lv->addWidget(levelBox_);
  g->addWidget(panel32, 0, 6);
  QLabel* codeLabel = AddLabel(top, "CODE");
  codeLabel->setProperty("caption", true);
  // "数量調書" when the takeoff is installed: the level panel above sets the column's width,
  // so that the window still fits a 1024-pixel screen.
  codeLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  g->addWidget(codeLabel, 1, 6);
}

void TFZANTRO::BuildLeftBar(QWidget* parent) {
  auto* bar = new QFrame(parent);
  bar->setObjectName("Panel9");
  components_["Panel9"] = bar;
  auto* g = new QGridLayout(bar);
  g->setContentsMargins(3, 3, 3, 3);
  g->setSpacing(2);
  int row = 0;
  g->addWidget(AddButton(bar, "gbtn01", "入　力", "new_data"), row++, 0, 1, 2);
  for (int i = 1; i <= 6; ++i) g->addWidget(AddButton(bar, QString("gbtn0%1").arg(i + 1), QString("CODE%1").arg(i), {}, i), row++, 0, 1, 2);
  g->addItem(new QSpacerItem(1, 6), row++, 0);
  for (int i = 1; i <= 6; ++i) {
    QPushButton* b = AddButton(bar, QString("MDATA%1").arg(i), QString(), {}, i);
    b->setProperty("hint", "このボタン名は環境設定にて変更できます");
    b->setToolTip("このボタン名は環境設定にて変更できます");
    g->addWidget(b, row++, 0, 1, 2);
  }
  g->addItem(new QSpacerItem(1, 6), row++, 0);
  for (int i = 1; i <= 12; ++i) g->addWidget(AddButton(bar, QString("tcode%1").arg(i), QString(), {}, i), row + (i - 1) / 2, (i - 1) % 2);
  row += 6;
  g->setRowStretch(row, 1);
  bar->setFixedWidth(124);
}

QWidget* TFZANTRO::BuildCommandButtons() {
  auto* panel = new QFrame(this);
  panel->setObjectName("Panel26");
  components_["Panel26"] = panel;
  auto* g = new QGridLayout(panel);
  g->setContentsMargins(3, 3, 3, 3);
  g->setSpacing(2);
  struct B { const char* name; const char* caption; const char* hint; int tag; };
  // Three rows: moving and selecting, changing lines, the sheet and the document.
  static const B buttons[] = {
      {"GradBtn2", "Top", "top_line", 0},         {"GradBtn3", "Last", "Last_Line", 0},
      {"GradBtn11", "全選択", "all_select", 0},    {"GradBtn12", "全解除", "all_cancel", 0},
      {"GradBtn1", "複　写", "copy", 0},           {"GradBtn4", "貼付1", "paste1", 0},
      {"GradBtn16", "貼 付2", "paste2", 0},        {"GradBtn5", "割　込", "insert", 0},
      {"GradBtn7", "削　除", "delete", 0},         {"GradBtn6", "消　去", "erase", 0},
      {"GradBtn33", "Undo", "undo", 0},
      {"GradBtn13", "上移動", "move_up", 0},       {"GradBtn14", "下移動", "move_down", 0},
      {"GradBtn15", "プロパティ", "dataproperty", 0}, {"GradBtn29", "合　計", "sumline", 0},
      {"GradBtn30", "経費類", "keihi", 0},         {"GradBtn36", "消費税", "taxin", 0},
      {"GradBtn35", "特記事項", "note_in", 0},     {"GradBtn37", "桁設定", "ketain", 0},
      {"GradBtn9", "Parts Load", "part_load", 0},  {"GradBtn17", "Parts Save", "part_save", 0},
      {"GradBtn8", "Csv Out", "csv_out", 0},
      {"GradBtn34", "内訳表", "", 0},              {"GradBtn32", "内訳入力", "uchiwake_title", 0},
      {"GradBtn39", "内訳名", "", 0},              {"netbt", "Net", "", 6},
      {"GradBtn23", "Offer", "", 0},               {"GradBtn31", "", "", 0},
      {"GradBtn41", "表  紙", "title_in", 0},      {"GradBtn40", "印  刷", "print", 0},
      {"GradBtn38", "電　卓", "calc", 0},          {"GradBtn42", "終  了", "close", 0}};
  int i = 0;
  for (const auto& b : buttons) {
    QPushButton* button = AddButton(panel, b.name, b.caption, b.hint, b.tag);
    button->setMinimumWidth(40);
    g->addWidget(button, i / 11, i % 11);
    ++i;
  }
  return panel;
}

QWidget* TFZANTRO::BuildTotalsPanel() {
  auto* panel = new QFrame(this);
  panel->setObjectName("TotalsPanel");
  auto* g = new QGridLayout(panel);
  g->setContentsMargins(6, 3, 6, 3);
  g->setHorizontalSpacing(4);
  g->setVerticalSpacing(2);
  const char* heads[] = {"", "原　価", "提出金額", "差　額", "利益率"};
  for (int c = 1; c < 5; ++c) {
    auto* l = new QLabel(heads[c], panel);
    l->setAlignment(Qt::AlignCenter);
    l->setProperty("caption", true);
    g->addWidget(l, 0, c);
  }
  auto* sheet = new QLabel("明細合計", panel);
  auto* all = new QLabel("総 合 計", panel);
  sheet->setProperty("caption", true);
  all->setProperty("caption", true);
  g->addWidget(sheet, 1, 0);
  g->addWidget(all, 2, 0);
  const char* names[2][4] = {{"SUBNBOX", "SUBGBOX", "gsagaku", "AV1PL"}, {"NTOTALBOX", "GTOTALBOX", "nsagaku", "AV2PL"}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 4; ++c) {
      QLabel* l = AddLabel(panel, names[r][c], "0");
      l->setProperty("money", true);
      l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      l->setMinimumWidth(c == 3 ? 48 : 104);
      g->addWidget(l, r + 1, c + 1);
    }
  return panel;
}

}  // namespace zantro
