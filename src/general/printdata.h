// Print data: the container image of the document, or of one sheet, that the print viewer lays
// out. It lives in printdata/ of the program folder under the document number, where the
// viewer finds it by the number it reads from HEAD.WRK.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/progress.h"

namespace zantro {

inline constexpr const char* kPrintDataFolder = "printdata";

// printdata/<number>.dat of programFolder. number is the title's [NUMBER] (Shift-JIS); the
// file name is its UTF-8 text with every "/" made "_", so no number leads out of the folder.
// An empty number gives ".dat".
std::string PrintDataPath(const std::string& programFolder, std::string_view numberCp932);

// Writes the print data of the work files in workFolder (callers save the open sheet first):
// the whole document, or with singleItem only item itemNumber with its own totals. The folder
// printdata/ is created when missing. Returns the path written; raises FileError, or
// ProgressCancelled (nothing written) when the user stops.
std::string WritePrintData(const std::string& workFolder, const std::string& programFolder, bool singleItem,
                           int32_t itemNumber, Progress& progress = NoProgress());

// What the viewer reads from HEAD.WRK of a folder: the document number and the item count.
struct HeadSummary {
  std::string Number;      // Shift-JIS
  int32_t ItemCount = 0;   // item records in the file
};
// nullopt when HEAD.WRK is missing or shorter than a title.
std::optional<HeadSummary> ReadHeadSummary(const std::string& folder);

}  // namespace zantro
