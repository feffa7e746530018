// The settings dialog (Tfsetup_Dlg): the keys of Zantro.conf an estimator changes, on pages
// (calculation, display, names, folders, button names). Each field is named after its key;
// saving rewrites only the keys whose value changed, every other line kept in its place.
#pragma once
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QGridLayout;
class QLineEdit;

namespace zantro {

class ConfLines;
class ProgramShell;
struct KeySpec;

class SetupDialog : public QWidget {
 public:
  SetupDialog(ProgramShell& shell, std::string confBytes);

 private:
  struct Field {
    const KeySpec* Spec;
    QLineEdit* Edit = nullptr;    // texts, numbers, folders
    QComboBox* Box = nullptr;     // choices
    std::string Shown;            // the value as read (Shift-JIS), or the choice's value
  };
  QWidget* Page(const std::vector<KeySpec>& keys, const ConfLines& conf, int columns);
  void AddField(const KeySpec& spec, const ConfLines& conf, QGridLayout* grid, int row, int column);
  // The value of a field to store, or nullopt after a notice at the field.
  std::optional<std::string> ValueOf(const Field& f);
  bool GroupNamesFit();
  void Save();

  ProgramShell& shell_;
  std::vector<Field> fields_;
};

}  // namespace zantro
