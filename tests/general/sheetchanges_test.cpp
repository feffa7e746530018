// The sheet's change functions and the edit frame around them: range renumbering against the
// line-by-line rule, moves and the pick buffer at the edges, lines put past the end, and a
// frame that rolls back what a failed command did.
#include "general/sheetchanges.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <random>

#include "general/editframe.h"
#include "general/textchanges.h"
#include "general/errors.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;

Document SheetOf(int n) {
  Document doc;
  doc.ItemList.push_back(NewItem());
  for (int i = 1; i <= n; ++i) {
    LineRecord l{};
    l.NameSpec.set("L" + std::to_string(i) + ";");
    l.FLAG = 10;
    doc.LineList.push_back(l);
  }
  return doc;
}

std::vector<std::string> Names(const Document& doc) {
  std::vector<std::string> out;
  for (int r = 1; r <= doc.LastLine(); ++r) out.push_back(doc.LineList[r].NameSpec.str());
  return out;
}

void MakeRange(Document& doc, int at, int from, int to) {
  doc.LineList[at].FLAG = 51;
  doc.LineList[at].CostQty = Money::Units(from);
  doc.LineList[at].SubQty = Money::Units(to);
}

std::pair<int64_t, int64_t> RangeOf(const LineRecord& l) { return {l.CostQty.raw / 10000, l.SubQty.raw / 10000}; }

TEST(SheetChanges, DeleteRenumbersRangesAsOneLineAtATime) {
  Document doc = SheetOf(9);
  MakeRange(doc, 7, 2, 6);
  MakeRange(doc, 8, 5, 7);
  MakeRange(doc, 9, 1, 3);
  ASSERT_EQ(DeleteLines(doc, {4, 4}), Change::Done);
  EXPECT_EQ(RangeOf(doc.LineList[6]), std::make_pair(int64_t{2}, int64_t{5}));
  EXPECT_EQ(RangeOf(doc.LineList[7]), std::make_pair(int64_t{4}, int64_t{6}));
  EXPECT_EQ(RangeOf(doc.LineList[8]), std::make_pair(int64_t{1}, int64_t{3}));

  // Ranges that end or start on a deleted line, and blocks over a range's edges, worked out by
  // hand: the random comparison below cannot see a rule that both ways share.
  struct Case {
    int from, to, at, count, wantFrom, wantTo;
  };
  for (const Case& c : {Case{1, 3, 3, 1, 1, 2}, Case{3, 5, 3, 1, 2, 4}, Case{2, 4, 1, 1, 1, 3},
                        Case{1, 3, 2, 3, 1, 1}, Case{4, 6, 2, 2, 2, 4}, Case{3, 4, 2, 4, 1, 1},
                        Case{2, 3, 4, 1, 2, 3}, Case{1, 2, 2, 1, 1, 1}}) {
    Document d = SheetOf(10);
    MakeRange(d, 10, c.from, c.to);
    d.LineList[10].FLAG = c.at % 2 ? 50 : 79;  // the first and the last range kind
    ASSERT_EQ(DeleteLines(d, {c.at, c.at + c.count - 1}), Change::Done);
    EXPECT_EQ(RangeOf(d.LineList[10 - c.count]), std::make_pair(int64_t{c.wantFrom}, int64_t{c.wantTo}))
        << c.from << "-" << c.to << " less " << c.count << " at " << c.at;
  }

  // Deleting a block at once equals deleting its lines one by one at the same place, for
  // ranges before, around, inside and after the block.
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    std::vector<LineRecord> once(41), stepwise;
    for (int i = 1; i <= 40; ++i) {
      int from = 1 + random() % 40;
      once[i].FLAG = i % 3 == 0 ? 10 : 60;
      once[i].CostQty = Money::Units(from);
      once[i].SubQty = Money::Units(from + random() % 10);
    }
    stepwise = once;
    int at = 1 + random() % 40, count = 1 + random() % 8;
    DeleteLineRange(once, at, count);
    for (int k = 0; k < count && at < static_cast<int>(stepwise.size()); ++k) DeleteLineRange(stepwise, at, 1);
    ASSERT_EQ(once.size(), stepwise.size());
    for (size_t i = 1; i < once.size(); ++i) {
      ASSERT_EQ(once[i].CostQty, stepwise[i].CostQty) << "round " << round << " line " << i;
      ASSERT_EQ(once[i].SubQty, stepwise[i].SubQty) << "round " << round << " line " << i;
    }
  }
}

