// The pick list dialog (TfPICKDATA_Dlg): the entries of one list file, kept by the user
// (add, change, delete, reorder; the file rewritten after each change) and picked into the
// window as the reply command the launch names: a comment line of the sheet (WM_DATAWRITE and
// the other line writes), the name of the current item (WM_KEITO) or a note row of the
// breakdown list (WM_ITEMNOTE).
#pragma once
#include <QWidget>
#include <string>
#include <vector>

#include "messages/commands.h"

class QLineEdit;
class QTableWidget;

namespace zantro {

class ProgramShell;

class PickDialog : public QWidget {
 public:
  // reply is one of the commands a pick list answers with; entries as read from path.
  PickDialog(ProgramShell& shell, std::string path, Command reply, std::vector<std::string> entries);

 private:
  void Fill(int current);
  int CurrentRow() const;
  // Rewrites the file with entries; the table follows only when the file was written.
  bool Store(std::vector<std::string> entries, int current);
  std::optional<std::string> TypedEntry();
  void Add();
  void Change();
  void Delete();
  void Move(int step);
  void Pick();

  ProgramShell& shell_;
  std::string path_;
  Command reply_;
  std::vector<std::string> entries_;  // Shift-JIS
  QTableWidget* table_;
  QLineEdit* entry_;
};

// The reply command of a launch, or nullopt for one a pick list cannot answer with.
std::optional<Command> PickReply(const std::string& replyCommand);

}  // namespace zantro
