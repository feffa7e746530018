// The byte images of the work files, one reader and one writer per format. The work-file loads
// and saves of the window, the container reader and writer (and with it the print data) and the
// batch recalculation all go through these, so every path reads and writes the same bytes.
//
//   HEAD.WRK / HEAD.UND   TitleRecord, int32 item count, the ItemRecords of items 1, 2, ...
//   HEAD_TITLE.WRK        one TitleRecord (the title companion's answer)
//   WITEMn.WRK / .UND     LineRecords; WITEMn.PUP TakeoffRecords (whole records, no header)
//   ATESAKI.DAT           ClientNumberRecords
//   DATASORTn.WRK         text lines (ReadTextLines / WriteTextLines of the file layer)
// No other code reads or writes these records by size or offset.
#pragma once
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "general/records.h"
#include "platform/files.h"

namespace zantro {

// The title and the breakdown items of a HEAD file; item n is Items[n - 1].
struct HeadImage {
  TitleRecord Title{};
  std::vector<ItemRecord> Items;
};

// Where the item records of a HEAD file start: after the title and the stored count.
inline constexpr size_t kHeadItemsAt = sizeof(TitleRecord) + sizeof(int32_t);

// A HEAD file of this size holds the title, the count and whole item records only.
constexpr bool IsWholeHeadSize(uint64_t size) {
  return size >= kHeadItemsAt && (size - kHeadItemsAt) % sizeof(ItemRecord) == 0;
}

// The bytes of a title record alone (HEAD_TITLE.WRK), and the record back from the first
// sizeof(TitleRecord) bytes, sanitized; nullopt when they are fewer.
std::string EncodeTitle(const TitleRecord& title);
std::optional<TitleRecord> DecodeTitle(std::string_view bytes);

// The HEAD bytes: the stored count is the number of items.
std::string EncodeHead(const TitleRecord& title, std::span<const ItemRecord> items);

// The title and every whole item record after the count (the stored count is not used: an undo
// copy taken before a breakdown delete holds one item more than the count in force). Texts are
// cut to their capacity and padding zeroed. nullopt when the bytes are shorter than a title.
std::optional<HeadImage> DecodeHead(std::string_view bytes);

// The whole records of a record file as they are, a trailing partial record dropped: for
// readers that check the bytes of each record themselves before they take it.
template <typename Record>
std::vector<Record> DecodeRawRecords(std::string_view bytes) {
  std::vector<Record> records(bytes.size() / sizeof(Record));
  if (!records.empty()) std::memcpy(static_cast<void*>(records.data()), bytes.data(), records.size() * sizeof(Record));
  return records;
}

// The whole records of a record file, a trailing partial record dropped, each sanitized.
template <typename Record>
std::vector<Record> DecodeRecords(std::string_view bytes) {
  std::vector<Record> records = DecodeRawRecords<Record>(bytes);
  for (auto& r : records) SanitizeRecord(r);
  return records;
}

template <typename Record>
std::string_view EncodeRecords(std::span<const Record> records) {
  return {reinterpret_cast<const char*>(records.data()), records.size() * sizeof(Record)};
}

// A record file read whole (DecodeRecords); nullopt when it cannot be read.
template <typename Record>
std::optional<std::vector<Record>> ReadRecords(const std::string& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  return DecodeRecords<Record>(*bytes);
}

// Writes the records as the whole file, atomically (WriteFileAtomic).
template <typename Record>
bool WriteRecords(const std::string& path, std::span<const Record> records, std::string* error = nullptr) {
  return WriteFileAtomic(path, EncodeRecords(records), error);
}
template <typename Record>
bool WriteRecords(const std::string& path, const std::vector<Record>& records, std::string* error = nullptr) {
  return WriteRecords(path, std::span<const Record>(records), error);
}

}  // namespace zantro
