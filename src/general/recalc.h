// The batch recalculation behind "zantro --recalc IN OUT": open a document as the window
// opens it, recompute every sheet and the breakdown list, and write a container file.
// It reads no configuration, takes no single-instance lock and touches no program folder: the
// work files it would write are kept in memory, through the same codecs and steps.
#pragma once
#include <iosfwd>
#include <optional>
#include <string>

#include "platform/progress.h"
#include "platform/signalcleanup.h"

namespace zantro {

// A private temporary folder for work files, removed with its contents when it goes, and
// also when SIGTERM, SIGINT or SIGHUP ends the process. Raises FileError when it cannot be
// created.
class ScratchFolder {
 public:
  explicit ScratchFolder(const char* prefix = "zantro-recalc");
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::optional<RemoveOnSignal> guard_;
};

// Opens the document in (a container or a version-1 file), recomputes every sheet and the
// breakdown list in memory as the batch does, and writes the result as the work files of
// folder. Messages of the engine go to err. Raises FileError, also for an amount that does not
// fit (file, item, line and field named). progress has a step per sheet computed, then those
// of the writing (WriteWorkFiles); it only reports.
void OpenAndRecompute(const std::string& in, const std::string& folder, std::ostream& err,
                      Progress& progress = NoProgress());

// Returns the exit status: 0 when OUT was written (a duplicate-tax message on err does not
// change that), 1 after any read, computation or file error, which is described on err
// (file, line and field for a bad document); OUT is then neither created nor changed.
// progress has a step per item computed; it only reports.
int RecalcDocument(const std::string& in, const std::string& out, std::ostream& err,
                   Progress& progress = NoProgress());

// The command "--recalc IN OUT" of both executables: args are the words after "--recalc".
// Returns 2 with the usage on err unless there are exactly two, else RecalcDocument's status.
// The progress is shown on standard error when it is a terminal.
int RecalcCommand(int count, char** args, std::ostream& err);

}  // namespace zantro
