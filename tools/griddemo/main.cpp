// griddemo: the column grid with cell parameters, named fonts and multi-line cells.
//   griddemo              opens a window
//   griddemo --png FILE   renders the window offscreen into FILE and ends
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstring>

#include "strcgrid/strcolgrid.h"

using namespace zantro;

namespace {

const char* const kHeaders[] = {"No", "名    称　＆　仕　　様", "歩 掛", "GR", "単位",
                                "数  量", "単  価", "金    額", "備    考"};

void SetHeaders(TStrColGrid& grid) {
  const int widths[] = {40, 240, 60, 34, 44, 70, 80, 96, 120};
  for (int c = 0; c < grid.ColCount(); ++c) {
    grid.SetColWidths(c, widths[c]);
    grid.SetCells(c, 0, QString::fromUtf8(kHeaders[c]));
  }
  // One range parameter styles the whole header row.
  TSCGCellParam* header = grid.AddRangeParam(0, 0, grid.ColCount() - 1, 0);
  header->SetCellColor(ColorFromNumber(10652814));
  header->SetCellColorEnabled(true);
  header->SetFontColor(Qt::white);
  header->SetFontColorEnabled(true);
  header->SetAlignment(TAlignment::taCenter);
  header->SetLayout(TTextLayout::tlCenter);
}

void AddFonts(TStrColGrid& grid) {
  TSCGCellFont* bold = grid.Fonts().Add();
  bold->SetName(QStringLiteral("太字"));
  TFont f = grid.Font();
  f.Font.setBold(true);
  bold->SetFont(f);
  TSCGCellFont* large = grid.Fonts().Add();
  large->SetName(QStringLiteral("大"));
  f = grid.Font();
  f.Font.setPointSize(12);
  large->SetFont(f);
}

void FillRows(TStrColGrid& grid) {
  struct Line {
    const char *name, *unit, *qty, *price, *amount, *note;
  };
  const Line lines[] = {
      {"配管用炭素鋼鋼管 SGP 25A", "m", "12.5", "1,250", "15,625", ""},
      {"仕切弁\r10K 50A", "個", "4", "8,400", "33,600", "2 行のセル"},
      {"保温工事\rグラスウール 25t\r屋内露出", "m", "30.0", "2,100", "63,000", "3 行"},
      {"試運転調整", "式", "1", "", "120,000", "太字フォント"},
      {"【合　　計】", "", "", "", "232,225", ""},
  };
  const int k = 0;
  for (int r = 1; r < grid.RowCount(); ++r) {
    grid.SetCells(0, r, QString::number(r));
    grid.SetCellAlignment(0, r, TAlignment::taCenter);
    grid.SetCellFontColor(0, r, Qt::white);
    grid.SetCellColor(k + 3, r, Qt::white);
    grid.SetCellAlignment(k + 3, r, TAlignment::taCenter);
    grid.SetCellAlignment(k + 4, r, TAlignment::taCenter);
    for (int c = k + 5; c <= k + 7; ++c) grid.SetCellAlignment(c, r, TAlignment::taRightJustify);
  }
  for (int i = 0; i < int(std::size(lines)); ++i) {
    const int r = i + 1;
    grid.SetCells(1, r, QString::fromUtf8(lines[i].name));
    grid.SetCells(3, r, QStringLiteral("A"));
    grid.SetCells(4, r, QString::fromUtf8(lines[i].unit));
    grid.SetCells(5, r, QString::fromUtf8(lines[i].qty));
    grid.SetCells(6, r, QString::fromUtf8(lines[i].price));
    grid.SetCells(7, r, QString::fromUtf8(lines[i].amount));
    grid.SetCells(8, r, QString::fromUtf8(lines[i].note));
  }
  grid.SetRowHeights(2, 40);
  grid.SetRowHeights(3, 54);
  for (int c = 3; c <= 8; ++c) grid.FindCellParam(c, 2, true)->SetLayout(TTextLayout::tlCenter);
  grid.FindCellParam(1, 4, true)->SetFontName(QStringLiteral("太字"));
  grid.FindCellParam(8, 4, true)->SetFontName(QStringLiteral("太字"));
  grid.SetCellFontWidth(1, 5, 2);
  grid.SetCellFontWidth(7, 5, 2);
  grid.SetCells(3, 5, QStringLiteral("\\"));

  // A caption above the cell text, and a hatched cell.
  TSCGCellParam* top = grid.FindCellParam(8, 6, true);
  top->SetCaption(QStringLiteral("ctTop 見出し"));
  top->SetCaptionType(TSCGCellCaptionType::ctTop);
  top->SetFontColor(QColor(0x80, 0, 0));
  grid.SetRowHeights(6, 40);
  grid.SetCells(1, 6, QStringLiteral("大きいフォント"));
  grid.FindCellParam(1, 6, true)->SetFontName(QStringLiteral("大"));
  TSCGCellParam* hatch = grid.FindCellParam(2, 6, true);
  hatch->SetBrush(QBrush(QColor(0x90, 0x90, 0xC0), Qt::BDiagPattern));
  hatch->SetBrushEnabled(true);
  grid.SetCells(1, 7, QStringLiteral("ヘッダ型: "));
  TSCGCellParam* headerCaption = grid.FindCellParam(1, 7, true);
  headerCaption->SetCaption(QStringLiteral("[前置]"));
  headerCaption->SetCaptionType(TSCGCellCaptionType::ctHeader);
}

}  // namespace

int main(int argc, char** argv) {
  const char* png = nullptr;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--png") == 0) png = argv[i + 1];
  if (png) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  QWidget window;
  window.setWindowTitle(QStringLiteral("griddemo"));
  auto* layout = new QVBoxLayout(&window);
  auto* status = new QLabel(&window);
  auto* grid = new TStrColGrid(&window);
  grid->setObjectName(QStringLiteral("StrColGrid1"));
  grid->SetColCount(9);
  grid->SetRowCount(101);
  grid->SetFixedColor(ColorFromNumber(10652814));
  grid->SetOptions(grid->Options() | goRowSelect);
  grid->SetFocusCellColor(QColor(0xFF, 0xF0, 0xB0));
  SetHeaders(*grid);
  AddFonts(*grid);
  FillRows(*grid);
  grid->SetRow(3);
  grid->OnRowChanged = [status](TObject*, int oldRow, int newRow) {
    status->setText(QStringLiteral("row %1 → %2").arg(oldRow).arg(newRow));
  };
  QObject::connect(grid, &TStringGrid::dblClick, status, [status, grid] {
    status->setText(QStringLiteral("double click on row %1: %2")
                        .arg(grid->Row())
                        .arg(grid->Cells(1, grid->Row())));
  });
  QObject::connect(grid, &TStringGrid::handlerError, status, &QLabel::setText);
  layout->addWidget(grid);
  layout->addWidget(status);
  window.resize(860, 420);
  window.show();
  grid->setFocus();

  if (!png) return app.exec();
  QApplication::processEvents();
  if (!window.grab().save(QString::fromLocal8Bit(png))) {
    std::fprintf(stderr, "griddemo: cannot write %s\n", png);
    return 1;
  }
  return 0;
}
