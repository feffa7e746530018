// The breakdown list's changes over a document and a folder of detail files: rows and files
// moved together, ranges kept in step, the promotion of a removed parent's rows, the depth
// of hierarchies, paste past the end, and the edit frame that brings every moved file back.
#include "breakdown/listchanges.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "general/editframe.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

using testing::TempDir;

ItemRecord Item(int32_t kind, const std::string& name, int64_t sub = 0, int64_t cost = 0) {
  ItemRecord it = NewItem();
  it.ItemKind = kind;
  it.ItemName.set(name);
  it.ALLGTOTAL = Money::Units(sub);
  it.ALLNTOTAL = Money::Units(cost);
  return it;
}

ItemRecord Ranged(int32_t kind, const std::string& name, int32_t start, int32_t end) {
  ItemRecord it = Item(kind, name);
  SetRange(it, start, end);
  return it;
}

Document ListOf(std::vector<ItemRecord> items) {
  Document doc;
  doc.ItemList.insert(doc.ItemList.end(), items.begin(), items.end());
  doc.ItemCount = doc.LastItem();
  return doc;
}

std::string Kinds(const Document& doc) {
  std::string s;
  for (int32_t i = 1; i <= doc.LastItem(); ++i)
    s += (i > 1 ? " " : "") + std::to_string(doc.ItemList[i].ItemKind) + ":" + doc.ItemList[i].ItemName.str();
  return s;
}

std::string Range(const Document& doc, int32_t row) {
  return std::to_string(RangeStartRow(doc.ItemList[row])) + "-" + std::to_string(RangeEndRow(doc.ItemList[row]));
}

// Every file of the folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& name : ListFiles(folder)) files[name] = *ReadFileBytes(JoinPath(folder, name));
  return files;
}

// A sheet file whose one line names its owner, so that a moved file is recognised by content.
void WriteSheet(const std::string& folder, int32_t n, const std::string& owner) {
  LineRecord l{};
  l.ItemNo = n;
  l.NameSpec.set(owner + ";");
  ASSERT_TRUE(WriteRecords(JoinPath(folder, SheetFile(n, "WRK")), std::vector<LineRecord>{l}));
}

std::string OwnerOf(const std::string& folder, int32_t n) {
  auto lines = ReadRecords<LineRecord>(JoinPath(folder, SheetFile(n, "WRK")));
  if (!lines) return "-";
  return lines->empty() ? "" : (*lines)[0].NameSpec.str();
}

struct ListTest : ::testing::Test {
  TempDir dir;
  std::string folder = dir.path();
};

TEST_F(ListTest, InsertMovesRowsFilesAndRangesAndUndoRestoresEveryFile) {
  Document doc = ListOf({Item(10, "A"), Ranged(20, "P", 3, 5), Item(30, "M1"), Item(30, "M2"), Item(30, "M3"),
                         Ranged(95, "S", 1, 5)});
  WriteSheet(folder, 1, "A");
  WriteSheet(folder, 3, "M1");
  WriteSheet(folder, 4, "M2");
  WriteSheet(folder, 5, "M3");
  ASSERT_TRUE(WriteFileAtomic(JoinPath(folder, "witem5.pup"), std::string(384, 'x')));  // another spelling
  auto before = Snapshot(folder);
  {
    EditFrame frame(doc, folder, EditScope::Breakdown);
    ItemFiles files(folder, [&](const std::string& n, const std::optional<std::string>& p) { frame.KeepFile(n, p); });
    ASSERT_EQ(InsertItemRow(doc, files, 1), Change::Done);
    frame.Commit(nullptr);
  }
  EXPECT_EQ(Kinds(doc), "10: 10:A 20:P 30:M1 30:M2 30:M3 95:S");
  EXPECT_EQ(Range(doc, 3), "4-6");
  EXPECT_EQ(Range(doc, 7), "1-6");  // inserted inside the subtotal's range: it grows
  EXPECT_EQ(OwnerOf(folder, 1), "-");
  EXPECT_EQ(OwnerOf(folder, 2), "A;");
  EXPECT_EQ(OwnerOf(folder, 3), "-");  // the parent's row had no file and has none
  EXPECT_EQ(OwnerOf(folder, 6), "M3;");
  EXPECT_TRUE(FileExists(JoinPath(folder, "WITEM6.PUP")));
  EXPECT_FALSE(FindNoCase(folder, "WITEM5.PUP"));

  // Undo puts every detail file back byte for byte (the undo set itself aside).
  EXPECT_GT(RestoreKeptFiles(folder), 0);
  auto after = Snapshot(folder);
  for (const char* undoFile : {"HEAD.UND", "HEAD.WRK", kKeptFilesName}) after.erase(undoFile);
  std::map<std::string, std::string> expected;
  for (auto& [name, bytes] : before) expected[name == "witem5.pup" ? "WITEM5.PUP" : name] = bytes;
  EXPECT_EQ(after, expected);
}

