// The text commands of the sheet: bulk edits of the name and specification field (name ";"
// specification), the unit and the amount-column text of the selected lines. Texts are CP932;
// searches and cuts respect double-byte characters, so a full-width blank is found only where
// it is a character and no cut leaves half of one.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "general/linesfile.h"
#include "general/records.h"

namespace zantro {

enum class TextCommand {
  FirstBlankToSeparator,  // the first blank separates name and specification
  RemoveFirstBlanks,      // the first half-width and the first full-width blank removed
  RemoveText,             // every occurrence of the entered text removed
  NameToSpec,             // the whole field becomes the specification
  SpecToName,             // the whole field becomes the name
  PrefixName,             // the entered text in front
  AppendSpec,             // the entered text at the end
  SetUnit,                // the unit := the entered text
  AmountAsText,           // priced lines show the entered text in the amount column
  BlankQuantity,          // lines below kind 50 become comments showing the entered text
  BlankQuantityAndUnit,   // the same, and the unit emptied
};

// The name and specification field after cmd (for the commands that rework it).
// FirstBlankToSeparator, which splits the field, works on its first 80 bytes: when it
// rewrites the field, what lay beyond is lost.
std::string NameSpecAfter(TextCommand cmd, std::string_view nameSpec, std::string_view entered);

// Applies cmd to every selected line that exists; returns how many lines changed.
int ApplyTextCommand(std::vector<LineRecord>& lines, RowSelection sel, TextCommand cmd, std::string_view entered);

// CP932 text cut to at most n bytes without splitting a double-byte character.
std::string CutWhole(std::string_view cp932, size_t n);

}  // namespace zantro
