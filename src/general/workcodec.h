// The byte images of the work files, one reader and one writer per format. The work-file loads
// and saves of the window, the container reader and writer (and with it the print data) and the
// batch recalculation all go through these, so every path reads and writes the same bytes.
//
//   HEAD.WRK / HEAD.UND   TitleRecord, int32 item count, the ItemRecords of items 1, 2, ...
//   WITEMn.WRK / .UND     LineRecords; WITEMn.PUP TakeoffRecords (whole records, no header)
//   DATASORTn.WRK         text lines (ReadTextLines / WriteTextLines of the file layer)
#pragma once
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "general/records.h"

namespace zantro {

// The title and the breakdown items of a HEAD file; item n is Items[n - 1].
struct HeadImage {
  TitleRecord Title{};
  std::vector<ItemRecord> Items;
};

// The HEAD bytes: the stored count is the number of items.
std::string EncodeHead(const TitleRecord& title, std::span<const ItemRecord> items);

// The title and every whole item record after the count (the stored count is not used: an undo
// copy taken before a breakdown delete holds one item more than the count in force). Texts are
// cut to their capacity and padding zeroed. nullopt when the bytes are shorter than a title.
std::optional<HeadImage> DecodeHead(std::string_view bytes);

// The whole records of a record file, a trailing partial record dropped, each sanitized.
template <typename Record>
std::vector<Record> DecodeRecords(std::string_view bytes) {
  std::vector<Record> records(bytes.size() / sizeof(Record));
  if (!records.empty()) std::memcpy(static_cast<void*>(records.data()), bytes.data(), records.size() * sizeof(Record));
  for (auto& r : records) SanitizeRecord(r);
  return records;
}

template <typename Record>
std::string_view EncodeRecords(std::span<const Record> records) {
  return {reinterpret_cast<const char*>(records.data()), records.size() * sizeof(Record)};
}

}  // namespace zantro
