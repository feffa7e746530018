// codeprice_dlg: the picker of CODE library n, started by the window with [Code_Dir] + ";" + n
// + ";" + level + ";" + caption + ";" + group names + level names; answers WM_DATAWRITE lines.
#include "prices/pricepicker.h"

int main(int argc, char** argv) {
  return zantro::RunPricePicker(argc, argv, "codeprice_dlg", "Tfcodeprice_Dlg", zantro::PriceFamily::Code);
}
