// A scratch folder for fuzz targets that read and write work files.
#pragma once
#include <stdlib.h>

#include <string>

#include "platform/files.h"

namespace zantro::fuzz {

inline std::string MakeFolder(const char* tag) {
  // Memory-backed when the machine has it: these targets write files on every input.
  std::string base = IsDirectory("/dev/shm") ? "/dev/shm" : "/tmp";
  std::string tmpl = base + "/zantro-fuzz-" + tag + "-XXXXXX";
  return mkdtemp(tmpl.data()) ? tmpl : std::string("/tmp");
}

inline void EmptyFolder(const std::string& folder) {
  for (const auto& name : ListFiles(folder)) DeleteFile(JoinPath(folder, name));
}

// The names and contents of every file in folder, to see that a failed read wrote nothing.
inline std::string Snapshot(const std::string& folder) {
  std::string all;
  for (const auto& name : ListFiles(folder)) all += name + "=" + ReadFileBytes(JoinPath(folder, name)).value_or("?") + "\n";
  return all;
}

}  // namespace zantro::fuzz
