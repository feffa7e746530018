// Start-up, configuration and shut-down of the window: FormCreate, FormShow, the captions
// derived from the configuration, the price levels, FormCloseQuery and FormDestroy.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProxyStyle>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>

#include "general/workfiles.h"
#include "platform/clock.h"
#include "platform/conffile.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/runtime.h"
#include "platform/launcher.h"
#include "uzantro/companionclasses.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

constexpr int kDesignedWidth = 1100, kDesignedHeight = 760;


const char* kPipingFolders[] = {"弁類1", "弁類2", "衛生器具", "排水器具", "特殊部品"};

std::string PositionFile(const std::string& folder, const std::string& exeName) {
  std::string stem = exeName;
  auto dot = stem.rfind('.');
  if (dot != std::string::npos && dot > 0) stem.resize(dot);
  return ResolveNoCase(folder, stem + ".ini");
}

QString ConfText(const std::string& folder, const char* key) {
  return Q(ReadConfValue(folder, kZantroConf, key).value_or(""));
}

// The application's style with the hint delay of the window: a hint shows after 600 ms.
class HintStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* ret) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return 600;
    return QProxyStyle::styleHint(hint, option, widget, ret);
  }
};

// Hints on, lime (65280), after 600 ms.
void ApplyHintSettings() {
  if (!dynamic_cast<HintStyle*>(QApplication::style()))
    QApplication::setStyle(new HintStyle(QApplication::style()->name()));
  QPalette tip = QToolTip::palette();
  tip.setColor(QPalette::ToolTipBase, ColorFromNumber(65280));
  QToolTip::setPalette(tip);
}

}  // namespace

void TFZANTRO::FormCreate() {
  programEdition_ = EditionFromName(executableName_);
  setWindowTitle(programEdition_ == 0 ? "ザントロ-スタンドアロン版-Ferrowind-" : "ザントロ-ネットワーク版-Ferrowind-");
  IniFile ini(PositionFile(programFolder_, executableName_));
  const QRect& wa = workArea_;
  int top = ini.ReadInteger("FZANTRO", "top", wa.top());
  int left = ini.ReadInteger("FZANTRO", "left", wa.left());
  int width = std::clamp(ini.ReadInteger("FZANTRO", "width", kDesignedWidth), 200, wa.width());
  int height = std::clamp(ini.ReadInteger("FZANTRO", "height", kDesignedHeight), 150, wa.height());
  // The work area's right and bottom edges lie just past its last pixel (QRect's right() and
  // bottom() are the last pixel itself).
  const int right = wa.left() + wa.width(), bottom = wa.top() + wa.height();
  if (left > right - 100 || left < wa.left()) left = wa.left();
  if (top < wa.top() || top > bottom - 100) top = wa.top();
  move(left, top);
  resize(width, height);
  framePos_ = QPoint(left, top);
  frameSize_ = QSize(width, height);  // the frame's size: applied once the frame is known
  ApplyCompanionPresence();
}

// The position file holds the frame; the client area is the frame less its borders. Returns
// whether the borders were known.
bool TFZANTRO::ApplyFrameGeometry() {
  const QSize border = frameGeometry().size() - size();
  resize(frameSize_ - border);
  if (border.isNull()) return false;
  if (frameGeometry().topLeft() != framePos_) move(framePos_);
  return true;
}

// A window manager frames the window only after it is first shown, and until then it has no
// borders: the geometry is applied again as soon as they are known, so that the geometry read
// is the geometry written back (else the frame would grow by its borders at every start). A
// desktop without a window manager never gives borders; the checks then end after two seconds.
void TFZANTRO::AwaitFrame(int triesLeft) {
  if (triesLeft <= 0 || ApplyFrameGeometry()) return;
  QTimer::singleShot(20, this, [this, triesLeft] { AwaitFrame(triesLeft - 1); });
}

void TFZANTRO::ApplyCompanionPresence() {
  if (CompanionPresent(programFolder_, "takeoff.exe")) {
    Label("CODE")->setText("数量調書");
    Action("option_00")->setVisible(true);
  }
  if (CompanionPresent(programFolder_, "pipemat_dlg.exe"))
    qobject_cast<QMenu*>(Component("haikan"))->menuAction()->setVisible(true);
  if (CompanionPresent(programFolder_, "pipefit_dlg.exe")) {
    for (int i = 0; i < 5; ++i)
      Action(QString("option_0%1").arg(i + 2))->setText(QString(kPipingFolders[i]) + "入力ダイアログ-複合単価管理-配管付属品-");
  }
  if (CompanionPresent(programFolder_, "sheetduct_dlg.exe"))
    qobject_cast<QMenu*>(Component("dact"))->menuAction()->setVisible(true);
  if (CompanionPresent(programFolder_, "TAKESUM.exe")) {
    Button("GradBtn31")->setText("調書集計");
    Button("GradBtn31")->setProperty("hint", "datasort");
  }
}

