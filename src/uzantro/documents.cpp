// The document steps of the window: new, open (container or version-1 file), open an item's
// sheet, restore the undo set, save through the save companion.
#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "general/container.h"
#include "general/doccheck.h"
#include "general/editframe.h"
#include "general/errors.h"
#include "general/workfiles.h"
#include "messages/launches.h"
#include "platform/files.h"
#include "platform/launcher.h"
#include "platform/runtime.h"
#include "uzantro/companionclasses.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {


const char* kLoseQuestion = "編集中のデ－タが失われます。";

}  // namespace

void TFZANTRO::TakeUndoPoint(EditScope scope) {
  WriteUndoSet(doc_, programFolder_, scope);
  RecordUndoStep(scope, doc_);
}

void TFZANTRO::RecordUndoStep(EditScope scope, const Document& before,
                              const std::map<std::string, std::optional<std::string>>& kept) {
  history_.Push(StepFromUndoSet(programFolder_, scope == EditScope::Sheet, before.CurrentItem, kept));
}

void TFZANTRO::StepThroughHistory(bool redo) {
  SaveUnsavedSheet();  // the files hold what the screen shows before they are taken
  auto now = [this](const UndoStep& s) { return FilesNow(programFolder_, s, doc_.CurrentItem); };
  auto step = redo ? history_.Redo(now) : history_.Undo(now);
  if (!step) return;
  CloseCompanions(kDocumentCompanions);
  PutBackFiles(programFolder_, step->Files);
  LoadHead(doc_, programFolder_, "WRK");
  doc_.CurrentItem = step->CurrentItem;
  EnsureItemAndLoadSheet(doc_, programFolder_, doc_.CurrentItem);
  doc_.GroupNames = SplitGroupNames(doc_.Title.Opt1Str.view());
  doc_.DocumentModified = true;
  try {
    ShowTotals(SheetMode() ? 0 : 1);
  } catch (const MoneyOverflow& e) {
    dialogs_->ShowError(QString::fromUtf8(e.what()));
  }
  Changed(ChangeScope::Document);
}

void TFZANTRO::SaveSheetTo(std::string_view set) {
  if (!waiting_) SaveSheet(doc_, programFolder_, set);  // as SaveSheetChecked
}
void TFZANTRO::SaveHeadTo(std::string_view set) { SaveHead(doc_, programFolder_, set); }

void TFZANTRO::SaveSheetChecked(std::string_view set) {
  // The program waited for (the takeoff) owns the sheet's work files until it ends: a command
  // string handled meanwhile changes the sheet in memory only, and the reload after the program
  // replaces that change by what the program wrote.
  if (waiting_) return;
  if (!SaveSheet(doc_, programFolder_, set))
    throw FileError(WorkFileNotWritten(JoinPath(programFolder_, SheetFile(doc_.CurrentItem, set))));
  if (set == "WRK") sheetUnsaved_ = false;
}

void TFZANTRO::SaveUnsavedSheet() {
  if (sheetUnsaved_) SaveSheetChecked("WRK");
}

void TFZANTRO::NewDocument() {
  StartEmptyDocument();
  SaveSheetTo("UND");
  SaveSheetTo("WRK");
  ShowTotals(0);
  RefreshSheet();
}

void TFZANTRO::StartEmptyDocument(bool makeBackup) {
  sheetUnsaved_ = false;
  history_.Clear();  // the steps name the files of the document that goes
  docName_->clear();
  // DiscardDocument: the boxes show an empty document until the new one is drawn.
  for (const char* box : {"SUBNBOX", "SUBGBOX", "gsagaku", "NTOTALBOX", "GTOTALBOX", "nsagaku", "AV1PL", "AV2PL"})
    Label(box)->setText("0");
  // The five calculation settings go back to the defaults and the configuration is read before
  // the first item of the new document takes them, so no setting of the previous document's
  // item leaks in. Every other setting stays as it is unless the file names it again.
  conf_.Settings = ZantroConfig{}.Settings;
  doc_.Settings = conf_.Settings;
  InitDocument(doc_, programFolder_, makeBackup);
  ApplyConfiguration();
  ShowTitleBoxes();
  ApplySheetLayout();
  SetColumnHeaders();
  ApplyPriceLevels();
  doc_.CurrentItem = 1;
  grid_->SetRowCount(101);
}

