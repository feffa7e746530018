// The menu items and buttons of the window that are not command words: documents, save,
// settings, the helper programs, information messages, the view and width commands.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "general/workfiles.h"
#include "messages/launches.h"
#include "platform/gui/dialogs.h"
#include "platform/sysinfo.h"
#include "uzantro/companionclasses.h"
#include "uzantro/fzantro.h"

namespace zantro {

void TFZANTRO::SetMenuEnabled(const QString& name, bool on) {
  auto* menu = qobject_cast<QMenu*>(Component(name));
  if (!menu) return;
  menu->setEnabled(on);
  menu->menuAction()->setEnabled(on);
}

void TFZANTRO::ConnectMenuCommands() {
  auto sheetOnly = [this](std::function<void()> fn) {
    return [this, fn] {
      if (SheetMode()) fn();
    };
  };
  RegisterClick("NewMenu", [this] { NewCommand(); });
  RegisterClick("OpenMenu", [this] { OpenCommand(); });
  RegisterClick("Version1Menu", [this] { Version1Command(); });
  RegisterClick("N42", [this] { RestoreUndoSet(); });
  // The document list: the menu item closes the companions of the open document first.
  auto documentList = [this](bool fromMenu) {
    if (doc_.DocumentModified && !dialogs_->AskExecute("編集中のデ－タが失われます。", "実行", "キャンセル")) return;
    if (fromMenu) CloseCompanions(kDocumentCompanions);
    if (!RestoreCompanion("Tfdocpick_Dlg")) StartCompanion("docpick_dlg.exe", DocPickLaunch{programEdition_}.Encode());
  };
  RegisterClick("N43", [documentList] { documentList(true); });
  RegisterClick("IconButton22", [documentList] { documentList(false); });
  RegisterClick("KS1", [this] { SaveCommand(0); });
  RegisterClick("SaveIcon", [this] { SaveCommand(0); });
  RegisterClick("clBtnFace", [this] { close(); });
  RegisterClick("N44", [this] {
    if (!RestoreCompanion("Tfsetup_Dlg")) StartCompanion("setup_dlg.exe", EditionLaunch::Setup(programEdition_).Encode());
  });
  RegisterClick("N101", [this] {
    QAction* a = Action("N101");
    if (!ShiftHeld()) return StartHelper(Helper::Notepad);
    dialogs_->ShowNotice(a->text());
    a->setShortcut(QKeySequence("Ctrl+M"));
  });
  RegisterClick("N102", [this] {
    MemoryStatus m = ReadMemoryStatus();
    dialogs_->ShowNotice(QString("現在のメモリーは\r\nFree %1 / Total %2 Bytes").arg(m.AvailableBytes).arg(m.TotalBytes));
  });
  RegisterClick("N103", [this] {
    dialogs_->ShowNotice(QString("現在の画面解像度は\r\n%1×%2").arg(screenSize_.width()).arg(screenSize_.height()));
  });
  RegisterClick("is1", [this] {
    dialogs_->ShowNotice("現在のインストールフォルダー\r\n" + QString::fromStdString(LongPathName(programFolder_)));
  });
  RegisterClick("N132", [this] { dialogs_->ShowNotice("ザントロ-XP版-Devived2\r\nRelease Version 20040909"); });

  RegisterClick("N55", sheetOnly([this] { SetAmountSide(1); }));
  RegisterClick("N56", sheetOnly([this] { SetAmountSide(0); }));
  RegisterClick("netbt", sheetOnly([this] { SetAmountSide(1); }));
  RegisterClick("GradBtn23", sheetOnly([this] { SetAmountSide(0); }));
  RegisterClick("N41", sheetOnly([this] { TogglePriceKind(); }));
  RegisterClick("N5", sheetOnly([this] { SetLayout(ColumnLayout::Nine); }));
  RegisterClick("N1", sheetOnly([this] { SetLayout(ColumnLayout::Ten); }));
  RegisterClick("N51", sheetOnly([this] { ResetSheetFormat(); }));
  RegisterClick("TopPage1", sheetOnly([this] { Dispatch("top_line", Action("TopPage1")); }));
  RegisterClick("PAGE12", sheetOnly([this] { Dispatch("Last_Line", Action("PAGE12")); }));
  RegisterClick("N6", sheetOnly([this] { AddGridRows(1); }));
  RegisterClick("N1010", sheetOnly([this] { AddGridRows(10); }));
  RegisterClick("N164", [this] { SaveSheetWidths(); });
  RegisterClick("N159", [this] { SaveSheetWidths(); });
  RegisterClick("N162", [this] { SaveBreakdownWidths(); });
  RegisterClick("GradBtn34", [this] {
    SaveSheetChecked("WRK");
    SelectTab(0);
    TabControl1Change(0);
  });
  for (int i = 0; i < 5; ++i) {
    RegisterClick((QString("Level%1").arg(i + 1) + "1"), [this, i] {
      levelBox_->setCurrentIndex(i);
      ApplyLevelChecks();
    });
  }
  for (int i = 1; i <= 6; ++i) {
    QString name = QString("MDATA%1").arg(i);
    RegisterClick(name, [this, name] { MDATA1Click(Component(name)); });
  }
}

}  // namespace zantro