void TFZANTRO::FormShow() {
  formTag_ = 1;
  ApplyHintSettings();
  // The offscreen platform of the headless front has no window manager to wait for.
  if (!ApplyFrameGeometry() && QGuiApplication::platformName() != "offscreen") AwaitFrame(100);
  // The work files of the previous run become backups; the configuration is read before
  // the empty document's first item takes the settings in force.
  doc_.Settings = conf_.Settings;
  InitDocument(doc_, programFolder_, true);
  ApplyConfiguration();
  grid_->SetColCount(doc_.Layout == ColumnLayout::Ten ? 10 : 9);
  grid_->SetRowCount(101);
  doc_.DocumentModified = false;
  doc_.CurrentItem = 1;
  doc_.CurrentLine = 1;
  SetColumnHeaders();
  ShowTotals(0);
  RefreshSheet();
  ShowTitleBoxes();
  ApplyPriceLevels();
  if (!startupDocument_.empty()) {
    // A document that cannot be read leaves the empty document; start-up goes on.
    if (OpenDocument(QString::fromStdString(startupDocument_))) {
      SaveSheetTo("UND");
      SaveSheetTo("WRK");
    }
  }
  ApplyTitleCaptions();
  if (screenSize_.width() < 1100) static_cast<QWidget*>(Component("Panel32"))->hide();
  if (SheetMode()) ApplySheetLayout();
  if (programEdition_ == 1) Label("BoxCaption1")->setText("ザントロVer2-Network版");
  SaveHeadTo("UND");
  SaveHeadTo("WRK");
  doc_.DocumentModified = false;
  bool onSheet = SheetMode();
  RebuildItemTabs();
  if (onSheet) {
    EnterSheetMode();
  } else if (tabs_->count() > 1) {
    // A start-up document of several items opens at tab 1, the first item's sheet, with the
    // edit menu on: the sheet is opened as a click on that tab opens it.
    SelectTab(1);
    TabControl1Change(1);
  }
  if (Label("CODE")->text() == "数量調書")
    Label("keito_name")->setText("数量調書が使用できます。下のヘルメットアイコンから入れます");
}

void TFZANTRO::ApplyConfiguration() {
  LoadZantroConf(conf_, programFolder_);
  doc_.Settings = conf_.Settings;
  doc_.Configured = conf_.Settings;
  doc_.Layout = conf_.Layout;
  doc_.GroupNames = conf_.GroupNames;
  if (doc_.IsItem(1)) doc_.ItemList[1].SetSettings(doc_.Settings);
  // The breakdown-level overheads fold and round with the unit and addend of the configuration.
  doc_.Title.KETA = static_cast<int32_t>(doc_.Settings.Opt3Unit.raw / Money::kScale);
  doc_.Title.CUTLEVEL = doc_.Settings.Opt4RoundAddend;
  // The empty document's title carries the layout and group names in force, so that opening
  // its sheet again (which reads them back from the title) keeps what the user chose.
  doc_.Title.Opt1Int = static_cast<int32_t>(doc_.Layout);
  doc_.Title.Opt1Str.set(JoinGroupNames(doc_.GroupNames));
  dataDir_ = conf_.DataDir;
  for (int i = 0; i < 6; ++i) {
    QPushButton* b = Button(QString("gbtn0%1").arg(i + 2));
    QString code = conf_.CodeNameSet[i] ? Q(conf_.CodeNames[i]) : QString("CODE%1").arg(i + 1);
    b->setText(code);
    Action(QString("code%1").arg(i + 1))->setText(code);
    Action(QString("rcode%1").arg(i + 1))->setText(code + "登録");
    Action(QString("CODE%1").arg(i + 11))->setText(code + "へ登録");
    Action(QString("CODE%1").arg(i + 17))->setText(code + "へ登録");
    QString multi = Q(conf_.MultiNames[i]);
    Action(QString("rdata%1").arg(i + 1))->setText(multi);
    Action(QString("rdata%1").arg(i + 11))->setText(multi + "へ登録");
    Action(QString("rdata%1").arg(i + 17))->setText(multi + "へ登録");
    Action(QString("rmdata%1").arg(i + 1))->setText(multi + "登録");
  }
  for (int i = 0; i < 12; ++i) {
    QString tree = Q(conf_.TreeNames[i]);
    Action(QString("Tdata%1").arg(i + 1))->setText(tree);
    Action(QString("trdata%1").arg(i + 1))->setText(tree + "登録");
    Button(QString("tcode%1").arg(i + 1))->setText(tree);
    Action(QString("data%1").arg((i + 1) * 10 + 1))->setText(tree + "へ登録");
    Action(QString("For_tree%1").arg(i + 1))->setText(tree + "へ登録");
  }
  ApplyButtonSet();
}

