// The user guide: chapters of Markdown in one folder, index.md first, which the help window
// shows and follows link by link. Finding the folder and checking its links need no Qt.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantro {

inline constexpr std::string_view kGuideIndex = "index.md";

// Where the guide may lie, in the order looked at: "guide" of the program folder (the build's
// program folder and a per-user copy), "guide" beside the executable (the installed program
// folder), then share/zantro/guide above the executable's folder (bin/ of a prefix). The
// executable's folder is left out when it is the program folder or unknown (empty).
std::vector<std::string> GuideCandidates(const std::string& programFolder, const std::string& executableFolder);

// The first candidate that holds the index; nullopt when none does.
std::optional<std::string> FindGuideFolder(const std::vector<std::string>& candidates);

// The text of the first "# " heading (trailing blanks and "#"s cut); empty when there is none.
// Headings inside fenced code blocks do not count.
std::string ChapterTitle(std::string_view markdown);

struct GuideLink {
  bool Image = false;
  std::string Target;  // as written, without a "#fragment" and an optional "title"
  int Line = 0;        // 1-based
  bool operator==(const GuideLink&) const = default;
};

// The inline links "[text](target)" and images "![alt](target)" of a chapter, in order, outside
// code spans and fenced code blocks. Targets with a scheme ("https:", "mailto:") and links
// within the chapter ("#part") are left out: they name no file of the guide.
std::vector<GuideLink> ChapterLinks(std::string_view markdown);

// The file a target of a chapter names inside the guide folder: the target is relative to the
// guide folder (chapters lie side by side); nullopt when it is absolute or climbs out of the
// folder, which the installed guide does not carry.
std::optional<std::string> ResolveGuideTarget(const std::string& guideFolder, std::string_view target);

// "chapter.md:LINE: target" for every link and image of every chapter (*.md of the folder)
// that names no regular file inside the guide folder, chapters in name order.
std::vector<std::string> BrokenGuideLinks(const std::string& guideFolder);

}  // namespace zantro
