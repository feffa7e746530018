#include "filters.h"

#include <vector>

namespace zantro {
namespace {

std::vector<std::string> Split(std::string_view s, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t p = s.find(sep, start);
    out.emplace_back(s.substr(start, p == std::string_view::npos ? std::string_view::npos : p - start));
    if (p == std::string_view::npos) return out;
    start = p + 1;
  }
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string Patterns(std::string_view written) {
  std::string out;
  auto add = [&out](const std::string& p) {
    if (out.find(" " + p + " ") != std::string::npos || out == p || out.starts_with(p + " ") ||
        out.ends_with(" " + p))
      return;
    if (!out.empty()) out += ' ';
    out += p;
  };
  for (auto& p : Split(written, ';')) {
    while (!p.empty() && p.front() == ' ') p.erase(p.begin());
    while (!p.empty() && p.back() == ' ') p.pop_back();
    if (p.empty()) continue;
    add(p);
    add(Upper(p));
  }
  return out;
}

}  // namespace

std::string QtFilter(std::string_view filter) {
  auto parts = Split(filter, '|');
  std::string out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string patterns = Patterns(parts[i + 1]);
    if (patterns.empty()) continue;
    if (!out.empty()) out += ";;";
    out += parts[i] + " (" + patterns + ")";
  }
  return out;
}

}  // namespace zantro
