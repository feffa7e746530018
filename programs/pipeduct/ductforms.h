// The duct forms, one per program name: sheet-steel duct (width, height, length: the area at
// the price of the plate its long side calls for), spiral duct (diameter, length), duct
// fittings (a fitting type counted as duct area) and the counted items of outlets, dampers,
// equipment and sundries.
#pragma once
#include <vector>

#include "linesform.h"
#include "pipeduct/ductcalc.h"
#include "prices/library.h"
#include "prices/pick.h"

class QComboBox;

namespace zantro {

class SheetDuctForm : public LinesForm {
 public:
  SheetDuctForm(ProgramShell& shell, int level, PriceLibrary lib, std::vector<ThicknessRow> table);

 protected:
  std::optional<Result> Compute(bool loud) override;

 private:
  PriceLibrary lib_;
  std::vector<ThicknessRow> table_;
  QLineEdit *width_, *height_, *length_, *allowance_;
};

class SpiralDuctForm : public LinesForm {
 public:
  SpiralDuctForm(ProgramShell& shell, int level, PriceLibrary lib);

 protected:
  std::optional<Result> Compute(bool loud) override;

 private:
  PriceLibrary lib_;
  QLineEdit *diameter_, *length_;
};

class DuctFittingForm : public LinesForm {
 public:
  DuctFittingForm(ProgramShell& shell, int level, PriceLibrary lib, int variant);

 protected:
  std::optional<Result> Compute(bool loud) override;

 private:
  PriceLibrary lib_;
  std::vector<PriceSet> sets_;
  QComboBox* type_;
  QLineEdit *width_, *height_, *count_;
};

// Outlets and inlets, dampers, equipment, sundries: an entry and a count.
class DuctPiecesForm : public LinesForm {
 public:
  DuctPiecesForm(ProgramShell& shell, int level, PriceLibrary lib, const char* objectName, const QString& caption);

 protected:
  std::optional<Result> Compute(bool loud) override;

 private:
  PriceLibrary lib_;
  QComboBox* type_;
  QLineEdit* count_;
};

}  // namespace zantro