void TFZANTRO::NewCommand() {
  if (doc_.DocumentModified && !dialogs_->AskExecute(kLoseQuestion, "実行", "キャンセル")) return;
  CloseCompanions(kAllCompanions);
  NewDocument();
  RebuildItemTabs();
  EnterSheetMode();
  SelectRows(1, 1);
  grid_->SetLeftCol(grid_->FixedCols());
  doc_.DocumentModified = false;
}

void TFZANTRO::OpenCommand() {
  if (doc_.DocumentModified && !dialogs_->AskExecute(kLoseQuestion, "実行", "キャンセル")) return;
  if (dataDir_.empty()) dataDir_ = JoinPath(programFolder_, "Sample");  // stays for the run
  auto path = dialogs_->OpenFileIn(FolderKind::Open, {"デ－タ読込", "ザントロファイル(znt2)|*.znt2;", "znt2", QString::fromStdString(dataDir_)});
  if (!path) return;
  CloseCompanions(kDocumentCompanions);
  OpenDocument(*path);
}

void TFZANTRO::Version1Command() {
  if (doc_.DocumentModified && !dialogs_->AskExecute(kLoseQuestion, "実行", "キャンセル")) return;
  QString initial = QString::fromStdString(dataDir_.empty() ? JoinPath(programFolder_, "Sample") : dataDir_);
  auto path = dialogs_->OpenFileIn(FolderKind::Import, {"Version1のデータ読込", "ザントロVersion1(znt)|*.znt", "znt", initial});
  if (!path) return;
  CloseCompanions(kDocumentCompanions);
  OpenDocument(*path);
}

bool TFZANTRO::OpenDocument(const QString& path) {
  // The whole file is read and checked, its recomputation included, before anything of the
  // open document is touched: a file that cannot be opened costs the user nothing.
  // The bar runs over the check (each item; the user may stop it) and then the writing of the
  // new work files apart (which, once begun, runs to its end).
  std::string file = path.toStdString();
  ParsedDocument parsed;
  auto progress = dialogs_->StartProgress("開いています");
  try {
    parsed = ParseDocumentFile(file);
    ProgressStage check(*progress, 0, parsed.ItemCount(), 2 * int64_t{parsed.ItemCount()});
    CheckRecomputation(parsed, file, check);
    if (!FolderWritable(programFolder_)) throw FileError("プログラムフォルダーに書き込めません: " + programFolder_);
  } catch (const FileError& e) {
    progress.reset();
    dialogs_->ShowError(QString::fromUtf8(e.what()));
    return false;
  } catch (const ProgressCancelled&) {
    return false;  // the open document stays as it was
  }
  // The new work files are written apart first; only a complete set replaces the open
  // document, which then becomes the backups. A disk that fills up before that leaves the
  // window, the work files and the backups as they were.
  try {
    ProgressStage write(*progress, parsed.ItemCount(), parsed.ItemCount(), 2 * int64_t{parsed.ItemCount()});
    StageWorkFiles(parsed, programFolder_, write);
    progress.reset();
  } catch (const FileError& e) {
    progress.reset();
    dialogs_->ShowError(QString::fromUtf8(e.what()));
    return false;
  }
  std::string error;
  const bool taken = TakeStagedSet(programFolder_, &error);
  StartEmptyDocument(false);
  if (!taken) {
    // The open document is in the backups already; the folder holds no document, so the next
    // start keeps them. The window shows an empty document it has not written.
    RebuildItemTabs();
    EnterSheetMode();
    ShowTotals(0);
    RefreshSheet();
    dialogs_->ShowError(QString::fromUtf8(error.c_str()));
    return false;
  }
  LoadHead(doc_, programFolder_, "WRK");
  doc_.CurrentItem = FirstShownItem(doc_);
  EnsureItemAndLoadSheet(doc_, programFolder_, doc_.CurrentItem);
  ShowTitleBoxes();
  doc_.GroupNames = SplitGroupNames(doc_.Title.Opt1Str.view());
  SaveHeadTo("UND");
  SaveHeadTo("WRK");
  ShowTotals(0);
  if (doc_.ItemList.size() < 3) {
    doc_.CurrentItem = 1;
    EnsureItemAndLoadSheet(doc_, programFolder_, 1);
    ShowTitleBoxes();
    RebuildItemTabs();
    ApplySheetLayout();
    EnterSheetMode();
    ShowTotals(0);
    RefreshSheet();
    SaveSheetTo("UND");
    SaveSheetTo("WRK");
  } else {
    RebuildItemTabs();
    SelectTab(0);
    EnterBreakdownMode();
  }
  SelectRows(1, 1);
  grid_->SetLeftCol(grid_->FixedCols());
  docName_->setText(path);
  doc_.DocumentModified = false;
  return true;
}