TEST(SheetChanges, SelectionsPastTheEndTouchOnlyExistingLines) {
  Document doc = SheetOf(3);
  EXPECT_EQ(InsertLines(doc, {4, 6}), Change::None);
  EXPECT_EQ(EraseLines(doc, {4, 9}), Change::None);
  EXPECT_EQ(DeleteLines(doc, {2, 50}), Change::Done);
  EXPECT_EQ(Names(doc), std::vector<std::string>{"L1;"});
  EXPECT_EQ(MoveLineDown(doc, 1), Change::None);  // the last line
  EXPECT_EQ(MoveLineUp(doc, 5), Change::None);
  // A delete before line 1, past the end or of no lines leaves every line, the buffer too.
  std::vector<LineRecord> four(5);
  for (auto [at, count] : {std::pair{0, 1}, {6, 1}, {7, 2}, {2, 0}}) {
    DeleteLineRange(four, at, count);
    EXPECT_EQ(four.size(), 5u) << at << " " << count;
  }
  QuantitySum sum = SumQuantities(SheetOf(2), {1, 100000});
  EXPECT_EQ(sum.Cost, Money{});

  // Erase keeps SpareMoney and RefA; a takeoff line in the selection refuses the whole erase.
  doc = SheetOf(3);
  doc.LineList[2].SpareMoney = Money::Units(5);
  doc.LineList[2].RefA = 9;
  doc.LineList[3].FLAG = 130;
  EXPECT_EQ(EraseLines(doc, {1, 3}), Change::Refused);
  EXPECT_EQ(Names(doc)[0], "L1;");
  EXPECT_EQ(EraseLines(doc, {2, 2}), Change::Done);
  EXPECT_EQ(doc.LineList[2].NameSpec.str(), "");
  EXPECT_EQ(doc.LineList[2].FLAG, 0);
  EXPECT_EQ(doc.LineList[2].SpareMoney, Money::Units(5));
  EXPECT_EQ(doc.LineList[2].RefA, 9);
}

TEST(SheetChanges, MovesPickTheLineAndSwapPutsItBack) {
  Document doc = SheetOf(4);
  EXPECT_EQ(SwapWithPicked(doc, 2), Change::None);  // nothing picked yet
  EXPECT_EQ(MoveLineUp(doc, 1), Change::None);
  ASSERT_EQ(MoveLineUp(doc, 3), Change::Done);
  EXPECT_EQ(Names(doc), (std::vector<std::string>{"L1;", "L3;", "L2;", "L4;"}));
  EXPECT_EQ(doc.PickedLine, 3);
  // Swap: the picked line (3) takes line 1, line 1 the content picked (L3).
  ASSERT_EQ(SwapWithPicked(doc, 1), Change::Done);
  EXPECT_EQ(Names(doc), (std::vector<std::string>{"L3;", "L3;", "L1;", "L4;"}));
  ASSERT_EQ(MoveLineDown(doc, 3), Change::Done);
  EXPECT_EQ(Names(doc), (std::vector<std::string>{"L3;", "L3;", "L4;", "L1;"}));
  // A picked line that a delete took away is not written.
  DeleteLines(doc, {3, 4});
  EXPECT_EQ(SwapWithPicked(doc, 1), Change::None);
}

