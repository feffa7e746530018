// The open document in memory: title, breakdown items, the lines of the open sheet, the
// settings in force and the running totals. The work-file functions (workfiles.h) and the
// engine (engine.h) operate on it; the window owns exactly one.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "general/kinds.h"
#include "general/money.h"
#include "general/records.h"

namespace zantro {

enum class ColumnLayout : int32_t { Nine = 0, Ten = 1 };

// Running totals of the last sheet recomputation.
struct SheetTotals {
  Money Cost;          // Tc
  Money Sub;           // Ts
};

// Running totals of the last breakdown recomputation.
struct BreakdownTotals {
  Money Cost;          // Tc'
  Money Sub;           // Ts'
  Money TaxG;
  Money TaxN;
};

// Where the engine reports what the user must be told during a recomputation
// ("消費税が重複しています"); the window shows a notice, a batch run prints to stderr.
using MessageSink = void (*)(const std::string& utf8Text);

struct Document {
  TitleRecord Title{};
  // Index 0 is a sentinel; item n is index n.
  std::vector<ItemRecord> ItemList;
  // Index 0 is the pick buffer of the sheet commands; line r is index r.
  std::vector<LineRecord> LineList;
  int32_t ItemCount = 1;
  int32_t CurrentItem = 1;
  int32_t CurrentLine = 1;
  int32_t PickedLine = 0;                      // the line last copied into LineList[0]
  ColumnLayout Layout = ColumnLayout::Nine;
  CalcSettings Settings;                       // the settings in force
  CalcSettings Configured;                     // the configuration's, which a new item takes
  std::array<std::string, 6> GroupNames;       // CP932, A..F
  SheetTotals Sheet;
  BreakdownTotals Breakdown;
  int32_t TaxSeen = 0;
  bool DocumentModified = false;

  Document() : ItemList(1), LineList(1) {}

  int32_t LastItem() const { return static_cast<int32_t>(ItemList.size()) - 1; }
  int32_t LastLine() const { return static_cast<int32_t>(LineList.size()) - 1; }
  bool IsItem(int32_t n) const { return n >= 1 && n <= LastItem(); }
  // The current item when it exists and owns a sheet, else nullptr.
  ItemRecord* CurrentSheetItem() {
    return IsItem(CurrentItem) && ItemHasSheet(ItemList[CurrentItem].ItemKind) ? &ItemList[CurrentItem] : nullptr;
  }
};

// The title of an empty document: every byte 0, [DATALEVEL] 15, [KETA] 1, [CUTLEVEL] 0.5 and
// today's date (year of the Japanese era, month, day).
TitleRecord EmptyDocumentTitle();

// A new item as appended when a sheet is opened past the end of the list. Items the user adds
// to a document take its configured settings (NewItem(doc.Configured)), so equal sums round
// alike in every item.
ItemRecord NewItem();
ItemRecord NewItem(const CalcSettings& settings);

// The item an opened document shows first: the first item of a kind that may open first
// (ItemOpensFirst), else item 1.
int32_t FirstShownItem(const Document& doc);

// The settings in force once a document is opened: those of FirstShownItem, checked as the
// recomputation of the sheet shown checks them (also when that item owns no sheet). Overhead
// items of the breakdown list round with its LineRoundAddend, so every reader of a document
// computes the list with these.
CalcSettings SettingsShownFirst(const Document& doc);

// The six group names joined by "," (cut at 80 bytes), and split back.
std::string JoinGroupNames(const std::array<std::string, 6>& names);
std::array<std::string, 6> SplitGroupNames(std::string_view joined);

}  // namespace zantro
