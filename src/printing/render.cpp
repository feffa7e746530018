#include "printing/render.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <vector>

#include "general/errors.h"

namespace zantro::printing {
namespace {

namespace g = geometry;

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

const QColor kHeaderFill(0xE6, 0xE6, 0xE6);
const QColor kSummaryFill(0xF3, 0xF3, 0xF3);
constexpr double kThin = 2, kThick = 5, kPad = 14;

bool DrawsJapanese(const QString& family) {
  return QFontDatabase::families(QFontDatabase::Japanese).contains(family);
}

void Line(QPainter& p, double x1, double y1, double x2, double y2, double width) {
  p.setPen(QPen(Qt::black, width));
  p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

struct Column {
  const char* Caption;
  double Width;
  Qt::Alignment Align;
};

const std::vector<Column>& BreakdownColumns() {
  static const std::vector<Column> c{{"名　　　　称", 1000, Qt::AlignLeft},  {"数 量", 170, Qt::AlignRight},
                                     {"単位", 130, Qt::AlignCenter},         {"内 訳 金 額", 400, Qt::AlignRight},
                                     {"金　　額", 420, Qt::AlignRight},      {"備　　　考", 550, Qt::AlignLeft}};
  return c;
}

const std::vector<Column>& SheetColumns() {
  static const std::vector<Column> c{{"名　　　称", 620, Qt::AlignLeft}, {"規　格・仕　様", 560, Qt::AlignLeft},
                                     {"数 量", 220, Qt::AlignRight},     {"単位", 130, Qt::AlignCenter},
                                     {"単　価", 300, Qt::AlignRight},    {"金　　額", 360, Qt::AlignRight},
                                     {"備　　　考", 480, Qt::AlignLeft}};
  return c;
}

// The table of a list page: caption row and ruled rows for the page's full height.
void DrawTableGrid(QPainter& p, const std::vector<Column>& cols, const QFont& captionFont) {
  const double top = g::kTableTop, left = g::kMarginX, right = left + g::kTableWidth;
  const double bottom = top + g::kHeaderRow + g::kRowsPerPage * g::kRowHeight;
  p.fillRect(QRectF(left, top, g::kTableWidth, g::kHeaderRow), kHeaderFill);
  double x = left;
  for (const auto& c : cols) {
    FitText(p, QRectF(x + kPad, top, c.Width - 2 * kPad, g::kHeaderRow), Q(c.Caption), Qt::AlignHCenter,
            captionFont);
    x += c.Width;
    if (x < right - 1) Line(p, x, top, x, bottom, kThin);
  }
  for (int r = 1; r < g::kRowsPerPage; ++r) {
    double y = top + g::kHeaderRow + r * g::kRowHeight;
    Line(p, left, y, right, y, 1);
  }
  Line(p, left, top + g::kHeaderRow, right, top + g::kHeaderRow, kThin);
  p.setPen(QPen(Qt::black, kThick));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(left, top, g::kTableWidth, bottom - top));
}

double RowTop(int row) { return g::kTableTop + g::kHeaderRow + row * g::kRowHeight; }

void FillRow(QPainter& p, int row, const QColor& color) {
  p.fillRect(QRectF(g::kMarginX, RowTop(row), g::kTableWidth, g::kRowHeight), color);
}

// Writes the cells of one row; an empty text leaves its cell blank.
void DrawRow(QPainter& p, int row, const std::vector<Column>& cols, const std::vector<QString>& cells,
             const QFont& font, const std::vector<QFont>* perCell = nullptr) {
  double x = g::kMarginX;
  for (size_t i = 0; i < cols.size() && i < cells.size(); ++i) {
    QRectF r(x + kPad, RowTop(row), cols[i].Width - 2 * kPad, g::kRowHeight);
    FitText(p, r, cells[i], cols[i].Align, perCell ? (*perCell)[i] : font);
    x += cols[i].Width;
  }
}

// A carry row: its caption in the name column, the running total in the amount column.
void DrawCarryRow(QPainter& p, int row, const std::vector<Column>& cols, size_t amountCol, const QString& caption,
                  Money amount, const QFont& font) {
  std::vector<QString> cells(cols.size());
  cells[0] = caption;
  cells[amountCol] = Q(PriceText(amount));
  double x = g::kMarginX;
  for (size_t i = 0; i < cols.size(); ++i) {
    Qt::Alignment align = i == 0 ? Qt::AlignHCenter : cols[i].Align;
    FitText(p, QRectF(x + kPad, RowTop(row), cols[i].Width - 2 * kPad, g::kRowHeight), cells[i], align, font);
    x += cols[i].Width;
  }
}

bool Shaded(RowStyle s) { return s == RowStyle::Summary || s == RowStyle::Total; }

// The shading of carry, subtotal and total rows goes under the rules of the table.
template <typename Row>
void ShadeRows(QPainter& p, const PageSlice& s, const std::vector<Row>& rows) {
  int row = 0;
  if (s.CarryIn) FillRow(p, row++, kSummaryFill);
  for (int i = s.First; i < s.First + s.Count; ++i, ++row)
    if (Shaded(rows[i].Style)) FillRow(p, row, kSummaryFill);
  if (s.CarryOut) FillRow(p, row, kSummaryFill);
}

QString Yen(Money v) { return "￥" + Q(PriceText(v)); }

}  // namespace

void FitText(QPainter& p, const QRectF& r, const QString& text, Qt::Alignment align, QFont f) {
  if (text.isEmpty()) return;
  double width = QFontMetricsF(f).horizontalAdvance(text);
  if (width > r.width()) {
    f.setStretch(std::max(50, static_cast<int>(100 * r.width() / width)));
    width = QFontMetricsF(f).horizontalAdvance(text);
    if (width > r.width()) f.setPixelSize(std::max(1, static_cast<int>(f.pixelSize() * r.width() / width)));
  }
  p.setFont(f);
  p.drawText(r, static_cast<int>(align | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip), text);
}

FontSet ResolveFonts(const PrintStyle& style, std::string* warning) {
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  if (japanese.isEmpty()) throw FileError("日本語フォントがインストールされていません (fonts-noto-cjk)");
  QString fallback = japanese.contains("Noto Serif CJK JP") ? "Noto Serif CJK JP" : japanese.front();
  auto pick = [&](const std::string& wanted) {
    QString family = Q(wanted);
    if (DrawsJapanese(family)) return family;
    if (warning) *warning += "font \"" + wanted + "\" is not installed or has no Japanese; using " + fallback.toStdString() + "\n";
    return fallback;
  };
  return FontSet{pick(style.Font), pick(style.TitleFont)};
}

void PreparePainter(QPainter& painter, double dpi, QPointF offset) {
  painter.translate(-offset);
  painter.scale(dpi / 254.0, dpi / 254.0);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
}

PageRenderer::PageRenderer(const PrintModel& model, FontSet fonts) : m_(model), fonts_(std::move(fonts)) {}

QFont PageRenderer::Font(double points, bool bold, bool title) const {
  QFont f(title ? fonts_.Title : fonts_.Body);
  f.setPixelSize(std::max(1, static_cast<int>(points * 254.0 / 72.0 + 0.5)));
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setKerning(false);
  f.setStyleStrategy(QFont::PreferNoShaping);
  return f;
}

void PageRenderer::Draw(QPainter& p, const Page& page, int pageCount) const {
  p.save();
  p.fillRect(QRectF(0, 0, g::kPageWidth, g::kPageHeight), Qt::white);
  p.setPen(Qt::black);
  switch (page.Kind) {
    case Form::Cover: DrawCover(p); break;
    case Form::Breakdown: DrawBreakdown(p, page); break;
    case Form::Sheet: DrawSheet(p, page); break;
  }
  if (page.Kind != Form::Cover)
    FitText(p, QRectF(0, g::kPageHeight - g::kMarginBottom - g::kFooter + 20, g::kPageWidth, g::kFooter - 20),
            QString("%1 / %2").arg(page.Number).arg(pageCount), Qt::AlignHCenter, Font(9));
  p.restore();
}

// ---- the cover ----

void PageRenderer::DrawCover(QPainter& p) const {
  const CoverData& c = m_.Cover;
  const double left = 220, width = 1300;
  QString title = m_.Style.CostSide ? "原　価　見　積　書" : "御　見　積　書";
  QFont titleFont = Font(28, true, true);
  FitText(p, QRectF(0, 110, g::kPageWidth, 170), title, Qt::AlignHCenter, titleFont);
  double tw = QFontMetricsF(titleFont).horizontalAdvance(title) + 160;
  Line(p, (g::kPageWidth - tw) / 2, 290, (g::kPageWidth + tw) / 2, 290, kThick);
  Line(p, (g::kPageWidth - tw) / 2, 304, (g::kPageWidth + tw) / 2, 304, kThin);

  const double right = g::kPageWidth - g::kMarginX;
  if (!c.Number.empty()) FitText(p, QRectF(right - 800, 120, 800, 60), "No. " + Q(c.Number), Qt::AlignRight, Font(10.5));
  FitText(p, QRectF(right - 800, 185, 800, 60), Q(c.DateText), Qt::AlignRight, Font(10.5));

  // The addressee, underlined; a second line sits below the first.
  double y = 430;
  if (!c.Addressee2.empty()) {
    FitText(p, QRectF(left, y - 40, width, 80), Q(c.Addressee1), Qt::AlignLeft, Font(15));
    y += 70;
    FitText(p, QRectF(left, y - 40, width, 90), Q(c.Addressee2), Qt::AlignLeft, Font(16));
  } else {
    FitText(p, QRectF(left, y, width, 100), Q(c.Addressee1), Qt::AlignLeft, Font(17));
  }
  Line(p, left, 550, left + width, 550, kThin);
  if (!c.ClientPerson.empty())
    FitText(p, QRectF(left + 40, 565, width - 40, 60), "ご担当　" + Q(c.ClientPerson), Qt::AlignLeft, Font(10.5));
  FitText(p, QRectF(left, 670, width, 60), Q(m_.Style.Greeting), Qt::AlignLeft, Font(11));
  DrawCoverAmount(p, 770);
  DrawCoverTable(p, 1230);
  DrawCompany(p, 720);
}

void PageRenderer::DrawCoverAmount(QPainter& p, double top) const {
  const CoverData& c = m_.Cover;
  const double left = 220, width = 1300;
  FitText(p, QRectF(left, top, 420, 130), "御見積金額", Qt::AlignLeft, Font(15, true));
  FitText(p, QRectF(left + 420, top, width - 420, 130), Yen(c.Total) + "－", Qt::AlignRight, Font(24, true));
  Line(p, left, top + 140, left + width, top + 140, kThick);
  Line(p, left, top + 154, left + width, top + 154, kThin);
  QString caption = c.HasTax ? "（消費税込）" : "（消費税別途）";
  FitText(p, QRectF(left, top + 165, width, 55), caption, Qt::AlignRight, Font(9));
  double y = top + 165;
  if (c.HasTax) {
    QString parts = "税抜金額　" + Yen(c.Total - c.Tax) + "　　消費税額　" + Yen(c.Tax);
    FitText(p, QRectF(left, y, width - 300, 55), parts, Qt::AlignLeft, Font(10));
  }
  FitText(p, QRectF(left, y + 70, width, 60), "（" + Q(c.AmountWords) + "）", Qt::AlignLeft, Font(10.5));
}

void PageRenderer::DrawCoverTable(QPainter& p, double top) const {
  const CoverData& c = m_.Cover;
  const double left = 220, labelWidth = 300, width = 1300, row = 95;
  struct Entry {
    QString label;
    QStringList values;
  };
  QStringList construction{Q(c.Construction1)};
  if (!c.Construction2.empty()) construction << Q(c.Construction2);
  std::vector<Entry> rows{{"工 事 名 称", construction},
                          {"工 事 場 所", {Q(c.Site)}},
                          {"有 効 期 限", {Q(c.Limit)}},
                          {"取 引 条 件", {Q(c.Trade)}},
                          {Q(m_.Style.NoteLabel), {Q(c.Note)}}};
  auto height = [&](const Entry& e) { return e.values.size() > 1 ? row * 0.75 * e.values.size() : row; };
  double total = 0;
  for (const auto& e : rows) total += height(e);
  p.fillRect(QRectF(left, top, labelWidth, total), kHeaderFill);  // under the rules
  double y = top;
  for (const auto& e : rows) {
    double h = height(e);
    FitText(p, QRectF(left + kPad, y, labelWidth - 2 * kPad, h), e.label, Qt::AlignHCenter, Font(10.5));
    double lineH = h / e.values.size();
    for (qsizetype i = 0; i < e.values.size(); ++i)
      FitText(p, QRectF(left + labelWidth + 30, y + i * lineH, width - labelWidth - 50, lineH), e.values[i],
              Qt::AlignLeft, Font(11));
    Line(p, left, y + h, left + width, y + h, kThin);
    y += h;
  }
  Line(p, left + labelWidth, top, left + labelWidth, y, kThin);
  p.setPen(QPen(Qt::black, kThick));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(left, top, width, y - top));
}

