// The command dispatcher: every item and button that carries a command word in its hint
// reaches Dispatch. This module handles the words that only move the view; the editing
// modules register theirs with RegisterCommand.
#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTabBar>

#include "platform/conffile.h"
#include "uzantro/fzantro.h"

namespace zantro {
namespace {

const char* kBreakdownMode = "現在は内訳モードです。";
}  // namespace

QString NotInstalledNotice(const QString& what) {
  return what + "\r\nFerrowindのホームページから入手して下さい\r\nhttps://www.ferrowind.example/";
}

void TFZANTRO::Dispatch(const QString& word, QObject* sender) {
  if (auto it = commands_.find(word); it != commands_.end()) return it->second(sender);
  if (word == "top_line") return SelectTopLine();
  if (word == "all_cancel") return SelectRows(1, 1);
  if (word == "calc") return StartHelper(Helper::Calc);
  if (word == "close") return (void)close();
  if (!SheetMode()) return;  // the breakdown words come with the breakdown module
  if (word == "all_select") return SelectRows(1, std::max(1, doc_.LastLine()));
  if (word == "Last_Line") return SelectLastLine();
  if (word == "dataproperty") return ShowLineProperties();
  // Unknown words (the popup's "sum_line") do nothing.
}

void TFZANTRO::StrColGrid1DblClick() {
  if (SheetMode()) Dispatch("new_data", grid_);
  else if (auto it = commands_.find("dblclick_breakdown"); it != commands_.end()) it->second(grid_);
}

void TFZANTRO::MDATA1Click(QObject* sender) {
  if (!SheetMode()) return dialogs_->ShowNotice(kBreakdownMode);
  int tag = sender->property("tag").toInt();
  std::string set = ReadConfValue(programFolder_, kZantroConf, "[EDIT_OPT3]").value_or("");
  std::string level = std::to_string(LevelIndex());
  if (set == "0") {
    if (RestoreCompanion("Tfseqprice_Dlg")) return;
    std::string names;
    for (int i = 0; i < 5; ++i) names += Sjis(levelBox_->itemText(i)) + ";";
    StartCompanion("seqprice_dlg.exe", conf_.MultiDir + ";" + std::to_string(tag) + ";" +
                                           std::to_string(LevelIndex() + 1) + ";" +
                                           Sjis(static_cast<QPushButton*>(sender)->text()) + ";" + names);
  } else if (set == "2") {
    SaveSheetTo("UND");
    static const char* programs[] = {"sheetduct_dlg.exe", "spiralduct_dlg.exe", "airterm_dlg.exe",
                                     "ductfit_dlg.exe",   "ductvalve_dlg.exe",  "ductfit_dlg.exe"};
    if (tag < 1 || tag > 6) return;
    std::string mode = tag == 6 ? ";2;" : ";1;";
    // The duct buttons start their program without looking for it first.
    launcher_->Start(CompanionPath(programFolder_, programs[tag - 1]), "0;" + level + ";0;" + mode + DuctNetworkFolder() + ";",
                     programFolder_);
  } else if (set == "1") {
    if (tag == 1) {
      if (!StartCompanion("pipemat_dlg.exe", "0;" + level + ";0;;;2;" + PipeNetworkFolder() + ";"))
        dialogs_->ShowNotice(NotInstalledNotice("管材ダイアログがインストールされていません"));
    } else if (!StartCompanion("pipefit_dlg.exe",
                               "0;" + std::to_string(tag - 1) + ";" + level + ";0;;" + PipeNetworkFolder() + ";")) {
      dialogs_->ShowNotice(NotInstalledNotice("配管付属品・器具ダイアログがインストールされていません"));
    }
  }
}

}  // namespace zantro
