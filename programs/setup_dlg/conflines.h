// Zantro.conf as the settings dialog edits it: the lines as read, each kept byte for byte
// unless its key is set. The window reads the file two ways (the start-up pass, where the
// last line of a key wins, and single lookups, where the first wins), so a key that is set
// gets the new value on every line that holds it; a key without a line is added at the end.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantro {

class ConfLines {
 public:
  // bytes: the file (Shift-JIS). Its line breaks (CR LF or LF) are kept for the lines added.
  explicit ConfLines(std::string_view bytes);

  // The value of the first or the last line whose key (the text up to the first "=") is key.
  std::optional<std::string> First(std::string_view key) const;
  std::optional<std::string> Last(std::string_view key) const;
  // Whether a line equals text exactly (the start-up pass's whole-line keys, "[CALC_OPT1]=1");
  // the index of the last such line among candidates, or nullopt.
  std::optional<size_t> LastWholeLine(const std::vector<std::string>& candidates) const;

  void Set(std::string_view key, std::string_view value);
  std::string Bytes() const;

 private:
  std::vector<std::string> lines_;
  std::string lineBreak_ = "\r\n";
  bool finalBreak_ = true;
};

}  // namespace zantro
