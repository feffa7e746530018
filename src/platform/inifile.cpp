#include "inifile.h"

#include "platform/conffile.h"
#include "platform/files.h"

namespace zantro {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool IsSectionLine(std::string_view line, std::string_view* name) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
  *name = Trim(line.substr(1, line.size() - 2));
  return true;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
  if (auto lines = ReadTextLines(path_)) lines_ = std::move(*lines);
}

int IniFile::Find(std::string_view section, std::string_view key, int* sectionEnd) const {
  bool inside = false;
  int found = -1;
  *sectionEnd = -1;
  for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
    std::string_view name;
    if (IsSectionLine(lines_[i], &name)) {
      if (inside) break;
      inside = EqualsNoCase(name, section);
      if (inside) *sectionEnd = i + 1;
      continue;
    }
    if (!inside) continue;
    if (!Trim(lines_[i]).empty()) *sectionEnd = i + 1;
    auto eq = lines_[i].find('=');
    if (found < 0 && eq != std::string::npos && EqualsNoCase(Trim(std::string_view(lines_[i]).substr(0, eq)), key))
      found = i;
  }
  return found;
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
  int end;
  int i = Find(section, key, &end);
  if (i < 0) return def;
  const std::string& line = lines_[i];
  return ConfInt(std::string_view(line).substr(line.find('=') + 1), def);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  std::string line = std::string(key) + "=" + std::to_string(value);
  int end;
  int i = Find(section, key, &end);
  if (i >= 0) {
    lines_[i] = line;
  } else if (end >= 0) {
    lines_.insert(lines_.begin() + end, line);
  } else {
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(line);
  }
}

bool IniFile::Save(std::string* error) const { return WriteTextLines(path_, lines_, error); }

}  // namespace zantro
