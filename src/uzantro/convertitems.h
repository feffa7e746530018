// The items of the menu "各種変換＆計算(&V)" (N29) as data: the text commands over the selected
// lines, the popup's single-line name and specification moves, and the bulk price and quantity
// commands in three rounding variants each (the item's tag: 0 half up, 1 up, 2 cut). The window
// builds its menus from these tables; the sheet commands look up what an item clicked does.
#pragma once
#include <span>
#include <string_view>

#include "general/textchanges.h"

namespace zantro {

enum class BulkKind { ScaleSubPrice, SubPriceFromCost, ScaleSubQty, SubQtyFromCost, WholeQuantities, Significant };

struct BulkItem {
  const char* name;     // object name without the tag digit
  const char* caption;  // without the variant; also the prompt of the factor commands
  BulkKind kind;
  int figures;          // Significant only
  // The factor commands ask for the factor; the others change the lines at once.
  bool HasFactor() const { return kind != BulkKind::WholeQuantities && kind != BulkKind::Significant; }
};

// A submenu of bulk items: its object name, its title and its items in menu order.
struct BulkGroup {
  const char* menuName;
  const char* title;
  std::span<const BulkItem> items;
};

struct TextItem {
  const char* name;
  const char* caption;
  TextCommand command;
  const char* inputCaption;  // nullptr: no input box
  const char* prompt;
  bool needsTenColumns;
  bool totals;               // current line := 1 and the totals recomputed
  bool cursorOnly;           // the line at the cursor instead of the selection (the popup's)
};

// The captions' suffixes of the three variants, by tag.
inline constexpr const char* kBulkVariants[3] = {"(四捨五入)", "(切上げ)", "(切捨て)"};

// The menu's text items in menu order; a separator follows the item at each of
// TextItemGroupEnds() (counted from 1).
std::span<const TextItem> MenuTextItems();
std::span<const int> TextItemGroupEnds();
// The popup's variants for the line at the cursor.
std::span<const TextItem> CursorTextItems();
std::span<const BulkGroup> BulkGroups();

// The item named name (a bulk item's name ends in its tag digit), or nullptr.
const TextItem* FindTextItem(std::string_view name);
const BulkItem* FindBulkItem(std::string_view name);

}  // namespace zantro
