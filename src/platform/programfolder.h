// Which folder is the program folder. Built and run in place, it is the folder of the
// executable, where the work files live beside the programs. Installed, that folder is shared
// and read-only: each user then works in a folder of their own, $XDG_DATA_HOME/zantro, made
// from the installed one on the first start, while the programs themselves are still started
// from the installed folder. A companion started by the window is told the window's folder
// through the environment, so both work on the same files.
#pragma once
#include <optional>
#include <string>

namespace zantro {

// The variable through which a program tells the programs it starts its program folder.
inline constexpr const char* kProgramFolderVariable = "ZANTRO_PROGRAM_FOLDER";
// A file the installation lays into the installed folder: even a user who could write there
// (root) then works in a folder of their own instead of the one every user shares.
inline constexpr const char* kInstalledMarker = "zantro.installed";
// The folder under the data home that becomes a user's program folder.
inline constexpr const char* kPerUserFolderName = "zantro";

struct ProgramFolderInputs {
  std::string Option;            // --program-folder as given (relative to the working directory)
  std::string Inherited;         // $ZANTRO_PROGRAM_FOLDER: the folder of the program that started this one
  std::string ExecutableFolder;  // where the running executable lies
  std::string DataHome;          // $XDG_DATA_HOME
  std::string Home;              // $HOME
};

struct ProgramFolderChoice {
  std::string Folder;    // every file of the program folder is read and written here
  std::string Programs;  // the companion programs are started from here
};

// The inputs of this process: the option, its environment and its executable's folder.
ProgramFolderInputs ProgramFolderInputsOf(const std::string& option, const std::string& executableFolder);

// --program-folder first, then the inherited folder, then the executable's folder unless it is
// installed (the marker, or not writable by the caller), in which case the per-user folder,
// created or completed from the installed one. Paths come back absolute, without a trailing
// "/". nullopt, with *error naming the folder and the reason, when the per-user folder cannot
// be made or is not a folder the caller can write.
std::optional<ProgramFolderChoice> ChooseProgramFolder(const ProgramFolderInputs& in, std::string* error);

// $XDG_DATA_HOME/zantro when XDG_DATA_HOME is an absolute path (a relative one is ignored, as
// the desktop's rules say), else HOME/.local/share/zantro; empty when neither is usable.
std::string PerUserProgramFolder(const std::string& dataHome, const std::string& home);

// True when the folder is an installation's (the marker) or the caller cannot write there.
bool IsInstalledFolder(const std::string& folder);

// Copies into perUser every data file of installed that perUser lacks (a name compared without
// regard to case, as the program finds its files), subfolders included. Programs (executable
// files), links and the lock and marker files stay behind. A folder that does not exist yet is
// built beside its final name and renamed into place whole, so a start that is killed half way,
// or a second program starting at the same moment, never leaves a half-filled folder. Copies
// are the user's own, writable files. False with *error when a folder or file cannot be made.
bool FillPerUserFolder(const std::string& installed, const std::string& perUser, std::string* error);

}  // namespace zantro
