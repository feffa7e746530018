// treeprice_dlg: the picker of tree library n (categories beside the entries), started by the
// window with [Tree_Dir] + ";" + n + ";" + level + ";" + caption + ";" + group names + level
// names; answers WM_DATAWRITE lines.
#include "prices/pricepicker.h"

int main(int argc, char** argv) {
  return zantro::RunPricePicker(argc, argv, "treeprice_dlg", "TFTreeprice_Dlg", zantro::PriceFamily::Tree);
}
