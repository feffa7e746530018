// Undo and redo beyond the one undo set of the work files (HEAD.UND and its sheet, which stay
// the most recent step for Esc and the Undo button): a bounded history of steps, each the work
// files a command changed as they were before it, and the item that was open. Undoing a step
// keeps the same files as they are then on the redo side, so undo then redo gives the work
// files back byte for byte. A new command clears the redo side.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace zantro {

struct UndoStep {
  std::map<std::string, std::optional<std::string>> Files;  // name -> bytes; nullopt: absent
  int32_t CurrentItem = 1;
  size_t Bytes() const;
};

class UndoHistory {
 public:
  // At most kMaxSteps steps and kMaxBytes of files over both sides; the oldest go first.
  static constexpr size_t kMaxSteps = 64;
  static constexpr size_t kMaxBytes = size_t{64} << 20;

  void Push(UndoStep step);
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The step to put back, or nullopt; now(step) gives the same files as they are now, which
  // go to the other side.
  using Now = std::function<UndoStep(const UndoStep&)>;
  std::optional<UndoStep> Undo(const Now& now);
  std::optional<UndoStep> Redo(const Now& now);
  void Clear();
  size_t Steps() const { return undo_.size(); }

 private:
  void Trim();
  std::deque<UndoStep> undo_, redo_;
};

// The step of a command that has just written its undo set into folder: the head and, for a
// sheet command, the open item's sheet as the undo set holds them, under the working copy's
// names, beside the files the command kept (which win).
UndoStep StepFromUndoSet(const std::string& folder, bool sheet, int32_t currentItem,
                         const std::map<std::string, std::optional<std::string>>& kept);

// The files of step as folder holds them now, with the item open now: what goes to the other
// side when step is put back.
UndoStep FilesNow(const std::string& folder, const UndoStep& step, int32_t currentItem);

}  // namespace zantro