TEST(SheetChanges, TotalAndTaxLinesPastTheEndAppendBlankLines) {
  Document doc = SheetOf(9);
  ASSERT_EQ(PutTotalLine(doc, 12), Change::Done);
  ASSERT_EQ(doc.LastLine(), 12);
  EXPECT_EQ(doc.LineList[10].FLAG, 0);
  EXPECT_EQ(doc.LineList[11].FLAG, 0);
  EXPECT_EQ(doc.LineList[12].FLAG, 99);
  EXPECT_EQ(doc.LineList[12].sort, Money::Units(99999));
  EXPECT_EQ(ToUtf8(doc.LineList[12].NameSpec.view()), "【合　　計】");
  EXPECT_EQ(doc.CurrentLine, 13);
  doc.LineList[5].FLAG = 140;
  EXPECT_EQ(PutTotalLine(doc, 5), Change::Refused);
  EXPECT_EQ(PutTotalLine(doc, 0), Change::None);
  ASSERT_EQ(PutTotalLine(doc, 1), Change::Done);
  EXPECT_EQ(doc.LineList[1].FLAG, 99);
  // Kind 100 opens the takeoff kinds: erase refuses it, a total line may replace it.
  doc.LineList[6].FLAG = 100;
  EXPECT_EQ(EraseLines(doc, {6, 6}), Change::Refused);
  EXPECT_EQ(PutTotalLine(doc, 6), Change::Done);

  PutTaxLine(doc, 14, Money::Units(10), false);
  EXPECT_EQ(doc.LastLine(), 14);
  EXPECT_EQ(doc.LineList[14].FLAG, 90);
  EXPECT_EQ(doc.LineList[14].SubQty, Money::Units(10));
  EXPECT_EQ(doc.LineList[14].CostQty, Money{});
  EXPECT_EQ(ToUtf8(doc.LineList[14].Unit.view()), "％");
  EXPECT_EQ(doc.CurrentLine, 15);  // the cursor goes on below the tax line

  doc.CurrentItem = 0;  // the breakdown list is shown: there is no current item to rename
  EXPECT_FALSE(RenameCurrentItem(doc, "x"));
  doc.CurrentItem = 1;
  EXPECT_TRUE(RenameCurrentItem(doc, "x"));
  EXPECT_EQ(doc.ItemList[1].ItemName.str(), "x");
}

TEST(TextChanges, DoubleByteCharactersAreNeverSplitOrMatchedInHalf) {
  // "ａ" is 0x82 0x81: followed by "@" its trail byte and the "@" look like a full-width blank.
  const std::string fakeBlank = Sj("ａ") + "@b;";
  EXPECT_EQ(NameSpecAfter(TextCommand::RemoveFirstBlanks, fakeBlank, ""), fakeBlank);
  // Either blank alone is removed.
  EXPECT_EQ(NameSpecAfter(TextCommand::RemoveFirstBlanks, "P Q", ""), "PQ");
  EXPECT_EQ(NameSpecAfter(TextCommand::RemoveFirstBlanks, Sj("P　Q"), ""), "PQ");
  EXPECT_EQ(NameSpecAfter(TextCommand::FirstBlankToSeparator, Sj("管　継手;"), ""), Sj("管;継手"));
  EXPECT_EQ(NameSpecAfter(TextCommand::RemoveText, Sj("ａ@ａ@"), "@"), Sj("ａａ"));
  // The first 80 bytes keep whole characters: a full-width letter across the limit is dropped.
  std::string longName = "P " + std::string(77, 'A') + Sj("ａａ") + "x";
  EXPECT_EQ(NameSpecAfter(TextCommand::FirstBlankToSeparator, longName, ""), "P;" + std::string(77, 'A'));
  // Removing the blanks splits nothing: the whole field stays, past 80 bytes too.
  EXPECT_EQ(NameSpecAfter(TextCommand::RemoveFirstBlanks, longName, ""), "P" + std::string(77, 'A') + Sj("ａａ") + "x");
  EXPECT_EQ(CutWhole(Sj("ａｂ"), 3), Sj("ａ"));

  std::vector<LineRecord> lines(3);
  lines[1].FLAG = 11;
  lines[2].FLAG = 20;
  EXPECT_EQ(ApplyTextCommand(lines, {1, 9}, TextCommand::AmountAsText, Sj("別途")), 1);
  EXPECT_EQ(lines[1].FLAG, 11);
  EXPECT_EQ(lines[2].FLAG, 25);
  EXPECT_EQ(lines[2].AmountText.view(), Sj("別途"));

  // Blank quantities: lines below kind 50 become comments showing the text; the unit goes
  // only with the second command.
  std::vector<LineRecord> kinds(4);
  for (int i : {1, 2, 3}) kinds[i].Unit.set("m");
  kinds[1].FLAG = 10, kinds[2].FLAG = 49, kinds[3].FLAG = 50;
  EXPECT_EQ(ApplyTextCommand(kinds, {1, 3}, TextCommand::BlankQuantity, Sj("別途")), 2);
  EXPECT_EQ((std::vector<int32_t>{kinds[1].FLAG, kinds[2].FLAG, kinds[3].FLAG}),
            (std::vector<int32_t>{LineKinds::Comment, LineKinds::Comment, 50}));
  EXPECT_EQ(kinds[2].AmountText.view(), Sj("別途"));
  EXPECT_EQ(kinds[2].Unit.view(), "m");
  kinds[1].FLAG = 10;
  EXPECT_EQ(ApplyTextCommand(kinds, {1, 1}, TextCommand::BlankQuantityAndUnit, ""), 1);
  EXPECT_EQ(kinds[1].Unit.view(), "");

  // Only lines whose field the command changes are counted.
  lines[1].NameSpec.set("P Q");
  lines[2].NameSpec.set("PQ");
  EXPECT_EQ(ApplyTextCommand(lines, {1, 2}, TextCommand::FirstBlankToSeparator, ""), 1);
  EXPECT_EQ(lines[1].NameSpec.str(), "P;Q");

  // The unit holds four bytes: a character that would cross them is left out whole.
  EXPECT_EQ(ApplyTextCommand(lines, {2, 2}, TextCommand::SetUnit, "a" + Sj("ｍｍ")), 1);
  EXPECT_EQ(lines[2].Unit.view(), "a" + Sj("ｍ"));
  EXPECT_EQ(ApplyTextCommand(lines, {0, 9}, TextCommand::SetUnit, Sj("ｍｍｍ")), 2);
  EXPECT_EQ(lines[1].Unit.view(), Sj("ｍｍ"));
  EXPECT_EQ(lines[2].Unit.view(), Sj("ｍｍ"));
}

