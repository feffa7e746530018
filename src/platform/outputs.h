// The one way a file the user names is written: a saved document, a PDF, a workbook, a CSV
// export, print data, a shared list. Work files of the program folder, rewritten after every
// edit, use WriteFileAtomic directly; everything else comes through here, so the rules for the
// target are kept in one place:
//   - never the input of the same command (the same file, also through a link or a hard link);
//   - a link is followed to its file only when it belongs to the user or to the owner of the
//     folder it sits in (the rule the kernel keeps for sticky folders, here for every folder,
//     because a rename replaces the link's name and the kernel never sees the link followed);
//   - a regular file is replaced atomically in its own folder (temporary file, rename), mode
//     and owner kept; one the user may not write (0444 marks it so, also for root) is refused;
//   - a pipe or a character device (/dev/null, a terminal) is written through, never renamed
//     over; "-" is standard output where the command allows it; anything else is refused;
//   - temporary names carry the process id and are created exclusively; a write removes those
//     of its folder whose process is gone.
// Every refusal and failure names the path and the reason.
#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zantro {

struct OutputRules {
  std::vector<std::string> Inputs;  // files the output must not be (the command's input)
  bool StandardOutput = false;      // "-" writes to standard output
  bool Sync = false;                // flushed to the disk before the rename (documents)
};

// Where a write to a path lands.
struct OutputPlace {
  enum class Kind { Replace, Through, StandardOutput };
  Kind How = Kind::Replace;
  std::string Path;  // the file replaced or written through, links followed
};

// Applies the rules to path without writing anything: for a command that checks its output
// before the work of making it. Returns false with *error ("PATH: reason") on a refusal.
bool PlaceOutput(const std::string& path, const OutputRules& rules, OutputPlace* place, std::string* error);

// Writes bytes (given in pieces, written one after the other) to path by the rules. Returns
// false with *error ("PATH: reason") when refused or when a step fails; a file that was
// replaced then stays as it was and no temporary file is left.
bool WriteOutput(const std::string& path, std::span<const std::string_view> pieces, std::string* error,
                 const OutputRules& rules = {});
bool WriteOutput(const std::string& path, std::string_view bytes, std::string* error, const OutputRules& rules = {});

// Removes the temporary files of folder (".zt<pid>-<hex>.tmp") that belong to this user and
// whose process no longer runs: what a killed write left beside its target.
void RemoveStaleTemporaries(const std::string& folder);

// A batch command started with standard input, output or error closed would have its first
// opened file take that number, and its report written into that file: each closed one is
// given /dev/null opened read-only, where every write fails (and is reported).
void GuardStandardStreams();

// True when no process of that id runs (a test seam for the names of killed runs).
bool ProcessGone(long pid);

}  // namespace zantro
