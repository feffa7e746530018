#include "general/textchanges.h"

#include <algorithm>

#include "general/kinds.h"
#include "platform/cp932.h"

namespace zantro {
namespace {

const std::string_view kFullWidthBlank = "\x81\x40";  // "　"
constexpr size_t kSplitWidth = 80;

// The byte offset of the first occurrence of needle that starts on a character boundary.
size_t Find(std::string_view text, std::string_view needle) {
  if (needle.empty()) return std::string_view::npos;
  for (size_t i = 0; i + needle.size() <= text.size();) {
    if (text.compare(i, needle.size(), needle) == 0) return i;
    i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  }
  return std::string_view::npos;
}

// Replaces the first occurrence of what by with; false when there is none.
bool ReplaceFirst(std::string& text, std::string_view what, std::string_view with) {
  size_t at = Find(text, what);
  if (at == std::string::npos) return false;
  text.replace(at, what.size(), with);
  return true;
}

std::string RemoveAll(std::string text, std::string_view what) {
  while (ReplaceFirst(text, what, "")) {
  }
  return text;
}

std::string FirstBlankToSeparator(std::string_view field) {
  std::string text = CutWhole(field, kSplitWidth);
  bool changed = ReplaceFirst(text, ";", "");
  changed = ReplaceFirst(text, " ", ";") || changed;
  changed = ReplaceFirst(text, kFullWidthBlank, ";") || changed;
  return changed ? text : std::string(field);
}

std::string RemoveFirstBlanks(std::string_view field) {
  std::string text(field);  // only the commands that split the field keep its first 80 bytes
  bool changed = ReplaceFirst(text, " ", "");
  changed = ReplaceFirst(text, kFullWidthBlank, "") || changed;
  return changed ? text : std::string(field);
}

bool ReworksNameSpec(TextCommand cmd) {
  return cmd <= TextCommand::AppendSpec;
}

// The amount-column rules: the kind a line takes, or 0 for a line the command leaves alone.
int32_t AmountTextKind(int32_t flag) {
  switch (flag) {
    case LineKinds::Priced:
    case LineKinds::PricedExcluded:
      return LineKinds::AmountTextFirst;
    case LineKinds::DecPriced:
      return LineKinds::DecAmountTextFirst;
    case LineKinds::AmountTextFirst:
    case LineKinds::DecAmountTextFirst:
    case LineKinds::Comment:
      return flag;
    default:
      return 0;
  }
}

bool ApplyToLine(LineRecord& line, TextCommand cmd, std::string_view entered) {
  if (ReworksNameSpec(cmd)) {
    std::string after = CutWhole(NameSpecAfter(cmd, line.NameSpec.view(), entered), 100);
    if (after == line.NameSpec.view()) return false;
    line.NameSpec.set(after);
    return true;
  }
  switch (cmd) {
    case TextCommand::SetUnit:
      line.Unit.set(CutWhole(entered, 4));
      return true;
    case TextCommand::AmountAsText: {
      int32_t kind = AmountTextKind(line.FLAG);
      if (kind == 0) return false;
      line.FLAG = kind;
      line.AmountText.set(CutWhole(entered, 12));
      return true;
    }
    case TextCommand::BlankQuantity:
    case TextCommand::BlankQuantityAndUnit:
      if (line.FLAG >= 50) return false;
      // The numbers stay stored; a comment line does not show them.
      line.FLAG = LineKinds::Comment;
      line.AmountText.set(CutWhole(entered, 12));
      if (cmd == TextCommand::BlankQuantityAndUnit) line.Unit.set("");
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string CutWhole(std::string_view cp932, size_t n) {
  if (cp932.size() <= n) return std::string(cp932);
  size_t end = 0;
  while (end < n) {
    size_t width = IsLeadByte(static_cast<unsigned char>(cp932[end])) ? 2 : 1;
    if (end + width > n) break;
    end += width;
  }
  return std::string(cp932.substr(0, end));
}

std::string NameSpecAfter(TextCommand cmd, std::string_view field, std::string_view entered) {
  switch (cmd) {
    case TextCommand::FirstBlankToSeparator:
      return FirstBlankToSeparator(field);
    case TextCommand::RemoveFirstBlanks:
      return RemoveFirstBlanks(field);
    case TextCommand::RemoveText:
      return entered.empty() ? std::string(field) : RemoveAll(std::string(field), entered);
    case TextCommand::NameToSpec:
      return ";" + RemoveAll(std::string(field), ";");
    case TextCommand::SpecToName:
      return RemoveAll(std::string(field), ";");
    case TextCommand::PrefixName:
      return std::string(entered) + std::string(field);
    case TextCommand::AppendSpec:
      return std::string(field) + std::string(entered);
    default:
      return std::string(field);
  }
}

int ApplyTextCommand(std::vector<LineRecord>& lines, RowSelection sel, TextCommand cmd, std::string_view entered) {
  int changed = 0;
  int32_t last = static_cast<int32_t>(lines.size()) - 1;
  for (int32_t r = std::max(sel.Top, 1); r <= std::min(sel.Bottom, last); ++r)
    if (ApplyToLine(lines[r], cmd, entered)) ++changed;
  return changed;
}

}  // namespace zantro
