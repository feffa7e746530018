#include "viewer.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <sstream>

#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "printing/pdf.h"

namespace zantro {

using namespace printing;

namespace {

const double kZooms[] = {0.5, 0.75, 1.0, 1.5, 2.0};
constexpr int kFitWidth = 5;  // the last entry of ZoomBox: the page fills the window's width

}  // namespace

double PageView::ScreenDpi(const QWidget* w) {
  QScreen* s = w->screen();
  return s ? s->logicalDotsPerInch() : 96.0;
}

void PageView::Show(std::function<void(QPainter&)> draw, double zoom) {
  draw_ = std::move(draw), zoom_ = zoom;
  double dpi = ScreenDpi(this) * zoom;
  setFixedSize(static_cast<int>(geometry::kPageWidth / 254.0 * dpi) + 2,
               static_cast<int>(geometry::kPageHeight / 254.0 * dpi) + 2);
  update();
}

void PageView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(0x80, 0x80, 0x80));
  if (!draw_) return;
  p.translate(1, 1);
  PreparePainter(p, ScreenDpi(this) * zoom_);
  draw_(p);
}

PrintViewer::PrintViewer(PrintJob job, FontSet fonts, Dialogs& dialogs, bool headless)
    : job_(std::move(job)), fonts_(std::move(fonts)), dialogs_(dialogs), renderer_(job_.Model, fonts_),
      headless_(headless) {
  setObjectName("TFPrnview");
  setWindowTitle("印刷プレビュー - " + QString::fromStdString(job_.Model.Construction));
  BuildWindow();
  SelectForm(3);
}

void PrintViewer::BuildWindow() {
  auto* central = new QWidget(this);
  auto* v = new QVBoxLayout(central);
  v->setContentsMargins(4, 4, 4, 4);
  auto* bar = new QHBoxLayout;
  auto button = [&](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, central);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(b);
    return b;
  };
  formBox_ = new QComboBox(central);
  formBox_->setObjectName("FormBox");
  formBox_->addItems({"表紙", "内訳書", "明細書", "全部"});
  bar->addWidget(formBox_);
  prev_ = button("PrevButton", "◀ 前頁");
  pageLabel_ = new QLabel(central);
  pageLabel_->setObjectName("PageLabel");
  pageLabel_->setMinimumWidth(90);
  pageLabel_->setAlignment(Qt::AlignCenter);
  bar->addWidget(pageLabel_);
  next_ = button("NextButton", "次頁 ▶");
  zoomBox_ = new QComboBox(central);
  zoomBox_->setObjectName("ZoomBox");
  zoomBox_->addItems({"50%", "75%", "100%", "150%", "200%", "幅に合わせる"});
  zoomBox_->setCurrentIndex(kFitWidth);
  bar->addWidget(zoomBox_);
  bar->addStretch(1);
  QPushButton* pdf = button("PdfButton", "PDF保存");
  QPushButton* print = button("PrintButton", "印　刷");
  QPushButton* close = button("CloseButton", "閉じる");
  v->addLayout(bar);
  scroll_ = new QScrollArea(central);
  scroll_->setAlignment(Qt::AlignHCenter);
  scroll_->setBackgroundRole(QPalette::Dark);
  // A page fitted to the width is taller than the window: a scroll bar that came and went would
  // change the width to fit.
  scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  scroll_->viewport()->installEventFilter(this);
  view_ = new PageView(scroll_);
  view_->setObjectName("PageView");
  scroll_->setWidget(view_);
  v->addWidget(scroll_, 1);
  setCentralWidget(central);
  resize(1000, 740);

  connect(formBox_, &QComboBox::activated, this, [this](int i) { SelectForm(i); });
  connect(zoomBox_, &QComboBox::activated, this, [this](int) { Refresh(); });
  connect(prev_, &QPushButton::clicked, this, [this] { GoTo(index_ - 1); });
  connect(next_, &QPushButton::clicked, this, [this] { GoTo(index_ + 1); });
  connect(pdf, &QPushButton::clicked, this, [this] { SavePdf(); });
  connect(print, &QPushButton::clicked, this, [this] { Print(); });
  connect(close, &QPushButton::clicked, this, [this] { this->close(); });
}

void PrintViewer::OfferTakeoff(std::vector<TakeoffSection> sections, std::string construction) {
  bool any = false;
  for (const TakeoffSection& s : sections) any = any || !s.Lines.empty();
  if (!any || !takeoff_.empty()) return;
  takeoff_ = std::move(sections);
  construction_ = std::move(construction);
  takeoffPages_ = TakeoffPages(takeoff_);
  formBox_->addItem("数量調書");
}

void PrintViewer::SelectForm(int index) {
  takeoffShown_ = index == 4 && !takeoff_.empty();
  if (takeoffShown_) {
    formBox_->setCurrentIndex(index);
    shown_.clear();
    pageCount_ = static_cast<int>(takeoffPages_.size());
    index_ = 0;
    return Refresh();
  }
  if (index < 0 || index > 3) index = 3;
  FormSet forms{index == 0, index == 1, index == 2};
  if (index == 3) forms = job_.Model.Style.Forms;
  formBox_->setCurrentIndex(index);
  shown_ = LayoutPages(job_.Model, forms);
  pageCount_ = NumberedPageCount(shown_);
  index_ = 0;
  Refresh();
}

