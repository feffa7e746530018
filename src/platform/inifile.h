// A small ini-file reader and writer for the window-position file: "[Section]" headers and
// "Key=Value" lines, section and key compared without regard to case. A rewrite changes only
// the keys it sets and keeps every other line as it was.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zantro {

class IniFile {
 public:
  // Reads path (a missing or unreadable file reads as empty).
  explicit IniFile(std::string path);

  // The value as an integer; def when the key is missing or the value is not a number.
  int ReadInteger(std::string_view section, std::string_view key, int def) const;
  void WriteInteger(std::string_view section, std::string_view key, int value);
  // Writes the file atomically; false (with *error) when it cannot be written.
  bool Save(std::string* error = nullptr) const;

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  // Index of the key's line within section, or -1; *sectionEnd gets the index after the
  // section's last line (-1 when the section is absent).
  int Find(std::string_view section, std::string_view key, int* sectionEnd) const;

  std::string path_;
  std::vector<std::string> lines_;
};

}  // namespace zantro
