// What every launcher of a companion shares: the single-instance start, the breakdown-list
// refusal, and the values the argument strings take from the window (group and level names,
// the caption of the item that was clicked). Texts of argument strings are Shift-JIS.
#pragma once
#include <QString>
#include <string>
#include <string_view>

#include "messages/launches.h"

class QObject;

namespace zantro {

class TFZANTRO;

inline constexpr const char* kBreakdownModeNotice = "現在は内訳モードです。";

// Starts exe with argument unless a window of windowClass runs: that one is brought to the
// front instead. A missing program starts nothing, silently.
void StartSingle(TFZANTRO& w, const char* windowClass, std::string_view exe, const std::string& argument);

// True (and the notice shown) while the breakdown list is shown: the command works on a sheet.
bool RefusedOnBreakdown(TFZANTRO& w, const QString& notice = kBreakdownModeNotice);

GroupNames GroupNamesOf(TFZANTRO& w);
LevelNames LevelNamesOf(TFZANTRO& w);
// The level chosen in Level_box, counted from 0.
int LevelIndexOf(TFZANTRO& w);
// The caption of a menu item or button, as the argument strings carry it.
std::string CaptionOf(QObject* item);
int TagOf(QObject* item);
// A UTF-8 path or text of the window as argument text.
std::string ArgumentText(std::string_view utf8);

// Registers fn for the menu item or button name, called with the component itself.
void OnClick(TFZANTRO& w, const QString& name, std::function<void(QObject* item)> fn);

// The installers of the launcher files.
void InstallDialogLaunchers(TFZANTRO& w);
void InstallSummary(TFZANTRO& w);
void InstallPriceLibraries(TFZANTRO& w);
// 単価入替 (RepriceMenu under 各種変換＆計算): the open sheet re-priced from the libraries.
void InstallRepricing(TFZANTRO& w);
void InstallTakeoffAndFolders(TFZANTRO& w);
// 見積比較 (CompareItem of the tools menu) and the dialog's WM_SHOWLINE.
void InstallComparison(TFZANTRO& w);

}  // namespace zantro
