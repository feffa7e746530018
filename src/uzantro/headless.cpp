#include "uzantro/headless.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "platform/cp932.h"
#include "platform/gui/dialogs.h"
#include "uzantro/fzantro.h"
#include "uzantro/menustate.h"

namespace zantro {
namespace {

// A fault of the script itself: the program ends with "script:LINE: TEXT" and status 2.
struct ScriptError {
  QString text;
};

void Pump() { QApplication::processEvents(QEventLoop::AllEvents); }

// A script line is a verb and a short argument; anything longer is not a script.
constexpr size_t kMaxScriptLine = 64 * 1024;

// The offending text of a script error, cut short.
QString Quote(const QString& text) { return QString::fromStdString(QuoteUtf8(text.toStdString())); }

int ToInt(const QString& s, const char* what) {
  bool ok = false;
  int v = s.trimmed().toInt(&ok);
  if (!ok) throw ScriptError{QString("%1 is not a number: %2").arg(what, Quote(s))};
  return v;
}

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
    if (line.size() == kMaxScriptLine)
      throw ScriptError{QString("the line is longer than %1 bytes").arg(kMaxScriptLine)};
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

int ScriptRunner::Run(std::istream& in) {
  std::string line;
  int number = 0;
  try {
    while (++number, ReadScriptLine(in, line)) {
      try {
        RunLine(line);
      } catch (const ScriptMismatch& e) {
        throw ScriptError{QString::fromUtf8(e.what())};
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
  if (destroyed_) return;
  window_->CloseWithoutQuestion();
  Pump();
  destroyed_ = true;
}

void ScriptRunner::RunLine(const std::string& raw) {
  std::string text = raw;
  if (!text.empty() && text.back() == '\r') text.pop_back();
  if (text.empty() || text[0] == '#') return;
  QString line = QString::fromStdString(text);
  int blank = line.indexOf(' ');
  QString verb = blank < 0 ? line : line.left(blank);
  QString arg = blank < 0 ? QString() : line.mid(blank + 1);
  if (destroyed_) throw ScriptError{"the window was closed: " + Quote(verb)};
  Verb(verb, arg, blank >= 0);
  Pump();
}

QObject* ScriptRunner::Need(const QString& name) {
  QObject* o = window_->Component(name);
  if (!o) throw ScriptError{"unknown component: " + Quote(name)};
  return o;
}

void ScriptRunner::Verb(const QString& verb, const QString& arg, bool hasArg) {
  auto answer = [&](ScriptAnswer::Kind k, bool cancel) {
    ScriptAnswer a;
    a.kind = k;
    a.cancel = cancel;
    a.text = arg;
    dialogs_->Queue(a);
  };
  if (verb == "click") return Click(arg, false);
  if (verb == "shift-click") return Click(arg, true);
  if (verb == "key") return Key(arg);
  if (verb == "hint") return window_->Guard([&] { window_->Dispatch(arg, nullptr); });
  if (verb == "select") {
    QStringList parts = arg.split(' ', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.size() > 2) throw ScriptError{"select TOP [BOTTOM]"};
    int top = ToInt(parts[0], "TOP"), bottom = parts.size() > 1 ? ToInt(parts[1], "BOTTOM") : top;
    int last = window_->Grid()->RowCount() - 1;
    if (top < 1 || top > last || bottom < 1 || bottom > last) throw ScriptError{"row outside 1.." + QString::number(last)};
    if (bottom < top) throw ScriptError{"BOTTOM above TOP"};
    return window_->Guard([&] { window_->Grid()->UserSelectRows(top, bottom); });
  }
  if (verb == "tab") {
    int n = ToInt(arg, "tab");
    if (n < 0 || n >= window_->Tabs()->count()) throw ScriptError{"no tab " + Quote(arg)};
    return window_->TabClicked(n);
  }
  if (verb == "dblclick") return window_->Guard([&] { window_->Grid()->UserDblClick(); });
  if (verb == "choose") {
    QStringList parts = arg.split(' ', Qt::SkipEmptyParts);
    if (parts.size() != 2) throw ScriptError{"choose NAME INDEX"};
    auto* box = qobject_cast<QComboBox*>(Need(parts[0]));
    int index = ToInt(parts[1], "INDEX");
    if (!box || index < 0 || index >= box->count()) throw ScriptError{"cannot choose " + Quote(arg)};
    box->setCurrentIndex(index);
    emit box->activated(index);
    return;
  }
  if (verb == "resize") {
    QStringList parts = arg.split(' ', Qt::SkipEmptyParts);
    if (parts.size() != 2) throw ScriptError{"resize W H"};
    window_->resize(ToInt(parts[0], "W"), ToInt(parts[1], "H"));
    return;
  }
  if (verb == "message") return window_->ReceiveFrame(1, ToCp932(arg.toStdString()));
  if (verb == "message-id") {
    int blank = arg.indexOf(' ');
    int id = ToInt(blank < 0 ? arg : arg.left(blank), "N");
    std::string text = blank < 0 ? std::string() : ToCp932(arg.mid(blank + 1).toStdString());
    return window_->ReceiveFrame(static_cast<uint32_t>(id), text);
  }
  if (verb == "answer") {
    if (arg != "yes" && arg != "no") throw ScriptError{"answer yes|no"};
    ScriptAnswer a;
    a.kind = ScriptAnswer::Ask;
    a.yes = arg == "yes";
    dialogs_->Queue(a);
    return;
  }
  if (verb == "input") return answer(ScriptAnswer::Input, false);
  if (verb == "input-cancel") return answer(ScriptAnswer::Input, true);
  if (verb == "file" && hasArg && !arg.isEmpty()) return answer(ScriptAnswer::File, false);
  if (verb == "file-cancel") return answer(ScriptAnswer::File, true);
  if (verb == "folder" && hasArg && !arg.isEmpty()) return answer(ScriptAnswer::Folder, false);
  if (verb == "folder-cancel") return answer(ScriptAnswer::Folder, true);
  if (verb == "close") {
    window_->close();
    Pump();
    destroyed_ = !window_->isVisible();
    return;
  }
  if (verb == "grid") return PrintGrid();
  if (verb == "tabs") return PrintTabs();
  if (verb == "get") return Get(arg);
  if (verb == "state") return State(arg);
  if (verb == "prop") {
    int blank = arg.indexOf(' ');
    if (blank < 0) throw ScriptError{"prop NAME PROPERTY"};
    return Prop(arg.left(blank), arg.mid(blank + 1));
  }
  if (verb == "screenshot") {
    if (!window_->grab().save(arg, "PNG")) throw ScriptError{"cannot write " + Quote(arg)};
    return;
  }
  if (verb == "sleep") {
    int ms = ToInt(arg, "MS");
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
      QApplication::processEvents(QEventLoop::AllEvents, 10);
      QTest::qSleep(5);
    }
    return;
  }
  throw ScriptError{"unknown verb: " + Quote(verb)};
}

void ScriptRunner::Click(const QString& name, bool shift) {
  QObject* o = Need(name);
  bool usable = false;
  if (auto* a = qobject_cast<QAction*>(o)) usable = ActionReachable(a);
  else if (auto* b = qobject_cast<QPushButton*>(o)) usable = b->isEnabled() && b->isVisible();
  else throw ScriptError{"not clickable: " + Quote(name)};
  if (!usable) return Say("disabled: " + name);
  SetScriptedShift(shift);
  if (auto* a = qobject_cast<QAction*>(o)) a->trigger();
  else qobject_cast<QPushButton*>(o)->click();
  SetScriptedShift(std::nullopt);
}

void ScriptRunner::Key(const QString& sequence) {
  QKeySequence seq(sequence);
  bool typable = !seq.isEmpty();
  for (int i = 0; i < seq.count(); ++i) typable = typable && TypableKey(seq[i].key());
  if (!typable) throw ScriptError{"not a key sequence: " + Quote(sequence)};
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window_;
  QTest::keySequence(target, seq);
}

void ScriptRunner::Get(const QString& name) {
  QObject* o = Need(name);
  QString text;
  if (o == window_) text = window_->windowTitle();
  else if (auto* l = qobject_cast<QLabel*>(o)) text = l->text();
  else if (auto* e = qobject_cast<QLineEdit*>(o)) text = e->text();
  else if (auto* b = qobject_cast<QPushButton*>(o)) text = b->text();
  else if (auto* a = qobject_cast<QAction*>(o)) text = a->text();
  else if (auto* m = qobject_cast<QMenu*>(o)) text = m->title();
  else if (auto* c = qobject_cast<QComboBox*>(o)) text = c->currentText();
  else if (auto* list = qobject_cast<QListWidget*>(o)) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
    text = entries.join("\t");
  }
  Say("get " + name + "=" + text);
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
    if (auto* b = qobject_cast<QPushButton*>(w)) checked = b->isCheckable() && b->isChecked();
  }
  Say(QString("state %1 visible=%2 enabled=%3 checked=%4").arg(name).arg(int(visible)).arg(int(enabled)).arg(int(checked)));
}

void ScriptRunner::Prop(const QString& name, const QString& property) {
  QObject* o = Need(name);
  QString value;
  auto* a = qobject_cast<QAction*>(o);
  if (property == "tag") value = QString::number(o->property("tag").toInt());
  else if (property == "hint") value = o->property("hint").toString();
  else if (property == "shortcut") value = a ? a->shortcut().toString() : QString();
  else if (property == "caption") {
    if (a) value = a->text();
    else if (auto* b = qobject_cast<QPushButton*>(o)) value = b->text();
    else if (auto* l = qobject_cast<QLabel*>(o)) value = l->text();
    else if (auto* m = qobject_cast<QMenu*>(o)) value = m->title();
    else if (o == window_) value = window_->windowTitle();
  } else if (property == "checked") value = QString::number(a && a->isChecked() ? 1 : 0);
  else throw ScriptError{"unknown property: " + Quote(property)};
  Say("prop " + name + " " + property + "=" + value);
}

void ScriptRunner::PrintGrid() {
  TStrColGrid* g = window_->Grid();
  for (int r = 0; r < g->RowCount(); ++r) {
    QString line = "grid";
    for (int c = 0; c < g->ColCount(); ++c) line += "\t" + EscapeOutput(g->Cells(c, r), programFolder_);
    write_(line);
  }
}

void ScriptRunner::PrintTabs() {
  QTabBar* t = window_->Tabs();
  QString line = "tabs\t" + QString::number(t->currentIndex());
  for (int i = 0; i < t->count(); ++i) line += "\t" + EscapeOutput(t->tabText(i), programFolder_);
  write_(line);
}

}  // namespace zantro
