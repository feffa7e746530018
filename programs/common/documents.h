// The documents of a folder as the dialogs show them: each file's title read without reading
// its lines, and the folders a dialog starts in. No Qt.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "general/records.h"

namespace zantro {

// "[Data_Dir]" of Zantro.conf in the program folder (UTF-8), or nullopt when it is not set.
std::optional<std::string> ConfiguredDataFolder(const std::string& programFolder);

// The title of a document: of a ".znt2" file only its title section is read, of a version-1
// ".znt" only its fixed title. Raises FileError naming the file when it is not a document.
TitleRecord ReadDocumentTitle(const std::string& path);

struct DocumentEntry {
  std::string File;              // the name in the folder (UTF-8, as the file system has it)
  std::optional<TitleRecord> Title;  // nullopt: the file is not a readable document
  int64_t Modified = 0;          // seconds since the epoch
};

// Every ".znt2" and ".znt" file of folder (any case), newest first, then by name.
std::vector<DocumentEntry> ListDocuments(const std::string& folder);

}  // namespace zantro