void TFZANTRO::ApplyButtonSet() {
  static const char* piping[] = {"配管材", "弁類1", "弁類2", "衛生器具", "排水器具", "特殊部品"};
  static const char* ducts[] = {"鉄板ダクト", "スパイラル", "吹出口類", "器具類1", "ダンパー", "器具類2"};
  for (int i = 0; i < 6; ++i) {
    QString caption = conf_.ButtonSet == 1 ? piping[i] : conf_.ButtonSet == 2 ? ducts[i] : Q(conf_.MultiNames[i]);
    Button(QString("MDATA%1").arg(i + 1))->setText(caption);
  }
  if (conf_.ButtonSet == 1 && PipingFolderNames) {
    if (auto names = PipingFolderNames())
      for (int i = 0; i < 5; ++i) Button(QString("MDATA%1").arg(i + 2))->setText(Q((*names)[i]));
  }
}

void TFZANTRO::ApplyPriceLevels() {
  PriceLevels levels = ReadPriceLevels(programFolder_);
  for (int i = 0; i < 5; ++i) {
    levelBox_->setItemText(i, Q(levels.Names[i]));
    Action((QString("Level%1").arg(i + 1) + "1"))->setText(Q(levels.Names[i]));
  }
  levelBox_->setCurrentIndex(levels.Default);
  ApplyLevelChecks();
}

void TFZANTRO::ApplyLevelChecks() {
  for (int i = 0; i < 5; ++i) Action((QString("Level%1").arg(i + 1) + "1"))->setChecked(i == levelBox_->currentIndex());
}

void TFZANTRO::ApplyTitleCaptions() {
  // An absent key empties the caption: the configuration owns these texts.
  Label("title1")->setText(ConfText(programFolder_, "[TITLE1]"));
  Label("title2")->setText(ConfText(programFolder_, "[TITLE2]"));
  struct Bar { const char* key; const char* panel; };
  for (const Bar& b : {Bar{"[Title_bar]", "GradPan4"}, Bar{"[Top_Bar]", "GradPan5"}, Bar{"[Left_Bar]", "Panel9"}}) {
    QString v = ConfText(programFolder_, b.key);
    auto* w = static_cast<QWidget*>(Component(b.panel));
    if (v == "TRUE") w->show();
    else if (v == "FALSE") w->hide();
  }
  if (ConfText(programFolder_, "[[EDIT_OPT3]]") == "2") {
    Button("MDATA1")->setText("配管材");
    std::optional<std::array<std::string, 5>> names;
    if (PipingFolderNames) names = PipingFolderNames();
    for (int i = 0; i < 5; ++i)
      Button(QString("MDATA%1").arg(i + 2))->setText(names ? Q((*names)[i]) : QString(kPipingFolders[i]));
  }
}

void TFZANTRO::ShowTitleBoxes() {
  const TitleRecord& t = doc_.Title;
  Label("ATPL")->setText(Q(t.ATESAKI_1.view()));
  Label("WHPL")->setText(Q(t.CONSTRACT_1.view()));
  Label("uchiwakebox")->setText(Q(t.WHERE.view()));
  Label("limit_date")->setText(Q(t.ULIMIT.view()));
  Label("trade")->setText(Q(t.TRADE.view()));
  Label("keito_name")->setText(doc_.IsItem(doc_.CurrentItem) ? Q(doc_.ItemList[doc_.CurrentItem].ItemName.view()) : QString());
}

bool TFZANTRO::FormCloseQuery() {
  if (!doc_.DocumentModified) return true;
  switch (dialogs_->AskChoice("編集中のデ－タを保存しますか？", {"保存", "保存しない", "キャンセル"})) {
    case 0:
      // The save companion saves and the user closes again; the window stays open meanwhile.
      SaveCommand(1);
      return false;
    case 1:
      return true;
    default:
      return false;  // キャンセル and Esc keep the window and its work
  }
}

void TFZANTRO::FormDestroy() {
  CloseCompanions(kAllCompanions);
  IniFile ini(PositionFile(programFolder_, executableName_));
  QRect frame = frameGeometry();
  ini.WriteInteger("FZANTRO", "Top", frame.top());
  ini.WriteInteger("FZANTRO", "Left", frame.left());
  ini.WriteInteger("FZANTRO", "Width", frame.width());
  ini.WriteInteger("FZANTRO", "Height", frame.height());
  std::string error;
  if (!ini.Save(&error)) dialogs_->ShowError(QString::fromStdString(error));
}

}  // namespace zantro
