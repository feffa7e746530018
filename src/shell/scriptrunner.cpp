#include "shell/scriptrunner.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

#include "platform/cp932.h"
#include "platform/gui/dialogs.h"
#include "platform/progress.h"
#include "shell/menustate.h"

namespace zantro {
namespace {

// A script line is a verb and a short argument; standard input without line breaks (a
// device) ends the script instead of filling the memory.
constexpr size_t kMaxScriptLine = 64 * 1024;

}  // namespace

QString EscapeOutput(const QString& text, const QString& programFolder) {
  QString t = text;
  if (!programFolder.isEmpty()) t.replace(programFolder, "$PROGRAM");
  t.replace("\\", "\\\\");
  t.replace("\t", "\\t");
  t.replace("\r\n", "\\n");
  t.replace("\r", "\\n");
  t.replace("\n", "\\n");
  return t;
}

void ScriptRunner::Pump() { QApplication::processEvents(QEventLoop::AllEvents); }

QString ScriptRunner::Quote(const QString& text) { return QString::fromStdString(QuoteUtf8(text.toStdString())); }

int ScriptRunner::ToInt(const QString& s, const char* what) {
  bool ok = false;
  int v = s.trimmed().toInt(&ok);
  if (!ok) Fail(QString("%1 is not a number: %2").arg(what, Quote(s)));
  return v;
}

namespace {

// One line of in without its LF; false at the end of the input. The line is read only up to
// its bound, so a stream without line breaks (a device) ends the script instead of filling
// the memory.
bool ReadScriptLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buf = in.rdbuf();
  bool any = false;
  for (int c = buf->sbumpc(); c != std::char_traits<char>::eof(); c = buf->sbumpc()) {
    any = true;
    if (c == '\n') return true;
    if (line.size() == kMaxScriptLine) ScriptRunner::Fail(QString("the line is longer than %1 bytes").arg(kMaxScriptLine));
    line += static_cast<char>(c);
  }
  return any;
}

// Keys the test driver can type: printable ASCII (a sequence holds letters in upper case) and
// the named keys up to the function keys and the navigation keys after them. Other codes (an
// unknown name, a character such as "あ") are not keys of a keyboard and would abort the driver.
bool TypableKey(Qt::Key key) {
  const int k = key;
  auto in = [k](int first, int last) { return k >= first && k <= last; };
  return in(0x20, 0x60) || in(0x7b, 0x7e) || in(Qt::Key_Escape, Qt::Key_Clear) || in(Qt::Key_Home, Qt::Key_PageDown) ||
         in(Qt::Key_Shift, Qt::Key_ScrollLock) || in(Qt::Key_F1, Qt::Key_Direction_L) ||
         in(Qt::Key_Direction_R, Qt::Key_Refresh);
}

}  // namespace

ScriptRunner::ScriptRunner(ScriptRoot root, ScriptedDialogs* dialogs, std::function<void(const QString&)> write,
                           QString programFolder)
    : root_(std::move(root)),
      widget_(root_.widget),
      dialogs_(dialogs),
      write_(std::move(write)),
      programFolder_(std::move(programFolder)) {
  if (!root_.find) {
    root_.find = [w = root_.widget](const QString& name) -> QObject* {
      if (w->objectName() == name) return w;
      return w->findChild<QObject*>(name);
    };
  }
  if (!root_.guard) {
    root_.guard = [this](const std::function<void()>& fn) {
      try {
        fn();
      } catch (const ScriptMismatch&) {
        throw;
      } catch (const ProgressCancelled&) {
      } catch (const std::exception& e) {
        dialogs_->ShowError(QString::fromUtf8(e.what()));
      }
    };
  }
  if (!root_.finish) root_.finish = [this] { if (widget_) widget_->close(); };
  AddBuiltInVerbs();
}

void ScriptRunner::AddVerb(const QString& name, Verb verb) {
  if (!verbs_.emplace(name, std::move(verb)).second)
    throw std::logic_error("script verb registered twice: " + name.toStdString());
}

int ScriptRunner::Run(std::istream& in) {
  return RunLines([&in](std::string& line) { return ReadScriptLine(in, line); });
}

int ScriptRunner::RunStandardInput() {
  std::string pending;
  bool end = false;
  return RunLines([&](std::string& line) {
    for (;;) {
      size_t lf = pending.find('\n');
      if (lf != std::string::npos) {
        line = pending.substr(0, lf);
        pending.erase(0, lf + 1);
        return true;
      }
      if (end) {
        line = std::move(pending);
        pending.clear();
        return !line.empty();
      }
      if (pending.size() > kMaxScriptLine) Fail(QString("the line is longer than %1 bytes").arg(kMaxScriptLine));
      pollfd p{0, POLLIN, 0};
      if (::poll(&p, 1, 10) <= 0) {
        Pump();  // companions are served while the next line is awaited
        continue;
      }
      char buf[4096];
      ssize_t n = ::read(0, buf, sizeof buf);
      if (n > 0) pending.append(buf, static_cast<size_t>(n));
      else if (n == 0 || errno != EINTR) end = true;
    }
  });
}

