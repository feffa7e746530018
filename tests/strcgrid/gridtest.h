// Shared set-up of the grid tests: one application object and a grid whose focus can be set
// without a window manager.
#pragma once

#include <QApplication>
#include <QImage>

#include "strcgrid/strcolgrid.h"

namespace zantro::test {

inline void EnsureApp() {
  if (QApplication::instance()) return;
  static int argc = 1;
  static char name[] = "test_strcgrid";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

// A grid that answers "has the input focus" as the test says.
class TestGrid : public TStrColGrid {
 public:
  TestGrid() {
    resize(420, 240);
    TFont f = Font();
    // Unsmoothed text, so that overdrawn copies add up pixel by pixel.
    f.Font = QFont(QStringLiteral("DejaVu Sans"), 9);
    f.Font.setStyleStrategy(QFont::NoAntialias);
    SetFont(f);
  }
  bool focused = false;
  QImage Render() {
    if (!isVisible()) show();
    return RenderImage();
  }
  using TStrColGrid::ApplyFocusColors;

 protected:
  bool IsActiveControl() const override { return focused; }
};

inline bool IsDark(QRgb px) { return qGray(px) < 128; }

}  // namespace zantro::test
