// The tab strip under the grid (TabControl1). QTabBar measures every visible tab again after
// each tab that is added, removed or renamed, so a strip rebuilt tab by tab costs the square of
// the number of items. SetCaptions changes only the tabs that differ, with the tabs hidden while
// the count changes, so each tab is measured once; the same captions change nothing at all.
#pragma once
#include <QStringList>
#include <QTabBar>

#include <cstdint>

namespace zantro {

class ItemTabBar : public QTabBar {
 public:
  using QTabBar::QTabBar;

  // The tabs get these captions; the current index is the caller's to set afterwards.
  void SetCaptions(const QStringList& captions);

  // How many tab sizes were measured, the costly step of a layout (a test seam: a rebuild must
  // measure each tab a few times, not once per tab added).
  int64_t SizeHints() const { return sizeHints_; }

 protected:
  QSize tabSizeHint(int index) const override;

 private:
  mutable int64_t sizeHints_ = 0;
};

}  // namespace zantro
