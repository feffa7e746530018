// The pipe forms: pipemat_dlg (a run of pipe of a material and size, with its joints,
// supports and insulation when ticked) and pipefit_dlg (a counted fitting, valve or fixture
// of one of the five groups named by fgtanka_f.conf of the pipe folder).
#pragma once
#include <array>
#include <string>

#include "linesform.h"
#include "prices/library.h"

class QCheckBox;
class QComboBox;

namespace zantro {

class PipeMaterialForm : public LinesForm {
 public:
  PipeMaterialForm(ProgramShell& shell, int level, PriceLibrary lib);

 protected:
  std::optional<Result> Compute(bool loud) override;

 private:
  void FillSizes();
  PriceLibrary lib_;
  QComboBox *material_, *size_;
  QLineEdit* length_;
  QCheckBox *joints_, *supports_, *insulation_;
};

class PipeFittingForm : public LinesForm {
 public:
  // libs: the five groups' libraries (an absent file is an empty library); group 1..5.
  PipeFittingForm(ProgramShell& shell, int level, std::array<PriceLibrary, 5> libs,
                  const std::array<std::string, 5>& groupNames, int group);

 protected:
  std::optional<Result> Compute(bool loud) override;

 private:
  void FillItems();
  void FillSizes();
  const PriceLibrary& Lib() const;
  std::array<PriceLibrary, 5> libs_;
  QComboBox *group_, *item_, *size_;
  QLineEdit* count_;
};

}  // namespace zantro