TEST(EditFrame, RollbackRestoresTheDocumentAndTheKeptFiles) {
  TempDir dir;
  Document doc = SheetOf(3);
  ASSERT_TRUE(WriteFileAtomic(dir.file("WITEM2.WRK"), "lines of item 2"));
  {
    EditFrame edit(doc, dir.path(), EditScope::Sheet);
    edit.KeepFile("WITEM2.WRK");
    edit.KeepFile("WITEM3.WRK");
    RenameFile(dir.file("WITEM2.WRK"), dir.file("WITEM3.WRK"));
    DeleteLines(doc, {1, 1});
    // No commit: a refusal or an error left the handler.
  }
  EXPECT_EQ(Names(doc), (std::vector<std::string>{"L1;", "L2;", "L3;"}));
  EXPECT_FALSE(doc.DocumentModified);
  EXPECT_EQ(*ReadFileBytes(dir.file("WITEM2.WRK")), "lines of item 2");
  EXPECT_FALSE(FileExists(dir.file("WITEM3.WRK")));
  EXPECT_FALSE(FileExists(dir.file("WITEM1.WRK")));
  // A command that did not commit leaves the undo set of the last one that did.
  EXPECT_FALSE(FileExists(dir.file("WITEM1.UND")));
  EXPECT_FALSE(FileExists(dir.file("HEAD.UND")));

  // A recomputation that fails rolls back before the error leaves Commit.
  {
    EditFrame edit(doc, dir.path(), EditScope::Sheet);
    DeleteLines(doc, {1, 1});
    EXPECT_THROW(edit.Commit([] { throw MoneyOverflow(); }), MoneyOverflow);
    EXPECT_EQ(doc.LastLine(), 3);
  }
  EXPECT_EQ(doc.LastLine(), 3);
}

