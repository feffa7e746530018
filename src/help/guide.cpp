#include "help/guide.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/files.h"

namespace zantro {
namespace {

bool IsFence(std::string_view line) {
  size_t i = line.find_first_not_of(' ');
  return i != std::string_view::npos && i <= 3 && (line.substr(i, 3) == "```" || line.substr(i, 3) == "~~~");
}

// A target starts with a scheme when letters, digits, "+", "-" or "." come before a ":".
bool HasScheme(std::string_view target) {
  size_t colon = target.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  return std::all_of(target.begin(), target.begin() + colon, [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
  });
}

// The links of one line outside code spans.
void LinksOfLine(std::string_view line, int number, std::vector<GuideLink>& out) {
  bool code = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '`') code = !code;
    if (code || line[i] != ']' || i + 1 >= line.size() || line[i + 1] != '(') continue;
    size_t open = line.rfind('[', i);
    if (open == std::string_view::npos) continue;
    size_t close = line.find(')', i + 2);
    if (close == std::string_view::npos) continue;
    std::string_view target = line.substr(i + 2, close - i - 2);
    // "<a b.md>" may hold blanks; otherwise the target ends at the blank before a "title".
    if (size_t end = target.find('>'); !target.empty() && target.front() == '<' && end != std::string_view::npos)
      target = target.substr(1, end - 1);
    else
      target = target.substr(0, target.find(' '));
    target = target.substr(0, target.find('#'));
    bool image = open > 0 && line[open - 1] == '!';
    if (!target.empty() && !HasScheme(target)) out.push_back({image, std::string(target), number});
    i = close;
  }
}

}  // namespace

std::vector<std::string> GuideCandidates(const std::string& programFolder, const std::string& executableFolder) {
  std::vector<std::string> folders{JoinPath(programFolder, "guide")};
  // Run from its own folder (the build's), the program looks there once.
  if (executableFolder.empty() || executableFolder == programFolder) return folders;
  folders.push_back(JoinPath(executableFolder, "guide"));
  folders.push_back(JoinPath(executableFolder, "../share/zantro/guide"));
  return folders;
}

std::optional<std::string> FindGuideFolder(const std::vector<std::string>& candidates) {
  for (const auto& folder : candidates)
    if (FileExists(JoinPath(folder, kGuideIndex))) return folder;
  return std::nullopt;
}

std::string ChapterTitle(std::string_view markdown) {
  bool fenced = false;
  for (const std::string& line : SplitLines(markdown)) {
    if (IsFence(line)) fenced = !fenced;
    if (fenced || line.rfind("# ", 0) != 0) continue;
    std::string title = line.substr(2);
    size_t end = title.find_last_not_of(" #");
    title.resize(end == std::string::npos ? 0 : end + 1);
    size_t start = title.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : title.substr(start);
  }
  return {};
}

std::vector<GuideLink> ChapterLinks(std::string_view markdown) {
  std::vector<GuideLink> links;
  bool fenced = false;
  int number = 0;
  for (const std::string& line : SplitLines(markdown)) {
    ++number;
    if (IsFence(line)) {
      fenced = !fenced;
      continue;
    }
    if (!fenced) LinksOfLine(line, number, links);
  }
  return links;
}

std::optional<std::string> ResolveGuideTarget(const std::string& guideFolder, std::string_view target) {
  if (target.empty() || target.front() == '/') return std::nullopt;
  std::filesystem::path relative = std::filesystem::path(std::string(target)).lexically_normal();
  if (relative.empty() || *relative.begin() == "..") return std::nullopt;
  return JoinPath(guideFolder, relative.string());
}

std::vector<std::string> BrokenGuideLinks(const std::string& guideFolder) {
  std::vector<std::string> chapters;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(guideFolder, ec))
    if (entry.path().extension() == ".md" && entry.is_regular_file(ec)) chapters.push_back(entry.path().filename().string());
  std::sort(chapters.begin(), chapters.end());
  std::vector<std::string> broken;
  for (const auto& chapter : chapters) {
    auto text = ReadFileBytes(JoinPath(guideFolder, chapter));
    if (!text) {
      broken.push_back(chapter + ":0: (unreadable)");
      continue;
    }
    for (const auto& link : ChapterLinks(*text)) {
      auto file = ResolveGuideTarget(guideFolder, link.Target);
      std::error_code fileError;
      if (!file || !std::filesystem::is_regular_file(*file, fileError))
        broken.push_back(chapter + ":" + std::to_string(link.Line) + ": " + link.Target);
    }
  }
  return broken;
}

}  // namespace zantro
