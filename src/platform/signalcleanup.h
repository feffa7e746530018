// Temporary files and folders of a batch run that must not outlive it, also when the run is
// ended by SIGTERM, SIGINT or SIGHUP.
#pragma once
#include <csignal>
#include <string>

namespace zantro {

// While the object lives, path (a file, or a folder of files) is removed when one of those
// signals ends the process; the signal then ends it as it would have. A signal the process
// ignores (SIGHUP under nohup) stays ignored. A few paths at a time; more are not guarded.
class RemoveOnSignal {
 public:
  explicit RemoveOnSignal(const std::string& path);
  ~RemoveOnSignal();
  RemoveOnSignal(const RemoveOnSignal&) = delete;
  RemoveOnSignal& operator=(const RemoveOnSignal&) = delete;

 private:
  int slot_ = -1;
};

// From now on the temporary file a write is filling is removed when one of those signals
// ends the process (RemoveOnSignal does this too).
void RemoveTemporaryOnSignal();

// While the object lives, the signals that run the cleanup wait: a file or folder created and
// then guarded inside its lifetime is never left behind by a signal that falls between the two.
class CleanupSignalsHeld {
 public:
  CleanupSignalsHeld();
  ~CleanupSignalsHeld();
  CleanupSignalsHeld(const CleanupSignalsHeld&) = delete;
  CleanupSignalsHeld& operator=(const CleanupSignalsHeld&) = delete;

 private:
  sigset_t old_;
};

// The temporary file a write is filling right now (WriteFileAtomic sets it, nullptr clears
// it): removed with the guarded paths.
void SetTemporaryInWriting(const char* path);

}  // namespace zantro
