// The own flags of menu items and whether the user can reach one. Qt keeps a menu item's
// enabled flag mixed with its visibility and leaves the state of the menus above it out;
// scripts and tests need both views.
#pragma once

class QAction;

namespace zantro {

// The enabled flag the program gave the action. Qt reports a hidden action as disabled and
// keeps the program's value aside until the action is shown again.
bool OwnEnabled(QAction* a);

// True when the user can reach the action: it is enabled and shown, and so is every menu above
// it, in at least one of the menus that hold it. Qt's shortcuts follow the same rule, so an item
// of a disabled or hidden menu does not answer its shortcut either.
bool ActionReachable(const QAction* a);

}  // namespace zantro
