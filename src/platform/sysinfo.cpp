#include "sysinfo.h"

#include <string>

#include "platform/files.h"

namespace zantro {
namespace {

int64_t KilobytesOf(std::string_view text, std::string_view key) {
  size_t p = 0;
  while ((p = text.find(key, p)) != std::string_view::npos) {
    if (p == 0 || text[p - 1] == '\n') break;
    p += key.size();
  }
  if (p == std::string_view::npos) return 0;
  p += key.size();
  while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
  int64_t n = 0;
  while (p < text.size() && text[p] >= '0' && text[p] <= '9') n = n * 10 + (text[p++] - '0');
  return n;
}

}  // namespace

MemoryStatus ParseMeminfo(std::string_view text) {
  return MemoryStatus{KilobytesOf(text, "MemAvailable:") * 1024, KilobytesOf(text, "MemTotal:") * 1024};
}

MemoryStatus ReadMemoryStatus() {
  auto text = ReadFileBytes("/proc/meminfo");
  return text ? ParseMeminfo(*text) : MemoryStatus{};
}

}  // namespace zantro
