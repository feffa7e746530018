#include "general/workcodec.h"

#include <algorithm>

namespace zantro {

std::string EncodeHead(const TitleRecord& title, std::span<const ItemRecord> items) {
  std::string bytes;
  bytes.reserve(sizeof(TitleRecord) + sizeof(int32_t) + items.size_bytes());
  bytes.append(reinterpret_cast<const char*>(&title), sizeof(TitleRecord));
  int32_t count = static_cast<int32_t>(items.size());
  bytes.append(reinterpret_cast<const char*>(&count), sizeof count);
  bytes.append(EncodeRecords(items));
  return bytes;
}

std::optional<HeadImage> DecodeHead(std::string_view bytes) {
  if (bytes.size() < sizeof(TitleRecord)) return std::nullopt;
  HeadImage head;
  std::memcpy(static_cast<void*>(&head.Title), bytes.data(), sizeof(TitleRecord));
  SanitizeRecord(head.Title);
  size_t itemsAt = std::min(bytes.size(), sizeof(TitleRecord) + sizeof(int32_t));
  head.Items = DecodeRecords<ItemRecord>(bytes.substr(itemsAt));
  return head;
}

}  // namespace zantro