TEST_F(ListTest, InsertRangeRulesAtTheEdges) {
  auto at = [&](int32_t p) {
    Document doc = ListOf({Item(10, "A"), Ranged(20, "P", 3, 4), Item(30, "M1"), Item(30, "M2"), Item(10, "B")});
    ItemFiles files(folder, [](auto&, auto&) {});
    InsertItemRow(doc, files, p);
    return Range(doc, p <= 2 ? 3 : 2);
  };
  EXPECT_EQ(at(4), "3-5");  // at the range's end: it widens
  EXPECT_EQ(at(5), "3-4");  // just after it: unchanged
  EXPECT_EQ(at(3), "3-5");  // at its start: the new row is inside
  EXPECT_EQ(at(2), "4-5");  // before it (the parent's own row): it moves
}

TEST_F(ListTest, DeleteParentPromotesItsHierarchyAndFilesFollowTheirItems) {
  Document doc = ListOf({Ranged(20, "P", 2, 6), Item(30, "M"), Ranged(21, "Q", 4, 5), Item(31, "N1"),
                         Item(31, "N2"), Item(96, "note"), Item(10, "after")});
  WriteSheet(folder, 2, "M");
  WriteSheet(folder, 4, "N1");
  WriteSheet(folder, 7, "after");
  ItemFiles files(folder, [](auto&, auto&) {});
  ASSERT_EQ(DeleteItemRow(doc, files, 1), Change::Done);
  EXPECT_EQ(Kinds(doc), "10:M 20:Q 30:N1 30:N2 96:note 10:after");
  EXPECT_EQ(Range(doc, 2), "3-4");
  EXPECT_EQ(OwnerOf(folder, 1), "M;");
  EXPECT_EQ(OwnerOf(folder, 3), "N1;");
  EXPECT_EQ(OwnerOf(folder, 4), "-");  // N2 had no file
  EXPECT_EQ(OwnerOf(folder, 6), "after;");
  EXPECT_EQ(OwnerOf(folder, 7), "-");

  Document one = ListOf({Item(10, "only", 5, 4)});
  // A parent whose range ends on a member: every member becomes an ordinary item again.
  Document last = ListOf({Ranged(20, "P", 2, 3), Item(30, "M1"), Item(30, "M2"), Item(30, "out")});
  ASSERT_EQ(DeleteItemRow(last, files, 1), Change::Done);
  EXPECT_EQ(Kinds(last), "10:M1 10:M2 30:out");

  // A range on the last row follows a delete above it.
  Document sub = ListOf({Item(10, "A"), Item(10, "B"), Item(10, "C"), Ranged(95, "S", 1, 3)});
  ASSERT_EQ(DeleteItemRow(sub, files, 2), Change::Done);
  EXPECT_EQ(Range(sub, 3), "1-2");
  // A range whose first row goes keeps its start and loses one row.
  Document starts = ListOf({Item(10, "A"), Item(10, "B"), Item(10, "C"), Item(10, "D"), Ranged(95, "S", 2, 4)});
  ASSERT_EQ(DeleteItemRow(starts, files, 2), Change::Done);
  EXPECT_EQ(Range(starts, 4), "2-3");
  // A subtotal of the rows above the last one is inserted below them; the last row moves down.
  PutSubtotal(sub, files, 1, 2, "T");
  EXPECT_EQ(Kinds(sub), "10:A 10:C 95:T 95:S");
  EXPECT_EQ(Range(sub, 3), "1-2");
  EXPECT_EQ(Range(sub, 4), "1-2");

  ASSERT_EQ(DeleteItemRow(one, files, 1), Change::Done);
  EXPECT_EQ(Kinds(one), "10:");
  EXPECT_EQ(one.ItemList[1].QuantityScale, Money::Units(100));  // a BlankItem
  EXPECT_EQ(DeleteItemRow(one, files, 2), Change::None);
}

