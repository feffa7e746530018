#include "conflines.h"

#include "platform/conffile.h"

namespace zantro {

ConfLines::ConfLines(std::string_view bytes) {
  if (bytes.empty()) return;
  size_t lf = bytes.find('\n');
  if (lf != std::string_view::npos && (lf == 0 || bytes[lf - 1] != '\r')) lineBreak_ = "\n";
  finalBreak_ = bytes.back() == '\n';
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    std::string_view line = bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines_.emplace_back(line);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

std::optional<std::string> ConfLines::First(std::string_view key) const {
  for (const auto& line : lines_) {
    auto [k, v] = SplitConfLine(line);
    if (k == key) return v;
  }
  return std::nullopt;
}

std::optional<std::string> ConfLines::Last(std::string_view key) const {
  std::optional<std::string> value;
  for (const auto& line : lines_) {
    auto [k, v] = SplitConfLine(line);
    if (k == key) value = v;
  }
  return value;
}

std::optional<size_t> ConfLines::LastWholeLine(const std::vector<std::string>& candidates) const {
  std::optional<size_t> found;
  for (const auto& line : lines_)
    for (size_t i = 0; i < candidates.size(); ++i)
      if (line == candidates[i]) found = i;
  return found;
}

void ConfLines::Set(std::string_view key, std::string_view value) {
  bool any = false;
  for (auto& line : lines_) {
    if (SplitConfLine(line).first != key) continue;
    line = std::string(key) + "=" + std::string(value);
    any = true;
  }
  if (!any) {
    lines_.push_back(std::string(key) + "=" + std::string(value));
    finalBreak_ = true;
  }
}

std::string ConfLines::Bytes() const {
  std::string out;
  for (size_t i = 0; i < lines_.size(); ++i) {
    out += lines_[i];
    if (i + 1 < lines_.size() || finalBreak_) out += lineBreak_;
  }
  return out;
}

}  // namespace zantro