// The issuing company and the seal boxes, on the right of the cover.
void PageRenderer::DrawCompany(QPainter& p, double top) const {
  const PrintStyle& s = m_.Style;
  const double left = 1780, width = g::kPageWidth - g::kMarginX - left;
  double y = top;
  if (!s.Company.empty()) {
    FitText(p, QRectF(left, y, width, 90), Q(s.Company), Qt::AlignLeft, Font(15, true));
    y += 105;
  }
  for (const std::string& line : {s.Postal + (s.Postal.empty() ? "" : "　") + s.Address1, s.Address2}) {
    if (line.empty()) continue;
    FitText(p, QRectF(left + 20, y, width - 20, 55), Q(line), Qt::AlignLeft, Font(10));
    y += 58;
  }
  std::string phones = (s.Tel.empty() ? "" : "TEL " + s.Tel) + (s.Tel.empty() || s.Fax.empty() ? "" : "　") +
                       (s.Fax.empty() ? "" : "FAX " + s.Fax);
  if (!phones.empty()) {
    FitText(p, QRectF(left + 20, y, width - 20, 55), Q(phones), Qt::AlignLeft, Font(10));
    y += 58;
  }
  if (!m_.Cover.OwnPerson.empty()) {
    FitText(p, QRectF(left + 20, y, width - 20, 55), "担当　" + Q(m_.Cover.OwnPerson), Qt::AlignLeft, Font(10));
    y += 58;
  }
  // Seal boxes, right-aligned below the company: a caption cell over a square for the stamp.
  const double box = 210, caption = 55;
  const double sealTop = std::max(y + 60, top + 420);
  double x = g::kPageWidth - g::kMarginX - box * s.Seals.size();
  for (const auto& seal : s.Seals) {
    p.fillRect(QRectF(x, sealTop, box, caption), kHeaderFill);
    FitText(p, QRectF(x + 6, sealTop, box - 12, caption), Q(seal), Qt::AlignHCenter, Font(9));
    p.setPen(QPen(Qt::black, kThin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(x, sealTop, box, caption + box));
    Line(p, x, sealTop + caption, x + box, sealTop + caption, kThin);
    x += box;
  }
}

// ---- the list forms ----

void PageRenderer::DrawListFrame(QPainter& p, const QString& title, const QString& subtitle, const Page& page,
                                 int pageCount) const {
  (void)page;
  (void)pageCount;
  QString shown = m_.Style.CostSide ? title + "（原価）" : title;
  QFont titleFont = Font(20, true, true);
  FitText(p, QRectF(0, g::kMarginTop, g::kPageWidth, 95), shown, Qt::AlignHCenter, titleFont);
  double tw = QFontMetricsF(titleFont).horizontalAdvance(shown) + 100;
  Line(p, (g::kPageWidth - tw) / 2, g::kMarginTop + 100, (g::kPageWidth + tw) / 2, g::kMarginTop + 100, kThin);
  const double left = g::kMarginX, width = g::kTableWidth;
  if (!m_.Construction.empty())
    FitText(p, QRectF(left, g::kMarginTop, 950, 60), "工事名称　" + Q(m_.Construction), Qt::AlignLeft, Font(9.5));
  if (!subtitle.isEmpty())
    FitText(p, QRectF(left, g::kMarginTop + 125, width * 0.6, 70), subtitle, Qt::AlignLeft, Font(12, true));
  QString mark = Q(m_.Cover.Number.empty() ? std::string() : "No. " + m_.Cover.Number);
  FitText(p, QRectF(left + width - 700, g::kMarginTop, 700, 60), mark, Qt::AlignRight, Font(9.5));
  if (!m_.Style.Company.empty())
    FitText(p, QRectF(left + width - 900, g::kMarginTop + 125, 900, 70), Q(m_.Style.Company), Qt::AlignRight,
            Font(10));
}

void PageRenderer::DrawBreakdown(QPainter& p, const Page& page) const {
  const auto& cols = BreakdownColumns();
  DrawListFrame(p, "内　訳　書", QString(), page, 0);
  ShadeRows(p, page.Slice, m_.Breakdown);
  DrawTableGrid(p, cols, Font(10));
  const QFont body = Font(10.5), bold = Font(10.5, true);
  int row = 0;
  const PageSlice& s = page.Slice;
  if (s.CarryIn) DrawCarryRow(p, row++, cols, 4, "前頁より繰越", s.Before, body);
  for (int i = s.First; i < s.First + s.Count; ++i, ++row) {
    const BreakdownRow& r = m_.Breakdown[i];
    std::string indent;
    for (int k = 0; k < r.Indent; ++k) indent += "　";
    std::vector<QString> cells{Q(indent + r.Name), Q(r.Qty), Q(r.Unit), Q(r.Inner), Q(r.Amount), Q(r.Remarks)};
    bool strong = r.Style == RowStyle::Heading || r.Style == RowStyle::Total;
    DrawRow(p, row, cols, cells, strong ? bold : body);
    if (r.Style == RowStyle::Total) Line(p, g::kMarginX, RowTop(row) + 6, g::kMarginX + g::kTableWidth, RowTop(row) + 6, kThin);
  }
  if (s.CarryOut) DrawCarryRow(p, row, cols, 4, "次頁へ繰越", s.After, body);
}

void PageRenderer::DrawSheet(QPainter& p, const Page& page) const {
  const auto& cols = SheetColumns();
  const SheetData& sheet = m_.Sheets[page.Sheet];
  DrawListFrame(p, "明　細　書", Q(sheet.Name), page, 0);
  ShadeRows(p, page.Slice, sheet.Rows);
  DrawTableGrid(p, cols, Font(10));
  const QFont body = Font(10), bold = Font(10, true), small = Font(9);
  std::vector<QFont> fonts{body, small, body, body, body, body, small};
  int row = 0;
  const PageSlice& s = page.Slice;
  if (s.CarryIn) DrawCarryRow(p, row++, cols, 5, "前頁より繰越", s.Before, body);
  for (int i = s.First; i < s.First + s.Count; ++i, ++row) {
    const SheetRow& r = sheet.Rows[i];
    std::vector<QString> cells{Q(r.Name), Q(r.Spec), Q(r.Qty), Q(r.Unit), Q(r.Price), Q(r.Amount), Q(r.Remarks)};
    if (r.Style == RowStyle::Total) {
      Line(p, g::kMarginX, RowTop(row) + 6, g::kMarginX + g::kTableWidth, RowTop(row) + 6, kThin);
      std::vector<QFont> strong(cols.size(), bold);
      DrawRow(p, row, cols, cells, bold, &strong);
    } else {
      DrawRow(p, row, cols, cells, body, &fonts);
    }
  }
  if (s.CarryOut) DrawCarryRow(p, row, cols, 5, "次頁へ繰越", s.After, body);
}

}  // namespace zantro::printing
