// The print style: the settings file "style.conf" of the style folder (Shift-JIS lines of a
// bracketed key, "=" and a value, like the program's other configuration files; lines that
// start with "#" are comments). A missing file or key takes the default below.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantro::printing {

inline constexpr const char* kStyleFile = "style.conf";

// The three forms of a printed estimate, in print order.
struct FormSet {
  bool Cover = true;       // 表紙 (御見積書)
  bool Breakdown = true;   // 内訳書
  bool Sheets = true;      // 明細書
  bool operator==(const FormSet&) const = default;
};
// "cover,breakdown,sheets" in any order and case; nullopt for an unknown word or no form.
std::optional<FormSet> ParseForms(std::string_view text);

// Every text is UTF-8.
struct PrintStyle {
  std::string Company;                  // the issuing company block of the cover
  std::string Postal, Address1, Address2, Tel, Fax;
  FormSet Forms;
  bool CostSide = false;                // amounts of the cost side (an internal print)
  std::string Font = "Noto Serif CJK JP";
  std::string TitleFont = "Noto Serif CJK JP";
  std::string Honorific = "御中";       // after an addressee that carries none
  std::vector<std::string> Seals{"承認", "照査", "担当"};  // captions of the seal boxes
  std::string Reduction = "△";         // in front of reductions when no print option is given
  std::string Greeting = "下記の通り御見積申し上げます。";
  std::string NoteLabel = "備　　考";   // caption of the cover's free text ([MLIMIT])
};

// Applies the lines of a style file (Shift-JIS) to style; unknown keys and bad values are
// reported in warnings (UTF-8) and leave the default.
void ApplyStyleLines(PrintStyle& style, const std::vector<std::string>& lines, std::vector<std::string>* warnings);

// style.conf of folder (found without regard to case); defaults when it is missing.
PrintStyle ReadPrintStyle(const std::string& folder, std::vector<std::string>* warnings = nullptr);

}  // namespace zantro::printing
