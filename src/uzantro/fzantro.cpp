// The window object: construction, component lookup, the event boundary and Qt's events.
#include "uzantro/fzantro.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "general/money.h"
#include "platform/cp932.h"
#include "platform/progress.h"
#include "platform/runtime.h"
#include "platform/transport.h"
#include "uzantro/sheetcommands.h"

namespace zantro {
namespace {
TFZANTRO* g_main = nullptr;
}

TFZANTRO* MainWindow() { return g_main; }

QString Q(std::string_view cp932) { return QString::fromStdString(ToUtf8(cp932)); }
std::string Sjis(const QString& text) { return ToCp932(text.toStdString()); }

TFZANTRO::TFZANTRO(const WindowSetup& s)
    : programFolder_(s.ProgramFolder),
      executableName_(s.ExecutableName),
      startupDocument_(s.StartupDocument),
      workArea_(s.WorkArea),
      screenSize_(s.ScreenSize),
      headless_(s.Headless),
      dialogs_(s.dialogs),
      launcher_(s.launcher) {
  g_main = this;
  CompanionCommand = [this](int id, const std::string& text) {
    if (id != 1) return;
    if (const MessageHandler* handler = FindMessage(FieldOf(text, 1))) (*handler)(text);
  };
  setAttribute(Qt::WA_DeleteOnClose, false);
  BuildComponents();
  ConnectHandlers();
  ConnectMenuCommands();
  RegisterViewCommands();
  InstallSheetCommands(*this);
  Guard([this] { FormCreate(); });
}

TFZANTRO::~TFZANTRO() {
  if (g_main == this) g_main = nullptr;
}

QObject* TFZANTRO::Component(const QString& name) const {
  auto it = components_.find(name);
  if (it != components_.end()) return it->second;
  if (name == "FZANTRO") return const_cast<TFZANTRO*>(this);
  return findChild<QObject*>(name);
}

QAction* TFZANTRO::Action(const QString& name) const { return qobject_cast<QAction*>(Component(name)); }
QPushButton* TFZANTRO::Button(const QString& name) const { return qobject_cast<QPushButton*>(Component(name)); }
QLabel* TFZANTRO::Label(const QString& name) const { return qobject_cast<QLabel*>(Component(name)); }

void TFZANTRO::Guard(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const ScriptMismatch&) {
    throw;  // the script itself is wrong; its runner ends the program
  } catch (const ProgressCancelled&) {
    // The user stopped the work before it changed anything: nothing to say.
  } catch (const std::exception& e) {
    dialogs_->ShowError(QString::fromUtf8(e.what()));
  }
}

void TFZANTRO::ReceiveFrame(uint32_t id, const std::string& text) {
  if (id != kCommandIdentifier) return;
  Guard([&] { CompanionCommand(static_cast<int>(id), text); });
}

namespace {
// A press on a panel (not on one of its buttons) is a click of the panel.
class PanelPress : public QObject {
 public:
  PanelPress(QObject* panel, std::function<void()> fn) : QObject(panel), fn_(std::move(fn)) {}
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::MouseButtonPress) fn_();
    return QObject::eventFilter(watched, e);
  }

 private:
  std::function<void()> fn_;
};
}  // namespace

void TFZANTRO::ConnectHandlers() {
  if (QObject* panel = Component("Panel26")) panel->installEventFilter(new PanelPress(panel, [this, panel] { OnActivated(panel); }));
  for (auto& [name, obj] : components_) {
    QObject* o = obj;
    if (auto* a = qobject_cast<QAction*>(o)) {
      if (a->menu()) continue;
      connect(a, &QAction::triggered, this, [this, o] { OnActivated(o); });
    } else if (auto* b = qobject_cast<QPushButton*>(o)) {
      connect(b, &QPushButton::clicked, this, [this, o] { OnActivated(o); });
    }
  }
  // Only the user's click runs the change handler; the program's own index changes do not.
  connect(tabs_, &ItemTabBar::tabBarClicked, this, [this](int index) { TabClicked(index); });
  connect(grid_, &TStringGrid::dblClick, this, [this] {
    if (!waiting_) Guard([this] { StrColGrid1DblClick(); });
  });
  connect(grid_, &TStringGrid::handlerError, this, [this](const QString& m) { dialogs_->ShowError(m); });
  connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
    auto* menu = qobject_cast<QMenu*>(Component(SheetMode() ? "PopupMenu1" : "Popup_item_Menu"));
    if (menu && !menu->isEmpty()) menu->popup(grid_->viewport()->mapToGlobal(p));
  });
  connect(levelBox_, &QComboBox::activated, this, [this](int) { Guard([this] { ApplyLevelChecks(); }); });
}

