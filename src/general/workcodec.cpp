#include "general/workcodec.h"

#include <algorithm>

namespace zantro {

std::string EncodeTitle(const TitleRecord& title) {
  return std::string(reinterpret_cast<const char*>(&title), sizeof(TitleRecord));
}

std::optional<TitleRecord> DecodeTitle(std::string_view bytes) {
  if (bytes.size() < sizeof(TitleRecord)) return std::nullopt;
  TitleRecord title;
  std::memcpy(static_cast<void*>(&title), bytes.data(), sizeof(TitleRecord));
  SanitizeRecord(title);
  return title;
}

std::string EncodeHead(const TitleRecord& title, std::span<const ItemRecord> items) {
  std::string bytes;
  bytes.reserve(kHeadItemsAt + items.size_bytes());
  bytes.append(EncodeTitle(title));
  int32_t count = static_cast<int32_t>(items.size());
  bytes.append(reinterpret_cast<const char*>(&count), sizeof count);
  bytes.append(EncodeRecords(items));
  return bytes;
}

std::optional<HeadImage> DecodeHead(std::string_view bytes) {
  auto title = DecodeTitle(bytes);
  if (!title) return std::nullopt;
  HeadImage head;
  head.Title = *title;
  size_t itemsAt = std::min(bytes.size(), kHeadItemsAt);
  head.Items = DecodeRecords<ItemRecord>(bytes.substr(itemsAt));
  return head;
}

}  // namespace zantro