int ScriptRunner::RunLines(const std::function<bool(std::string&)>& next) {
  std::string line;
  int number = 0;
  try {
    // Counted before the read, so a line refused while it is read is named by its number.
    while (++number, next(line)) {
      try {
        RunLine(line);
      } catch (const ScriptMismatch& e) {
        Fail(QString::fromUtf8(e.what()));
      }
      std::fflush(stdout);
    }
  } catch (const ScriptError& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "script:%d: %s\n", number, e.text.toUtf8().constData());
    return 2;
  }
  Finish();
  int unused = dialogs_->FlushUnused();
  std::fflush(stdout);
  return unused > 0 ? 2 : 0;
}

void ScriptRunner::Finish() {
  if (closed_) return;
  root_.finish();
  Pump();
  closed_ = true;
}

void ScriptRunner::RunLine(const std::string& raw) {
  std::string text = raw;
  if (!text.empty() && text.back() == '\r') text.pop_back();
  if (text.empty() || text[0] == '#') return;
  QString line = QString::fromStdString(text);
  int blank = line.indexOf(' ');
  QString verb = blank < 0 ? line : line.left(blank);
  QString arg = blank < 0 ? QString() : line.mid(blank + 1);
  if (closed_) Fail("the window was closed: " + Quote(verb));
  auto it = verbs_.find(verb);
  if (it == verbs_.end()) Fail("unknown verb: " + Quote(verb));
  it->second(arg, blank >= 0);
  Pump();
  // The window may have gone by the verb or by a command it received meanwhile.
  closed_ = widget_.isNull() || !widget_->isVisible();
}

QObject* ScriptRunner::Need(const QString& name) {
  QObject* o = root_.find(name);
  if (!o) Fail("unknown component: " + Quote(name));
  return o;
}

