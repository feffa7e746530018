#include "uzantro/headless.h"

#include "platform/cp932.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

void PrintGrid(ScriptRunner& r, TFZANTRO& w) {
  TStrColGrid* g = w.Grid();
  for (int row = 0; row < g->RowCount(); ++row) {
    QString line = "grid";
    for (int c = 0; c < g->ColCount(); ++c) line += "\t" + EscapeOutput(g->Cells(c, row), r.ProgramFolder());
    r.Write(line);
  }
}

// "look ROW": how each cell of the row is drawn, as the parameter governing it gives it:
// alignment L, R or C, then the background colour when the parameter sets one.
void PrintLook(ScriptRunner& r, TFZANTRO& w, const QString& arg) {
  TStrColGrid* g = w.Grid();
  int row = ScriptRunner::ToInt(arg, "ROW");
  if (row < 0 || row >= g->RowCount()) ScriptRunner::Fail("row outside 0.." + QString::number(g->RowCount() - 1));
  QString line = "look " + QString::number(row);
  for (int c = 0; c < g->ColCount(); ++c) {
    const TSCGCellParam* p = g->FindCellParam(c, row);
    TAlignment a = p ? p->Alignment() : g->IsFixed(c, row) ? g->FixedAlignment() : g->Alignment();
    line += a == TAlignment::taRightJustify ? "\tR" : a == TAlignment::taCenter ? "\tC" : "\tL";
    if (p && p->CellColorEnabled()) line += p->CellColor().name();
  }
  r.Write(line);
}

void PrintTabs(ScriptRunner& r, TFZANTRO& w) {
  ItemTabBar* t = w.Tabs();
  QString line = "tabs\t" + QString::number(t->currentIndex());
  for (int i = 0; i < t->count(); ++i) line += "\t" + EscapeOutput(t->tabText(i), r.ProgramFolder());
  r.Write(line);
}

void Select(TFZANTRO& w, const QString& arg) {
  QStringList parts = arg.split(' ', Qt::SkipEmptyParts);
  if (parts.isEmpty() || parts.size() > 2) ScriptRunner::Fail("select TOP [BOTTOM]");
  int top = ScriptRunner::ToInt(parts[0], "TOP");
  int bottom = parts.size() > 1 ? ScriptRunner::ToInt(parts[1], "BOTTOM") : top;
  int last = w.Grid()->RowCount() - 1;
  if (top < 1 || top > last || bottom < 1 || bottom > last) ScriptRunner::Fail("row outside 1.." + QString::number(last));
  if (bottom < top) ScriptRunner::Fail("BOTTOM above TOP");
  w.Guard([&] { w.Grid()->UserSelectRows(top, bottom); });
}

}  // namespace

ScriptRoot WindowRoot(TFZANTRO& window) {
  ScriptRoot root;
  root.widget = &window;
  root.find = [&window](const QString& name) { return window.Component(name); };
  root.guard = [&window](const std::function<void()>& fn) { window.Guard(fn); };
  // The end of a script closes the window as the companion command "WM_CLOSE" does.
  root.finish = [&window] { window.CloseWithoutQuestion(); };
  return root;
}

void AddWindowVerbs(ScriptRunner& r, TFZANTRO& w) {
  r.AddVerb("hint", [&w](const QString& arg, bool) { w.Guard([&] { w.Dispatch(arg, nullptr); }); });
  r.AddVerb("select", [&w](const QString& arg, bool) { Select(w, arg); });
  r.AddVerb("tab", [&w](const QString& arg, bool) {
    int n = ScriptRunner::ToInt(arg, "tab");
    if (n < 0 || n >= w.Tabs()->count()) ScriptRunner::Fail("no tab " + ScriptRunner::Quote(arg));
    w.TabClicked(n);
  });
  r.AddVerb("dblclick", [&w](const QString&, bool) { w.Guard([&] { w.Grid()->UserDblClick(); }); });
  // Companion commands take the socket's path: only identifier 1 is a command.
  r.AddVerb("message", [&w](const QString& arg, bool) { w.ReceiveFrame(1, ToCp932(arg.toStdString())); });
  r.AddVerb("message-id", [&w](const QString& arg, bool) {
    int blank = arg.indexOf(' ');
    int id = ScriptRunner::ToInt(blank < 0 ? arg : arg.left(blank), "N");
    std::string text = blank < 0 ? std::string() : ToCp932(arg.mid(blank + 1).toStdString());
    w.ReceiveFrame(static_cast<uint32_t>(id), text);
  });
  r.AddVerb("grid", [&r, &w](const QString&, bool) { PrintGrid(r, w); });
  r.AddVerb("look", [&r, &w](const QString& arg, bool) { PrintLook(r, w, arg); });
  r.AddVerb("tabs", [&r, &w](const QString&, bool) { PrintTabs(r, w); });
}

}  // namespace zantro
