// What a pick writes into the window: an entry of a library as the detail line of the
// companion protocol, at the chosen price level and with the typed quantity, and a set of the
// sequence family as one line per member with its ratio of the base quantity.
#pragma once
#include <optional>
#include <vector>

#include "messages/commands.h"
#include "prices/library.h"

namespace zantro {

// The sort key a picked line carries for its group: the first key of the group's range (the
// window keeps it for the first row and follows the line above on every later row).
Money GroupSortKey(int group);

// The line kind of a quantity: whole quantities are priced lines (10), a quantity with a
// fraction keeps its decimals as kind 20.
int32_t KindOfQuantity(Money qty);

// The line of entry at level (1..5) with qty (none: no quantity written), sent as command.
DetailLineMessage PickedLine(const PriceEntry& e, int level, std::optional<Money> qty,
                             Command command = Command::DataWrite);

// A set of the sequence family: the positions of the entries of each set, in the order of
// the library (members of one set are consecutive lines with its name).
struct PriceSet {
  std::string Name;  // Shift-JIS
  std::vector<uint32_t> Members;
};
std::vector<PriceSet> SetsOf(const PriceLibrary& lib);

// The member lines of a set for a base quantity: each member's quantity is base x ratio, cut
// to three decimals. Sent as WM_MULTIWRITE each; the caller then sends WM_SAVERECORD.
Money MemberQuantity(Money base, Money ratio);
std::vector<DetailLineMessage> SetLines(const PriceLibrary& lib, const PriceSet& set, int level, Money base);

}  // namespace zantro