TEST(EditFrame, CommitWritesTheWorkingCopyAndUndoBringsMovedFilesBack) {
  TempDir dir;
  Document doc = SheetOf(3);
  ASSERT_TRUE(WriteFileAtomic(dir.file("WITEM2.WRK"), "two"));
  {
    EditFrame edit(doc, dir.path(), EditScope::Sheet);
    edit.KeepFile("WITEM2.WRK");
    edit.KeepFile("WITEM3.WRK");
    RenameFile(dir.file("WITEM2.WRK"), dir.file("WITEM3.WRK"));
    InsertLines(doc, {1, 1});
    edit.Commit(nullptr);
  }
  EXPECT_TRUE(doc.DocumentModified);
  Document back;
  ReloadSheet(back, dir.path(), "WRK");
  EXPECT_EQ(back.LastLine(), 4);
  EXPECT_EQ(RestoreKeptFiles(dir.path()), 2);
  EXPECT_EQ(*ReadFileBytes(dir.file("WITEM2.WRK")), "two");
  EXPECT_FALSE(FileExists(dir.file("WITEM3.WRK")));

  // A command that changes nothing keeps that undo level; the next one that commits starts a
  // new one, and nothing of the last one is restored any more.
  { EditFrame edit(doc, dir.path(), EditScope::Breakdown); }
  EXPECT_EQ(RestoreKeptFiles(dir.path()), 2);
  {
    EditFrame edit(doc, dir.path(), EditScope::Breakdown);
    edit.Commit(nullptr);
  }
  EXPECT_EQ(RestoreKeptFiles(dir.path()), 0);
}

// A frame inside a frame defers to the outer one: one undo set, the state before the outer
// frame, with the files either moved; an inner commit writes nothing.
TEST(EditFrame, AFrameInsideAFrameIsOneStepOfUndo) {
  TempDir dir;
  Document doc = SheetOf(3);
  ASSERT_TRUE(WriteFileAtomic(dir.file("WITEM2.WRK"), "two"));
  {
    EditFrame outer(doc, dir.path(), EditScope::Sheet);
    DeleteLines(doc, {1, 1});
    {
      EditFrame inner(doc, dir.path(), EditScope::Sheet);
      EXPECT_TRUE(inner.Nested());
      inner.KeepFile("WITEM2.WRK");
      DeleteFile(dir.file("WITEM2.WRK"));
      InsertLines(doc, {1, 2});
      inner.Commit(nullptr);
    }
    EXPECT_FALSE(FileExists(dir.file("HEAD.UND")));
    EXPECT_FALSE(FileExists(dir.file("WITEM1.WRK")));
    {
      // An inner frame left without commit puts back only its own change.
      EditFrame inner(doc, dir.path(), EditScope::Sheet);
      DeleteLines(doc, {1, 4});
    }
    EXPECT_EQ(doc.LastLine(), 4);
    outer.Commit(nullptr);
  }
  Document undo;
  ReloadSheet(undo, dir.path(), "UND");
  EXPECT_EQ(Names(undo), (std::vector<std::string>{"L1;", "L2;", "L3;"}));
  EXPECT_EQ(RestoreKeptFiles(dir.path()), 1);
  EXPECT_EQ(*ReadFileBytes(dir.file("WITEM2.WRK")), "two");
  EXPECT_FALSE(InsideEditFrame(doc));
}

// The undo set written outside a command drops the kept files of the last command: an undo
// then puts back the list of that point, never older files under it.
TEST(EditFrame, AnUndoPointDropsTheKeptFilesOfTheLastCommand) {
  TempDir dir;
  Document doc = SheetOf(1);
  ASSERT_TRUE(WriteFileAtomic(dir.file("WITEM2.WRK"), "two"));
  {
    EditFrame edit(doc, dir.path(), EditScope::Breakdown);
    edit.KeepFile("WITEM2.WRK");
    RenameFile(dir.file("WITEM2.WRK"), dir.file("WITEM3.WRK"));
    edit.Commit(nullptr);
  }
  ASSERT_TRUE(FileExists(dir.file(kKeptFilesName)));
  WriteUndoSet(doc, dir.path(), EditScope::Sheet);
  EXPECT_FALSE(FileExists(dir.file(kKeptFilesName)));
  EXPECT_EQ(RestoreKeptFiles(dir.path()), 0);
  EXPECT_EQ(*ReadFileBytes(dir.file("WITEM3.WRK")), "two");
  EXPECT_THROW(WriteUndoSet(doc, "/nonexistent-folder", EditScope::Sheet), FileError);
}

// The files of a folder as name -> bytes.
std::map<std::string, std::string> FolderState(const std::string& folder) {
  std::map<std::string, std::string> state;
  for (const auto& name : ListFiles(folder)) state[name] = *ReadFileBytes(JoinPath(folder, name));
  return state;
}