TEST_F(ListTest, HierarchyNestsByTheFirstRowAndStopsAtLevelNine) {
  Document doc = ListOf({Ranged(20, "P", 2, 3), Item(30, "M1"), Item(30, "M2"), Item(95, "S")});
  EXPECT_EQ(CheckHierarchyRows(doc, 2, 4), HierarchyRefusal::SummaryRow);
  EXPECT_EQ(CheckHierarchyRows(doc, 5, 6), HierarchyRefusal::Unnamed);
  ASSERT_EQ(CheckHierarchyRows(doc, 2, 3), HierarchyRefusal::None);
  int32_t code = ParentCodeFor(doc, 2);
  EXPECT_EQ(code, 21);
  ItemFiles files(folder, [](auto&, auto&) {});
  MakeHierarchy(doc, files, 2, 3, "Q", code);
  EXPECT_EQ(Kinds(doc), "20:P 21:Q 31:M1 31:M2 95:S");
  EXPECT_EQ(Range(doc, 1), "2-4");  // the outer parent grew over the new one
  EXPECT_EQ(Range(doc, 2), "3-4");

  Document deep = ListOf({Item(29, "P9"), Item(39, "M9"), Item(28, "P8"), Item(96, "n")});
  EXPECT_EQ(ParentCodeFor(deep, 1), 0);
  EXPECT_EQ(ParentCodeFor(deep, 2), 0);
  EXPECT_EQ(ParentCodeFor(deep, 3), 28);
  EXPECT_EQ(ParentCodeFor(deep, 4), 20);
}

TEST_F(ListTest, PastePastTheEndFillsTheGapAndCopiesRenumberedRecords) {
  Document doc = ListOf({Ranged(20, "P", 2, 3), Item(30, "M1", 100, 80), Item(30, "M2")});
  WriteSheet(folder, 2, "M1");
  ItemFiles files(folder, [](auto&, auto&) {});
  PasteItem(doc, files, 2, 6);
  EXPECT_EQ(Kinds(doc), "20:P 30:M1 30:M2 10: 10: 30:M1");
  EXPECT_EQ(Range(doc, 1), "2-6");
  EXPECT_EQ(doc.ItemList[6].ALLGTOTAL, Money::Units(100));
  auto lines = ReadRecords<LineRecord>(JoinPath(folder, "WITEM6.WRK"));
  ASSERT_TRUE(lines && lines->size() == 1);
  EXPECT_EQ((*lines)[0].ItemNo, 6);
  EXPECT_EQ(FileExists(JoinPath(folder, "WITEM6.PUP")), true);
  // A move onto a row whose file is spelled otherwise replaces it: one spelling stays.
  TempDir other;
  WriteSheet(other.path(), 2, "two");
  ASSERT_TRUE(WriteFileAtomic(JoinPath(other.path(), "witem3.wrk"), "old"));
  ItemFiles moving(other.path(), [](auto&, auto&) {});
  moving.Move(2, 3);
  EXPECT_EQ(ListFiles(other.path()), std::vector<std::string>{"WITEM3.WRK"});
  EXPECT_EQ(OwnerOf(other.path(), 3), "two;");
  // The files just written are found again by the same set of files, and move with their row.
  EXPECT_EQ(files.Lines(6).size(), 1u);
  files.Move(6, 7);
  EXPECT_EQ(OwnerOf(folder, 7), "M1;");
}

