// Moves of work files that a killed process cannot leave half-done.
//
// Inserting or deleting a breakdown item renumbers the detail files of every item after it:
// thousands of renames, and HEAD.WRK, which says which item each file belongs to, is written
// only when the command commits. A process killed among those renames would leave items
// holding their neighbours' lines. So every set of moves goes through a journal file in the
// work folder, MOVES<k>.JNL (k = 0 for the first set of a command, 1 for its second, ...):
//
//  1. files with new contents are written under staging names ".zjm<k>-<step>.stg";
//  2. the journal (every step, and a fingerprint of HEAD.WRK as it is now) is written
//     atomically and flushed to the disk;
//  3. every file that moves, is overwritten or is removed is renamed to its step's staging
//     name; then the journal is renamed MOVES<k>.JN2;
//  4. every staging name is renamed to its step's new name; removed files stay staged;
//  5. the command writes HEAD.WRK (the edit frame's commit), then FinishMoves renames the
//     journals MOVES<k>.JN3 (committed) and deletes the removed files and the journals.
//
// Each staging name belongs to one step, no new name is used before every old file has left
// for its staging name, and the journal's own name says whether step 4 may have begun (a
// rename, which needs no free space). So at any point a step is done exactly when its file
// lies where the step puts it, and replaying the steps, forwards or backwards, from any point
// is safe. At start (RecoverMoves, before anything reads the work files) a journal marked
// committed, or a HEAD.WRK that changed since the journal saw it, means the command committed:
// its moves are finished; else it never did: its moves are undone (a command that wrote its
// HEAD.WRK unchanged and was killed before the mark leaves the set before it, which that
// HEAD.WRK names as well).
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace zantro {

struct FileMove {
  std::string From;                  // an existing file of the folder as spelled there; empty: a new file
  std::string To;                    // the name it ends under; empty: it is removed
  std::optional<std::string> Bytes;  // the contents of a new file
};

// Runs one set of moves (steps 1-4), leaving its journal for FinishMoves or RevertMoves. No To
// may name an existing file other than a From of the set, and no two steps share a To. Raises
// FileError when a file cannot be written or renamed; the set is then undone before the
// error leaves.
void MoveFiles(const std::string& folder, const std::vector<FileMove>& moves);

// How many sets have a journal in folder.
int PendingMoveSets(const std::string& folder);

// Completes every pending set (step 5): to be called once HEAD.WRK names the moved files.
void FinishMoves(const std::string& folder);

// Undoes the pending sets after the first keep, newest first, and drops their journals.
void RevertMoves(const std::string& folder, int keep = 0);

enum class MoveRecovery {
  None,      // no journal: nothing was under way (staging files left over are deleted)
  Finished,  // the command had committed: its moves were completed
  Reverted,  // it had not: its moves were undone
};
// What a start does first: brings a folder left by a killed command to the set before or
// after that command.
MoveRecovery RecoverMoves(const std::string& folder);

}  // namespace zantro
