#include "uzantro/config.h"

#include <cstring>

#include "general/workfiles.h"
#include "platform/conffile.h"
#include "platform/files.h"

namespace zantro {
namespace {

// The fixed whole lines of the start-up pass. A line with blanks around "=" matches none.
bool ApplyWholeLine(ZantroConfig& c, const std::string& line) {
  static const Money addends[] = {kHalf, kNineTenths, kZero};
  static const int64_t units[] = {1, 10, 100, 1000, 10000, 100000};
  auto digit = [&line](const char* key, int max) -> int {
    size_t n = std::strlen(key);
    if (line.size() != n + 1 || line.compare(0, n, key) != 0) return -1;
    int d = line[n] - '0';
    return d >= 0 && d <= max ? d : -1;
  };
  if (int d = digit("[CALC_OPT1]=", 2); d >= 0) c.Settings.QuantityScale = Money::Units(d == 0 ? 10 : d == 1 ? 100 : 1000);
  else if (int d = digit("[CALC_OPT2]=", 2); d >= 0) c.Settings.LineRoundAddend = addends[d];
  else if (int d = digit("[CALC_OPT3]=", 5); d >= 0) c.Settings.Opt3Unit = Money::Units(units[d]);
  else if (int d = digit("[CALC_OPT4]=", 2); d >= 0) c.Settings.Opt4RoundAddend = addends[d];
  else if (int d = digit("[CALC_OPT6]=", 2); d >= 0) c.Settings.Opt6RoundAddend = addends[d];
  else if (int d = digit("[EDIT_OPT2]=", 1); d >= 0) c.Layout = d == 0 ? ColumnLayout::Ten : ColumnLayout::Nine;
  else if (int d = digit("[EDIT_OPT3]=", 2); d >= 0) c.ButtonSet = d;
  else return false;
  return true;
}

// "[KEY1]".."[KEYn]": the index 0..n-1, or -1.
int NumberedKey(const std::string& key, const char* stem, int n) {
  size_t len = std::strlen(stem);
  if (key.size() < len + 2 || key.compare(0, len, stem) != 0 || key.back() != ']') return -1;
  std::string digits = key.substr(len, key.size() - len - 1);
  int v = ConfInt(digits, -1);
  if (v < 1 || v > n || std::to_string(v) != digits) return -1;
  return v - 1;
}

void ApplyValueKey(ZantroConfig& c, const std::string& key, const std::string& value) {
  struct Folder { const char* key; std::string ZantroConfig::*field; };
  static const Folder folders[] = {
      {"[Number_Dir]", &ZantroConfig::NumberDir}, {"[Code_Dir]", &ZantroConfig::CodeDir},
      {"[Tree_Dir]", &ZantroConfig::TreeDir},     {"[Multi_Dir]", &ZantroConfig::MultiDir},
      {"[Calc_Dir]", &ZantroConfig::CalcDir},     {"[Part_Dir]", &ZantroConfig::PartDir},
      {"[Title_Dir]", &ZantroConfig::TitleDir},   {"[Data_Dir]", &ZantroConfig::DataDir},
      {"[Print_Dir]", &ZantroConfig::PrintDir},   {"[GENGAKU]", &ZantroConfig::Gengaku}};
  for (const auto& f : folders)
    if (key == f.key) {
      c.*f.field = value;
      return;
    }
  if (int i = NumberedKey(key, "[GROUP_NAME", 6); i >= 0) c.GroupNames[i] = value;
  else if (int i = NumberedKey(key, "[CODE_NAME", 6); i >= 0) c.CodeNames[i] = value, c.CodeNameSet[i] = true;
  else if (int i = NumberedKey(key, "[MULTI_NAME", 6); i >= 0) c.MultiNames[i] = value, c.MultiNameSet[i] = true;
  else if (int i = NumberedKey(key, "[TREE_NAME", 12); i >= 0) c.TreeNames[i] = value, c.TreeNameSet[i] = true;
}

bool IsTrueLine(const std::vector<std::string>& lines, const char* key) {
  for (const auto& l : lines)
    if (l == std::string(key) + "=TRUE") return true;
  return false;
}

}  // namespace

void ApplyConfLines(ZantroConfig& conf, const std::vector<std::string>& lines) {
  for (const auto& line : lines) {
    if (ApplyWholeLine(conf, line)) continue;
    auto [key, value] = SplitConfLine(line);
    if (!key.empty()) ApplyValueKey(conf, key, value);
  }
}

void LoadZantroConf(ZantroConfig& conf, const std::string& folder) {
  if (auto lines = ReadConfLines(folder, kZantroConf)) ApplyConfLines(conf, *lines);
}

PriceLevels ReadPriceLevels(const std::string& folder) {
  PriceLevels p;
  for (int i = 0; i < 5; ++i) {
    std::string key = "[LEVEL_NAME" + std::to_string(i + 1) + "]";
    std::string v = ReadConfValue(folder, kZantroConf, key).value_or("");
    p.Names[i] = v.empty() ? "LEVEL" + std::to_string(i + 1) : v;
  }
  int d = ConfInt(ReadConfValue(folder, kZantroConf, "[Level_Default]").value_or(""), 0);
  p.Default = d >= 0 && d <= 4 ? d : 0;  // an index the box does not have selects the first
  return p;
}

std::optional<NumberConfig> ReadNumberConf(const std::string& folder) {
  auto lines = ReadConfLines(folder, kNumberConf);
  if (!lines) return std::nullopt;
  NumberConfig n;
  for (const auto& line : *lines) {
    auto [key, value] = SplitConfLine(line);
    if (key == "[NUMBER_OPT1]") n.Prefix = value;
    else if (key == "[NUMBER_OPT2]") n.Option = ConfInt(value, 0);
    else if (key == "[NUMBER_OPT3]") n.LastSerial = ConfInt(value, 0);
  }
  n.PerClient = IsTrueLine(*lines, "[NUMBER_OPT4]");
  n.Flag = IsTrueLine(*lines, "[NUMBER_OPT5]");
  return n;
}

bool WriteNumberConf(const std::string& folder, const NumberConfig& n, std::string* error) {
  std::vector<std::string> lines = {
      "[NUMBER_OPT1]=" + n.Prefix,
      "[NUMBER_OPT2]=" + std::to_string(n.Option),
      "[NUMBER_OPT3]=" + std::to_string(n.LastSerial),
      std::string("[NUMBER_OPT4]=") + (n.PerClient ? "TRUE" : "FALSE"),
      std::string("[NUMBER_OPT5]=") + (n.Flag ? "TRUE" : "FALSE")};
  return WriteTextLines(ResolveNoCase(folder, "number.conf"), lines, error);
}

bool UpdateDocumentNumber(const TitleRecord& title, const std::string& programFolder, const ZantroConfig& conf) {
  std::string folder = conf.NumberDir.empty() ? programFolder : conf.NumberDir;
  auto number = ReadNumberConf(folder);
  if (!number) return false;
  if (ReadConfValue(programFolder, kZantroConf, "[FILE_OPT1]").value_or("") != "TRUE") return false;
  std::string id = title.id.str();
  if (id.empty()) return false;
  if (number->PerClient) return UpdateClientNumber(title, conf.TitleDir);
  std::string full = title.NUMBER.str();
  if (full.compare(0, id.size(), id) != 0) return false;
  int serial = ConfInt(full.substr(id.size()), 0);
  if (serial <= number->LastSerial) return false;
  number->LastSerial = serial;
  return WriteNumberConf(folder, *number);
}

}  // namespace zantro