// A paste or a transfer onto an item that has a sheet of its own: undo brings that sheet and
// its takeoff records back byte for byte.
TEST_F(ListTest, UndoOfAPasteOrATransferOntoASheetBringsItsOwnLinesBack) {
  Document doc = ListOf({Item(10, "A", 100, 80), Item(10, "B", 7, 5), Item(10, "C")});
  WriteSheet(folder, 1, "A");
  WriteSheet(folder, 2, "B");
  ASSERT_TRUE(WriteFileAtomic(JoinPath(folder, "WITEM2.PUP"), std::string(384, 'b')));
  ParsedDocument other;
  other.Items = {Item(10, "X", 3, 2)};
  LineRecord x{};
  x.NameSpec.set("X;");
  other.Lines[1] = {x, x};
  const auto before = Snapshot(folder);
  auto run = [&](const std::function<void(ItemFiles&)>& change) {
    {
      EditFrame frame(doc, folder, EditScope::Breakdown);
      ItemFiles files(folder, [&](const std::string& n, const std::optional<std::string>& p) { frame.KeepFile(n, p); });
      change(files);
      frame.Commit(nullptr);
    }
    EXPECT_NE(OwnerOf(folder, 2), "B;");
    EXPECT_GT(RestoreKeptFiles(folder), 0);
    auto after = Snapshot(folder);
    for (const char* undoFile : {"HEAD.UND", "HEAD.WRK", kKeptFilesName}) after.erase(undoFile);
    EXPECT_EQ(after, before);
  };
  run([&](ItemFiles& files) { PasteItem(doc, files, 1, 2); });
  run([&](ItemFiles& files) { ASSERT_TRUE(TakeOverItem(doc, files, other, 1, 2)); });
  ItemFiles files(folder, [](auto&, auto&) {});
  EXPECT_FALSE(TakeOverItem(doc, files, other, 0, 2));
  EXPECT_FALSE(TakeOverItem(doc, files, other, 2, 2));

  // The item taken over is the k-th of the other document: its name, amounts and lines.
  other.Items.push_back(Item(10, "Y", 9, 4));
  LineRecord y{};
  y.NameSpec.set("Y;");
  other.Lines[2] = {y};
  {
    EditFrame frame(doc, folder, EditScope::Breakdown);
    ItemFiles kept(folder, [&](const std::string& n, const std::optional<std::string>& p) { frame.KeepFile(n, p); });
    ASSERT_TRUE(TakeOverItem(doc, kept, other, 2, 3));
    frame.Commit(nullptr);
  }
  EXPECT_EQ(doc.ItemList[3].ItemName.str(), "Y");
  EXPECT_EQ(doc.ItemList[3].ALLGTOTAL, Money::Units(9));
  EXPECT_EQ(doc.ItemList[3].ALLNTOTAL, Money::Units(4));
  EXPECT_EQ(OwnerOf(folder, 3), "Y;");
}

TEST_F(ListTest, CostingDataAndSheetTaxGuardTheSummaryLines) {
  Document doc = ListOf({Item(10, "A", 100, 0), Item(91, "R", 50, 0), Item(10, "B")});
  EXPECT_TRUE(HoldsCostingData(doc, 1));
  EXPECT_FALSE(HoldsCostingData(doc, 2));  // a reduction may be overwritten
  EXPECT_FALSE(HoldsCostingData(doc, 3));
  EXPECT_FALSE(HoldsCostingData(doc, 4));
  EXPECT_FALSE(AnySheetTax(doc));
  doc.ItemList[3].TAXNTOTAL = Money::Units(1);  // the marker may be 0 after a sheet edit
  doc.Title.Opt2Int = 0;
  EXPECT_TRUE(AnySheetTax(doc));
}

}  // namespace
}  // namespace zantro
