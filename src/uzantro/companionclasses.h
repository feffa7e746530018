// Window classes of the companion programs that the main window closes.
#pragma once
#include <initializer_list>

namespace zantro {

// Companions that work on the open document and must not outlive it.
inline constexpr std::initializer_list<const char*> kDocumentCompanions = {
    "TFTreeprice_Dlg", "TFScheme_Dlg", "Tfseqprice_Dlg", "TfOVERHEAD_Dlg", "Tfdocpick_Dlg",
    "Tfdocfetch_Dlg",  "TfPICKDATA_Dlg", "Tfdocsave_Dlg", "TFRowedit_Dlg", "Tfsetup_Dlg",
    "Tfcodeprice_Dlg", "Tfcalcprice_Dlg", "TFCover_Dlg",
    "TFCompare_Dlg"};

// Every companion window class, takeoff programs included, in the order the window closes
// them when it goes away or starts a new document.
inline constexpr std::initializer_list<const char*> kAllCompanions = {
    "TFTreeprice_Dlg", "TFScheme_Dlg", "Tfseqprice_Dlg", "TfOVERHEAD_Dlg", "Tfdocpick_Dlg", "Tfdocfetch_Dlg",
    "TfPICKDATA_Dlg",  "Tfdocsave_Dlg", "TFRowedit_Dlg", "Tfsetup_Dlg",    "Tfcodeprice_Dlg", "Tfcalcprice_Dlg",
    "TFCover_Dlg",     "TFTAKESUM",     "TFTAKEOFF",     "TFPIPEMAT",      "TH_PIPEFIT",
    "TFCompare_Dlg"};

}  // namespace zantro