// Undo puts back shifted chains, swapped files (a cycle), files of equal bytes, deleted,
// created and rewritten files, byte for byte and leaving nothing else in the folder, and with
// the undo set beside it (HEAD.UND, KEPT.UND) unchanged.
TEST(EditFrame, UndoPutsBackMovedSwappedDeletedAndRewrittenFiles) {
  TempDir dir;
  Document doc = SheetOf(1);
  const std::vector<std::pair<std::string, std::string>> files = {
      {"A", "a"}, {"B", "b"}, {"C", "c"}, {"D", "same"}, {"E", "same"}, {"F", "f"}, {"H", "h"},
      {"J", "j"}, {"K", "k"}, {"L", "twin"}, {"M", "twin"}};
  for (const auto& [name, bytes] : files) ASSERT_TRUE(WriteFileAtomic(dir.file(name), bytes));
  auto f = [&](const char* name) { return dir.file(name); };
  auto inode = [&](const char* name) {
    struct stat st {};
    ::stat(f(name).c_str(), &st);
    return st.st_ino;
  };
  const auto inodeA = inode("A"), inodeB = inode("B"), inodeC = inode("C");
  {
    EditFrame edit(doc, dir.path(), EditScope::Breakdown);
    for (const char* name : {"A", "B", "C", "D", "E", "F", "G", "H", "J", "K", "L", "M"}) edit.KeepFile(name);
    RenameFile(f("A"), f("T"));  // A and B swap
    RenameFile(f("B"), f("A"));
    RenameFile(f("T"), f("B"));
    RenameFile(f("E"), f("F"));  // C -> D -> E -> F, F's bytes gone
    RenameFile(f("D"), f("E"));
    RenameFile(f("C"), f("D"));
    WriteFileAtomic(f("G"), "new");
    WriteFileAtomic(f("H"), "rewritten");
    WriteFileAtomic(f("J"), "k");  // J takes K's bytes, K goes: both must come back
    DeleteFile(f("K"));
    DeleteFile(f("M"));  // L, untouched, holds M's bytes: it must stay where it is
    edit.Commit(nullptr);
  }
  const auto undoSet = FolderState(dir.path());
  EXPECT_EQ(RestoreKeptFiles(dir.path()), 12);
  auto state = FolderState(dir.path());
  for (const auto& [name, bytes] : files) EXPECT_EQ(state[name], bytes) << name;
  EXPECT_EQ(state.count("G"), 0u);
  EXPECT_EQ(state[HeadFile("UND")], undoSet.at(HeadFile("UND")));
  EXPECT_EQ(state[kKeptFilesName], undoSet.at(kKeptFilesName));
  EXPECT_EQ(state.size(), files.size() + 3) << "HEAD.UND, HEAD.WRK and KEPT.UND besides the files";
  // Moved files come back by renaming, not as new files.
  EXPECT_EQ(inode("A"), inodeA);
  EXPECT_EQ(inode("B"), inodeB);
  EXPECT_EQ(inode("C"), inodeC);
  // Undoing twice finds everything in place.
  EXPECT_EQ(RestoreKeptFiles(dir.path()), 12);
  EXPECT_EQ(FolderState(dir.path()), state);
}

