#include "conffile.h"

#include <climits>

#include "platform/files.h"

namespace zantro {

std::pair<std::string, std::string> SplitConfLine(std::string_view line) {
  auto eq = line.find('=');
  if (eq == std::string_view::npos) return {std::string(), std::string(line)};
  return {std::string(line.substr(0, eq)), std::string(line.substr(eq + 1))};
}

std::optional<std::vector<std::string>> ReadConfLines(const std::string& folder, std::string_view name) {
  auto path = FindNoCase(folder, name);
  if (!path || !FileExists(*path)) return std::nullopt;
  return ReadTextLines(*path);
}

std::optional<std::string> ReadConfValue(const std::string& folder, std::string_view name,
                                         std::string_view key) {
  auto lines = ReadConfLines(folder, name);
  if (!lines) return std::nullopt;
  for (const auto& line : *lines) {
    auto [k, v] = SplitConfLine(line);
    if (!k.empty() && k == key) return v;
  }
  return std::nullopt;
}

int ConfInt(std::string_view value, int def) {
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  bool negative = false;
  if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }
  if (value.empty()) return def;
  long long n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return def;
    n = n * 10 + (c - '0');
    if (n > static_cast<long long>(INT_MAX) + 1) return def;
  }
  if (negative) n = -n;
  if (n > INT_MAX || n < INT_MIN) return def;
  return static_cast<int>(n);
}

}  // namespace zantro
