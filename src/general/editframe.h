// The edit frame: every command that changes the document runs inside one EditFrame.
//
//   EditFrame edit(doc, folder, EditScope::Sheet);  // undo copy written, or FileError
//   ... change doc (plain functions over Document) ...
//   edit.Commit(recompute);                         // totals, working copy, modified flag
//
// Leaving the scope without Commit (a refusal, a cancelled question, an exception, a change
// that changed nothing) puts the document back as it was when the frame started, and every
// work file the command moved or rewrote (KeepFile) back in its place. The undo set is written
// by the commit, from the state the frame started with: a command that stops before it changes
// anything leaves the undo set of the previous command alone.
//
// A frame made while another frame of the same document is open defers to that outer frame:
// it writes no undo set and no working copy, its files are kept by the outer frame too, and
// its commit only runs the totals. So a command built from other commands (a line written by
// a companion after an insert) is one step of undo.
#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "general/document.h"

namespace zantro {

// What the undo copy and the working copy hold. Sheet: SaveSheet (title, items, the open
// sheet); Breakdown: SaveHead (title and items only).
enum class EditScope { Sheet, Breakdown };

// Whether the frame writes the undo copy. A few commands change the document without one
// (a rename, a remark, a total line appended): they still get the rollback and the working
// copy, and the kept files of the last command that did take one stay its undo.
enum class UndoCopy { Take, Skip };

// The extra undo copies of work files a command moved or rewrote: one file beside the undo
// set, written at commit, read back by RestoreKeptFiles.
inline constexpr const char* kKeptFilesName = "KEPT.UND";

class EditFrame {
 public:
  // Starts the frame; nothing is written until Commit.
  EditFrame(Document& doc, std::string folder, EditScope scope, UndoCopy undo = UndoCopy::Take);
  ~EditFrame();
  EditFrame(const EditFrame&) = delete;
  EditFrame& operator=(const EditFrame&) = delete;

  Document& Doc() { return doc_; }
  const std::string& Folder() const { return folder_; }

  // Call before the command moves, deletes or rewrites the work file name of the folder (a
  // sheet file WITEMn.WRK, a takeoff file WITEMn.PUP). Its bytes, or its absence, are kept:
  // a rollback restores them, and the commit writes them beside the undo set so that undo
  // can bring them back. Keeping a file twice keeps the first state.
  void KeepFile(const std::string& name);
  // The same when the caller already knows where the file is (path: the existing file, or
  // nullopt when there is none), so that a command moving thousands of files lists the folder
  // once instead of once per file. Without an undo copy the files are kept for a rollback only.
  void KeepFile(const std::string& name, const std::optional<std::string>& path);

  // Runs recompute (the totals), then writes the undo set (WriteUndoSet: the state the frame
  // started with, and the kept files) and the working copy. When recompute raises or a file
  // cannot be written (FileError), the document is rolled back before the error leaves, and
  // its working copy is written again as it was.
  // With writeWorkingCopy false the working copy is left for later (a companion sending lines
  // that the window saves when the sheet is left); the undo set is written all the same.
  void Commit(const std::function<void()>& recompute, bool writeWorkingCopy = true);

  bool Committed() const { return committed_; }
  // Puts the document back now, as leaving the scope without Commit would.
  void Abandon() {
    if (!finished_) Rollback();
  }
  // True when this frame runs inside another frame of the same document.
  bool Nested() const { return outer_ != nullptr; }
  // The document as the frame started, and the files kept so far (name -> bytes before).
  const Document& Before() const { return before_; }
  const std::map<std::string, std::optional<std::string>>& Kept() const { return kept_; }
  bool TakesUndoCopy() const { return undo_ == UndoCopy::Take && !outer_; }

 private:
  void Rollback();
  bool SaveSet(Document& doc, std::string_view set);

  Document& doc_;
  std::string folder_;
  EditScope scope_;
  UndoCopy undo_;
  Document before_;
  std::map<std::string, std::optional<std::string>> kept_;  // name -> bytes, nullopt: absent
  int movesAtStart_ = 0;  // sets of file moves pending when the frame started
  bool committed_ = false;
  bool finished_ = false;  // committed or rolled back
  EditFrame* outer_ = nullptr;
};

// The one writer of the undo set: the undo copy of scope taken from state (Sheet: HEAD.UND
// and the open sheet's WITEMn.UND; Breakdown: HEAD.UND), then the kept files of that command,
// or none. The kept files of the previous command are always dropped, so an undo can never put
// back files of an older command under a newer list. Raises FileError when a file cannot be
// written. A copy of state is written; state itself is not changed.
void WriteUndoSet(const Document& state, const std::string& folder, EditScope scope,
                  const std::map<std::string, std::optional<std::string>>& kept = {});

// True while an edit frame of doc is open: a mutable document exists only inside one.
bool InsideEditFrame(const Document& doc);

// Puts the files kept by the last committed command back (the undo of a command that moved
// work files). Returns the number of kept files that are now as they were kept; 0 when none
// were kept. Files already as kept stay untouched, and a file whose kept bytes another kept
// file holds now is renamed from there, so the undo of a shift of thousands of files renames.
// The changes are one journaled set of moves (movejournal.h). With LeaveJournal the set is
// left for the caller to finish (FinishMoves) once HEAD.WRK names the files put back, so that
// a kill in between leaves the list and its files as before the undo or as after it; a file
// that cannot be put back then raises FileError with every file left as it was, so that the
// caller does not write the list over files that did not come back.
enum class PutBack { Finish, LeaveJournal };
int RestoreKeptFiles(const std::string& folder, PutBack mode = PutBack::Finish);

// Puts files of folder back as given (name -> bytes; nullopt: the file must not exist), by
// renaming where another of them holds the bytes; returns how many are so afterwards.
int PutBackFiles(const std::string& folder, const std::map<std::string, std::optional<std::string>>& files);

// Deletes the kept files of the last command (a new document starts without them).
void DropKeptFiles(const std::string& folder);

}  // namespace zantro
