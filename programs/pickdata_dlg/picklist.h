// A pick list file (note.dat, KEITO.DAT): one entry per line, Shift-JIS, lines ended by CR LF.
// Blank lines carry no entry. Every change rewrites the whole file atomically.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantro {

// The file a launch names: a bare name from the program folder ("/note.dat", the form the
// window has always passed) is found there without regard to case; a full path is taken as it
// is. listFile is Shift-JIS, the result a path of this machine.
std::string PickListPath(std::string_view listFile, const std::string& programFolder);

// The entries of the file; an empty list when it does not exist yet, nullopt when it exists
// and cannot be read.
std::optional<std::vector<std::string>> ReadPickList(const std::string& path);

}  // namespace zantro