void TFZANTRO::OpenItem(int32_t n) {
  SaveUnsavedSheet();
  LoadHead(doc_, programFolder_, "WRK");
  doc_.CurrentItem = n;
  EnsureItemAndLoadSheet(doc_, programFolder_, n);
  ShowTitleBoxes();
  doc_.GroupNames = SplitGroupNames(doc_.Title.Opt1Str.view());
  RebuildItemTabs();
  ApplySheetLayout();
  EnterSheetMode();
  ShowSheet();
  SelectRows(1, 1);
  grid_->SetLeftCol(grid_->FixedCols());  // a sheet opens at its name column
}

void TFZANTRO::RestoreUndoSet() {
  CloseCompanions(kDocumentCompanions);
  // Work files that the last command moved belong to the undo set as well.
  RestoreKeptFiles(programFolder_);
  LoadHead(doc_, programFolder_, "UND");
  ShowTotals(1);
  SaveHeadTo("WRK");
  ReloadSheet(doc_, programFolder_, "UND");
  ShowTotals(0);
  RebuildItemTabs();
  EnterSheetMode();
  ApplySheetLayout();
  Changed(ChangeScope::Document);
  // The restored state still differs from the saved file: the flag stays set (SaveSheet set
  // it), so closing asks before the edits are lost.
  SaveSheetTo("WRK");
}

void TFZANTRO::SaveCommand(int mode) {
  SaveSheetTo("WRK");
  if (!CompanionPresent(programFolder_, "docsave_dlg.exe")) {
    // Without the save dialog nothing would happen and the document could not be saved.
    dialogs_->ShowNotice("保存ダイアログがインストールされていません");
    return;
  }
  if (RestoreCompanion("Tfdocsave_Dlg")) return;
  StartCompanion("docsave_dlg.exe", DocSaveLaunch{Sjis(docName_->text()), mode}.Encode());
}

bool TFZANTRO::StartCompanion(std::string_view exeName, const std::string& argument) {
  if (!CompanionPresent(programFolder_, exeName)) return false;
  return launcher_->Start(CompanionPath(programFolder_, exeName), argument, programFolder_);
}

namespace {

// While a companion is waited for, the mouse and the keyboard do not reach the window: its
// widgets would change what the companion works on. Other windows (a message box a companion
// command shows) stay usable; menu items and buttons refuse in OnActivated.
class InputRefusal : public QObject {
 public:
  InputRefusal(QWidget* window, bool& waiting) : window_(window), waiting_(waiting) {
    waiting_ = true;
    qApp->installEventFilter(this);
  }
  ~InputRefusal() override {
    qApp->removeEventFilter(this);
    waiting_ = false;
  }
  bool eventFilter(QObject* receiver, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease: case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress: case QEvent::KeyRelease: case QEvent::Wheel: case QEvent::ShortcutOverride: {
        auto* w = qobject_cast<QWidget*>(receiver);
        return w && (w == window_ || window_->isAncestorOf(w));
      }
      default: return false;
    }
  }

 private:
  QWidget* window_;
  bool& waiting_;
};

}  // namespace

int TFZANTRO::StartCompanionAndWait(std::string_view exeName, const std::optional<std::string>& argument) {
  int status;
  {
    InputRefusal refusal(this, waiting_);
    status = launcher_->StartAndWait(CompanionPath(programFolder_, exeName), argument, programFolder_,
                                     [] { QApplication::processEvents(); });
  }
  if (closeAfterWait_) {
    closeAfterWait_ = false;
    QTimer::singleShot(0, this, [this] { close(); });
  }
  return status;
}

void TFZANTRO::StartHelper(Helper h) {
  if (headless_) {
    // Helper programs are desktop tools; a script only sees that one was asked for.
    launcher_->Report(std::string(HelperDocName(h)), std::nullopt);
    return;
  }
  auto cmd = FindHelper(h);
  if (!cmd) {
    dialogs_->ShowNotice(QString::fromUtf8(HelperDocName(h).data()) + " に当たるプログラムがインストールされていません");
    return;
  }
  launcher_->Start(cmd->program, cmd->argument, programFolder_);
}

}  // namespace zantro
