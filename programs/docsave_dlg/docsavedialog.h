// docsave_dlg (Tfdocsave_Dlg): where the open document is saved. The folder starts at the
// configured data folder, else the document's own folder, else the home folder; the name at
// the document's own name, else the title's document number and project name. The window is
// told "WM_SAVECOMP;PATH;" and writes the file; in mode 1 (the window was being closed) the
// dialog closes the window once the file is there.
#pragma once
#include <QLineEdit>
#include <QWidget>
#include <string>

#include "general/records.h"
#include "messages/launches.h"

namespace zantro {

class ProgramShell;

// The file name a document is proposed under (without ".znt2"): the base name of its path,
// else "NUMBER_PROJECT" from its title, else "見積". UTF-8; characters a file name or a
// command field cannot hold become "_".
std::string ProposedName(const std::string& documentPath, const TitleRecord& title);

class DocSaveDialog : public QWidget {
 public:
  DocSaveDialog(ProgramShell& shell, DocSaveLaunch launch);

 private:
  void Browse();
  void Save();
  // The checked path (UTF-8) or empty after a notice.
  std::string TargetPath();

  ProgramShell& shell_;
  DocSaveLaunch launch_;
  QLineEdit* folder_;
  QLineEdit* name_;
};

}  // namespace zantro
