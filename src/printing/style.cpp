#include "printing/style.h"

#include <map>

#include "platform/conffile.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace zantro::printing {
namespace {

std::string Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return std::string(s);
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::vector<std::string> SplitComma(std::string_view text) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) comma = text.size();
    std::string part = Trim(text.substr(start, comma - start));
    if (!part.empty()) parts.push_back(part);
    start = comma + 1;
  }
  return parts;
}

using TextField = std::string PrintStyle::*;
const std::map<std::string, TextField>& TextKeys() {
  static const std::map<std::string, TextField> keys{
      {"[Company]", &PrintStyle::Company},     {"[Postal]", &PrintStyle::Postal},
      {"[Address1]", &PrintStyle::Address1},   {"[Address2]", &PrintStyle::Address2},
      {"[Tel]", &PrintStyle::Tel},             {"[Fax]", &PrintStyle::Fax},
      {"[Font]", &PrintStyle::Font},           {"[TitleFont]", &PrintStyle::TitleFont},
      {"[Honorific]", &PrintStyle::Honorific}, {"[Reduction]", &PrintStyle::Reduction},
      {"[Greeting]", &PrintStyle::Greeting},   {"[NoteLabel]", &PrintStyle::NoteLabel}};
  return keys;
}

// Keys whose empty value would leave the forms without a font.
bool MustNotBeEmpty(const std::string& key) { return key == "[Font]" || key == "[TitleFont]"; }

}  // namespace

std::optional<FormSet> ParseForms(std::string_view text) {
  FormSet forms{false, false, false};
  auto parts = SplitComma(text);
  if (parts.empty()) return std::nullopt;
  for (const auto& p : parts) {
    std::string word = Lower(p);
    if (word == "cover") forms.Cover = true;
    else if (word == "breakdown") forms.Breakdown = true;
    else if (word == "sheets") forms.Sheets = true;
    else return std::nullopt;
  }
  return forms;
}

void ApplyStyleLines(PrintStyle& style, const std::vector<std::string>& lines, std::vector<std::string>* warnings) {
  auto warn = [&](const std::string& text) {
    if (warnings) warnings->push_back(text);
  };
  int number = 0;
  for (const auto& raw : lines) {
    ++number;
    std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    auto [key, cp932] = SplitConfLine(line);
    std::string value = Trim(ToUtf8(cp932));
    std::string where = std::string(kStyleFile) + ": line " + std::to_string(number) + ": ";
    if (auto it = TextKeys().find(key); it != TextKeys().end()) {
      if (value.empty() && MustNotBeEmpty(key)) warn(where + key + " is empty; the default is used");
      else style.*(it->second) = value;
    } else if (key == "[Forms]") {
      if (auto forms = ParseForms(value)) style.Forms = *forms;
      else warn(where + "[Forms] takes cover, breakdown and sheets: " + value);
    } else if (key == "[Side]") {
      if (Lower(value) == "cost") style.CostSide = true;
      else if (Lower(value) == "submitted") style.CostSide = false;
      else warn(where + "[Side] is submitted or cost: " + value);
    } else if (key == "[Seals]") {
      style.Seals = SplitComma(value);
    } else {
      warn(where + "unknown line: " + ToUtf8(line));
    }
  }
}

PrintStyle ReadPrintStyle(const std::string& folder, std::vector<std::string>* warnings) {
  PrintStyle style;
  if (auto lines = ReadConfLines(folder, kStyleFile)) ApplyStyleLines(style, *lines, warnings);
  return style;
}

}  // namespace zantro::printing
