#include "uzantro/itemtabs.h"

#include <algorithm>

namespace zantro {

void ItemTabBar::SetCaptions(const QStringList& captions) {
  bool same = count() == captions.size();
  for (int i = 0; same && i < count(); ++i) same = tabText(i) == captions[i];
  if (same) return;
  // A hidden tab bar only marks its layout dirty; showing it again lays it out once. Adding or
  // removing a tab still lays out every visible tab (QTabBar looks for the tab under the
  // mouse), but a hidden tab costs nothing there: while the count changes, every tab is hidden.
  const bool shown = isVisible();
  if (shown) hide();
  const bool resized = count() != captions.size();
  if (resized)
    for (int i = 0; i < count(); ++i) setTabVisible(i, false);
  while (count() > captions.size()) removeTab(count() - 1);
  const int kept = std::min(count(), static_cast<int>(captions.size()));
  for (int i = 0; i < kept; ++i)
    if (tabText(i) != captions[i]) setTabText(i, captions[i]);
  for (int i = kept; i < captions.size(); ++i) setTabVisible(addTab(captions[i]), false);
  if (resized)
    for (int i = 0; i < count(); ++i) setTabVisible(i, true);
  if (shown) show();
}

QSize ItemTabBar::tabSizeHint(int index) const {
  ++sizeHints_;
  return QTabBar::tabSizeHint(index);
}

}  // namespace zantro
