// Memory figures for the "memory" menu command.
#pragma once
#include <cstdint>
#include <string_view>

namespace zantro {

struct MemoryStatus {
  int64_t AvailableBytes = 0;
  int64_t TotalBytes = 0;
};

// MemAvailable and MemTotal of /proc/meminfo, in bytes (64-bit: machines have more than 2 GiB).
MemoryStatus ReadMemoryStatus();
// The same from a meminfo text (tests).
MemoryStatus ParseMeminfo(std::string_view text);

}  // namespace zantro