void ScriptRunner::AddBuiltInVerbs() {
  auto answer = [this](ScriptAnswer::Kind kind, bool cancel) {
    return [this, kind, cancel](const QString& arg, bool hasArg) {
      if ((kind == ScriptAnswer::File || kind == ScriptAnswer::Folder) && !cancel && (!hasArg || arg.isEmpty()))
        Fail("unknown verb: " + QString(kind == ScriptAnswer::File ? "file" : "folder"));
      ScriptAnswer a;
      a.kind = kind;
      a.cancel = cancel;
      a.text = arg;
      dialogs_->Queue(a);
    };
  };
  AddVerb("click", [this](const QString& arg, bool) { Click(arg, false); });
  AddVerb("shift-click", [this](const QString& arg, bool) { Click(arg, true); });
  AddVerb("key", [this](const QString& arg, bool) { Key(arg); });
  AddVerb("choose", [this](const QString& arg, bool) { Choose(arg); });
  AddVerb("set", [this](const QString& arg, bool) { Set(arg); });
  AddVerb("rows", [this](const QString& arg, bool) { Rows(arg); });
  AddVerb("resize", [this](const QString& arg, bool) {
    QStringList parts = arg.split(' ', Qt::SkipEmptyParts);
    if (parts.size() != 2) Fail("resize W H");
    widget_->resize(ToInt(parts[0], "W"), ToInt(parts[1], "H"));
  });
  AddVerb("answer", [this](const QString& arg, bool) {
    if (arg != "yes" && arg != "no" && arg != "cancel") Fail("answer yes|no|cancel");
    ScriptAnswer a;
    a.kind = ScriptAnswer::Ask;
    a.yes = arg == "yes";
    a.last = arg == "cancel";  // the last button of a choice; "no" for a yes/no question
    dialogs_->Queue(a);
  });
  AddVerb("input", answer(ScriptAnswer::Input, false));
  AddVerb("input-cancel", answer(ScriptAnswer::Input, true));
  AddVerb("file", answer(ScriptAnswer::File, false));
  AddVerb("file-cancel", answer(ScriptAnswer::File, true));
  AddVerb("folder", answer(ScriptAnswer::Folder, false));
  AddVerb("folder-cancel", answer(ScriptAnswer::Folder, true));
  AddVerb("close", [this](const QString&, bool) { widget_->close(); });
  AddVerb("get", [this](const QString& arg, bool) { Get(arg); });
  AddVerb("state", [this](const QString& arg, bool) { State(arg); });
  AddVerb("focus", [this](const QString&, bool) { Focus(); });
  AddVerb("prop", [this](const QString& arg, bool) { Prop(arg); });
  AddVerb("screenshot", [this](const QString& arg, bool) {
    if (!widget_->grab().save(arg, "PNG")) Fail("cannot write " + Quote(arg));
  });
  AddVerb("sleep", [this](const QString& arg, bool) { Sleep(arg); });
  // "progress on": the steps of long work are printed from here on ("progress off" stops).
  AddVerb("progress", [this](const QString& arg, bool) {
    if (arg != "on" && arg != "off") Fail("progress on|off");
    dialogs_->ShowProgress(arg == "on");
  });
  // The user stops the next long work at its step N (its bar's value, counted from 0).
  AddVerb("stop-at", [this](const QString& arg, bool) { dialogs_->StopProgressAt(ToInt(arg, "N")); });
  // Whether the window's frame (its title bar and borders included) lies within the work area
  // of its screen: "frame: inside", else both rectangles as "X Y W H".
  AddVerb("frame", [this](const QString&, bool) {
    auto text = [](const QRect& r) { return QString("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); };
    QScreen* screen = widget_->screen() ? widget_->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const QRect frame = widget_->frameGeometry();
    Say(area.contains(frame) ? QString("frame: inside")
                             : "frame: " + text(frame) + " outside the work area " + text(area));
  });
  AddVerb("wait", [this](const QString& arg, bool) { WaitFile(arg); });
}

void ScriptRunner::Click(const QString& name, bool shift) {
  QObject* o = Need(name);
  bool usable = false;
  if (auto* a = qobject_cast<QAction*>(o)) usable = ActionReachable(a);
  else if (auto* b = qobject_cast<QAbstractButton*>(o)) usable = b->isEnabled() && b->isVisible();
  else Fail("not clickable: " + Quote(name));
  if (!usable) return Say("disabled: " + name);
  SetScriptedShift(shift);
  if (auto* a = qobject_cast<QAction*>(o)) a->trigger();
  else qobject_cast<QAbstractButton*>(o)->click();
  SetScriptedShift(std::nullopt);
}

void ScriptRunner::Key(const QString& sequence) {
  QKeySequence seq(sequence);
  bool typable = !seq.isEmpty();
  for (int i = 0; i < seq.count(); ++i) typable = typable && TypableKey(seq[i].key());
  if (!typable) Fail("not a key sequence: " + Quote(sequence));
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : widget_.data();
  QTest::keySequence(target, seq);
}

void ScriptRunner::Choose(const QString& arg) {
  QStringList parts = arg.split(' ', Qt::SkipEmptyParts);
  if (parts.size() != 2) Fail("choose NAME INDEX");
  QObject* o = Need(parts[0]);
  int index = ToInt(parts[1], "INDEX");
  if (auto* box = qobject_cast<QComboBox*>(o)) {
    if (index < 0 || index >= box->count()) Fail("cannot choose " + Quote(arg));
    if (!box->isEnabled()) return Say("disabled: " + parts[0]);
    box->setCurrentIndex(index);
    emit box->activated(index);
    return;
  }
  auto* view = qobject_cast<QAbstractItemView*>(o);
  if (!view || !view->model() || index < 0 || index >= view->model()->rowCount()) Fail("cannot choose " + Quote(arg));
  // A click on the row: it becomes current and selected, then the click signals run.
  QModelIndex row = view->model()->index(index, 0);
  view->setCurrentIndex(row);
  view->scrollTo(row);
  emit view->clicked(row);
}

void ScriptRunner::Set(const QString& arg) {
  int blank = arg.indexOf(' ');
  QString name = blank < 0 ? arg : arg.left(blank);
  QString text = blank < 0 ? QString() : arg.mid(blank + 1);
  QObject* o = Need(name);
  QLineEdit* edit = qobject_cast<QLineEdit*>(o);
  if (auto* box = qobject_cast<QComboBox*>(o)) edit = box->isEditable() ? box->lineEdit() : nullptr;
  if (!edit) Fail("not an edit box: " + Quote(name));
  if (!edit->isEnabled() || edit->isReadOnly()) return Say("disabled: " + name);
  // As typed: the old text selected and replaced (the validator sees it, textEdited runs),
  // then the field is left (editingFinished runs when the text is acceptable).
  edit->setFocus(Qt::TabFocusReason);
  edit->selectAll();
  edit->insert(text);
  if (edit->hasAcceptableInput()) emit edit->editingFinished();
}

void ScriptRunner::Rows(const QString& name) {
  auto* view = qobject_cast<QAbstractItemView*>(Need(name));
  if (!view || !view->model()) Fail("not a list or table: " + Quote(name));
  const QAbstractItemModel* m = view->model();
  for (int r = 0; r < m->rowCount(); ++r) {
    QString line = "row " + name + "\t" + QString::number(r);
    for (int c = 0; c < m->columnCount(); ++c)
      line += "\t" + EscapeOutput(m->index(r, c).data(Qt::DisplayRole).toString(), programFolder_);
    write_(line);
  }
}

void ScriptRunner::Get(const QString& name) {
  QObject* o = Need(name);
  QString text;
  if (o == widget_) text = widget_->windowTitle();
  else if (auto* l = qobject_cast<QLabel*>(o)) text = l->text();
  else if (auto* e = qobject_cast<QLineEdit*>(o)) text = e->text();
  else if (auto* b = qobject_cast<QAbstractButton*>(o)) text = b->text();
  else if (auto* a = qobject_cast<QAction*>(o)) text = a->text();
  else if (auto* m = qobject_cast<QMenu*>(o)) text = m->title();
  else if (auto* c = qobject_cast<QComboBox*>(o)) text = c->currentText();
  else if (auto* p = qobject_cast<QPlainTextEdit*>(o)) text = p->toPlainText();
  else if (auto* t = qobject_cast<QTextEdit*>(o)) text = t->toPlainText();
  else if (auto* list = qobject_cast<QListWidget*>(o)) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
    text = entries.join("\t");
  }
  Say("get " + name + "=" + text);
}

// "focus": the named widget that has the keyboard (the box around an unnamed inner edit).
void ScriptRunner::Focus() {
  QWidget* w = QApplication::focusWidget();
  while (w && w->objectName().isEmpty()) w = w->parentWidget();
  Say("focus " + (w ? w->objectName() : QString("(none)")));
}

void ScriptRunner::State(const QString& name) {
  QObject* o = Need(name);
  bool visible = false, enabled = false, checked = false;
  // Own flags: a hidden item keeps its enabled flag, an item of a disabled menu its own.
  if (auto* a = qobject_cast<QAction*>(o)) {
    visible = a->isVisible(), enabled = OwnEnabled(a), checked = a->isCheckable() && a->isChecked();
  } else if (auto* m = qobject_cast<QMenu*>(o)) {
    visible = m->menuAction()->isVisible(), enabled = OwnEnabled(m->menuAction());
  } else if (auto* w = qobject_cast<QWidget*>(o)) {
    visible = !w->isHidden(), enabled = !w->testAttribute(Qt::WA_Disabled);
    if (auto* b = qobject_cast<QAbstractButton*>(w)) checked = b->isCheckable() && b->isChecked();
  }
  Say(QString("state %1 visible=%2 enabled=%3 checked=%4").arg(name).arg(int(visible)).arg(int(enabled)).arg(int(checked)));
}

void ScriptRunner::Prop(const QString& arg) {
  int blank = arg.indexOf(' ');
  if (blank < 0) Fail("prop NAME PROPERTY");
  QString name = arg.left(blank), property = arg.mid(blank + 1);
  QObject* o = Need(name);
  QString value;
  auto* a = qobject_cast<QAction*>(o);
  if (property == "tag") value = QString::number(o->property("tag").toInt());
  else if (property == "hint") value = o->property("hint").toString();
  else if (property == "shortcut") value = a ? a->shortcut().toString() : QString();
  else if (property == "caption") {
    if (a) value = a->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(o)) value = b->text();
    else if (auto* l = qobject_cast<QLabel*>(o)) value = l->text();
    else if (auto* m = qobject_cast<QMenu*>(o)) value = m->title();
    else if (o == widget_) value = widget_->windowTitle();
  } else if (property == "checked") value = QString::number(a && a->isChecked() ? 1 : 0);
  else if (QVariant v = o->property(property.toUtf8().constData()); v.isValid()) value = v.toString();  // any Qt property
  else Fail("unknown property: " + Quote(property));
  Say("prop " + name + " " + property + "=" + value);
}

void ScriptRunner::Sleep(const QString& arg) {
  int ms = ToInt(arg, "MS");
  QElapsedTimer t;
  t.start();
  // A window closed meanwhile (a companion command) has nothing left to wait for.
  while (t.elapsed() < ms && widget_ && widget_->isVisible()) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QTest::qSleep(5);
  }
}

void ScriptRunner::WaitFile(const QString& path) {
  if (path.isEmpty()) Fail("wait FILE");
  QElapsedTimer t;
  t.start();
  // A companion started by the window leaves a mark when it ended; its commands are served
  // meanwhile. A mark that never comes is a fault of the test, not a hang.
  while (!QFileInfo::exists(path)) {
    if (t.elapsed() > 60000) Fail("no file " + path + " after 60 s");
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QTest::qSleep(5);
  }
}

}  // namespace zantro
