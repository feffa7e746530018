// Zantro.conf and Number.conf: the settings the window reads at start-up and for a new
// document, and the numbering file it rewrites after a save. Values are Shift-JIS bytes as the
// files hold them; the window converts them where they become captions.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "general/document.h"
#include "general/money.h"

namespace zantro {

inline constexpr const char* kZantroConf = "Zantro.conf";
inline constexpr const char* kNumberConf = "Number.conf";

struct ZantroConfig {
  ColumnLayout Layout = ColumnLayout::Ten;
  int ButtonSet = 0;
  // The settings in force before any file is read (quantities with one decimal).
  CalcSettings Settings{kHalf, kHalf, Money::Units(10), kOne, kHalf};
  std::array<std::string, 6> GroupNames;
  std::array<std::string, 6> CodeNames;    // captions of gbtn02..gbtn07 ("CODE1".. when unset)
  std::array<std::string, 6> MultiNames;   // captions of rdata1..rdata6
  std::array<std::string, 12> TreeNames;   // captions of Tdata1..Tdata12
  std::string NumberDir, CodeDir, TreeDir, MultiDir, CalcDir, PartDir, TitleDir, DataDir, PrintDir;
  std::string Gengaku;                     // text in front of reduction amounts
  // Which value keys the file set, so that designed captions stay where a key is absent.
  std::array<bool, 6> CodeNameSet{}, MultiNameSet{};
  std::array<bool, 12> TreeNameSet{};
};

// The whole-file pass over the lines of Zantro.conf: fixed whole lines compared exactly,
// the other keys split at the first "=", later lines winning.
void ApplyConfLines(ZantroConfig& conf, const std::vector<std::string>& lines);

// Reads Zantro.conf of folder into conf (a missing file leaves every setting as it is).
void LoadZantroConf(ZantroConfig& conf, const std::string& folder);

// The five price-level names ("LEVEL1".. for empty or absent values) and the preselected
// index: [Level_Default] when it is a number 0..4, else 0.
struct PriceLevels {
  std::array<std::string, 5> Names;
  int Default = 0;
};
PriceLevels ReadPriceLevels(const std::string& folder);

// Number.conf: the numbering values, read from and rewritten in [Number_Dir].
struct NumberConfig {
  std::string Prefix;      // [NUMBER_OPT1]
  int Option = 0;          // [NUMBER_OPT2]
  int LastSerial = 0;      // [NUMBER_OPT3]
  bool PerClient = false;  // [NUMBER_OPT4]
  bool Flag = false;       // [NUMBER_OPT5]
};
// nullopt when the file is missing.
std::optional<NumberConfig> ReadNumberConf(const std::string& folder);
// Exactly five lines; replaces the file found without regard to case, else "number.conf".
bool WriteNumberConf(const std::string& folder, const NumberConfig& n, std::string* error = nullptr);

// Document numbering after a save: when [FILE_OPT1] is "TRUE" and the title has an [id]
// whose [NUMBER] begins with it, a larger serial becomes [NUMBER_OPT3] of Number.conf (or,
// numbering per client, ATESAKI.DAT of [Title_Dir] is updated). Returns whether a file changed.
bool UpdateDocumentNumber(const TitleRecord& title, const std::string& programFolder, const ZantroConfig& conf);

}  // namespace zantro
