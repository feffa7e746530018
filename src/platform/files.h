// Files, text files and folder operations over plain paths (the records of the work files are
// read and written by the work-file codec of general/).
// Every write goes to a temporary file in the same folder, which is then renamed over the
// target, so a crash leaves either the old file or the new one, never a torn one.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zantro {

// Joins a folder and a name with "/".
std::string JoinPath(std::string_view folder, std::string_view name);

// The existing entry of folder whose name equals name without regard to ASCII case:
// the exact name when it exists, else the first match in directory order, else nullopt.
// The exact name costs one lstat; for the others the folder's names are listed once and kept
// current by the system's change notices (foldernames.cpp), so looking up thousands of names
// that do not exist costs no folder listing each.
std::optional<std::string> FindNoCase(std::string_view folder, std::string_view name);

// Drops what the lookups keep of folder's names; the next lookup lists it again. For callers
// that have reason to distrust the change notices.
void ForgetFolderNames(std::string_view folder);

// How many folder listings the lookups have made in this process (a test seam).
uint64_t FolderScans();

// How many lower-case names the indexes of the lookups hold now (a test seam).
size_t FolderNameCount();

// The path to use for name in folder: the existing spelling when one exists (so a rewrite
// replaces the file that was found), else folder/name.
std::string ResolveNoCase(std::string_view folder, std::string_view name);

// ResolveNoCase for many names of one folder with one look at its kept names, not a lookup
// of its own per name: for a caller about to write the files of a whole document.
std::vector<std::string> ResolveAllNoCase(std::string_view folder, std::span<const std::string> names);

bool FileExists(const std::string& path);
bool IsDirectory(const std::string& path);

// The largest documents, lines files and configuration files a reader takes: far above any
// real estimate (100 000 lines of a sheet make about 25 MB), low enough that a wrong file
// (a disk image, a device) is refused before it fills the memory.
inline constexpr uint64_t kMaxDocumentBytes = 128ull << 20;
// The largest file of any kind read whole, work files included.
inline constexpr uint64_t kMaxFileBytes = 1ull << 30;

// Whole file into bytes; nullopt when it cannot be opened or read, is not a regular file (a
// folder, a pipe, a device: refused before anything is read, so nothing blocks) or holds more
// than maxBytes. *error then says why, without the path.
std::optional<std::string> ReadFileBytes(const std::string& path, std::string* error = nullptr,
                                         uint64_t maxBytes = kMaxFileBytes);

// Writes bytes atomically (temporary file in the same folder, rename). Returns false, with
// *error set, when any step fails; the old file then stays as it was. A file that is replaced
// keeps its permission bits and, where the process may set them, its owner and group; a new
// file is created 0644 less the umask. With sync the data are
// flushed to the disk before the rename (documents the user saves); work files, rewritten
// after every edit, skip that cost: a killed process still leaves old or new, whole.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                     bool sync = false);
// The same with the bytes given in pieces, written one after the other (no joined copy).
bool WriteFileAtomic(const std::string& path, std::span<const std::string_view> pieces, std::string* error = nullptr,
                     bool sync = false);

// The system's reason ("No space left on device", "Too many open files") of the last write of
// this thread that failed: for callers that report a failed write of a bool-returning helper.
std::string LastWriteFailure();
// "PATH: the work file cannot be written (REASON)".
std::string WorkFileNotWritten(const std::string& path);

// Writes a file that does not exist yet in place, without a temporary file: for the sheets of
// a work-file set being built, which its head, written last and atomically, makes a document.
// Refuses to touch an existing file (*existed is then true); a failed write removes the file.
bool WriteNewFile(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                  bool* existed = nullptr);

// Splits text into lines at CR LF or LF; the last line may lack its break.
// A line break at the very end starts no further line.
std::vector<std::string> SplitLines(std::string_view text);

// Text file as lines (CR LF or LF); nullopt when it cannot be read (as ReadFileBytes).
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path, std::string* error = nullptr,
                                                      uint64_t maxBytes = kMaxDocumentBytes);

// Lines joined with CR LF (each line followed by CR LF), written by the output rules
// (outputs.h): a shared list linked into the program folder is replaced in its own folder.
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                    std::string* error = nullptr);

// Deletes a file; a missing file is not an error. Returns false when it exists and stays.
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);

// Flushes the entries of folder (names made, renamed or removed) to the disk.
bool SyncFolder(const std::string& folder);

// A test seam standing for the disk: when set, it is asked before every write (WriteFileAtomic,
// WriteNewFile), rename and delete of this file, and an answer of false fails that operation
// as the system would, with the errno the gate set (ENOSPC: the disk is full). A gate that
// refuses everything from some point on is a process killed there, as the disk sees it.
enum class DiskChange { Write, Rename, Delete };
using DiskGate = bool (*)(DiskChange change, const std::string& path);
void SetDiskGate(DiskGate gate);

// Names of the regular files in folder (not paths), in directory order.
std::vector<std::string> ListFiles(std::string_view folder);

// Case-insensitive ASCII comparison helpers for file names and extensions.
bool EqualsNoCase(std::string_view a, std::string_view b);
// The key under which names equal without regard to ASCII case meet (lower case).
std::string FoldCase(std::string_view name);
bool EndsWithNoCase(std::string_view s, std::string_view suffix);

}  // namespace zantro
