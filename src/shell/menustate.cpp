#include "shell/menustate.h"

#include <QAction>
#include <QMenu>
#include <QSignalBlocker>

namespace zantro {
namespace {

// A menu counts as reachable through the item that opens it, up to the menu bar (or, for a
// popup menu, up to itself).
bool MenuReachable(const QMenu* menu) {
  const QAction* opener = menu->menuAction();
  if (!menu->isEnabled() || !opener->isEnabled() || !opener->isVisible()) return false;
  bool inMenu = false;
  for (QObject* o : opener->associatedObjects()) {
    if (auto* parent = qobject_cast<QMenu*>(o)) {
      inMenu = true;
      if (MenuReachable(parent)) return true;
    }
  }
  return !inMenu;
}

}  // namespace

bool OwnEnabled(QAction* a) {
  if (a->isVisible()) return a->isEnabled();
  // Shown for a moment, with its signals blocked, the action gives the kept value back.
  QSignalBlocker quiet(a);
  a->setVisible(true);
  const bool enabled = a->isEnabled();
  a->setVisible(false);
  return enabled;
}

bool ActionReachable(const QAction* a) {
  if (!a->isEnabled() || !a->isVisible()) return false;
  bool inMenu = false;
  for (QObject* o : a->associatedObjects()) {
    if (auto* menu = qobject_cast<QMenu*>(o)) {
      inMenu = true;
      if (MenuReachable(menu)) return true;
    }
  }
  return !inMenu;
}

}  // namespace zantro
