#include "common/documents.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "general/container.h"
#include "general/errors.h"
#include "general/version1.h"
#include "platform/conffile.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace zantro {
namespace {

constexpr size_t kVersion1Title = 464;

// The start of a container up to its "</TITLE>" line: the title is a few hundred bytes, so a
// first read nearly always holds it; a longer one is read on in growing steps.
std::string ReadTitleSection(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError(path + ": the file cannot be read");
  std::string text;
  size_t step = 4096;
  for (;;) {
    size_t old = text.size();
    text.resize(old + step);
    in.read(text.data() + old, static_cast<std::streamsize>(step));
    text.resize(old + static_cast<size_t>(in.gcount()));
    size_t end = text.find("</TITLE>", old > 8 ? old - 8 : 0);
    if (end != std::string::npos) return text.substr(0, end + 8);
    if (!in) return text;
    step *= 2;
  }
}

TitleRecord Version1Title(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError(path + ": the file cannot be read");
  std::string head(kVersion1Title, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  if (static_cast<size_t>(in.gcount()) < kVersion1Title) throw FileError(path + ": the title is incomplete");
  head.append(4, '\0');  // an item count of 0: only the title is wanted
  return ParseVersion1Bytes(head, path).Title;
}

}  // namespace

// The window reads [Data_Dir] in its start-up pass, where the key's last line counts.
std::optional<std::string> ConfiguredDataFolder(const std::string& programFolder) {
  auto lines = ReadConfLines(programFolder, "Zantro.conf");
  if (!lines) return std::nullopt;
  std::string value;
  for (const std::string& line : *lines)
    if (auto [key, v] = SplitConfLine(line); key == "[Data_Dir]") value = v;
  if (value.empty()) return std::nullopt;
  return ToUtf8(value);
}

TitleRecord ReadDocumentTitle(const std::string& path) {
  if (EndsWithNoCase(path, ".znt")) return Version1Title(path);
  return ParseContainerTitle(ReadTitleSection(path), path);
}

std::vector<DocumentEntry> ListDocuments(const std::string& folder) {
  std::vector<DocumentEntry> out;
  for (const std::string& name : ListFiles(folder)) {
    if (!EndsWithNoCase(name, ".znt2") && !EndsWithNoCase(name, ".znt")) continue;
    DocumentEntry e;
    e.File = name;
    std::string path = JoinPath(folder, name);
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) e.Modified = st.st_mtim.tv_sec;
    try {
      e.Title = ReadDocumentTitle(path);
    } catch (const FileError&) {
    } catch (const ConversionError&) {
    } catch (const MoneyOverflow&) {
    }
    out.push_back(std::move(e));
  }
  std::sort(out.begin(), out.end(), [](const DocumentEntry& a, const DocumentEntry& b) {
    return a.Modified != b.Modified ? a.Modified > b.Modified : a.File < b.File;
  });
  return out;
}

}  // namespace zantro
