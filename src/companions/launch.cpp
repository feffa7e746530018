#include "companions/launch.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>

#include "platform/cp932.h"
#include "platform/launcher.h"
#include "uzantro/fzantro.h"

namespace zantro {

void StartSingle(TFZANTRO& w, const char* windowClass, std::string_view exe, const std::string& argument) {
  if (w.RestoreCompanion(windowClass)) return;
  w.StartCompanion(exe, argument);
}

bool RefusedOnBreakdown(TFZANTRO& w, const QString& notice) {
  if (w.SheetMode()) return false;
  w.Dlg().ShowNotice(notice);
  return true;
}

GroupNames GroupNamesOf(TFZANTRO& w) { return w.Doc().GroupNames; }

LevelNames LevelNamesOf(TFZANTRO& w) {
  LevelNames names;
  QStringList captions = w.LevelCaptions();
  for (int i = 0; i < 5; ++i) names[i] = i < captions.size() ? Sjis(captions[i]) : "LEVEL" + std::to_string(i + 1);
  return names;
}

int LevelIndexOf(TFZANTRO& w) { return w.LevelIndex(); }

std::string CaptionOf(QObject* item) {
  if (auto* a = qobject_cast<QAction*>(item)) return Sjis(a->text());
  if (auto* b = qobject_cast<QPushButton*>(item)) return Sjis(b->text());
  return {};
}

int TagOf(QObject* item) { return item ? item->property("tag").toInt() : 0; }

std::string ArgumentText(std::string_view utf8) { return ToCp932(utf8); }

void OnClick(TFZANTRO& w, const QString& name, std::function<void(QObject* item)> fn) {
  w.RegisterItemClick(name, std::move(fn));
}

}  // namespace zantro
