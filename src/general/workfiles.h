// The work files of the open document in a folder: the working set "WRK", the undo set
// "UND", the backups made when a new document starts, and the loads and saves of the lists.
// Each function takes the folder it works on, so a batch run or a test can use its own.
// Work-file operations raise nothing: a file that cannot be read leaves its list as it was.
#pragma once
#include <string>
#include <string_view>

#include "general/document.h"
#include "general/workcodec.h"

namespace zantro {

// Names of the work files.
std::string HeadFile(std::string_view set);                 // HEAD.WRK
std::string SheetFile(int32_t item, std::string_view set);  // WITEM3.WRK
std::string TakeoffFile(int32_t item);                      // WITEM3.PUP
std::string SortFile(int32_t item);                         // DATASORT3.WRK
// The title companion's answer in the program folder: one title record (EncodeTitle).
inline constexpr const char* kTitleExchangeFile = "HEAD_TITLE.WRK";

// Creates an empty file of takeoff records when none exists.
void EnsureRecordFile(const std::string& path);

// The path made absolute, each existing component spelled as the folder stores it.
std::string LongPathName(const std::string& path);

// Deletes HEAD.WRK, every *.PUP and *.WRK, and the undo sheets WITEM*.UND (a new
// document writes its own undo copies).
void ClearWorkFiles(const std::string& folder);

// Starts an empty document; with makeBackup the previous work files become backups first.
// Before anything, file moves that a killed command left half-done are finished or undone
// (RecoverMoves, movejournal.h).
// A staged set an open left behind (below) goes.
void InitDocument(Document& doc, const std::string& folder, bool makeBackup);

// An open writes the new document's work files apart, into the staging folder inside folder,
// and only a complete set replaces the open document: a disk that fills up while it is
// written costs the open, never the document that was open or its backups.
std::string StagingFolder(const std::string& folder);
// Removes the staging folder and whatever it holds.
void RemoveStagedSet(const std::string& folder);
// The staged set, whole (its HEAD.WRK written last), replaces the open document: the open
// document becomes the backups, as a new document makes them, then every staged file is
// renamed into folder, HEAD.WRK last, and the staging folder goes. False, with *error, when a
// file cannot be moved: folder then holds no HEAD.WRK (no document) and the backups stay.
bool TakeStagedSet(const std::string& folder, std::string* error = nullptr);

void ResetSheetLists(Document& doc);

// Settings of item n into force; appends the lines of WITEMn.WRK. 1 when the file exists.
int LoadSheet(Document& doc, const std::string& folder, int32_t n);

// Appends items until n exists (empty sheet, settings unchanged), else loads n's sheet.
void EnsureItemAndLoadSheet(Document& doc, const std::string& folder, int32_t n);

// Reads HEAD.set: title, then every item record the file holds; ItemCount := their number
// (at least one item). The grid layout in force := [Opt1Int]. False when the file is missing.
bool LoadHead(Document& doc, const std::string& folder, std::string_view set);

// Writes HEAD.set with the breakdown totals stored into the title.
bool SaveHead(Document& doc, const std::string& folder, std::string_view set);

// Writes the whole state of the open sheet: title fields, the current item's totals and
// settings (only for an existing item with a sheet), HEAD.set and WITEMn.set.
bool SaveSheet(Document& doc, const std::string& folder, std::string_view set);

// The in-memory halves of the operations above, for the batch recalculation, which keeps the
// work files in memory and must leave the document exactly as the file path does:
// InitDocument without the folder, LoadHead of a HEAD image already decoded, and what SaveHead
// and SaveSheet store into the document before they write it.
void StartEmptyDocument(Document& doc);
void TakeHead(Document& doc, HeadImage head);
void StoreHeadState(Document& doc);
void StoreSheetState(Document& doc);

// Replaces LineList by WITEM<CurrentItem>.set when it exists.
void ReloadSheet(Document& doc, const std::string& folder, std::string_view set);

// Updates the last serial in ATESAKI.DAT of folder for the title's [id]/[NUMBER].
// Returns true when a record was rewritten.
bool UpdateClientNumber(const TitleRecord& title, const std::string& folder);

}  // namespace zantro
