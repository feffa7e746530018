// The tab strip under the grid (TabControl1): tab 0 is the breakdown list, every other tab one
// item's sheet. A document may have thousands of items, so the strip keeps its captions as a
// list and draws only the tabs in view. A tab is measured when it first comes into view (or
// when the current tab lies beyond it) and its position follows from the tabs before it, so
// opening a document costs one pass over the captions and measures only what is shown; the
// same captions again change nothing. (A QTabBar lays out every tab each time one is added,
// which makes a strip of n items cost n squared.)
#pragma once
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <vector>

class QToolButton;

namespace zantro {

class ItemTabBar : public QWidget {
  Q_OBJECT

 public:
  explicit ItemTabBar(QWidget* parent = nullptr);

  // The tabs get these captions; the current index is the caller's to set afterwards (it is
  // kept when it still names a tab).
  void SetCaptions(const QStringList& captions);

  int count() const { return static_cast<int>(captions_.size()); }
  QString tabText(int index) const { return index >= 0 && index < count() ? captions_[index] : QString(); }
  int currentIndex() const { return current_; }
  // Makes index current and scrolls it into view; emits currentChanged unless blocked.
  void setCurrentIndex(int index);
  // Where tab index is drawn; empty while it is scrolled out of view.
  QRect tabRect(int index) const;
  // The first tab in view (the strip scrolls by whole tabs).
  int FirstShown() const { return first_; }
  void ScrollTo(int first);

  // How many tab sizes were measured, each with the tab's position (a test seam: opening a
  // document must measure each tab at most a few times, not once per tab added).
  int64_t SizeHints() const { return sizeHints_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // The user pressed a tab; the window decides whether it becomes current.
  void tabBarClicked(int index);
  void currentChanged(int index);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void changeEvent(QEvent*) override;

 private:
  int TabHeight() const;
  int TabWidth(int index) const;
  // The left edge of tab index counted from tab 0; measures the tabs before it if needed.
  int Left(int index) const;
  int Right(int index) const { return Left(index) + TabWidth(index); }
  // Room for tabs: the width less the scroll buttons when they are shown.
  int Room() const;
  // Index of the tab beyond the last one that fits from first_ on.
  int EndOfView() const;
  void Forget(int from);
  void UpdateButtons();

  QStringList captions_;
  mutable std::vector<int> widths_;  // measured widths of tabs 0 .. widths_.size() - 1
  mutable std::vector<int> lefts_;   // left edges of the tabs measured, from tab 0's
  mutable int height_ = -1;
  int current_ = -1;
  int first_ = 0;
  QToolButton* back_;
  QToolButton* forward_;
  mutable int64_t sizeHints_ = 0;
};

}  // namespace zantro
