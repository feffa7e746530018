#include "general/document.h"

#include "platform/clock.h"

namespace zantro {

TitleRecord EmptyDocumentTitle() {
  TitleRecord title{};
  title.DATALEVEL = 15;
  title.KETA = 1;
  title.CUTLEVEL = kHalf;
  Date today = Today();
  title.DY = today.year - 1988;
  title.DM = today.month;
  title.DD = today.day;
  return title;
}

ItemRecord NewItem() { return NewItem(CalcSettings{}); }

ItemRecord NewItem(const CalcSettings& settings) {
  ItemRecord item{};
  item.ItemKind = ItemKinds::Normal;
  item.SetSettings(settings);
  return item;
}

std::string JoinGroupNames(const std::array<std::string, 6>& names) {
  std::string joined;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) joined += ',';
    joined += names[i];
  }
  return joined.substr(0, 80);
}

std::array<std::string, 6> SplitGroupNames(std::string_view joined) {
  std::array<std::string, 6> names;
  std::string rest(joined);
  for (size_t i = 0; i < 5; ++i) {
    auto [field, after] = TakeCommaField(rest);
    names[i] = field;
    rest = after;
  }
  names[5] = rest;
  return names;
}

int32_t FirstShownItem(const Document& doc) {
  for (int32_t i = 1; i <= doc.LastItem(); ++i)
    if (ItemOpensFirst(doc.ItemList[i].ItemKind)) return i;
  return 1;
}

CalcSettings SettingsShownFirst(const Document& doc) {
  int32_t first = FirstShownItem(doc);
  CalcSettings settings = doc.IsItem(first) ? doc.ItemList[first].Settings() : doc.Settings;
  CheckSettings(settings);
  return settings;
}

}  // namespace zantro