int PrintViewer::ShownPages() const {
  return takeoffShown_ ? static_cast<int>(takeoffPages_.size()) : static_cast<int>(shown_.size());
}

void PrintViewer::DrawPage(QPainter& painter, int index) const {
  if (takeoffShown_)
    DrawTakeoffPage(painter, fonts_, takeoff_, construction_, takeoffPages_[static_cast<size_t>(index)], index + 1,
                    pageCount_);
  else
    renderer_.Draw(painter, shown_[static_cast<size_t>(index)], pageCount_);
}

void PrintViewer::GoTo(int index) {
  if (index < 0 || index >= ShownPages()) return;
  index_ = index;
  Refresh();
}

double PrintViewer::Zoom() const {
  int i = zoomBox_->currentIndex();
  if (i >= 0 && i < kFitWidth) return kZooms[i];
  double pageInches = geometry::kPageWidth / 254.0;
  double room = scroll_->viewport()->width() - 24;
  return std::max(0.2, room / (pageInches * PageView::ScreenDpi(this)));
}

void PrintViewer::Refresh() {
  const bool any = ShownPages() > 0;
  pageLabel_->setText(any ? QString("%1 / %2").arg(index_ + 1).arg(ShownPages()) : "0 / 0");
  prev_->setEnabled(index_ > 0);
  next_->setEnabled(index_ + 1 < ShownPages());
  std::function<void(QPainter&)> draw;
  if (any) draw = [this, i = index_](QPainter& p) { DrawPage(p, i); };
  view_->Show(std::move(draw), Zoom());
}

void PrintViewer::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_PageDown: case Qt::Key_Right: return GoTo(index_ + 1);
    case Qt::Key_PageUp: case Qt::Key_Left: return GoTo(index_ - 1);
    case Qt::Key_Home: return GoTo(0);
    case Qt::Key_End: return GoTo(ShownPages() - 1);
    case Qt::Key_Escape: close(); return;
    default: QMainWindow::keyPressEvent(e);
  }
}

// The viewport outlives the boxes its filter reads while the window's children are deleted.
PrintViewer::~PrintViewer() { scroll_->viewport()->removeEventFilter(this); }

// The width to fit is the scroll area's viewport, which is laid out after the window's own
// resize and only once the window is shown: the page follows the viewport's resizes.
bool PrintViewer::eventFilter(QObject* watched, QEvent* e) {
  if (watched == scroll_->viewport() && e->type() == QEvent::Resize && zoomBox_->currentIndex() == kFitWidth)
    Refresh();
  return QMainWindow::eventFilter(watched, e);
}

void PrintViewer::SavePdf() {
  if (ShownPages() == 0) return dialogs_.ShowNotice("印刷するページがありません");
  std::string number = job_.Model.Cover.Number.empty() ? "estimate" : job_.Model.Cover.Number;
  if (takeoffShown_) number += "_数量調書";
  FileDialogRequest r{"PDFファイルに保存", "PDFファイル(pdf)|*.pdf", "pdf", QString::fromStdString(number + ".pdf")};
  auto path = dialogs_.SaveFileIn(FolderKind::PrintPdf, r);
  if (!path) return;
  if (takeoffShown_) {
    std::ostringstream err;
    if (WriteTakeoffPdf(takeoff_, construction_, fonts_, path->toStdString(), err) != 0)
      dialogs_.ShowError(QString::fromStdString(err.str()).trimmed());
    return;
  }
  try {
    WritePdf(path->toStdString(), job_.Model, shown_, fonts_, {}, *dialogs_.StartProgress("PDFを作成しています"));
  } catch (const ProgressCancelled&) {
  } catch (const std::exception& e) {
    dialogs_.ShowError(QString::fromStdString(e.what()));
  }
}

void PrintViewer::Print() {
  if (ShownPages() == 0) return dialogs_.ShowNotice("印刷するページがありません");
  if (headless_) return dialogs_.ShowNotice("画面のないときはプリンターを選べません");
  QPrinter printer(QPrinter::HighResolution);
  printer.setFromTo(1, ShownPages());
  printer.setDocName(QString::fromStdString((takeoffShown_ ? "数量調書 " : "御見積書 ") + job_.Model.Construction));
  QPrintDialog dialog(&printer, this);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  if (dialog.exec() != QDialog::Accepted) return;
  int first = printer.fromPage() > 0 ? printer.fromPage() - 1 : 0;
  int last = printer.toPage() > 0 ? std::min(printer.toPage(), ShownPages()) - 1 : ShownPages() - 1;
  PrintPages(printer, first, last);
}

void PrintViewer::PrintPages(QPrinter& printer, int first, int last) {
  // The forms are laid out for the whole sheet; the printer's margin is its own business.
  printer.setFullPage(true);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
  QPainter painter(&printer);
  PreparePainter(painter, printer.resolution());
  for (int i = std::max(first, 0); i <= std::min(last, ShownPages() - 1); ++i) {
    if (i > first) printer.newPage();
    DrawPage(painter, i);
  }
}

}  // namespace zantro
