// The detail files of the breakdown items in a folder: WITEMn.WRK (the lines of item n) and
// WITEMn.PUP (its takeoff records). They are named by row number, so every command that moves
// rows moves them too. The folder is listed once and names are matched without regard to case;
// before a file is moved, deleted or rewritten the keeper learns its name and where it is, so
// that the edit frame can put it back. Every change goes through the folder's move journal
// (general/movejournal.h), so that a process killed half-way leaves nothing a start cannot
// finish or undo: bound to an edit frame, the moves are finished when the frame commits (once
// HEAD.WRK names the moved files) and undone when it rolls back; otherwise each change is
// finished at once.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "general/records.h"

namespace zantro {

class EditFrame;

class ItemFiles {
 public:
  // name: the canonical name ("WITEM3.WRK"); path: the existing file, or nullopt.
  using Keeper = std::function<void(const std::string& name, const std::optional<std::string>& path)>;

  ItemFiles(std::string folder, Keeper keep);
  // The files of frame's folder, kept by frame, their moves finished by its commit.
  explicit ItemFiles(EditFrame& frame);

  // All at once: for each (from, to) of moves, item to takes the files item from had (and has
  // none where from had none); every item of removed loses its files unless a move gives it
  // some. The names of the sources no move fills are free afterwards.
  void Rearrange(const std::vector<std::pair<int32_t, int32_t>>& moves, const std::vector<int32_t>& removed);

  // Item to takes the files of item from: each of its two files becomes what from had, and
  // disappears where from had none. from's names are free afterwards.
  void Move(int32_t from, int32_t to);
  // Deletes both files of item n.
  void Remove(int32_t n);
  // The lines of item n (empty when it has no file). Raises FileError when a file exists and
  // cannot be read.
  std::vector<LineRecord> Lines(int32_t n) const;
  std::vector<TakeoffRecord> Takeoffs(int32_t n) const;
  // Rewrites the files of item n; each record's item number becomes n. Raises FileError.
  void WriteLines(int32_t n, std::vector<LineRecord> lines);
  void WriteTakeoffs(int32_t n, std::vector<TakeoffRecord> records);

 private:
  // The name as the folder spells it, and its path; nothing when the folder has no such file.
  std::optional<std::string> Spelling(const std::string& name) const;
  std::optional<std::string> Find(const std::string& name) const;
  void Write(const std::string& name, std::string_view bytes);
  void Done();

  std::string folder_;
  Keeper keep_;
  bool finishEach_ = true;  // no frame finishes the moves
  std::map<std::string, std::string> index_;  // case-folded name -> name as the folder spells it
};

}  // namespace zantro
