#include "general/undohistory.h"

#include "general/workfiles.h"
#include "platform/files.h"

namespace zantro {

size_t UndoStep::Bytes() const {
  size_t n = 0;
  for (const auto& [name, bytes] : Files) n += name.size() + (bytes ? bytes->size() : 0);
  return n;
}

void UndoHistory::Push(UndoStep step) {
  redo_.clear();
  undo_.push_back(std::move(step));
  Trim();
}

std::optional<UndoStep> UndoHistory::Undo(const Now& now) {
  if (undo_.empty()) return std::nullopt;
  UndoStep step = std::move(undo_.back());
  undo_.pop_back();
  redo_.push_back(now(step));
  return step;
}

std::optional<UndoStep> UndoHistory::Redo(const Now& now) {
  if (redo_.empty()) return std::nullopt;
  UndoStep step = std::move(redo_.back());
  redo_.pop_back();
  undo_.push_back(now(step));
  return step;
}

void UndoHistory::Clear() {
  undo_.clear();
  redo_.clear();
}

void UndoHistory::Trim() {
  size_t bytes = 0;
  for (const auto& s : undo_) bytes += s.Bytes();
  for (const auto& s : redo_) bytes += s.Bytes();
  while (!undo_.empty() && (undo_.size() > kMaxSteps || (bytes > kMaxBytes && undo_.size() > 1))) {
    bytes -= undo_.front().Bytes();
    undo_.pop_front();
  }
}

namespace {

std::optional<std::string> BytesOf(const std::string& folder, const std::string& name) {
  auto path = FindNoCase(folder, name);
  return path ? ReadFileBytes(*path) : std::nullopt;
}

}  // namespace

UndoStep StepFromUndoSet(const std::string& folder, bool sheet, int32_t currentItem,
                         const std::map<std::string, std::optional<std::string>>& kept) {
  UndoStep step;
  step.Files = kept;
  step.CurrentItem = currentItem;
  auto take = [&](const std::string& working, const std::string& undo) {
    if (!step.Files.count(working)) step.Files[working] = BytesOf(folder, undo);
  };
  take(HeadFile("WRK"), HeadFile("UND"));
  if (sheet && currentItem >= 1) take(SheetFile(currentItem, "WRK"), SheetFile(currentItem, "UND"));
  return step;
}

UndoStep FilesNow(const std::string& folder, const UndoStep& step, int32_t currentItem) {
  UndoStep now;
  now.CurrentItem = currentItem;
  for (const auto& [name, bytes] : step.Files) now.Files[name] = BytesOf(folder, name);
  return now;
}

}  // namespace zantro
