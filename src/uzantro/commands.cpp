// The command dispatcher: every item and button that carries a command word in its hint
// reaches Dispatch, which runs the handler the command table holds for the mode shown. This
// file registers the words that only move the view and the steps through the history; the
// sheet commands (SheetCommands) those that edit a sheet; later modules theirs.
#include <QAction>
#include <QComboBox>
#include <QPushButton>

#include "messages/launches.h"
#include "platform/conffile.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

const char* kBreakdownMode = "現在は内訳モードです。";
}  // namespace

QString NotInstalledNotice(const QString& what) { return what + "\r\n製品のホームページから入手して下さい"; }

void TFZANTRO::Dispatch(const QString& word, QObject* sender) {
  if (const CommandHandler* handler = commands_.Find(word, SheetMode())) return (*handler)(sender);
  if (!commands_.Knows(word)) {
    dialogs_->ShowError("コマンド \"" + word + "\" は登録されていません");
    return;
  }
  // A sheet word on the breakdown list; a breakdown word on a sheet does nothing.
  if (!SheetMode()) dialogs_->ShowNotice(kBreakdownMode);
}

void TFZANTRO::popup_menu_itemClick(QObject* sender) { Dispatch(sender->property("hint").toString(), sender); }

void TFZANTRO::Operate_btnClick(QObject* sender) { Dispatch(sender->property("hint").toString(), sender); }

void TFZANTRO::RegisterViewCommands() {
  using enum CommandMode;
  RegisterCommand("top_line", Both, [this](QObject*) { SelectTopLine(); });
  RegisterCommand("all_cancel", Both, [this](QObject*) { SelectRows(1, 1); });
  RegisterCommand("calc", Both, [this](QObject*) { StartHelper(Helper::Calc); });
  RegisterCommand("close", Both, [this](QObject*) { close(); });
  RegisterCommand("all_select", Sheet, [this](QObject*) { SelectRows(1, std::max(1, doc_.LastLine())); });
  RegisterCommand("Last_Line", Sheet, [this](QObject*) { SelectLastLine(); });
  RegisterCommand("dataproperty", Sheet, [this](QObject*) { ShowLineProperties(); });
  // The history of steps, on the sheet and on the list alike.
  RegisterCommand("undo_step", Both, [this](QObject*) { StepThroughHistory(false); });
  RegisterCommand("redo_step", Both, [this](QObject*) { StepThroughHistory(true); });
}

void TFZANTRO::StrColGrid1DblClick() {
  if (SheetMode()) Dispatch("new_data", grid_);
  else if (const CommandHandler* h = commands_.Find("dblclick_breakdown", false)) (*h)(grid_);
}

void TFZANTRO::MDATA1Click(QObject* sender) {
  if (!SheetMode()) return dialogs_->ShowNotice(kBreakdownMode);
  int tag = sender->property("tag").toInt();
  std::string set = ReadConfValue(programFolder_, kZantroConf, "[EDIT_OPT3]").value_or("");
  if (set == "0") {
    if (RestoreCompanion("Tfseqprice_Dlg")) return;
    LevelNames levels;
    for (int i = 0; i < 5; ++i) levels[i] = Sjis(levelBox_->itemText(i));
    PricePickLaunch launch{conf_.MultiDir, tag, LevelIndex() + 1, Sjis(static_cast<QPushButton*>(sender)->text()),
                           std::nullopt, levels};
    StartCompanion("seqprice_dlg.exe", launch.Encode());
  } else if (set == "2") {
    SaveSheetTo("UND");
    static const char* programs[] = {"sheetduct_dlg.exe", "spiralduct_dlg.exe", "airterm_dlg.exe",
                                     "ductfit_dlg.exe",   "ductvalve_dlg.exe",  "ductfit_dlg.exe"};
    if (tag < 1 || tag > 6) return;
    // The duct buttons start their program without looking for it first; the last button is
    // duct fittings 2, the fittings dialog in its second mode.
    DuctLaunch launch{LevelIndex(), tag == 6 ? 2 : 1, DuctNetworkFolder()};
    launcher_->Start(CompanionPath(programFolder_, programs[tag - 1]), launch.Encode(), programFolder_);
  } else if (set == "1") {
    if (tag == 1) {
      if (!StartCompanion("pipemat_dlg.exe", PipeMaterialLaunch{LevelIndex(), PipeNetworkFolder()}.Encode()))
        dialogs_->ShowNotice(NotInstalledNotice("管材ダイアログがインストールされていません"));
    } else if (!StartCompanion("pipefit_dlg.exe", PipeFittingLaunch{tag - 1, LevelIndex(), PipeNetworkFolder()}.Encode())) {
      dialogs_->ShowNotice(NotInstalledNotice("配管付属品・器具ダイアログがインストールされていません"));
    }
  }
}

}  // namespace zantro