void TFZANTRO::OnActivated(QObject* component) {
  if (waiting_) return;  // the user's input waits for the companion
  Guard([&] {
    auto it = clicks_.find(component->objectName());
    if (it != clicks_.end()) return it->second(component);
    if (component->property("hint").toString().isEmpty()) return;
    if (qobject_cast<QPushButton*>(component)) Operate_btnClick(component);
    else popup_menu_itemClick(component);
  });
}

void TFZANTRO::TabClicked(int index) {
  if (waiting_ || index < 0 || index >= tabs_->count() || index == tabs_->currentIndex()) return;
  Guard([&] {
    SaveUnsavedSheet();  // the sheet is left: its lines must not be lost with it
    SelectTab(index);
    TabControl1Change(index);
  });
}

void TFZANTRO::RegisterCommand(const QString& word, CommandMode mode, CommandHandler handler) {
  commands_.Register(word, mode, std::move(handler));
}

void TFZANTRO::RegisterMessage(const std::string& name, MessageHandler handler) {
  if (!messages_.emplace(name, std::move(handler)).second)
    throw std::logic_error("message " + name + " registered twice");
}

const TFZANTRO::MessageHandler* TFZANTRO::FindMessage(const std::string& name) const {
  auto it = messages_.find(name);
  return it == messages_.end() ? nullptr : &it->second;
}

void TFZANTRO::RegisterClick(const QString& name, std::function<void()> handler) {
  clicks_[name] = [handler = std::move(handler)](QObject*) { handler(); };
}

void TFZANTRO::RegisterItemClick(const QString& name, std::function<void(QObject* item)> handler) {
  clicks_[name] = std::move(handler);
}

bool TFZANTRO::AddMenuItem(const QString& menuName, const QString& name, const QString& caption) {
  auto* menu = qobject_cast<QMenu*>(Component(menuName));
  if (!menu) return false;
  menu->addSeparator();
  QAction* a = AddItem(menu, name, caption);
  connect(a, &QAction::triggered, this, [this, a] { OnActivated(a); });
  return true;
}

void TFZANTRO::closeEvent(QCloseEvent* e) {
  if (waiting_) {
    // The companion waited for still works on the sheet: the window closes after it ends.
    closeAfterWait_ = true;
    e->ignore();
    return;
  }
  bool allow = closingAllowed_;
  if (!allow) Guard([&] { allow = FormCloseQuery(); });
  if (!allow) {
    e->ignore();
    return;
  }
  Guard([this] { FormDestroy(); });
  e->accept();
  emit closed();
}

void TFZANTRO::CloseWithoutQuestion() {
  doc_.DocumentModified = false;
  closingAllowed_ = true;
  close();
}

void TFZANTRO::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (formTag_ == 0) Guard([this] { FormShow(); });
}

void TFZANTRO::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  // The price-level panel does not fit a narrow window and comes back when the window is wide
  // again (on a screen narrower than 1100 it never shows). The form's width is that of its
  // frame, as in the position file (the designed 1100 fits).
  if (formTag_ == 0) return;
  if (auto* panel = qobject_cast<QWidget*>(Component("Panel32")))
    panel->setVisible(frameGeometry().width() >= 1100 && screenSize_.width() >= 1100);
}

}  // namespace zantro
