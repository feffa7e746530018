// The window's menu entry "見積書ブック出力": the estimate workbook of the open document.
#pragma once

namespace zantro {
class TFZANTRO;
}

namespace zantro::printing {

// Hooks the menu item EstimateBook into the window: it asks where to save (a cancel writes
// nothing), brings the work files up to date as printing the whole estimate does, and writes
// the workbook from them.
void InstallEstimateBook(TFZANTRO& w);

}  // namespace zantro::printing
