// The lines of the pipe dialogs: a run of pipe of a material and size with, when ticked, its
// joints, supports and insulation as lines of their own (each priced per metre of pipe, so
// each takes the run's length), and a counted fitting of one of the five fitting groups.
// Every line goes as WM_MULTIWRITE at the window's cursor; the dialog then sends
// WM_SAVERECORD.
#pragma once
#include <string>
#include <vector>

#include "general/money.h"
#include "messages/commands.h"
#include "prices/library.h"

namespace zantro {

// The parts of a run, as the 中分類 of pipemat.dat names them (Shift-JIS).
enum class PipePart { Pipe, Joint, Support, Insulation };
std::string PipePartName(PipePart p);

// The materials of the pipe library (大分類 of its 管 entries) in the order of the file, and
// the sizes of one material (仕様 of its 管 entries). Shift-JIS.
std::vector<std::string> PipeMaterials(const PriceLibrary& lib);
std::vector<std::string> PipeSizes(const PriceLibrary& lib, const std::string& material);

// What the user chose.
struct PipeRun {
  std::string Material, Size;  // Shift-JIS
  Money Length;                // m
  bool Joints = false, Supports = false, Insulation = false;
};

// The lines of run at price level (1..5), pipe first. Raises FileError (UTF-8 text) naming
// the part the library lacks for the material and size; nothing is sent then.
std::vector<DetailLineMessage> PipeRunLines(const PriceLibrary& lib, const PipeRun& run, int level);

// The items of a fitting library (名称, order of the file) and the sizes of one (仕様).
std::vector<std::string> FittingItems(const PriceLibrary& lib);
std::vector<std::string> FittingSizes(const PriceLibrary& lib, const std::string& item);
// The entry of an item and size; nullptr when there is none.
const PriceEntry* FittingEntry(const PriceLibrary& lib, const std::string& item, const std::string& size);

// The line of an entry with a quantity, as a multi-line write.
DetailLineMessage QuantityLine(const PriceEntry& e, int level, Money qty);

}  // namespace zantro
