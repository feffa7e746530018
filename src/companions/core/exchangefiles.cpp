#include "companions/core/exchangefiles.h"

#include "platform/conffile.h"
#include "platform/cp932.h"

namespace zantro {

std::string DigitFileText(const CalcSettings& s) {
  const Money values[] = {s.LineRoundAddend, s.Opt4RoundAddend, s.QuantityScale, s.Opt3Unit, s.Opt6RoundAddend};
  std::string out;
  for (int i = 0; i < 5; ++i) out += "[CUTLEVEL" + std::to_string(i + 1) + "]=" + MoneyToPlainText(values[i]) + "\r\n";
  return out;
}

std::optional<std::string> FolderOfLines(const std::vector<std::string>& lines) {
  std::optional<std::string> folder;
  for (const std::string& line : lines) {
    auto [key, value] = SplitConfLine(line);
    if (key == "[Folder_Name]") folder = value;
  }
  return folder;
}

std::string FolderFileText(std::string_view folder) { return "[Folder_Name]=" + std::string(folder) + "\r\n"; }

std::string WithoutTrailingSeparator(std::string folder) {
  if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

FittingNames DefaultFittingNames() {
  FittingNames names;
  const char* utf8[] = {"弁類1", "弁類2", "衛生器具", "排水器具", "特殊部品"};
  for (int i = 0; i < 5; ++i) names[i] = ToCp932(utf8[i]);
  return names;
}

FittingNames FittingNamesOfLines(const std::vector<std::string>& lines) {
  FittingNames names = DefaultFittingNames();
  for (const std::string& line : lines) {
    auto [key, value] = SplitConfLine(line);
    for (int i = 0; i < 5; ++i)
      if (key == "[FOLDER_NAME" + std::to_string(i + 1) + "]") names[i] = value;
  }
  return names;
}

}  // namespace zantro
