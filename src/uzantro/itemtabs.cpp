#include "uzantro/itemtabs.h"

#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

namespace zantro {
namespace {

QStyleOptionTab TabOption(const QWidget* bar, const QString& text) {
  QStyleOptionTab opt;
  opt.initFrom(bar);
  opt.shape = QTabBar::RoundedSouth;
  opt.text = text;
  return opt;
}

}  // namespace

ItemTabBar::ItemTabBar(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  setFocusPolicy(Qt::NoFocus);
  back_ = new QToolButton(this);
  forward_ = new QToolButton(this);
  back_->setArrowType(Qt::LeftArrow);
  forward_->setArrowType(Qt::RightArrow);
  for (QToolButton* b : {back_, forward_}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->hide();
  }
  connect(back_, &QToolButton::clicked, this, [this] { ScrollTo(first_ - 1); });
  connect(forward_, &QToolButton::clicked, this, [this] { ScrollTo(first_ + 1); });
}

void ItemTabBar::SetCaptions(const QStringList& captions) {
  int differs = 0;
  const int common = std::min(count(), static_cast<int>(captions.size()));
  while (differs < common && captions_[differs] == captions[differs]) ++differs;
  if (differs == common && count() == captions.size()) return;
  captions_ = captions;
  Forget(differs);
  if (current_ >= count()) current_ = count() - 1;
  first_ = std::clamp(first_, 0, std::max(0, count() - 1));
  UpdateButtons();
  update();
}

void ItemTabBar::setCurrentIndex(int index) {
  if (index < 0 || index >= count()) return;
  const bool changed = index != current_;
  current_ = index;
  // Scrolled so that the current tab is in view, as little as possible.
  if (current_ < first_) first_ = current_;
  UpdateButtons();  // the room left beside the buttons
  while (first_ < current_ && Right(current_) - Left(first_) > Room()) ++first_;
  UpdateButtons();
  update();
  if (changed) emit currentChanged(index);
}

void ItemTabBar::ScrollTo(int first) {
  first = std::clamp(first, 0, std::max(0, count() - 1));
  if (first == first_) return;
  first_ = first;
  UpdateButtons();
  update();
}

QRect ItemTabBar::tabRect(int index) const {
  if (index < first_ || index >= count() || index >= EndOfView()) return {};
  return QRect(Left(index) - Left(first_), 0, TabWidth(index), height());
}

int ItemTabBar::TabHeight() const {
  if (height_ < 0) {
    QStyleOptionTab opt = TabOption(this, QString());
    const QFontMetrics fm = fontMetrics();
    QSize text(0, fm.height() + style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &opt, this));
    height_ = style()->sizeFromContents(QStyle::CT_TabBarTab, &opt, text, this).height();
  }
  return height_;
}

int ItemTabBar::TabWidth(int index) const {
  while (static_cast<int>(widths_.size()) <= index) {
    const int i = static_cast<int>(widths_.size());
    QStyleOptionTab opt = TabOption(this, captions_[i]);
    const QFontMetrics fm = fontMetrics();
    QSize text(fm.size(Qt::TextShowMnemonic, captions_[i]).width() +
                   style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &opt, this),
               TabHeight());
    ++sizeHints_;
    lefts_.push_back(i == 0 ? 0 : lefts_[i - 1] + widths_[i - 1]);
    widths_.push_back(style()->sizeFromContents(QStyle::CT_TabBarTab, &opt, text, this).width());
  }
  return widths_[index];
}

int ItemTabBar::Left(int index) const {
  if (index <= 0) return 0;
  TabWidth(index - 1);
  return lefts_[index - 1] + widths_[index - 1];
}

int ItemTabBar::Room() const {
  return forward_->isVisibleTo(this) ? std::max(0, back_->x()) : width();
}

int ItemTabBar::EndOfView() const {
  const int start = Left(first_);
  const int room = Room();
  int end = first_;
  while (end < count() && Right(end) - start <= room) ++end;
  // A tab wider than the room still shows, cut at the edge.
  return end == first_ && end < count() ? end + 1 : end;
}

void ItemTabBar::Forget(int from) {
  if (static_cast<int>(widths_.size()) > from) {
    widths_.resize(from);
    lefts_.resize(from);
  }
}

void ItemTabBar::UpdateButtons() {
  // The buttons show while the tabs do not all fit; they stand at the right end.
  const int button = style()->pixelMetric(QStyle::PM_TabBarScrollButtonWidth, nullptr, this);
  back_->setGeometry(width() - 2 * button, 0, button, height());
  forward_->setGeometry(width() - button, 0, button, height());
  forward_->hide();  // Room() is the whole width while they are hidden
  bool overflow = first_ > 0;
  for (int i = first_; !overflow && i < count(); ++i) overflow = Right(i) - Left(first_) > width();
  back_->setVisible(overflow);
  forward_->setVisible(overflow);
  if (!overflow) return;
  back_->setEnabled(first_ > 0);
  forward_->setEnabled(EndOfView() < count());
}

QSize ItemTabBar::sizeHint() const {
  const int shown = std::min(count(), 8);
  return QSize(shown == 0 ? 0 : Right(shown - 1), TabHeight());
}

QSize ItemTabBar::minimumSizeHint() const {
  return QSize(2 * style()->pixelMetric(QStyle::PM_TabBarScrollButtonWidth, nullptr, this), TabHeight());
}

void ItemTabBar::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  const int end = EndOfView();
  QStyleOptionTab current;
  bool currentShown = false;
  for (int i = first_; i < end; ++i) {
    QStyleOptionTab opt = TabOption(this, captions_[i]);
    opt.rect = tabRect(i);
    opt.position = count() == 1             ? QStyleOptionTab::OnlyOneTab
                   : i == 0                 ? QStyleOptionTab::Beginning
                   : i == count() - 1       ? QStyleOptionTab::End
                                            : QStyleOptionTab::Middle;
    opt.selectedPosition = current_ == i - 1   ? QStyleOptionTab::PreviousIsSelected
                           : current_ == i + 1 ? QStyleOptionTab::NextIsSelected
                                               : QStyleOptionTab::NotAdjacent;
    if (i == current_) {
      opt.state |= QStyle::State_Selected;
      current = opt;
      currentShown = true;
      continue;
    }
    p.drawControl(QStyle::CE_TabBarTab, opt);
  }
  // The current tab last: it overlaps its neighbours.
  if (currentShown) p.drawControl(QStyle::CE_TabBarTab, current);
}

void ItemTabBar::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return e->ignore();
  const int end = EndOfView();
  for (int i = first_; i < end; ++i)
    if (tabRect(i).contains(e->position().toPoint())) {
      emit tabBarClicked(i);
      return;
    }
}

void ItemTabBar::wheelEvent(QWheelEvent* e) {
  const int steps = e->angleDelta().y() / 120;
  if (steps != 0) ScrollTo(first_ - steps);
}

void ItemTabBar::resizeEvent(QResizeEvent*) { UpdateButtons(); }

void ItemTabBar::changeEvent(QEvent* e) {
  if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
    height_ = -1;
    Forget(0);
    updateGeometry();
  }
  QWidget::changeEvent(e);
}

}  // namespace zantro