// A command without an undo copy leaves the last command's undo set as it was, and still
// rolls back what it did itself (a file kept twice keeps its first state).
TEST(EditFrame, ACommandWithoutAnUndoCopyKeepsTheLastUndoAndStillRollsBack) {
  TempDir dir;
  Document doc = SheetOf(2);
  ASSERT_TRUE(WriteFileAtomic(dir.file("WITEM2.WRK"), "two"));
  {
    EditFrame edit(doc, dir.path(), EditScope::Breakdown);
    edit.KeepFile("WITEM2.WRK");
    edit.KeepFile("WITEM3.WRK");
    RenameFile(dir.file("WITEM2.WRK"), dir.file("WITEM3.WRK"));
    edit.Commit(nullptr);
  }
  const auto undoSet = FolderState(dir.path());
  {
    EditFrame edit(doc, dir.path(), EditScope::Sheet, UndoCopy::Skip);
    edit.KeepFile("WITEM3.WRK");
    WriteFileAtomic(dir.file("WITEM3.WRK"), "changed");
    edit.KeepFile("WITEM3.WRK");
    WriteFileAtomic(dir.file("WITEM3.WRK"), "again");
    DeleteLines(doc, {1, 1});
  }
  EXPECT_EQ(FolderState(dir.path()), undoSet);
  EXPECT_EQ(doc.LastLine(), 2);
  {
    EditFrame edit(doc, dir.path(), EditScope::Sheet, UndoCopy::Skip);
    DeleteLines(doc, {1, 1});
    edit.Commit(nullptr);
  }
  auto state = FolderState(dir.path());
  EXPECT_EQ(state.count("WITEM1.UND"), 0u);
  EXPECT_EQ(state.count("WITEM1.WRK"), 1u);
  EXPECT_EQ(state[kKeptFilesName], undoSet.at(kKeptFilesName));
  EXPECT_EQ(RestoreKeptFiles(dir.path()), 2);
  EXPECT_EQ(*ReadFileBytes(dir.file("WITEM2.WRK")), "two");

  // A line left for later (a companion still sending): the working copy stays as it was and
  // the document counts as changed.
  doc.DocumentModified = false;
  const std::string written = *ReadFileBytes(dir.file("WITEM1.WRK"));
  {
    EditFrame edit(doc, dir.path(), EditScope::Sheet, UndoCopy::Skip);
    DeleteLines(doc, {1, 1});
    edit.Commit(nullptr, false);
  }
  EXPECT_TRUE(doc.DocumentModified);
  EXPECT_EQ(doc.LastLine(), 0);
  EXPECT_EQ(*ReadFileBytes(dir.file("WITEM1.WRK")), written);
}

// A damaged KEPT.UND restores what precedes the damage and nothing after it.
TEST(EditFrame, ADamagedKeptFileRestoresOnlyWhatPrecedesTheDamage) {
  for (const std::string damage : {"\n1\nx", "../C\n1\nc", "B\n9\nb", "B\n1x\nb", "B\n\nb", "B\n-1\nb"}) {
    TempDir dir;
    ASSERT_TRUE(WriteFileAtomic(dir.file("A"), "changed"));
    ASSERT_TRUE(WriteFileAtomic(dir.file(kKeptFilesName), "A\n1\na" + damage + "B\n1\nb"));
    EXPECT_EQ(RestoreKeptFiles(dir.path()), 1) << damage;
    EXPECT_EQ(*ReadFileBytes(dir.file("A")), "a");
    EXPECT_FALSE(FileExists(dir.file("B"))) << damage;
    EXPECT_FALSE(FileExists(dir.file("C"))) << damage;
  }
}

// A working copy that cannot be written (a folder stands in its place) rolls the command back
// and names the file of the scope.
TEST(EditFrame, AWorkingCopyThatCannotBeWrittenRollsBackAndNamesItsFile) {
  for (auto [scope, name] : {std::pair{EditScope::Sheet, "WITEM1.WRK"}, {EditScope::Breakdown, "HEAD.WRK"}}) {
    TempDir dir;
    Document doc = SheetOf(2);
    std::filesystem::create_directory(dir.file(name));
    try {
      EditFrame edit(doc, dir.path(), scope);
      DeleteLines(doc, {1, 1});
      edit.Commit(nullptr);
      ADD_FAILURE() << name;
    } catch (const FileError& e) {
      EXPECT_EQ(std::string(e.what()), dir.file(name) + ": the work file cannot be written (Is a directory)");
    }
    EXPECT_EQ(doc.LastLine(), 2);
    EXPECT_FALSE(doc.DocumentModified);
  }
}

TEST(EditFrame, AnUndoCopyThatCannotBeWrittenStopsTheCommand) {
  Document doc = SheetOf(2);
  EditFrame edit(doc, "/nonexistent-folder", EditScope::Sheet);
  DeleteLines(doc, {1, 1});
  EXPECT_THROW(edit.Commit(nullptr), FileError);
  EXPECT_EQ(doc.LastLine(), 2);
  EXPECT_FALSE(doc.DocumentModified);
}

}  // namespace
}  // namespace zantro
