// "WM_SHOWLINE;ITEM;ROW;NAME;": a companion asks the window to show item ITEM and select row
// ROW of its sheet (ROW 0: the item's row on the breakdown list). NAME is the item's name as
// the companion knows it (Shift-JIS): the window refuses when its item ITEM is named
// otherwise, since another document was opened meanwhile.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace zantro {

inline constexpr std::string_view kShowLineName = "WM_SHOWLINE";

struct ShowLineMessage {
  int32_t Item = 0;
  int32_t Row = 0;
  std::string Name;
  std::string Encode() const;
  // Refuses (MessageError) another command or an item below 1 or a row below 0; numbers
  // that are not numbers raise ConversionError.
  static ShowLineMessage Decode(std::string_view text);
};

}  // namespace zantro
